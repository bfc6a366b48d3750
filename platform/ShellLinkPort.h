// What the shell link component needs beyond the registry and the file system: a folder
// made, and a shell link written through IShellLinkA and IPersistFile.
#pragma once

#include <string>

namespace ostrel {

// What a link holds, as the IShellLinkA setters take it.
struct ShellLinkData {
  std::string path;              // SetPath
  std::string description;       // SetDescription
  std::string arguments;         // SetArguments
  std::string workingDirectory;  // SetWorkingDirectory
  int showCmd = 1;               // SetShowCmd (an SW_* value)
};

class ShellLinkPort {
 public:
  virtual ~ShellLinkPort() = default;
  // CreateDirectoryA(path, no security attributes): one level only.
  virtual bool CreateDirectoryA(const std::string& path) = 0;
  // CoCreateInstance(CLSID_ShellLink, IID_IShellLinkA) and QueryInterface(IPersistFile),
  // the five setters, then IPersistFile::Save of the link path (turned from the ANSI
  // code page into wide characters) with fRemember TRUE; both released. True only when
  // every step succeeded: the path converted whole (it fits MAX_PATH) and the file was
  // saved.
  virtual bool SaveShellLink(const std::string& linkPath, const ShellLinkData& link) = 0;
};

}  // namespace ostrel
