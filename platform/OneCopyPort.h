// What the one-copy rule needs of the system: the session's running mark, the registered
// show request, leave for another process to come to the front, and a request with data
// sent to the running copy.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

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
  // WM_COPYDATA to `wnd` with `id` as dwData and `data` as the bytes, sent with
  // SendMessageTimeout and a limit of `timeoutMs`: the window's answer, or nothing when
  // it did not answer in time.
  virtual std::optional<std::uintptr_t> SendRequest(WindowHandle wnd, std::uintptr_t id,
                                                    const std::string& data,
                                                    std::uint32_t timeoutMs) = 0;
  // The starting process's current folder, and a box of its own (it has no window).
  virtual std::string CurrentFolder() = 0;
  virtual void Tell(const std::string& text) = 0;
};

}  // namespace ostrel
