// The shell link object (IShellLinkA, IPersistFile) and CreateDirectoryA behind
// ShellLinkPort. OLE must be initialised on the calling thread (OleInitialize).
#pragma once

#include "platform/ShellLinkPort.h"

namespace ostrel {

class Win32ShellLink : public ShellLinkPort {
 public:
  bool CreateDirectoryA(const std::string& path) override;
  bool SaveShellLink(const std::string& linkPath, const ShellLinkData& link) override;
};

}  // namespace ostrel
