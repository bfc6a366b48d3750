// Owners of GDI objects and device contexts, so that nothing leaks however often windows
// are built. Nothing outside this file frees a GDI object or a device context by hand;
// the owners of other handles are in platform/win32/Handles.h.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/win32/Handles.h"

namespace ostrel::tk {

using ostrel::Owner;

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};

// A brush, font, bitmap, pen or region.
template <typename H>
using GdiObject = Owner<H, DeleteGdiObject>;
using Region = GdiObject<HRGN>;

// Gives `region` to `window` as its shape (none: a rectangle again). The window owns the
// region from then on; one the window did not take is freed here.
inline bool SetWindowRegion(HWND window, Region region, bool redraw) {
  if (!SetWindowRgn(window, region.get(), redraw)) return false;
  region.Release();
  return true;
}

struct DeleteMemoryDc {
  void operator()(HDC h) const { DeleteDC(h); }
};
// A memory device context (CreateCompatibleDC). Let it go before the bitmap selected
// into it, or that bitmap cannot be freed.
using MemoryDc = Owner<HDC, DeleteMemoryDc>;

// A window's device context, given back when this goes: its client area (GetDC), the
// whole window with its frame (GetWindowDC), or the screen's for no window.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  static WindowDc WithFrame(HWND window) { return WindowDc(window, GetWindowDC(window)); }
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
  HWND window_;
  HDC dc_;
};

// A window's painting between BeginPaint and EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~PaintDc() { EndPaint(window_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a device context for a while: the one before is put back when
// this goes, so the object can be freed afterwards. Declare it after the owner of the
// object, so it goes first.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A context's state (selected objects, colours, modes) saved now and put back when this
// goes: for a context lent to us, such as an owner-drawn item's, that must be handed back
// as it came.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// A memory context compatible with `dc` that holds `bitmap` while it lives. The bitmap
// is put out of it before the context goes, so whoever owns the bitmap can free or keep
// it afterwards.
class BitmapDc {
 public:
  BitmapDc(HDC dc, HBITMAP bitmap) : dc_(CreateCompatibleDC(dc)), selection_(dc_.get(), bitmap) {}
  HDC get() const { return dc_.get(); }

 private:
  MemoryDc dc_;
  Selection selection_;  // after dc_: put back before the context is deleted
};

}  // namespace ostrel::tk
