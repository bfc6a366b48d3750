// What the one-copy rule needs of the system: the session's running mark, the registered
// show request, and leave for another process to come to the front.
#pragma once

#include <cstdint>

#include "platform/WindowPort.h"

namespace ostrel {

// The session-wide mark the first copy holds while it runs (a named mutex in the
// session's own namespace), and the registered message a later copy sends it.
inline constexpr const char* kRunningMarkName = "Local\\Ostrel.Running";
inline constexpr const char* kShowRequestName = "Ostrel.ShowConfiguration";

class OneCopyPort {
 public:
  virtual ~OneCopyPort() = default;
  // Takes the session's mark; false when another process of this session holds it.
  virtual bool TakeRunningMark() = 0;
  // RegisterWindowMessageA(kShowRequestName).
  virtual std::uint32_t ShowRequestMessage() = 0;
  // AllowSetForegroundWindow for the process of `wnd`, so that it may come to the front
  // on this start's behalf.
  virtual void AllowForeground(WindowHandle wnd) = 0;
};

}  // namespace ostrel
