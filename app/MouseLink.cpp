#include "app/MouseLink.h"

#include "app/BusyMark.h"
#include "platform/HookLibraryProtocol.h"

namespace ostrel {

MouseLink::MouseLink(MainView& view, WindowPort& windows, SystemPort& system,
                     HookLibraryPort& hook, const Timings& timings)
    : view_(view), windows_(windows), system_(system), hook_(hook), timings_(timings) {}

void MouseLink::Reset() {
  hookAttached_ = false;
  menuBusy_ = false;
}

void MouseLink::AttachTheDll(bool again) {
  if (again != hookAttached_) return;
  hookAttached_ = true;
  hook_.DllAttach();
  if (sharedMapped_) return;
  if (!hook_.MapSharedBlock()) return;  // tried again at the next attach
  sharedMapped_ = true;
  hook_.WriteShared(kSharedWindowOffset, static_cast<std::uint32_t>(view_.MainWindow()));
}

void MouseLink::DetachTheDll() {
  if (!hookAttached_) return;
  hookAttached_ = false;
  hook_.DllDetach();
}

bool MouseLink::AppMessage(std::uint32_t msg, const MenuSession& session) {
  switch (msg) {
    case MSG_REATTACH:
      AttachTheDll(true);
      return true;
    case MSG_SHOW_MENU:
      ShowMenuAtCursor(session);
      return true;
    default:
      return false;
  }
}

void MouseLink::BringMainToFront(WindowHandle previous) {
  const WindowHandle main = view_.MainWindow();
  for (int i = 0; i < 10; ++i) {
    windows_.SetForegroundWindow(main);
    WindowHandle front = windows_.GetForegroundWindow();
    if (front == main || front != previous) break;
  }
}

void MouseLink::ShowMenuAtCursor(const MenuSession& session) {
  const std::uint64_t now = system_.TickCount();
  if (now < nextMenuTime_ || !session.ready || menuBusy_) return;
  menuPoint_ = windows_.GetCursorPos();
  nextMenuTime_ = now + timings_.menuDebounceMs;
  menuForeground_ = windows_.GetForegroundWindow();
  // With the desktop, or nothing, in front there is no focus to remember and no window
  // to hand the foreground back to.
  const bool handBack = menuForeground_ != 0 && menuForeground_ != session.desktop;
  BusyMark busy(menuBusy_);
  if (handBack) {
    const std::uint32_t thread = windows_.GetWindowThread(menuForeground_);
    if (thread != session.uiThread) {
      if (!windows_.AttachThreadInput(thread, session.uiThread, true)) return;
      menuFocus_ = windows_.GetFocus();
      windows_.AttachThreadInput(thread, session.uiThread, false);
    } else {
      menuFocus_ = windows_.GetFocus();
    }
  }
  BringMainToFront(menuForeground_);
  view_.PopupMenu(menuPoint_);
  if (handBack) windows_.SetForegroundWindow(menuForeground_);
}

}  // namespace ostrel
