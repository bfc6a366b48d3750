// The program's pictures at a screen's scale, from its own resources. Pictures are drawn
// at 96, 120, 144 and 192 DPI. The drawing that serves `dpi` is the largest one not above
// it (96 below 96), so a picture is never stretched; its size is `baseSize` (the picture's
// size at 96 DPI) scaled to that drawing's DPI.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "toolkit/DpiQueries.h"

namespace ostrel::tk {

UINT ArtDpi(UINT dpi);
inline int ArtSize(int baseSize, UINT dpi) { return Scale(baseSize, ArtDpi(dpi)); }
// The bitmap resource drawn for `dpi`: `name` at 96 DPI, "<name>_<size>" at the others
// (IMAGELIST1_24 is IMAGELIST1 drawn for 144 DPI, 24 pixels high). A drawing that is
// missing gives way to the next smaller one. Null when not even the 96-DPI one is there.
HBITMAP LoadArt(const char* name, int baseSize, UINT dpi);
// An image list of the square images of such a strip, with `mask` transparent.
HIMAGELIST LoadArtList(const char* name, int baseSize, UINT dpi, int grow, COLORREF mask);

}  // namespace ostrel::tk
