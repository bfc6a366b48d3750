// Sizes on screens of any scale. Every layout, font and picture of the program is written
// for a screen at 96 DPI (100 %); the windows turn those units into the pixels of their
// screen here, by the one rule of platform/DpiUnits.h. The system calls for per-monitor
// DPI are looked up when first needed, so the program still starts where they are missing
// (older Windows, Wine), and the screen's DPI stands in for them there.
#pragma once

#include <windows.h>

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

}  // namespace ostrel::tk
