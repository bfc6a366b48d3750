// The other programs' windows as a table: window -> process, process -> file name.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ProgramPort.h"

namespace ostrel::testing {

class FakePrograms : public ProgramPort {
 public:
  WindowHandle foreground = 0;
  WindowHandle focus = 0;
  std::map<WindowHandle, std::vector<WindowHandle>> children;
  std::vector<WindowHandle> visible;
  std::map<WindowHandle, std::uint32_t> processOf;
  std::map<std::uint32_t, std::string> fileOf;
  // Full paths, sessions (the own one is 1) and minimised windows.
  std::map<std::uint32_t, std::string> pathOf;
  std::map<std::uint32_t, std::uint32_t> sessionOf;
  std::vector<WindowHandle> iconic;

  // A window of a process of that file name, in front.
  void Front(WindowHandle wnd, std::uint32_t process, const std::string& file) {
    foreground = wnd;
    processOf[wnd] = process;
    fileOf[process] = file;
  }

  WindowHandle ForegroundWindow() override { return foreground; }
  WindowHandle FocusWindow() override { return focus; }
  std::vector<WindowHandle> ChildWindows(WindowHandle parent) override { return children[parent]; }
  std::vector<WindowHandle> VisibleTopLevelWindows() override { return visible; }
  std::uint32_t ProcessOfWindow(WindowHandle wnd) override {
    auto it = processOf.find(wnd);
    return it == processOf.end() ? 0 : it->second;
  }
  std::string ProcessFileName(std::uint32_t process) override {
    auto it = fileOf.find(process);
    return it == fileOf.end() ? std::string() : it->second;
  }
  std::string ProcessImagePath(std::uint32_t process) override { return pathOf[process]; }
  std::uint32_t ProcessSession(std::uint32_t process) override {
    auto it = sessionOf.find(process);
    return it == sessionOf.end() ? 1 : it->second;
  }
  std::uint32_t OwnSession() override { return 1; }
  bool IsIconic(WindowHandle wnd) override {
    return std::find(iconic.begin(), iconic.end(), wnd) != iconic.end();
  }
};

}  // namespace ostrel::testing
