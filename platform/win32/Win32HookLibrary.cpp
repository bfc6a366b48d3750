#include "platform/win32/Win32HookLibrary.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "platform/Paths.h"
#include "platform/win32/Win32Ports.h"

namespace ostrel {

namespace {

std::string BesideTheProgram(const char* file) {
  const std::string folder = FolderOf(ProgramFilePath());
  if (folder.empty()) return {};  // no folder to look in: load nothing
  return folder + file;
}

}  // namespace

Win32HookLibrary::Win32HookLibrary() : Win32HookLibrary(BesideTheProgram(kHookLibraryName)) {}

Win32HookLibrary::Win32HookLibrary(std::string libraryPath) : path_(std::move(libraryPath)) {}

bool Win32HookLibrary::Load() {
  if (module_) return true;
  if (path_.empty()) return false;
  // Tried again at every attach, so a library put beside the program later is found.
  Module module(LoadLibraryA(path_.c_str()));
  if (!module) return false;
  // Function pointers through FARPROC: GetProcAddress's own type.
  auto attach = reinterpret_cast<Export>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), kHookAttachExport)));
  auto detach = reinterpret_cast<Export>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), kHookDetachExport)));
  if (!attach || !detach) return false;  // not our library: let it go
  module_ = module.Release();
  attach_ = attach;
  detach_ = detach;
  return true;
}

bool Win32HookLibrary::DllAttach() {
  if (!Load()) return false;
  attach_();
  return true;
}

void Win32HookLibrary::DllDetach() {
  if (detach_) detach_();
}

bool Win32HookLibrary::MapSharedBlock() {
  if (view_) return true;
  KernelHandle mapping(OpenFileMappingA(FILE_MAP_WRITE, FALSE, kSharedBlockName));
  if (!mapping) return false;
  FileView view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
  if (!view) return false;
  mapping_ = std::move(mapping);
  view_ = std::move(view);
  return true;
}

void Win32HookLibrary::WriteShared(std::size_t offset, std::uint32_t value) {
  // Any library's block is only known to be kSharedBlockMinSize bytes long.
  if (!view_ || offset > kSharedBlockMinSize || kSharedBlockMinSize - offset < sizeof value) return;
  std::memcpy(static_cast<char*>(view_.get()) + offset, &value, sizeof value);
}

}  // namespace ostrel
