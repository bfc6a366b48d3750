// The user32 and kernel32 calls behind ProgramPort.
#pragma once

#include "platform/ProgramPort.h"

namespace ostrel {

class Win32Programs : public ProgramPort {
 public:
  WindowHandle ForegroundWindow() override;
  WindowHandle FocusWindow() override;
  std::vector<WindowHandle> ChildWindows(WindowHandle parent) override;
  std::vector<WindowHandle> VisibleTopLevelWindows() override;
  std::uint32_t ProcessOfWindow(WindowHandle wnd) override;
  std::string ProcessFileName(std::uint32_t processId) override;
  std::string ProcessImagePath(std::uint32_t processId) override;
  std::uint32_t ProcessSession(std::uint32_t processId) override;
  std::uint32_t OwnSession() override;
  bool IsIconic(WindowHandle wnd) override;
};

}  // namespace ostrel
