#include "toolkit/Application.h"

#include <commctrl.h>

#include "toolkit/Colours.h"
#include "toolkit/Form.h"

namespace ostrel::tk {

Application& Application::Get() {
  static Application app;
  return app;
}

bool HighContrast() { return Application::Get().HighContrast(); }

void Application::Initialize(HINSTANCE instance) {
  instance_ = instance;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  hintColor = GetSysColor(COLOR_INFOBK);
}

Application::~Application() {
  destroying_ = true;
  StopHintTimers();
  hintWindow_.reset();
}

void Application::Dispatch(MSG& msg) {
  HintMessage(msg);
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

namespace ostrel::tk {

void Application::SetHintSource(HWND window, HintSource source) {
  hintSources_[window] = std::move(source);
}

void Application::RemoveHintSource(HWND window) {
  if (window == hintControl_) CancelHint();
  hintSources_.erase(window);
}

void Application::SetShowHint(bool show) {
  if (show == showHint_) return;
  showHint_ = show;
  if (!show) {
    CancelHint();
    hintWindow_.reset();
  }
}

void Application::CancelHint() {
  StopHintTimers();
  HideHintNow();
  hintControl_ = nullptr;
  hintId_ = -1;
  hintText_.clear();
}

void Application::HideHintNow() {
  hintShowing_ = false;
  if (hintWindow_) hintWindow_->Hide();
}

void Application::StopHintTimers() {
  for (UINT_PTR* t : {&pauseTimer_, &hideTimer_}) {
    if (*t) KillTimer(nullptr, *t);
    *t = 0;
  }
}

void Application::StartHintTimer(UINT_PTR& timer, int ms) {
  if (timer) KillTimer(nullptr, timer);
  timer = SetTimer(nullptr, 0, static_cast<UINT>(ms > 0 ? ms : 1), &Application::HintTimerProc);
}

void CALLBACK Application::HintTimerProc(HWND, UINT, UINT_PTR timer, DWORD) {
  Application& app = Get();
  if (timer == app.pauseTimer_) {
    KillTimer(nullptr, app.pauseTimer_);
    app.pauseTimer_ = 0;
    app.ActivateHintNow();
  } else if (timer == app.hideTimer_) {
    // The part keeps its hint hidden until the mouse moves on to another.
    KillTimer(nullptr, app.hideTimer_);
    app.hideTimer_ = 0;
    app.HideHintNow();
  } else {
    KillTimer(nullptr, timer);
  }
}

void Application::HintMessage(const MSG& msg) {
  if (!showHint_) return;
  switch (msg.message) {
    case WM_MOUSEMOVE: {
      HintTarget target;
      auto source = hintSources_.find(msg.hwnd);
      if (source != hintSources_.end()) {
        POINT client{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        target = source->second(client);
      }
      HWND control = target.id >= 0 ? msg.hwnd : nullptr;
      if (control == hintControl_ && target.id == hintId_) return;
      const bool wasShowing = hintShowing_;
      StopHintTimers();
      HideHintNow();
      hintControl_ = control;
      hintId_ = target.id;
      hintText_ = std::move(target.text);
      if (!control || hintText_.empty()) return;
      // The hint goes when the mouse leaves the window for one where no message tells us.
      TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, control, 0};
      TrackMouseEvent(&leave);
      StartHintTimer(pauseTimer_, wasShowing ? hintShortPause : hintPause);
      return;
    }
    case WM_MOUSELEAVE:
      if (msg.hwnd == hintControl_) CancelHint();
      return;
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (hintControl_) CancelHint();
      return;
    default:
      if (hintControl_ && IsButtonDownMessage(msg.message)) CancelHint();
      return;
  }
}

void Application::ActivateHintNow() {
  if (!showHint_ || !hintControl_ || hintText_.empty()) return;
  // Only while the mouse still rests on the part.
  POINT at;
  GetCursorPos(&at);
  if (WindowFromPoint(at) != hintControl_) {
    CancelHint();
    return;
  }
  if (!hintWindow_) hintWindow_ = hintClass_ ? hintClass_() : MakePlainHintWindow();
  if (!hintWindow_) return;
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  RECT r = hintWindow_->CalcHintRect(screenW / 2, hintText_);
  // Below the cursor's arrow, kept on the screen.
  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = at.x, y = at.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
  if (x + w > screenW) x = screenW - w;
  if (y + h > screenH) y = at.y - h - 2;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  r = RECT{x, y, x + w, y + h};
  hintShowing_ = true;
  const std::string text = hintText_;  // the window may cancel the hint while it shows
  hintWindow_->ActivateHint(r, text);
  if (hintShowing_) StartHintTimer(hideTimer_, hintHidePause);
}

}  // namespace ostrel::tk
