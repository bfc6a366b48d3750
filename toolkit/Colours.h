// The program's own colours, shared by its windows and menus, and the system's colours
// that replace them while the system's high-contrast mode is on.
#pragma once

#include <windows.h>

namespace ostrel::tk {

// The information panes, the menus' items and the end of their banner.
inline constexpr COLORREF kTeal = RGB(0, 128, 128);
// The start of the banners and the function chooser's background.
inline constexpr COLORREF kAqua = RGB(0, 255, 255);
// The colour the bitmaps of images and glyphs mark as transparent.
inline constexpr COLORREF kImageMask = RGB(255, 0, 255);

// Whether the system's high-contrast mode is on, through the port handed to the
// application object (Application::SetContrast); off when none was. Asked afresh each
// time, so every menu and window drawn after a change of theme follows it. While it is
// on, a surface the program draws itself takes only the system's colours named beside it
// below, and no picture or gradient goes behind its text: a user who chose such a theme
// must be able to read every surface in it.
bool HighContrast();

// A surface's background and text.
struct SurfaceColours {
  COLORREF back;
  COLORREF text;
};

// The help panes and the function chooser's heading: COLOR_WINDOW and COLOR_WINDOWTEXT
// in high contrast, else `own`.
inline SurfaceColours PaneColours(SurfaceColours own) {
  if (!HighContrast()) return own;
  return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)};
}

// The balloons and hints: COLOR_INFOBK and COLOR_INFOTEXT in high contrast, else `own`.
inline SurfaceColours InfoColours(SurfaceColours own) {
  if (!HighContrast()) return own;
  return {GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOTEXT)};
}

}  // namespace ostrel::tk
