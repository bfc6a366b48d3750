// What the program needs of other windows: finding, showing and activating them.
// Operations mirror user32 calls and take the same values.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel {

using WindowHandle = std::uintptr_t;  // an HWND; 0 is none

// ShowWindow commands (the SW_* values).
inline constexpr int kSwHide = 0;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwRestore = 9;

class WindowPort {
 public:
  virtual ~WindowPort() = default;
  // FindWindowA(className, no title).
  virtual WindowHandle FindWindowByClass(const std::string& className) = 0;
  virtual bool IsWindowVisible(WindowHandle wnd) = 0;
  virtual bool ShowWindow(WindowHandle wnd, int cmd) = 0;
  virtual bool SetForegroundWindow(WindowHandle wnd) = 0;
};

}  // namespace ostrel
