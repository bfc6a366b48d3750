// The program's own colours, shared by its windows and menus.
#pragma once

#include <windows.h>

namespace ostrel::tk {

// The information panes, the menus' items and the end of their banner.
inline constexpr COLORREF kTeal = RGB(0, 128, 128);
// The start of the banners and the function chooser's background.
inline constexpr COLORREF kAqua = RGB(0, 255, 255);
// The colour the bitmaps of images and glyphs mark as transparent.
inline constexpr COLORREF kImageMask = RGB(255, 0, 255);

}  // namespace ostrel::tk
