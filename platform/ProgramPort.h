// What the program needs of the other programs' windows to tell which program is in
// front (hotkeys meant for some programs only) and which have windows open (the editor's
// list to pick from), and which program's windows a launch brings forward. Operations
// mirror user32 and kernel32 calls; the rules built on them are in catalogue/Programs.h. Names are
// in the ANSI code page, like every text the definitions hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WindowPort.h"

namespace ostrel {

inline constexpr std::uint32_t kNoSession = 0xFFFFFFFFu;

class ProgramPort {
 public:
  virtual ~ProgramPort() = default;
  // GetForegroundWindow.
  virtual WindowHandle ForegroundWindow() = 0;
  // The focus window of the foreground thread (GetGUIThreadInfo(0)); 0 when none.
  virtual WindowHandle FocusWindow() = 0;
  // EnumChildWindows(parent): every descendant window.
  virtual std::vector<WindowHandle> ChildWindows(WindowHandle parent) = 0;
  // EnumWindows, keeping the visible ones.
  virtual std::vector<WindowHandle> VisibleTopLevelWindows() = 0;
  // GetWindowThreadProcessId.
  virtual std::uint32_t ProcessOfWindow(WindowHandle wnd) = 0;
  // The file name of a process's executable ("notepad.exe"): OpenProcess with
  // PROCESS_QUERY_LIMITED_INFORMATION, so a process with higher rights is named too, then
  // QueryFullProcessImageName. Empty when it cannot be read.
  virtual std::string ProcessFileName(std::uint32_t processId) = 0;
  // The full path of a process's executable, read as above; empty when it cannot be read.
  virtual std::string ProcessImagePath(std::uint32_t processId) = 0;
  // ProcessIdToSessionId: the session a process runs in; kNoSession when it cannot be told.
  virtual std::uint32_t ProcessSession(std::uint32_t processId) = 0;
  // The session of the program's own process.
  virtual std::uint32_t OwnSession() = 0;
  // IsIconic: the window is minimised.
  virtual bool IsIconic(WindowHandle wnd) = 0;
};

}  // namespace ostrel
