#include "platform/win32/Win32OneCopy.h"

#include <windows.h>

#include <utility>

namespace ostrel {

bool Win32OneCopy::TakeRunningMark() {
  if (mark_) return true;
  KernelHandle mark(CreateMutexA(nullptr, FALSE, kRunningMarkName));
  const DWORD error = GetLastError();
  if (!mark) {
    // Made by another user's process in this session with rights we lack: it is there,
    // so a copy runs.
    if (error == ERROR_ACCESS_DENIED) return false;
    return true;  // no mark to be had: run, as a program without the check would
  }
  if (error == ERROR_ALREADY_EXISTS) return false;  // a copy runs and holds it; our handle goes
  mark_ = std::move(mark);
  return true;
}

std::uint32_t Win32OneCopy::ShowRequestMessage() {
  return RegisterWindowMessageA(kShowRequestName);
}

void Win32OneCopy::AllowForeground(WindowHandle wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(wnd), &pid);
  if (pid) AllowSetForegroundWindow(pid);
}

std::optional<std::uintptr_t> Win32OneCopy::SendRequest(WindowHandle wnd, std::uintptr_t id,
                                                        const std::string& data,
                                                        std::uint32_t timeoutMs) {
  COPYDATASTRUCT copy{};
  copy.dwData = static_cast<ULONG_PTR>(id);
  copy.cbData = static_cast<DWORD>(data.size());
  copy.lpData = const_cast<char*>(data.data());
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(reinterpret_cast<HWND>(wnd), WM_COPYDATA, 0,
                           reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, timeoutMs, &answer))
    return std::nullopt;
  return static_cast<std::uintptr_t>(answer);
}

std::string Win32OneCopy::CurrentFolder() {
  char folder[MAX_PATH] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof folder, folder);
  return n && n < sizeof folder ? std::string(folder, n) : std::string();
}

void Win32OneCopy::Tell(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), "Ostrel", MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

}  // namespace ostrel
