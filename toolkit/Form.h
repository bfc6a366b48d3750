// A top-level window whose messages go to a virtual handler, with the few child
// controls the program's windows are built from and the timers they own.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "platform/ModalResult.h"
#include "toolkit/Controls.h"
#include "toolkit/Dpi.h"
#include "toolkit/Gdi.h"

namespace ostrel::tk {

// Sizes and positions of a form and of its controls are in 96-DPI units (toolkit/Dpi.h):
// the form lays itself out for its screen's DPI, and again when it moves to a screen of
// another (WM_DPICHANGED).
struct FormStyle {
  std::string className;  // the window class, registered on first use
  std::string caption;
  int width = 0;
  int height = 0;
  bool fixedSize = true;  // the window keeps its size: no sizing frame, no maximise
  int iconId = 0;         // resource id of the window's icon; 0 for none
  // A dialog: fixed dialog border, no minimise box, not on the taskbar.
  bool dialogFrame = false;
  // width and height give the client area rather than the whole window.
  bool clientExtent = false;
  // Position on the screen; -1 centres the window.
  int left = -1;
  int top = -1;
  HWND owner = nullptr;  // the window this one stays in front of
};

// Modal results, as a modal form's buttons set them (platform/ModalResult.h).
using ostrel::mrCancel;
using ostrel::mrNone;
using ostrel::mrOk;

class Form {
 public:
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Handle() const { return hwnd_; }
  void Show();
  void Hide();
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  // Destroys the window, as a close that was allowed does.
  void Destroy();
  // Asks the form to close: a modal form ends its loop (result mrCancel unless one is
  // set), any other goes through the close query as with the close box.
  void Close();

  // Shows the form and runs a message loop of its own until a modal result is set and
  // the close query allows it (or the window goes). The owner is disabled meanwhile.
  // The window is hidden afterwards, not destroyed. Returns the modal result.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  // A form with either button set is keyed like a dialog: Enter pressed anywhere in it
  // presses the default button, unless the focus is on another push button, which Enter
  // presses instead; Escape presses the cancel button (or nothing); Tab and Shift+Tab
  // move through the tab stops, out of multi-line edits too (Ctrl+Tab types a tab).
  void SetDefaultButton(HWND button) { defaultButton_ = button; }
  void SetCancelButton(HWND button) { cancelButton_ = button; }
  // Keyboard handling of the form's own messages before the dialog navigation;
  // true when the message was used up. Alt and an underlined letter work every control
  // whose caption has it: a button is pressed (or a box ticked), a tool button clicked,
  // and a label puts the focus in its control.
  bool PreTranslate(const MSG& msg);
  // The control a label's underlined letter leads to; without one, the next tab stop.
  void SetLabelFor(HWND label, HWND control) { labelFor_[label] = control; }

  // Timers owned by the window; enabling a disabled one starts a fresh interval, enabling
  // an enabled one changes nothing.
  void AddTimer(UINT id, UINT intervalMs, std::function<void()> onTimer);
  void SetTimerEnabled(UINT id, bool enabled);
  bool TimerEnabled(UINT id) const;

  // The window's font: "MS Sans Serif" 8 pt, and a bold face of it, for its DPI.
  HFONT Font() const { return font_.get(); }
  HFONT BoldFont() const { return boldFont_.get(); }

  // The DPI the form is laid out for, and a length in 96-DPI units at that DPI.
  UINT Dpi() const { return dpi_; }
  int Px(int units) const { return Scale(units, dpi_); }
  // The client area in 96-DPI units.
  SIZE ClientUnits() const { return clientUnits_; }

  // A child control with the window's font, at a place in 96-DPI units of its parent's
  // client area. The form keeps the place and lays the control out again at a new DPI.
  HWND AddControl(const char* className, const std::string& text, DWORD style, int x, int y, int w,
                  int h, int id, DWORD exStyle = 0, HWND parent = nullptr);
  // A label no one sees, for a field that shows none: a screen reader names a field by
  // the label just before it in the window order, so it goes there, in the field's place.
  HWND AddHiddenLabel(HWND field, const std::string& text);
  // Moves a child control to a new place in 96-DPI units, kept as AddControl's is.
  void Place(HWND control, int x, int y, int w, int h);

 protected:
  Form() = default;
  // Creates the window (hidden, centred on the screen); runs OnCreate.
  void Create(const FormStyle& style);

  virtual void OnCreate() {}
  // Just before the window is shown by Show or ShowModal.
  virtual void OnShow() {}
  // Return false to refuse the close.
  virtual bool OnCloseQuery() { return true; }
  virtual void OnDestroy() {}
  // After a new DPI has laid the controls out again and given them the new fonts: the
  // form's own pictures and pixel sizes.
  virtual void OnDpiChanged() {}
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual LRESULT OnNotify(NMHDR* /*hdr*/) { return 0; }
  // Everything else; return true with `result` set when handled.
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) {
    return false;
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // The window procedure proper, once the static one has found the form.
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // The window's rectangle at `dpi` for its client area, centred where it is now.
  SIZE WindowExtent(UINT dpi) const;
  void ApplyDpi(UINT dpi, const RECT* suggested);
  void SetIcons();

  struct TimerSlot {
    UINT interval;
    bool enabled;
    std::function<void()> onTimer;
  };

  HWND hwnd_ = nullptr;
  bool fixedSize_ = true;
  SIZE fixedExtent_{};
  UINT dpi_ = kBaseDpi;
  SIZE clientUnits_{};
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  int iconId_ = 0;
  std::map<HWND, RECT> places_;  // each control's place in 96-DPI units
  GdiObject<HFONT> font_;
  GdiObject<HFONT> boldFont_;
  IconOwner smallIcon_;
  IconOwner bigIcon_;
  std::map<UINT, TimerSlot> timers_;
  bool modal_ = false;
  int modalResult_ = mrNone;
  bool Mnemonic(char key);
  std::map<HWND, HWND> labelFor_;
  HWND defaultButton_ = nullptr;
  HWND cancelButton_ = nullptr;
};

}  // namespace ostrel::tk
