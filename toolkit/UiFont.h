// The program's fonts at a screen's scale. Their sizes are given for 96 DPI.
#pragma once

#include <windows.h>

#include "toolkit/DpiQueries.h"

namespace ostrel::tk {

// The face a font named `face` is made with at `dpi`. "MS Sans Serif" is a bitmap face,
// drawn for 96 DPI and a few sizes, which at other scales comes out too small or not at
// all; there its scalable kin Tahoma, which every Windows and Wine have, takes its place.
const char* FaceFor(const char* face, UINT dpi);
// "MS Sans Serif" at `points`, for a screen of `dpi` (the screen's for 0).
HFONT CreateUiFont(int points, bool bold, UINT dpi);
// A font's pixel height, given for 96 DPI, at `dpi` (a negative height stays negative).
inline int FontHeight(int height96, UINT dpi) { return Scale(height96, dpi); }

}  // namespace ostrel::tk
