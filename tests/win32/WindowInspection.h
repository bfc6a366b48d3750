// What the Wine-ring tests read back from real windows.
#pragma once

#include <windows.h>

#include <string>

namespace ostrel::testing {

inline std::string Text(HWND h) {
  char buf[4096] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

// A control's rectangle in its parent's client coordinates.
inline RECT RectIn(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace ostrel::testing
