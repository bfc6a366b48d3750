// The user32, shell32 and kernel32 calls behind WindowPort, ShellPort and SystemPort, and the user
// locale's collation of key texts.
#pragma once

#include <string_view>

#include "platform/ShellPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

class Win32Windows : public WindowPort {
 public:
  WindowHandle FindWindowByClass(const std::string& className) override;
  bool IsWindowVisible(WindowHandle wnd) override;
  bool ShowWindow(WindowHandle wnd, int cmd) override;
  bool SetForegroundWindow(WindowHandle wnd) override;
  WindowHandle GetForegroundWindow() override;
  WindowHandle GetDesktopWindow() override;
  void EnumWindows(const std::function<bool(WindowHandle)>& each) override;
  WindowHandle GetWindowOwner(WindowHandle wnd) override;
  std::uint32_t GetWindowStyle(WindowHandle wnd) override;
  bool PostMessageA(WindowHandle wnd, std::uint32_t msg, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool PostMessageW(WindowHandle wnd, std::uint32_t msg, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool IsWindowUnicode(WindowHandle wnd) override;
  std::string GetWindowTextA(WindowHandle wnd) override;
  std::uint32_t GetWindowThread(WindowHandle wnd) override;
  bool AttachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) override;
  WindowHandle GetFocus() override;
  ScreenPoint GetCursorPos() override;
  CaretPlace GetGUIThreadCaret(std::uint32_t thread) override;
  ScreenPoint ClientToScreen(WindowHandle wnd, ScreenPoint p) override;
  std::uint32_t GetWindowProcess(WindowHandle wnd) override;
  WindowHandle GetLastActivePopup(WindowHandle wnd) override;
  bool IsWindow(WindowHandle wnd) override;
  WindowHandle SetActiveWindow(WindowHandle wnd) override;
  bool InvalidateRect(WindowHandle wnd, int left, int top, int right, int bottom) override;
  bool GetUpdateRect(WindowHandle wnd) override;
};

class Win32Shell : public ShellPort {
 public:
  std::uint32_t ShellExecuteA(WindowHandle owner, const char* verb, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              int show) override;
  std::string FindExecutableA(const std::string& file, const std::string& directory) override;
  std::string ErrorText(std::uint32_t code) override;
};

class Win32System : public SystemPort {
 public:
  std::string ModuleFileName() override;
  std::string AppDataFolder() override;
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  std::uint32_t CurrentThreadId() override;
  void Sleep(std::uint32_t ms) override;
  std::uint64_t TickCount() override;
  void TerminateProcess(std::uint32_t exitCode) override;
};

// The program's own full path (GetModuleFileNameA), never cut however long; empty when it
// cannot be read. SystemPort::ModuleFileName and the help page both read it here.
std::string ProgramFilePath();

// CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE), as -1, 0 or 1.
int LocaleCollate(std::string_view a, std::string_view b);

}  // namespace ostrel
