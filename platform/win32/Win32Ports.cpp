#include "platform/win32/Win32Ports.h"

#include <windows.h>

namespace ostrel {

static_assert(kSwHide == SW_HIDE && kSwShow == SW_SHOW && kSwMinimize == SW_MINIMIZE &&
              kSwRestore == SW_RESTORE);

static HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }

WindowHandle Win32Windows::FindWindowByClass(const std::string& className) {
  return reinterpret_cast<WindowHandle>(FindWindowA(className.c_str(), nullptr));
}
bool Win32Windows::IsWindowVisible(WindowHandle wnd) { return ::IsWindowVisible(H(wnd)) != 0; }
bool Win32Windows::ShowWindow(WindowHandle wnd, int cmd) { return ::ShowWindow(H(wnd), cmd) != 0; }
bool Win32Windows::SetForegroundWindow(WindowHandle wnd) {
  return ::SetForegroundWindow(H(wnd)) != 0;
}

std::string Win32System::ModuleFileName() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}
std::uint32_t Win32System::CurrentThreadId() { return GetCurrentThreadId(); }
void Win32System::Sleep(std::uint32_t ms) { ::Sleep(ms); }

int LocaleCollate(std::string_view a, std::string_view b) {
  int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                         b.data(), static_cast<int>(b.size()));
  return r == CSTR_LESS_THAN ? -1 : r == CSTR_GREATER_THAN ? 1 : 0;
}

}  // namespace ostrel
