// TTrayIcon: one icon with a tool-tip in the taskbar's notification area, and the mouse
// actions on it as events. The hidden window that receives the notification area's
// messages and makes the Shell_NotifyIconA calls is the NotifyIconPort's business
// (components/win32/TrayIconWindow.h on Windows).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/WindowPort.h"

namespace ostrel {

inline constexpr int kNimAdd = 0;
inline constexpr int kNimModify = 1;
inline constexpr int kNimDelete = 2;
inline constexpr std::uint32_t kTrayCallbackMessage = 1025;  // WM_USER + 1
inline constexpr std::uint32_t kTrayRefreshMessage = 1026;   // WM_USER + 2, tool-tip refresh
inline constexpr std::uint32_t kTrayIconId = 0;
inline constexpr std::uint32_t kTrayFlags = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr std::size_t kToolTipLimit = 62;

// The mouse messages the notification area reports through the callback message.
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;

// The fields of the first, 88-byte NOTIFYICONDATAA.
struct NotifyIconData {
  WindowHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uintptr_t hIcon = 0;
  std::string szTip;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

class NotifyIconPort {
 public:
  virtual ~NotifyIconPort() = default;
  // The component's hidden window.
  virtual WindowHandle Handle() = 0;
  // Shell_NotifyIconA(op, record): true on success.
  virtual bool ShellNotifyIcon(int op, const NotifyIconData& record) = 0;
  // PostMessageA(hidden window, kTrayRefreshMessage, 0, 0).
  virtual void PostToolTipRefresh() = 0;
  virtual ScreenPoint CursorPos() = 0;
};

class TTrayIcon {
 public:
  using TMouseEvent = std::function<void(TTrayIcon& sender, TMouseButton button, int x, int y)>;
  using TNotifyEvent = std::function<void(TTrayIcon& sender)>;
  // Pops a menu up at screen coordinates; returns when it has closed.
  using TPopup = std::function<void(int x, int y)>;

  explicit TTrayIcon(NotifyIconPort& port);
  // Removes the icon when it is showing.
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  bool Active() const { return active_; }
  void SetActive(bool active);
  std::uintptr_t Icon() const { return icon_; }
  void SetIcon(std::uintptr_t icon);
  const std::string& ToolTip() const { return toolTip_; }
  // Keeps the first 62 characters.
  void SetToolTip(const std::string& tip);

  TMouseEvent OnMouseClick;
  TMouseEvent OnRightClick;
  TNotifyEvent OnDblClick;
  TPopup PopupMenu;

  // Every message of the hidden window that the component handles (1025 and 1026);
  // returns false for any other, which goes to the default window procedure.
  bool HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

  const NotifyIconData& Record() const { return record_; }

 private:
  void Fill();
  bool Add();
  bool Modify();
  bool Remove();
  void Click(TMouseButton button, const TMouseEvent& event);

  NotifyIconPort& port_;
  NotifyIconData record_;
  std::uintptr_t icon_ = 0;
  std::string toolTip_;
  bool active_ = false;
};

}  // namespace ostrel
