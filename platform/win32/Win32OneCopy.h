// The session's running mark (a named mutex, held until this object goes), the
// registered show request, and AllowSetForegroundWindow, behind OneCopyPort.
#pragma once

#include "platform/OneCopyPort.h"

namespace ostrel {

class Win32OneCopy : public OneCopyPort {
 public:
  Win32OneCopy() = default;
  ~Win32OneCopy() override;
  Win32OneCopy(const Win32OneCopy&) = delete;
  Win32OneCopy& operator=(const Win32OneCopy&) = delete;

  bool TakeRunningMark() override;
  std::uint32_t ShowRequestMessage() override;
  void AllowForeground(WindowHandle wnd) override;

 private:
  void* mark_ = nullptr;  // HANDLE
};

}  // namespace ostrel
