// The banner down the left of a popup menu's top level: a colour gradient with rotated
// text. It is built into a bitmap once for its look (the settings, its size and the
// DPI) and kept while the look stays the same, so reopening a menu builds nothing; each
// top-level item copies only its own slice of it beside itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "components/Menus97.h"
#include "components/win32/Menus97Paint.h"
#include "toolkit/Gdi.h"

namespace ostrel {

// Everything the banner's pixels follow from. Colours are resolved, but the text's.
struct TBannerLook97 {
  UINT dpi = 0;
  int width = 0, height = 0;
  COLORREF start = 0, end = 0;
  int numColors = 0;
  TBannerJustification justification = bjCenter;
  std::string text;
  TFont97 font;
  bool operator==(const TBannerLook97&) const = default;
};

class TMenuBanner97 {
 public:
  // Places the banner, `width` pixels wide, in the popup drawn on through `dc`: from the
  // top of `menu`'s first item to the bottom of its lowest, at the first item's left
  // (`root`: the menu read as a tree); in a menu laid out in columns, down the first.
  void Place(HDC dc, HMENU menu, const TMenuItem97& root, int width);
  // Where Place put it, in the popup's client area.
  const RECT& Rect() const { return rect_; }
  // Lets go of the built bitmap unless it was built for `look`.
  void SetLook(const TBannerLook97& look);
  // Lets go of the built bitmap.
  void Drop();
  // Copies top-level `item`'s slice beside it, with that of the separators above it (the
  // platform draws a separator across the banner's place); the first item's slice starts
  // at the banner's top, the last one's ends at its bottom. Where the items' places are
  // not known or the host's own breaks put them in several columns, each copies the
  // whole banner.
  void Draw(HDC dc, const TMenuItem97& root, const TMenuItem97& item);

 private:
  void Build(HDC dc);

  RECT rect_{};
  TBannerLook97 look_;
  std::vector<int> slices_;  // where each top-level item's slice starts, from the top
  tk::GdiObject<HBITMAP> bitmap_;
  tk::MemoryDc dc_;  // holds the bitmap while it is kept; goes before it
};

}  // namespace ostrel
