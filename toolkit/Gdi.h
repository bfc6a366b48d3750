// Owners of handles, GDI objects among them, so that nothing leaks however often windows
// are built.
#pragma once

#include <windows.h>

#include <utility>

namespace ostrel::tk {

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

 private:
  H h_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};

// A brush, font, bitmap or pen.
template <typename H>
using GdiObject = Owner<H, DeleteGdiObject>;

struct DeleteMemoryDc {
  void operator()(HDC h) const { DeleteDC(h); }
};
// A memory device context (CreateCompatibleDC). Let it go before the bitmap selected
// into it, or that bitmap cannot be freed.
using MemoryDc = Owner<HDC, DeleteMemoryDc>;

// An object selected into a device context for a while: the one before is put back when
// this goes, so the object can be freed afterwards.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace ostrel::tk
