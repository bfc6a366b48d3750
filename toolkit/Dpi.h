// Sizes on screens of any scale. Every layout, font and picture of the program is written
// for a screen at 96 DPI (100 %); the windows turn those units into the pixels of their
// screen here, by the one rule of platform/DpiUnits.h. The system calls for per-monitor
// DPI are looked up when first needed, so the program still starts where they are missing
// (older Windows, Wine), and the screen's DPI stands in for them there.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/DpiUnits.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace ostrel::tk {

constexpr UINT kBaseDpi = kUnitsDpi;

// `units` (pixels at 96 DPI) at `dpi`, rounded to the nearest pixel: the rule the portable
// rules use too (platform/DpiUnits.h).
inline int Scale(int units, UINT dpi) { return ScaleUnits(units, static_cast<int>(dpi)); }

// The screen's DPI: what every window has where the system knows no DPI per monitor.
UINT ScreenDpi();
// The DPI of a window's screen (GetDpiForWindow, else the screen's).
UINT WindowDpi(HWND window);
// The DPI of the screen that holds a point (GetDpiForMonitor, else the screen's): what a
// menu or balloon opening there is drawn at.
UINT DpiAt(POINT screen);
// A system metric at `dpi` (GetSystemMetricsForDpi, else the screen's metric scaled).
int Metric(int index, UINT dpi);
// The window rectangle around a client rectangle at `dpi`.
void AdjustWindowRectFor(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// The face a font named `face` is made with at `dpi`. "MS Sans Serif" is a bitmap face,
// drawn for 96 DPI and a few sizes, which at other scales comes out too small or not at
// all; there its scalable kin Tahoma, which every Windows and Wine have, takes its place.
const char* FaceFor(const char* face, UINT dpi);
// "MS Sans Serif" at `points`, for a screen of `dpi`.
HFONT CreateUiFont(int points, bool bold, UINT dpi);
// A font's pixel height, given for 96 DPI, at `dpi` (a negative height stays negative).
inline int FontHeight(int height96, UINT dpi) { return Scale(height96, dpi); }

// Pictures are drawn at 96, 120, 144 and 192 DPI. The drawing that serves `dpi` is the
// largest one not above it (96 below 96), so a picture is never stretched; its size is
// `baseSize` (the picture's size at 96 DPI) scaled to that drawing's DPI.
UINT ArtDpi(UINT dpi);
inline int ArtSize(int baseSize, UINT dpi) { return Scale(baseSize, ArtDpi(dpi)); }
// The bitmap resource drawn for `dpi`: `name` at 96 DPI, "<name>_<size>" at the others
// (IMAGELIST1_24 is IMAGELIST1 drawn for 144 DPI, 24 pixels high). A drawing that is
// missing gives way to the next smaller one.
HBITMAP LoadArt(const char* name, int baseSize, UINT dpi);
// An image list of the square images of such a strip, with `mask` transparent.
HIMAGELIST LoadArtList(const char* name, int baseSize, UINT dpi, int grow, COLORREF mask);

}  // namespace ostrel::tk
