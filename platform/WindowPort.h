// What the program needs of other windows: finding, showing and activating them, the
// foreground and focus, their threads and processes, posting messages, and the cursor. Operations mirror user32
// calls and take the same values.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ostrel {

using WindowHandle = std::uintptr_t;  // an HWND; 0 is none

// ShowWindow commands (the SW_* values).
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwRestore = 9;
inline constexpr int kSwShowDefault = 10;

inline constexpr std::uint32_t kWsSysMenu = 0x00080000;  // WS_SYSMENU

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The caret of a thread, as GetGUIThreadInfo reports it: the window that shows it (0: the
// thread has none) and its rectangle in that window's client coordinates.
struct CaretPlace {
  WindowHandle window = 0;
  ScreenRect rect;
};

class WindowPort {
 public:
  virtual ~WindowPort() = default;
  // FindWindowA(className, no title).
  virtual WindowHandle FindWindowByClass(const std::string& className) = 0;
  virtual bool IsWindowVisible(WindowHandle wnd) = 0;
  virtual bool ShowWindow(WindowHandle wnd, int cmd) = 0;
  virtual bool SetForegroundWindow(WindowHandle wnd) = 0;
  virtual WindowHandle GetForegroundWindow() = 0;
  virtual WindowHandle GetDesktopWindow() = 0;
  // EnumWindows: every top-level window, top of the z-order first, until `each` says stop.
  virtual void EnumWindows(const std::function<bool(WindowHandle)>& each) = 0;
  // GetWindow(wnd, GW_OWNER).
  virtual WindowHandle GetWindowOwner(WindowHandle wnd) = 0;
  // GetWindowLongA(wnd, GWL_STYLE).
  virtual std::uint32_t GetWindowStyle(WindowHandle wnd) = 0;
  virtual bool PostMessageA(WindowHandle wnd, std::uint32_t msg, std::uintptr_t wParam,
                            std::intptr_t lParam) = 0;
  virtual bool PostMessageW(WindowHandle wnd, std::uint32_t msg, std::uintptr_t wParam,
                            std::intptr_t lParam) = 0;
  // IsWindowUnicode: whether the window takes its messages as UTF-16 rather than ANSI.
  virtual bool IsWindowUnicode(WindowHandle wnd) = 0;
  // GetWindowTextA: the window's title ("" for none).
  virtual std::string GetWindowTextA(WindowHandle wnd) = 0;
  // GetWindowThreadProcessId: the thread that owns the window (0 for none).
  virtual std::uint32_t GetWindowThread(WindowHandle wnd) = 0;
  virtual bool AttachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) = 0;
  // GetFocus: the focus window of the calling thread's input state.
  virtual WindowHandle GetFocus() = 0;
  virtual ScreenPoint GetCursorPos() = 0;
  // GetGUIThreadInfo(thread): where its caret is; no window when the call fails.
  virtual CaretPlace GetGUIThreadCaret(std::uint32_t thread) = 0;
  // ClientToScreen: a point of the window's client area on the screen.
  virtual ScreenPoint ClientToScreen(WindowHandle wnd, ScreenPoint p) = 0;
  // GetWindowThreadProcessId: the process that owns the window (0 for none).
  virtual std::uint32_t GetWindowProcess(WindowHandle wnd) = 0;
  // GetLastActivePopup: the window's most recently active pop-up (the window itself when
  // it has none; 0 on failure).
  virtual WindowHandle GetLastActivePopup(WindowHandle wnd) = 0;
  virtual bool IsWindow(WindowHandle wnd) = 0;
  // SetActiveWindow in the calling thread's (possibly joined) input state; returns the
  // window that was active before.
  virtual WindowHandle SetActiveWindow(WindowHandle wnd) = 0;
  // InvalidateRect(wnd, {left, top, right, bottom}, FALSE): that part of the client area
  // is to be painted again.
  virtual bool InvalidateRect(WindowHandle wnd, int left, int top, int right, int bottom) = 0;
  // GetUpdateRect(wnd, nullptr, FALSE): whether part of the window still waits for paint.
  virtual bool GetUpdateRect(WindowHandle wnd) = 0;
};

}  // namespace ostrel
