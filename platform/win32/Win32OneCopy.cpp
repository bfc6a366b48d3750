#include "platform/win32/Win32OneCopy.h"

#include <windows.h>

namespace ostrel {

Win32OneCopy::~Win32OneCopy() {
  if (mark_) CloseHandle(mark_);
}

bool Win32OneCopy::TakeRunningMark() {
  if (mark_) return true;
  HANDLE mark = CreateMutexA(nullptr, FALSE, kRunningMarkName);
  const DWORD error = GetLastError();
  if (!mark) {
    // Made by another user's process in this session with rights we lack: it is there,
    // so a copy runs.
    if (error == ERROR_ACCESS_DENIED) return false;
    return true;  // no mark to be had: run, as a program without the check would
  }
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mark);
    return false;
  }
  mark_ = mark;
  return true;
}

std::uint32_t Win32OneCopy::ShowRequestMessage() { return RegisterWindowMessageA(kShowRequestName); }

void Win32OneCopy::AllowForeground(WindowHandle wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(wnd), &pid);
  if (pid) AllowSetForegroundWindow(pid);
}

}  // namespace ostrel
