// The session's running mark (a named mutex, held until this object goes), the
// registered show request, AllowSetForegroundWindow and the requests sent as
// WM_COPYDATA, behind OneCopyPort.
#pragma once

#include "platform/OneCopyPort.h"
#include "platform/win32/Handles.h"

namespace ostrel {

class Win32OneCopy : public OneCopyPort {
 public:
  Win32OneCopy() = default;
  Win32OneCopy(const Win32OneCopy&) = delete;
  Win32OneCopy& operator=(const Win32OneCopy&) = delete;

  bool TakeRunningMark() override;
  std::uint32_t ShowRequestMessage() override;
  void AllowForeground(WindowHandle wnd) override;
  std::optional<std::uintptr_t> SendRequest(WindowHandle wnd, std::uintptr_t id,
                                            const std::string& data,
                                            std::uint32_t timeoutMs) override;
  std::string CurrentFolder() override;
  void Tell(const std::string& text) override;

 private:
  KernelHandle mark_;
};

}  // namespace ostrel
