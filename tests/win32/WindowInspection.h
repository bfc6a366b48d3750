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

// The colours a window gives its child `child` when asked (WM_CTLCOLORSTATIC): the brush
// it answers with and what it left in the device context.
struct ChildColours {
  HBRUSH brush;
  COLORREF back;
  COLORREF text;
};

inline ChildColours AskColours(HWND window, HWND child) {
  constexpr COLORREF kUnset = RGB(1, 2, 3);
  HDC dc = CreateCompatibleDC(nullptr);
  SetBkColor(dc, kUnset);
  SetTextColor(dc, kUnset);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
      window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
  ChildColours c{brush, GetBkColor(dc), GetTextColor(dc)};
  DeleteDC(dc);
  return c;
}

inline constexpr COLORREF kInfoPaneTeal = RGB(0, 128, 128);

// The information pane: white on teal, painted with a solid teal brush.
inline void ExpectInfoPaneColours(const ChildColours& pane) {
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectA(pane.brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, kInfoPaneTeal);
  EXPECT_EQ(pane.back, kInfoPaneTeal);
  EXPECT_EQ(pane.text, RGB(255, 255, 255));
}

}  // namespace ostrel::testing
