#include "toolkit/Form.h"

#include <set>

#include "toolkit/Application.h"

namespace ostrel::tk {

HFONT CreateUiFont(int points, bool bold) {
  HDC dc = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(nullptr, dc);
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::Create(const FormStyle& style) {
  static std::set<std::string> registered;
  HINSTANCE inst = Application::Get().Instance();
  if (!registered.count(style.className)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = style.className.c_str();
    if (style.iconId) {
      wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(style.iconId));
      wc.hIconSm = static_cast<HICON>(LoadImageA(inst, MAKEINTRESOURCEA(style.iconId), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0));
    }
    RegisterClassExA(&wc);
    registered.insert(style.className);
  }
  font_.Reset(CreateUiFont(8, false));
  boldFont_.Reset(CreateUiFont(8, true));
  fixedSize_ = style.fixedSize;

  DWORD ws = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!fixedSize_) ws |= WS_THICKFRAME | WS_MAXIMIZEBOX;
  int x = (GetSystemMetrics(SM_CXSCREEN) - style.width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - style.height) / 2;
  CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, style.className.c_str(),
                  style.caption.c_str(), ws, x, y, style.width, style.height, nullptr, nullptr,
                  inst, this);
  if (hwnd_ && style.iconId) {
    // Set on the window itself too: the taskbar and other programs ask the window.
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, GetClassLongPtrA(hwnd_, GCLP_HICON));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, GetClassLongPtrA(hwnd_, GCLP_HICONSM));
  }
}

void Form::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void Form::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Form::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form::AddTimer(UINT id, UINT intervalMs, std::function<void()> onTimer) {
  timers_[id] = TimerSlot{intervalMs, false, std::move(onTimer)};
}

void Form::SetTimerEnabled(UINT id, bool enabled) {
  auto it = timers_.find(id);
  if (it == timers_.end() || !hwnd_) return;
  // An enabled timer keeps running its interval: enabling it again does not restart it.
  if (it->second.enabled == enabled) return;
  it->second.enabled = enabled;
  if (enabled)
    SetTimer(hwnd_, id, it->second.interval, nullptr);
  else
    KillTimer(hwnd_, id);
}

bool Form::TimerEnabled(UINT id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second.enabled;
}

HWND Form::AddControl(const char* className, const std::string& text, DWORD style, int x, int y,
                      int w, int h, int id, DWORD exStyle, HWND parent) {
  HWND child = CreateWindowExA(
      exStyle, className, text.c_str(), WS_CHILD | style, x, y, w, h, parent ? parent : hwnd_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Application::Get().Instance(), nullptr);
  if (child) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return child;
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (!form) return DefWindowProcA(hwnd, msg, wp, lp);
  return form->Handle(msg, wp, lp);
}

LRESULT Form::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_CREATE: {
      RECT r;
      GetWindowRect(hwnd_, &r);
      fixedExtent_ = SIZE{r.right - r.left, r.bottom - r.top};
      OnCreate();
      return 0;
    }
    case WM_GETMINMAXINFO:
      if (fixedSize_ && fixedExtent_.cx > 0) {
        // The window keeps the size it was made with.
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize = POINT{fixedExtent_.cx, fixedExtent_.cy};
        info->ptMaxTrackSize = POINT{fixedExtent_.cx, fixedExtent_.cy};
      }
      break;
    case WM_TIMER: {
      auto it = timers_.find(static_cast<UINT>(wp));
      if (it != timers_.end()) {
        if (it->second.enabled && it->second.onTimer) it->second.onTimer();
        return 0;
      }
      break;
    }
    case WM_SIZE:
      if (Application::Get().MainForm() == this) {
        if (wp == SIZE_MINIMIZED)
          Application::Get().NotifyMinimized();
        else if (wp == SIZE_RESTORED)
          Application::Get().NotifyRestored();
      }
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_CLOSE:
      if (OnCloseQuery()) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      for (auto& [id, slot] : timers_) KillTimer(hwnd_, id);
      OnDestroy();
      if (Application::Get().MainForm() == this) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND gone = hwnd_;
      SetWindowLongPtrA(gone, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcA(gone, msg, wp, lp);
    }
    default:
      break;
  }
  if (OnMessage(msg, wp, lp, result)) return result;
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace ostrel::tk
