#include "platform/win32/Win32HookLibrary.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "platform/Paths.h"
#include "platform/win32/Win32Ports.h"

namespace ostrel {

namespace {

std::string BesideTheProgram(const char* file) {
  const std::string folder = FolderOf(Win32System().ModuleFileName());
  if (folder.empty()) return {};  // no folder to look in: load nothing
  return folder + file;
}

}  // namespace

Win32HookLibrary::Win32HookLibrary() : Win32HookLibrary(BesideTheProgram(kHookLibraryName)) {}

Win32HookLibrary::Win32HookLibrary(std::string libraryPath) : path_(std::move(libraryPath)) {}

Win32HookLibrary::~Win32HookLibrary() {
  if (view_) UnmapViewOfFile(view_);
  if (mapping_) CloseHandle(mapping_);
}

bool Win32HookLibrary::Load() {
  if (module_) return true;
  if (path_.empty()) return false;
  // Tried again at every attach, so a library put beside the program later is found.
  HMODULE module = LoadLibraryA(path_.c_str());
  if (!module) return false;
  // Function pointers through FARPROC: GetProcAddress's own type.
  auto attach =
      reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module, kHookAttachExport)));
  auto detach =
      reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module, kHookDetachExport)));
  if (!attach || !detach) {
    FreeLibrary(module);
    return false;
  }
  module_ = module;
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
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kSharedBlockName);
  if (!mapping) return false;
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
  if (!view) {
    CloseHandle(mapping);
    return false;
  }
  mapping_ = mapping;
  view_ = view;
  return true;
}

void Win32HookLibrary::WriteShared(std::size_t offset, std::uint32_t value) {
  // Any library's block is only known to be kSharedBlockMinSize bytes long.
  if (!view_ || offset > kSharedBlockMinSize || kSharedBlockMinSize - offset < sizeof value) return;
  std::memcpy(static_cast<char*>(view_) + offset, &value, sizeof value);
}

}  // namespace ostrel
