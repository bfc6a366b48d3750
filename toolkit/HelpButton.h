// The dialogs' help button: a tool bar holding one button with the help glyph ("?" when
// the glyph is missing), whose hint is the help button's text. Owns the glyph's list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace ostrel::tk {

inline constexpr const char* kHelpButtonHint =
    "This is the Help button... For information about what to do next, click this button. ";

class HelpButton {
 public:
  HelpButton() = default;
  ~HelpButton();
  HelpButton(const HelpButton&) = delete;
  HelpButton& operator=(const HelpButton&) = delete;

  // The bar at x, y (w x h, in 96-DPI units) on `form`; its button sends WM_COMMAND with
  // `buttonId`. A flat button shows its edge only under the mouse.
  HWND Create(Form& form, int x, int y, int w, int h, int barId, int buttonId, bool flat);
  // The glyph and the button's size for the form's DPI, after a change of it.
  void FitDpi(const Form& form);

 private:
  void FitButton(const ToolBar& bar, const Form& form) const;

  ImageListOwner glyph_;
  HWND bar_ = nullptr;
  SIZE units_{};
};

// The text of a control, whatever its length.
std::string ControlText(HWND control);

}  // namespace ostrel::tk
