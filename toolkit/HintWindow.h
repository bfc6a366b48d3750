// The window that shows the application's pop-up hints. The application makes one of the
// class it is given (Application::SetHintWindowClass), shows it with ActivateHint when the
// mouse has rested on a part that has a hint, and hides it when the hint ends.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Gdi.h"

namespace ostrel::tk {

// A mouse button pressed in a window or on its frame: a click, which ends a hint.
inline bool IsButtonDownMessage(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      return true;
    default:
      return false;
  }
}

class HintWindow {
 public:
  HintWindow();
  virtual ~HintWindow();
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  const std::string& Caption() const { return caption_; }

  // The size the text needs, no wider than maxWidth, as a rectangle at (0, 0).
  virtual RECT CalcHintRect(int maxWidth, const std::string& text);
  // Shows the text at `rect` (screen coordinates), in front of every window and without
  // taking the activation.
  virtual void ActivateHint(const RECT& rect, const std::string& text);
  // Hides the window (WM_SHOWWINDOW with wParam 0 reaches it).
  virtual void Hide();

 protected:
  // Creates the window of the given class with its procedure bound to this object.
  void CreateHandle(const char* className, DWORD style, DWORD exStyle);
  void SetCaption(const std::string& text);
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Paint();

  HWND hwnd_ = nullptr;
  std::string caption_;
  GdiObject<HFONT> font_;
  UINT dpi_ = 0;  // the DPI of the screen the hint shows on, which its font is made for
};

using HintWindowClass = std::function<std::unique_ptr<HintWindow>()>;

// The plain rectangular hint: the system's tool-tip font and colours, a thin border.
std::unique_ptr<HintWindow> MakePlainHintWindow();

}  // namespace ostrel::tk
