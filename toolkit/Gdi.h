// Owners of GDI objects, so that nothing leaks however often windows are built.
#pragma once

#include <windows.h>

#include <utility>

namespace ostrel::tk {

template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  H get() const { return h_; }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

// "MS Sans Serif" at `points` for the screen.
HFONT CreateUiFont(int points, bool bold);

}  // namespace ostrel::tk
