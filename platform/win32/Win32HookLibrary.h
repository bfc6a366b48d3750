// OLWATCH.DLL and its shared block through kernel32: LoadLibraryA, GetProcAddress,
// OpenFileMappingA and MapViewOfFile.
#pragma once

#include <string>

#include "platform/HookLibraryPort.h"

namespace ostrel {

class Win32HookLibrary : public HookLibraryPort {
 public:
  // The library is loaded from libraryPath, by default OLWATCH.DLL in the program's own
  // folder (never from elsewhere on the search path).
  Win32HookLibrary();
  explicit Win32HookLibrary(std::string libraryPath);
  // Unmaps the view. The library stays loaded: it may still be watching on a thread of
  // its own, and the process's end takes it away.
  ~Win32HookLibrary() override;
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
  void* module_ = nullptr;  // HMODULE
  Export attach_ = nullptr;
  Export detach_ = nullptr;
  void* mapping_ = nullptr;  // HANDLE
  void* view_ = nullptr;
};

}  // namespace ostrel
