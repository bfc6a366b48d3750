#include "platform/win32/Win32Ports.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/Paths.h"

namespace ostrel {

static_assert(kSwHide == SW_HIDE && kSwShowNormal == SW_SHOWNORMAL && kSwShow == SW_SHOW &&
              kSwMinimize == SW_MINIMIZE && kSwRestore == SW_RESTORE &&
              kSwShowDefault == SW_SHOWDEFAULT && kWsSysMenu == WS_SYSMENU);

static HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }

WindowHandle Win32Windows::FindWindowByClass(const std::string& className) {
  return reinterpret_cast<WindowHandle>(FindWindowA(className.c_str(), nullptr));
}
bool Win32Windows::IsWindowVisible(WindowHandle wnd) { return ::IsWindowVisible(H(wnd)) != 0; }
bool Win32Windows::ShowWindow(WindowHandle wnd, int cmd) { return ::ShowWindow(H(wnd), cmd) != 0; }
bool Win32Windows::SetForegroundWindow(WindowHandle wnd) {
  return ::SetForegroundWindow(H(wnd)) != 0;
}
WindowHandle Win32Windows::GetForegroundWindow() {
  return reinterpret_cast<WindowHandle>(::GetForegroundWindow());
}
WindowHandle Win32Windows::GetDesktopWindow() {
  return reinterpret_cast<WindowHandle>(::GetDesktopWindow());
}
static BOOL CALLBACK EnumEach(HWND wnd, LPARAM lp) {
  auto* each = reinterpret_cast<const std::function<bool(WindowHandle)>*>(lp);
  return (*each)(reinterpret_cast<WindowHandle>(wnd)) ? TRUE : FALSE;
}
void Win32Windows::EnumWindows(const std::function<bool(WindowHandle)>& each) {
  ::EnumWindows(EnumEach, reinterpret_cast<LPARAM>(&each));
}
WindowHandle Win32Windows::GetWindowOwner(WindowHandle wnd) {
  return reinterpret_cast<WindowHandle>(::GetWindow(H(wnd), GW_OWNER));
}
std::uint32_t Win32Windows::GetWindowStyle(WindowHandle wnd) {
  return static_cast<std::uint32_t>(::GetWindowLongA(H(wnd), GWL_STYLE));
}
bool Win32Windows::PostMessageA(WindowHandle wnd, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  return ::PostMessageA(H(wnd), msg, wParam, lParam) != 0;
}
bool Win32Windows::PostMessageW(WindowHandle wnd, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  return ::PostMessageW(H(wnd), msg, wParam, lParam) != 0;
}
bool Win32Windows::IsWindowUnicode(WindowHandle wnd) { return ::IsWindowUnicode(H(wnd)) != 0; }
std::string Win32Windows::GetWindowTextA(WindowHandle wnd) {
  const int length = ::GetWindowTextLengthA(H(wnd));
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(H(wnd), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}
std::uint32_t Win32Windows::GetWindowThread(WindowHandle wnd) {
  return ::GetWindowThreadProcessId(H(wnd), nullptr);
}
bool Win32Windows::AttachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) {
  return ::AttachThreadInput(from, to, attach) != 0;
}
WindowHandle Win32Windows::GetFocus() { return reinterpret_cast<WindowHandle>(::GetFocus()); }
ScreenPoint Win32Windows::GetCursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return ScreenPoint{p.x, p.y};
}
CaretPlace Win32Windows::GetGUIThreadCaret(std::uint32_t thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!thread || !::GetGUIThreadInfo(thread, &info)) return {};
  const RECT& r = info.rcCaret;
  return CaretPlace{reinterpret_cast<WindowHandle>(info.hwndCaret),
                    ScreenRect{r.left, r.top, r.right, r.bottom}};
}
ScreenPoint Win32Windows::ClientToScreen(WindowHandle wnd, ScreenPoint p) {
  POINT q{p.x, p.y};
  ::ClientToScreen(H(wnd), &q);
  return ScreenPoint{q.x, q.y};
}
std::uint32_t Win32Windows::GetWindowProcess(WindowHandle wnd) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(H(wnd), &process);
  return process;
}
WindowHandle Win32Windows::GetLastActivePopup(WindowHandle wnd) {
  return reinterpret_cast<WindowHandle>(::GetLastActivePopup(H(wnd)));
}
bool Win32Windows::IsWindow(WindowHandle wnd) { return ::IsWindow(H(wnd)) != 0; }
WindowHandle Win32Windows::SetActiveWindow(WindowHandle wnd) {
  return reinterpret_cast<WindowHandle>(::SetActiveWindow(H(wnd)));
}
bool Win32Windows::InvalidateRect(WindowHandle wnd, int left, int top, int right, int bottom) {
  RECT r{left, top, right, bottom};
  return ::InvalidateRect(H(wnd), &r, FALSE) != 0;
}
bool Win32Windows::GetUpdateRect(WindowHandle wnd) {
  return ::GetUpdateRect(H(wnd), nullptr, FALSE) != 0;
}

std::uint32_t Win32Shell::ShellExecuteA(WindowHandle owner, const char* verb,
                                        const std::string& file, const std::string& parameters,
                                        const std::string& directory, int show) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // No box of the shell's own: the program tells a failure once, in its balloon. The call
  // waits for the shell's work, so the error is known when it returns.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = H(owner);
  info.lpVerb = verb;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = directory.c_str();
  info.nShow = show;
  if (::ShellExecuteExA(&info)) return 0;
  const DWORD error = GetLastError();
  // A failure without a code still failed: the instance number says how (below 33).
  if (error != 0) return error;
  const auto code = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(info.hInstApp));
  return code == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : code == 0 ? ERROR_FILE_NOT_FOUND : code;
}

std::string Win32Shell::FindExecutableA(const std::string& file, const std::string& directory) {
  char path[MAX_PATH] = {};
  const auto result = reinterpret_cast<std::uintptr_t>(
      ::FindExecutableA(file.c_str(), directory.empty() ? nullptr : directory.c_str(), path));
  return result > 32 ? std::string(path) : std::string();
}

std::string Win32Shell::ErrorText(std::uint32_t code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' '))
    out.pop_back();
  return out;
}

std::string ProgramFilePath() {
  return ReadWholePath([](char* buffer, std::size_t size) -> std::size_t {
    return GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
  });
}

std::string Win32System::ModuleFileName() { return ProgramFilePath(); }
std::string Win32System::AppDataFolder() {
  char path[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
    return {};
  return path;
}

std::optional<std::string> Win32System::EnvironmentVariable(const std::string& name) {
  SetLastError(0);
  const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) {
    // A variable set to nothing is there all the same.
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::string value(size, '\0');
  const DWORD got = GetEnvironmentVariableA(name.c_str(), value.data(), size);
  if (got == 0 || got >= size) return std::nullopt;
  value.resize(got);
  return value;
}

std::uint32_t Win32System::CurrentThreadId() { return GetCurrentThreadId(); }
void Win32System::Sleep(std::uint32_t ms) { ::Sleep(ms); }
std::uint64_t Win32System::TickCount() { return GetTickCount64(); }
void Win32System::TerminateProcess(std::uint32_t exitCode) {
  ::TerminateProcess(GetCurrentProcess(), exitCode);
}

int LocaleCollate(std::string_view a, std::string_view b) {
  int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                         b.data(), static_cast<int>(b.size()));
  return r == CSTR_LESS_THAN ? -1 : r == CSTR_GREATER_THAN ? 1 : 0;
}

}  // namespace ostrel
