// The OstrelMenu popped up at the cursor on request, the application-wide message
// filter through which requests and the program's other private messages arrive, and
// the link to the mouse-watch library.
#include "app/OstrelController.h"

namespace ostrel {

void OstrelController::AttachTheDll(bool again) {
  // Again=false attaches only a detached library; again=true repeats an attach.
  if (again != hookAttached_) return;
  hookAttached_ = true;
  p_.hook.DllAttach();
  if (sharedMapped_) return;
  if (!p_.hook.MapSharedBlock()) return;  // tried again at the next attach
  sharedMapped_ = true;
  p_.hook.WriteShared(kSharedWindowOffset, static_cast<std::uint32_t>(p_.view.MainWindow()));
}

void OstrelController::DetachTheDll() {
  if (!hookAttached_) return;
  hookAttached_ = false;
  p_.hook.DllDetach();
}

bool OstrelController::AppMessage(std::uint32_t msg) {
  switch (msg) {
    case MSG_REATTACH:
      AttachTheDll(true);
      return true;
    case MSG_SHOW_MENU:
      ShowMenuAtCursor();
      return true;
    case MSG_TERMINATE:
    case kWmEndSession:
    case kWmQueryEndSession:
      if (terminating_) return false;
      EndSession();
      return true;
    default:
      return false;
  }
}

// Ends the process at once: a window hidden by the program comes back first.
void OstrelController::EndSession() {
  terminating_ = true;
  if (hiddenWindow_) {
    p_.windows.ShowWindow(hiddenWindow_, kSwShow);
    p_.windows.SetForegroundWindow(hiddenWindow_);
    hiddenWindow_ = 0;
  }
  p_.system.TerminateProcess(0);
}

// A menu takes the keyboard, and closes at a click elsewhere, only while its owner is
// in front: the main window comes forward, ten tries at most.
void OstrelController::BringMainToFront(WindowHandle previous) {
  const WindowHandle main = p_.view.MainWindow();
  for (int i = 0; i < 10; ++i) {
    p_.windows.SetForegroundWindow(main);
    WindowHandle front = p_.windows.GetForegroundWindow();
    if (front == main || front != previous) break;
  }
}

void OstrelController::ShowMenuAtCursor() {
  const std::uint64_t now = p_.system.TickCount();
  if (now < nextMenuTime_ || !popupReady_ || menuBusy_) return;
  menuPoint_ = p_.windows.GetCursorPos();
  menuPointTaken_ = true;
  nextMenuTime_ = now + timings_.menuDebounceMs;
  menuForeground_ = p_.windows.GetForegroundWindow();
  // With the desktop, or nothing, in front there is no focus to remember and no window
  // to hand the foreground back to.
  const bool handBack = menuForeground_ != 0 && menuForeground_ != desktopWnd_;
  menuBusy_ = true;
  if (handBack) {
    const std::uint32_t thread = p_.windows.GetWindowThread(menuForeground_);
    if (thread != uiThreadId_) {
      if (!p_.windows.AttachThreadInput(thread, uiThreadId_, true)) {
        menuBusy_ = false;
        return;
      }
      menuFocus_ = p_.windows.GetFocus();
      p_.windows.AttachThreadInput(thread, uiThreadId_, false);
    } else {
      menuFocus_ = p_.windows.GetFocus();
    }
  }
  BringMainToFront(menuForeground_);
  p_.view.PopupMenu(menuPoint_);
  if (handBack) p_.windows.SetForegroundWindow(menuForeground_);
  menuBusy_ = false;
}

}  // namespace ostrel
