#include "platform/win32/Win32Programs.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/Handles.h"

namespace ostrel {

namespace {

HWND Hwnd(WindowHandle wnd) { return reinterpret_cast<HWND>(wnd); }
WindowHandle Handle(HWND wnd) { return reinterpret_cast<WindowHandle>(wnd); }

BOOL CALLBACK Collect(HWND wnd, LPARAM list) {
  reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(Handle(wnd));
  return TRUE;
}

BOOL CALLBACK CollectVisible(HWND wnd, LPARAM list) {
  if (::IsWindowVisible(wnd)) Collect(wnd, list);
  return TRUE;
}

}  // namespace

WindowHandle Win32Programs::ForegroundWindow() { return Handle(::GetForegroundWindow()); }

WindowHandle Win32Programs::FocusWindow() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(0, &info)) return 0;
  return Handle(info.hwndFocus);
}

std::vector<WindowHandle> Win32Programs::ChildWindows(WindowHandle parent) {
  std::vector<WindowHandle> list;
  ::EnumChildWindows(Hwnd(parent), Collect, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::vector<WindowHandle> Win32Programs::VisibleTopLevelWindows() {
  std::vector<WindowHandle> list;
  ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::uint32_t Win32Programs::ProcessOfWindow(WindowHandle wnd) {
  DWORD process = 0;
  if (!::GetWindowThreadProcessId(Hwnd(wnd), &process)) return 0;
  return process;
}

namespace {

// The image path of a process in the ANSI code page; `fileOnly` keeps its last part.
std::string ImagePath(std::uint32_t processId, bool fileOnly) {
  if (processId == 0) return {};
  const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t path[MAX_PATH * 2];
  DWORD size = sizeof path / sizeof path[0];
  if (!::QueryFullProcessImageNameW(process.get(), 0, path, &size) || size == 0) return {};
  std::wstring_view full(path, size);
  const std::size_t slash = full.find_last_of(L"\\/");
  const std::wstring_view file =
      !fileOnly || slash == std::wstring_view::npos ? full : full.substr(slash + 1);
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, file.data(), static_cast<int>(file.size()),
                                          nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string name(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, file.data(), static_cast<int>(file.size()), name.data(), bytes,
                        nullptr, nullptr);
  return name;
}

}  // namespace

std::string Win32Programs::ProcessFileName(std::uint32_t processId) {
  return ImagePath(processId, true);
}

std::string Win32Programs::ProcessImagePath(std::uint32_t processId) {
  return ImagePath(processId, false);
}

std::uint32_t Win32Programs::ProcessSession(std::uint32_t processId) {
  DWORD session = 0;
  return ::ProcessIdToSessionId(processId, &session) ? session : kNoSession;
}

std::uint32_t Win32Programs::OwnSession() { return ProcessSession(::GetCurrentProcessId()); }

bool Win32Programs::IsIconic(WindowHandle wnd) { return ::IsIconic(Hwnd(wnd)) != 0; }

}  // namespace ostrel
