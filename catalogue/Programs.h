// Which program is in front, and which programs have windows open, named as the
// hotkeys' program lists name them (the executable's file name).
#pragma once

#include <string>
#include <vector>

#include "platform/ProgramPort.h"

namespace ostrel {

// A Store app's window is a frame of this host process; the app itself is the process
// of a window inside the frame.
inline constexpr const char* kStoreFrameHost = "ApplicationFrameHost.exe";

// The program of the foreground window; for a Store app's frame, the program of the
// focus window inside it, or else of the first window inside it that another process
// owns. Empty when no window is in front or its program cannot be named.
std::string ProgramInFront(ProgramPort& port);

// The programs that have visible top-level windows, each once (case ignored, ".exe"
// optional), sorted with case ignored.
std::vector<std::string> OpenPrograms(ProgramPort& port);

}  // namespace ostrel
