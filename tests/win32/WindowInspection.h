// What the Wine-ring tests read back from real windows.
#pragma once

#include <gtest/gtest.h>
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

// Expects the child `id` of `parent` to show `text` and to lie at `rect` in the parent's
// client area; a right or bottom of 0 is not checked (the system sizes it).
inline void ExpectControl(HWND parent, int id, const char* text, RECT rect) {
  HWND c = GetDlgItem(parent, id);
  ASSERT_NE(c, nullptr) << "no control " << id;
  EXPECT_EQ(Text(c), text) << id;
  RECT r = RectIn(parent, c);
  EXPECT_EQ(r.left, rect.left) << id;
  EXPECT_EQ(r.top, rect.top) << id;
  if (rect.right) {
    EXPECT_EQ(r.right, rect.right) << id;
  }
  if (rect.bottom) {
    EXPECT_EQ(r.bottom, rect.bottom) << id;
  }
}

}  // namespace ostrel::testing
