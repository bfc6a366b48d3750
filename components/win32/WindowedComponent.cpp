#include "components/win32/WindowedComponent.h"

namespace ostrel {

namespace {
constexpr char kClassName[] = "OstrelUtilWindow";
}  // namespace

TWindowedComponent::~TWindowedComponent() {
  // Unbound first: the messages of the window's destruction must not reach a component
  // that is half torn down.
  if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

HWND TWindowedComponent::Handle() {
  if (window_) return window_.get();
  static const HINSTANCE instance = [] {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = inst;
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);
    return inst;
  }();
  // A tool window, so it never shows on the taskbar or in the task switcher; and not a
  // message-only window, so it gets the broadcasts any top-level window gets.
  // The window is ours from its first message (WM_NCCREATE) on.
  CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                  instance, this);
  return window_.get();
}

LRESULT TWindowedComponent::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window_.get(), msg, wParam, lParam);
}

LRESULT CALLBACK TWindowedComponent::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TWindowedComponent*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self =
        static_cast<TWindowedComponent*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_.Reset(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    // Destroyed from outside (DestroyWindow by someone else): forget the handle, so the
    // next read of Handle() makes a new window and the destructor leaves this one alone.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->window_.Release();
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  return self->WndProc(msg, wParam, lParam);
}

}  // namespace ostrel
