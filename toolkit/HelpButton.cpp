#include "toolkit/HelpButton.h"

#include <algorithm>

#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/Art.h"
#include "toolkit/Colours.h"

namespace ostrel::tk {

HelpButton::~HelpButton() {
  if (bar_) Application::Get().RemoveHintSource(bar_);
}

// The button at its size for the form's DPI, and the bar at least as large, so none of
// the button is cut off where the glyph makes it taller than asked.
void HelpButton::FitButton(const ToolBar& bar, const Form& form) const {
  bar.SetButtonSize(form.Px(units_.cx), form.Px(units_.cy));
  RECT button{}, place{};
  SendMessageA(bar.Handle(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
  GetClientRect(bar.Handle(), &place);
  if (button.right > place.right || button.bottom > place.bottom)
    SetWindowPos(bar.Handle(), nullptr, 0, 0, std::max(button.right, place.right),
                 std::max(button.bottom, place.bottom), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND HelpButton::Create(Form& form, int x, int y, int w, int h, int barId, int buttonId,
                        bool flat) {
  const ToolBar bar(form.AddControl(TOOLBARCLASSNAMEA, "",
                                    WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN |
                                        (flat ? TBSTYLE_FLAT : 0),
                                    x, y, w, h, barId));
  if (!bar) return nullptr;
  units_ = SIZE{w, h};
  bar.Prepare();
  glyph_.Reset(LoadArtList("HELPGLYPH", 16, form.Dpi(), 0, kImageMask));
  TBBUTTON b{};
  b.idCommand = buttonId;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = BTNS_BUTTON;
  if (glyph_) {
    bar.SetImageList(glyph_.get());
    b.iBitmap = 0;
  } else {
    bar.SetBitmapSize(0, 0);
    b.iBitmap = I_IMAGENONE;
    b.fsStyle |= BTNS_SHOWTEXT;
    b.iString = reinterpret_cast<INT_PTR>("?");
  }
  bar.AddButton(b);
  // The glyph alone names nothing to a screen reader.
  SetAccessibleName(bar.Handle(), "Help", 1);
  FitButton(bar, form);
  // Its hint comes from the application's hint machinery, as every hint of the program.
  bar_ = bar.Handle();
  Application::Get().SetHintSource(bar_, [bar, buttonId](POINT client) {
    return bar.HitTest(client) >= 0 ? Application::HintTarget{buttonId, kHelpButtonHint}
                                    : Application::HintTarget{};
  });
  return bar_;
}

void HelpButton::FitDpi(const Form& form) {
  if (!bar_ || !glyph_) return;
  const ToolBar bar(bar_);
  ImageListOwner glyph(LoadArtList("HELPGLYPH", 16, form.Dpi(), 0, kImageMask));
  if (glyph) {
    bar.SetImageList(glyph.get());
    glyph_ = std::move(glyph);
  }
  FitButton(bar, form);
  InvalidateRect(bar_, nullptr, TRUE);
}

std::string ControlText(HWND control) {
  int n = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
  n = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

}  // namespace ostrel::tk
