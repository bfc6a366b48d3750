// The images of a banner menu's items, from the host's image list. Drawing from the list
// with its mask costs more than the rest of an item together, so each image is drawn once
// on each background and then copied, until Clear (the owner clears at each new menu
// session, and for another DPI) or until another list is drawn from.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <utility>

#include "toolkit/Gdi.h"

namespace ostrel {

class TMenuImages97 {
 public:
  // Image `index` of `list` at x, y, on a `background` of its size.
  void Draw(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF background);
  void Clear();
  // A disabled item's image: its shape pressed into what is beneath, a highlight
  // `offset` pixels down and right under a shadow. Nothing is filled; nothing is kept.
  static void DrawEmbossed(HDC dc, HIMAGELIST list, int index, int x, int y, int offset);
  // The image's shape alone, in `color` (high contrast). Nothing is filled; nothing is kept.
  static void DrawShape(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF color);

 private:
  HIMAGELIST list_ = nullptr;  // the one the kept images come from
  std::map<std::pair<int, COLORREF>, tk::GdiObject<HBITMAP>> cache_;
  tk::MemoryDc dc_;  // holds one of the kept images; goes before them
};

}  // namespace ostrel
