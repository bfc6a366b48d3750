// The user32 and kernel32 calls behind WindowPort and SystemPort, and the user
// locale's collation of key texts.
#pragma once

#include <string_view>

#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

class Win32Windows : public WindowPort {
 public:
  WindowHandle FindWindowByClass(const std::string& className) override;
  bool IsWindowVisible(WindowHandle wnd) override;
  bool ShowWindow(WindowHandle wnd, int cmd) override;
  bool SetForegroundWindow(WindowHandle wnd) override;
};

class Win32System : public SystemPort {
 public:
  std::string ModuleFileName() override;
  std::uint32_t CurrentThreadId() override;
  void Sleep(std::uint32_t ms) override;
};

// CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE), as -1, 0 or 1.
int LocaleCollate(std::string_view a, std::string_view b);

}  // namespace ostrel
