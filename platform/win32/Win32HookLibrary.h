// OLWATCH.DLL and its shared block through kernel32: LoadLibraryA, GetProcAddress,
// OpenFileMappingA and MapViewOfFile.
#pragma once

#include <string>

#include "platform/HookLibraryPort.h"
#include "platform/win32/Handles.h"

namespace ostrel {

class Win32HookLibrary : public HookLibraryPort {
 public:
  // The library is loaded from libraryPath, by default OLWATCH.DLL in the program's own
  // folder (never from elsewhere on the search path).
  Win32HookLibrary();
  explicit Win32HookLibrary(std::string libraryPath);
  // The view and the mapping go with this object. The library stays loaded: it may
  // still be watching on a thread of its own, and the process's end takes it away.
  ~Win32HookLibrary() override = default;
  Win32HookLibrary(const Win32HookLibrary&) = delete;
  Win32HookLibrary& operator=(const Win32HookLibrary&) = delete;

  bool DllAttach() override;
  void DllDetach() override;
  bool MapSharedBlock() override;
  void WriteShared(std::size_t offset, std::uint32_t value) override;

  const std::string& LibraryPath() const { return path_; }

 private:
  using Export = void (*)();
  bool Load();

  std::string path_;
  HMODULE module_ = nullptr;  // loaded for the process's life: see the destructor
  Export attach_ = nullptr;
  Export detach_ = nullptr;
  KernelHandle mapping_;
  FileView view_;  // declared after mapping_: unmapped before the mapping is closed
};

}  // namespace ostrel
