// Owners of the handles Windows hands out, so that nothing is freed by hand and nothing
// leaks when a call throws or returns early. Each owner is move-only and frees its handle
// as it goes or takes another. Drawing objects and device contexts have their owners in
// toolkit/Gdi.h, built on the same template.
#pragma once

#include <windows.h>

#include <utility>

namespace ostrel {

// A handle freed by `Free` when its owner goes or takes another. Move-only.
template <typename H, typename Free>
class Owner {
 public:
  Owner() = default;
  explicit Owner(H h) : h_(h) {}
  ~Owner() { Reset(); }
  Owner(Owner&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Owner& operator=(Owner&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(H h = nullptr) {
    if (h_) Free{}(h_);
    h_ = h;
  }
  // Hands the handle to whoever takes it over; the owner forgets it.
  H Release() { return std::exchange(h_, nullptr); }
  // For calls that write a handle through a pointer (RegOpenKeyExA and the like): the
  // handle held before is freed first.
  H* Receive() {
    Reset();
    return &h_;
  }

 private:
  H h_ = nullptr;
};

struct CloseKernelHandle {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseRegistryKey {
  void operator()(HKEY h) const { RegCloseKey(h); }
};
struct RemoveHook {
  void operator()(HHOOK h) const { UnhookWindowsHookEx(h); }
};
struct FreeModule {
  void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct FreeGlobalMemory {
  void operator()(HGLOBAL h) const { GlobalFree(h); }
};
struct DestroyIconHandle {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct DestroyMenuHandle {
  void operator()(HMENU h) const { DestroyMenu(h); }
};
struct DestroyWindowHandle {
  void operator()(HWND h) const { DestroyWindow(h); }
};
struct UnmapFileView {
  void operator()(void* view) const { UnmapViewOfFile(view); }
};

// A process, thread, event, mutex, file mapping or file. Use OwnFile for CreateFileA's
// result, whose failure is INVALID_HANDLE_VALUE rather than null.
using KernelHandle = Owner<HANDLE, CloseKernelHandle>;
inline KernelHandle OwnFile(HANDLE h) {
  return KernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}
using RegistryKey = Owner<HKEY, CloseRegistryKey>;
using Hook = Owner<HHOOK, RemoveHook>;
using Module = Owner<HMODULE, FreeModule>;
// Global memory that nobody took over; after SetClipboardData succeeds, Release it.
using GlobalMemory = Owner<HGLOBAL, FreeGlobalMemory>;
using IconOwner = Owner<HICON, DestroyIconHandle>;
using MenuOwner = Owner<HMENU, DestroyMenuHandle>;
using WindowOwner = Owner<HWND, DestroyWindowHandle>;
using FileView = Owner<void*, UnmapFileView>;

// Global memory locked while this lives (GlobalLock / GlobalUnlock).
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(memory_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* get() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace ostrel
