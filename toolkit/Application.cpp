#include "toolkit/Application.h"

#include <commctrl.h>

#include "toolkit/Form.h"

namespace ostrel::tk {

Application& Application::Get() {
  static Application app;
  return app;
}

void Application::Initialize(HINSTANCE instance) {
  instance_ = instance;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
}

void Application::Dispatch(MSG& msg) {
  if (onMessage && onMessage(msg)) return;
  // The innermost modal form takes its own keys (Enter, Escape), then Tab and the arrow
  // keys move between its controls; the main window's controls likewise.
  if (Form* modal = ActiveModal(); modal && modal->Handle()) {
    if (modal->PreTranslate(msg) || IsDialogMessageA(modal->Handle(), &msg)) return;
  }
  if (mainForm_ && mainForm_->Handle()) {
    if (mainForm_->PreTranslate(msg) || IsDialogMessageA(mainForm_->Handle(), &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int Application::Run() {
  if (mainForm_ && showMainForm) mainForm_->Show();
  MSG msg;
  for (;;) {
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) return static_cast<int>(msg.wParam);
    if (r == -1) return 1;
    Dispatch(msg);
  }
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

bool Application::HandleMessage() {
  MSG msg;
  BOOL r = GetMessageA(&msg, nullptr, 0, 0);
  if (r == 0) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  if (r == -1) return false;
  Dispatch(msg);
  return true;
}

void Application::PopModal(Form* form) {
  for (auto it = modalForms_.begin(); it != modalForms_.end(); ++it) {
    if (*it == form) {
      modalForms_.erase(it);
      return;
    }
  }
}

void Application::Minimize() {
  if (mainForm_ && mainForm_->Handle()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
  NotifyMinimized();
}

void Application::Restore() {
  if (mainForm_ && mainForm_->Handle()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
  NotifyRestored();
}

void Application::NotifyMinimized() {
  if (minimized_) return;
  minimized_ = true;
  if (onMinimize) onMinimize();
}

void Application::NotifyRestored() {
  if (!minimized_) return;
  minimized_ = false;
  if (onRestore) onRestore();
}

}  // namespace ostrel::tk
