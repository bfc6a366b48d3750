// What the banner menus' painters share: colours that may name a system colour, font
// settings in units of a 96-DPI screen and the font they give at a DPI, a solid fill and
// a picture's shape in one colour.
#pragma once

#include <windows.h>

#include <string>

namespace ostrel {

// A colour: an RGB value, or a system colour index with SysColor97.
constexpr COLORREF SysColor97(int index) { return 0x80000000u | static_cast<COLORREF>(index); }
COLORREF ResolveColor97(COLORREF color);

struct TFont97 {
  std::string name = "Arial";
  int height = -16;  // pixels at 96 DPI; negative: character height
  bool bold = false, italic = false, underline = false, strikeOut = false;
  BYTE pitch = DEFAULT_PITCH;
  COLORREF color = SysColor97(COLOR_WINDOWTEXT);
  bool operator==(const TFont97&) const = default;
};

// The font at `dpi`; bold when either the font or `bold` says so.
LOGFONTA LogFont97(const TFont97& f, bool bold, UINT dpi);

void FillSolid97(HDC dc, const RECT& r, COLORREF color);

// A bitmap's size; that of the 17-pixel marks when it has none.
SIZE BitmapSize97(HBITMAP bmp);

// The shape of what `source` holds (w by h; its white pixels are no part of it), painted
// at x, y in `color` alone and nothing else touched: a picture as a high-contrast theme
// shows it.
void PaintShape97(HDC dc, HDC source, int x, int y, int w, int h, COLORREF color);

}  // namespace ostrel
