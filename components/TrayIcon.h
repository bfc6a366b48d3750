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
// A balloon at the icon: NIF_INFO with its text (at most 255 bytes) and a warning sign.
inline constexpr std::uint32_t kNifInfo = 0x10;
inline constexpr std::uint32_t kNiifWarning = 2;
inline constexpr std::size_t kBalloonTextLimit = 255;
// A failed add is tried again by a timer of the hidden window, every kTrayRetryMs while
// the icon is active and not in the notification area.
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uintptr_t kTrayRetryTimerId = 1;
inline constexpr std::uint32_t kTrayRetryMs = 2000;

// The mouse messages the notification area reports through the callback message.
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;

// The fields of the first, 88-byte NOTIFYICONDATAA, and those of a balloon, which only
// the larger record of a later shell has (sent only when uFlags has kNifInfo).
struct NotifyIconData {
  WindowHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uintptr_t hIcon = 0;
  std::string szTip;
  std::string szInfo;
  std::uint32_t dwInfoFlags = 0;
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
  // RegisterWindowMessageA("TaskbarCreated"): what a newly started shell broadcasts to
  // every top-level window; 0 when there is none.
  virtual std::uint32_t TaskbarCreatedMessage() = 0;
  // SetTimer / KillTimer of the hidden window's kTrayRetryTimerId, every kTrayRetryMs.
  virtual void SetRetryTimer(bool on) = 0;
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
  // Shows `text` (the caller keeps it within kBalloonTextLimit bytes) in the shell's
  // balloon at the icon, once. False when the icon is not in the notification area or
  // the shell refused it.
  bool ShowBalloon(const std::string& text);

  TMouseEvent OnMouseClick;
  TMouseEvent OnRightClick;
  TNotifyEvent OnDblClick;
  TPopup PopupMenu;

  // Every message of the hidden window that the component handles (1025 and 1026, the
  // retry timer, and "TaskbarCreated", after which a restarted shell has no icon of
  // ours); returns false for any other, which goes to the default window procedure.
  bool HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

  const NotifyIconData& Record() const { return record_; }
  // Whether the notification area took the icon (false while an add waits for a retry).
  bool Shown() const { return shown_; }

 private:
  void Fill();
  bool Add();
  // Adds the icon, or arms the retry timer when the notification area refuses it.
  void Show();
  bool Modify();
  bool Remove();
  void Click(TMouseButton button, const TMouseEvent& event);

  NotifyIconPort& port_;
  NotifyIconData record_;
  std::uintptr_t icon_ = 0;
  std::string toolTip_;
  bool active_ = false;
  bool shown_ = false;
  bool retrying_ = false;
};

}  // namespace ostrel
