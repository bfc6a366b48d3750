// The hidden window behind a TTrayIcon: it is the icon's owner in the notification area,
// receives the area's mouse messages and makes the Shell_NotifyIconA calls. It is built
// first and handed to the component as its NotifyIconPort; Bind then points its
// messages at that component.
//
//   TrayIconWindow window;
//   TTrayIcon tray(window);
//   window.Bind(&tray);
//
// Declared in this order, the component goes first (removing its icon through the
// still-living window) and the window after it.
#pragma once

#include "components/TrayIcon.h"
#include "components/win32/WindowedComponent.h"

namespace ostrel {

class TrayIconWindow : public TWindowedComponent, public NotifyIconPort {
 public:
  // Where the notification area's messages go; nullptr stops them.
  void Bind(TTrayIcon* component) { component_ = component; }

  // The window, as the portable core holds it (TWindowedComponent::Handle() is the HWND).
  WindowHandle Handle() override;
  bool ShellNotifyIcon(int op, const NotifyIconData& record) override;
  void PostToolTipRefresh() override;
  ScreenPoint CursorPos() override;
  std::uint32_t TaskbarCreatedMessage() override;
  void SetRetryTimer(bool on) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  TTrayIcon* component_ = nullptr;
};

}  // namespace ostrel
