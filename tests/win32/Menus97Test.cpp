// TPopupMenus97 on real windows, menus and device contexts, with the owner window routing
// its messages as the program's does: the owner-draw pass and its undoing, the
// accelerator answer, item sizes, where images and text land, embossed disabled images,
// and the banner of a menu really popped up, read back from the screen's pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/win32/Menus97.h"
#include "platform/win32/Win32CodePage.h"

namespace ostrel {
namespace {

Win32CodePage g_codePage;

// An instance whose menus' messages the owner window routes to it, the newest first.
std::vector<TPopupMenus97*> g_routed;
class RoutedMenus : public TPopupMenus97 {
 public:
  RoutedMenus() : TPopupMenus97(g_codePage) { g_routed.push_back(this); }
  ~RoutedMenus() { std::erase(g_routed, this); }
};

// The owner window's procedure: routes to the instances, counts the owner-draw messages
// that reach its own handling, and runs the test's hook while a menu idles.
int g_drawItemsSeen = 0;
std::function<void(HWND menuWindow)> g_onMenuIdle;

LRESULT CALLBACK OwnerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  for (auto m = g_routed.rbegin(); m != g_routed.rend(); ++m)
    if ((*m)->Route(msg, wp, lp, result)) return result;
  if (msg == WM_DRAWITEM || msg == WM_MEASUREITEM) ++g_drawItemsSeen;
  if (msg == WM_ENTERIDLE && wp == MSGF_MENU && g_onMenuIdle) {
    auto hook = std::exchange(g_onMenuIdle, nullptr);
    hook(reinterpret_cast<HWND>(lp));
    EndMenu();
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

// Ends a menu that never idles, so the test fails instead of waiting for ever.
void CALLBACK EndStalledMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

HWND MakeOwner() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Menus97TestOwner";
    return RegisterClassA(&wc);
  }();
  EXPECT_NE(atom, 0);
  return CreateWindowExA(0, "Menus97TestOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void Append(HMENU menu, UINT id, const char* caption, LONG_PTR data, UINT extraType = 0,
            UINT state = 0, HMENU sub = nullptr) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
  info.wID = id;
  info.dwItemData = static_cast<ULONG_PTR>(data);
  info.fState = state;
  if (std::string(caption) == "-") {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fMask |= MIIM_STRING;
    info.fType = MFT_STRING | extraType;
    info.dwTypeData = const_cast<char*>(caption);
  }
  if (sub) {
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = sub;
  }
  InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
}

struct ItemState {
  UINT type, state;
  ULONG_PTR data;
  std::string text;
  HMENU sub;
};
ItemState Read(HMENU menu, int pos) {
  char text[64] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
  GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info);
  if (!(info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR)))
    GetMenuStringA(menu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
  return {info.fType, info.fState, info.dwItemData, text, info.hSubMenu};
}

// The item data of the item with that command, wherever it is in the instance's menu.
ULONG_PTR DataOf(const TPopupMenus97& m, UINT id) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  GetMenuItemInfoA(m.PopupMenu(), id, FALSE, &info);
  return info.dwItemData;
}

struct MenuDeleter {
  void operator()(HMENU m) const { DestroyMenu(m); }
};
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

class Menus97Test : public ::testing::Test {
 protected:
  HWND owner = nullptr;
  void SetUp() override {
    owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    g_drawItemsSeen = 0;
  }
  void TearDown() override { DestroyWindow(owner); }

  // A WM_DRAWITEM for an item of `m` through the owner window, onto `dc`.
  LRESULT SendDraw(const TPopupMenus97& m, UINT id, HDC dc, RECT rc, UINT state = 0) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = id;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(m.PopupMenu());
    dis.hDC = dc;
    dis.rcItem = rc;
    dis.itemData = DataOf(m, id);
    return SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  }
  // A WM_DRAWITEM whose item data is `data`, drawing nothing.
  void SendStray(ULONG_PTR data) {
    DRAWITEMSTRUCT stray{};
    stray.CtlType = ODT_MENU;
    stray.itemData = data;
    SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&stray));
  }
  SIZE SendMeasure(const TPopupMenus97& m, UINT id) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = id;
    mis.itemData = DataOf(m, id);
    EXPECT_EQ(SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 1);
    return SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
  }
};

// A memory device context with a 24-bit bitmap, filled with one colour.
struct Canvas {
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  Canvas(int w, int h, COLORREF fill) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bmp);
    RECT r{0, 0, w, h};
    HBRUSH b = CreateSolidBrush(fill);
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
};

TEST_F(Menus97Test, OwnerDrawPassKeepsSeparatorsSubmenusStatesAndUndoesOnDetach) {
  MenuPtr menu(CreatePopupMenu());
  HMENU sub = CreatePopupMenu();
  Append(sub, 5, "Inner", 1);
  Append(menu.get(), 1, "Banana", 3);
  Append(menu.get(), 0, "-", 0);
  Append(menu.get(), 2, "&Cherry", -2, 0, MFS_GRAYED);
  Append(menu.get(), 3, "Group", 0, MFT_MENUBARBREAK, 0, sub);
  Append(menu.get(), 4, "&Cloud", 2);
  RoutedMenus m;
  m.SetPopupMenu(menu.get());
  EXPECT_TRUE(Read(menu.get(), 1).type & MFT_SEPARATOR);
  EXPECT_FALSE(Read(menu.get(), 1).type & MFT_OWNERDRAW);
  const ItemState disabled = Read(menu.get(), 2);
  EXPECT_TRUE(disabled.type & MFT_OWNERDRAW);
  EXPECT_EQ(disabled.state & MFS_GRAYED, static_cast<UINT>(MFS_GRAYED));
  const ItemState group = Read(menu.get(), 3);
  EXPECT_EQ(group.type, static_cast<UINT>(MFT_OWNERDRAW | MFT_MENUBARBREAK));
  EXPECT_EQ(group.sub, sub);
  EXPECT_TRUE(m.OwnsItemData(Read(sub, 0).data));
  EXPECT_EQ(m.Items().items[3].items[0].tag, 1);

  // The typed letter of an enabled item: its position and MNC_EXECUTE. The disabled
  // "&Cherry" is passed over for "&Cloud"; a letter nobody has goes on to the window.
  const auto menuChar = [&](char c, HMENU in) {
    return SendMessageA(owner, WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP), reinterpret_cast<LPARAM>(in));
  };
  EXPECT_EQ(menuChar('c', menu.get()), MAKELRESULT(4, MNC_EXECUTE));
  EXPECT_EQ(menuChar('z', menu.get()), DefWindowProcA(owner, WM_MENUCHAR, 'z', 0));
  EXPECT_EQ(menuChar('c', sub), DefWindowProcA(owner, WM_MENUCHAR, 'c', 0));

  // Another menu: the first is a string menu again, as the host built it.
  MenuPtr other(CreatePopupMenu());
  Append(other.get(), 9, "Other", 0);
  m.SetPopupMenu(other.get());
  const ItemState banana = Read(menu.get(), 0);
  EXPECT_EQ(banana.type, static_cast<UINT>(MFT_STRING));
  EXPECT_EQ(banana.text, "Banana");
  EXPECT_EQ(banana.data, 3u);
  EXPECT_EQ(Read(menu.get(), 2).text, "&Cherry");
  EXPECT_EQ(Read(menu.get(), 2).state & MFS_GRAYED, static_cast<UINT>(MFS_GRAYED));
  EXPECT_EQ(Read(menu.get(), 3).type, static_cast<UINT>(MFT_STRING | MFT_MENUBARBREAK));
  EXPECT_EQ(Read(menu.get(), 3).sub, sub);
  EXPECT_EQ(Read(sub, 0).text, "Inner");
  EXPECT_EQ(Read(sub, 0).data, 1u);
  EXPECT_TRUE(m.OwnsItemData(Read(other.get(), 0).data));
}

TEST_F(Menus97Test, FontsFollowTheSystemUntilSetAndBackAgain) {
  TPopupMenus97 m(g_codePage);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
  EXPECT_TRUE(m.DefaultFont());
  EXPECT_EQ(m.Font().name, metrics.lfMenuFont.lfFaceName);
  EXPECT_EQ(m.HiliteFont().color, SysColor97(COLOR_HIGHLIGHTTEXT));
  TFont97 font;
  font.name = "Courier New";
  m.SetFont(font);
  EXPECT_FALSE(m.DefaultFont());
  m.SetDefaultFont(true);
  EXPECT_TRUE(m.DefaultFont());
  EXPECT_EQ(m.Font().name, metrics.lfMenuFont.lfFaceName);
  EXPECT_EQ(m.HiliteFont().color, SysColor97(COLOR_HIGHLIGHTTEXT));
  const int system = GetSystemMetrics(SM_CXMENUCHECK);
  EXPECT_EQ(m.MarkWidth(), system < 17 ? 21 : system);  // the 17-pixel bitmap is loaded
}

// Image lists for the drawing cases: image 0 solid red.
struct RedImages {
  HIMAGELIST list;
  explicit RedImages(int size = 16)
      : list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 1, 1)) {
    Canvas red(size, size, RGB(255, 0, 0));
    SelectObject(red.dc, red.old);
    ImageList_AddMasked(list, red.bmp, RGB(255, 0, 255));
    red.old = SelectObject(red.dc, red.bmp);
  }
  ~RedImages() { ImageList_Destroy(list); }
};

TFont97 TestFont() {
  TFont97 f;
  f.name = "Arial";
  f.height = -13;
  f.color = RGB(0, 0, 0);
  return f;
}

class Menus97DrawTest : public Menus97Test {
 protected:
  RedImages images;
  MenuPtr menu{CreatePopupMenu()};
  std::unique_ptr<RoutedMenus> m;
  void SetUp() override {
    Menus97Test::SetUp();
    // The top level and its submenu hold the same captions; the rest lies deeper.
    HMENU sub = CreatePopupMenu(), sub2 = CreatePopupMenu(), one = CreatePopupMenu(),
          two = CreatePopupMenu();
    Append(one, 11, "&Alpha", -2);
    Append(two, 12, "Alpha", -2);
    Append(sub2, 7, "x", -2);
    Append(sub2, 8, "One", 0, 0, 0, one);
    Append(sub2, 9, "Two", 0, 0, 0, two);
    Append(sub2, 21, "-Group", -2);
    Append(sub, 4, "Alpha", -2);
    Append(sub, 5, "Beta", 0);
    Append(sub, 6, "Sub", 0, 0, 0, sub2);
    Append(menu.get(), 1, "Alpha", -2);
    Append(menu.get(), 2, "Beta", 0);
    Append(menu.get(), 3, "Sub", 0, 0, 0, sub);
    m = std::make_unique<RoutedMenus>();
    m->SetImages(images.list);
    m->SetFont(TestFont());
    m->SetHiliteFont(TestFont());
    m->BrushColor = RGB(0, 128, 128);
    m->HiliteBar = RGB(192, 192, 192);
    m->Banner = true;
    m->SetPopupMenu(menu.get());
  }
  void TearDown() override {
    m.reset();
    Menus97Test::TearDown();
  }
};

TEST_F(Menus97DrawTest, TopLevelItemsAreTheBannerWiderAndAmpersandsNarrower) {
  EXPECT_EQ(m->MarkWidth(), 20);
  const SIZE top = SendMeasure(*m, 1), inner = SendMeasure(*m, 4);
  EXPECT_EQ(top.cx - inner.cx, 20);
  EXPECT_EQ(top.cy, inner.cy);
  EXPECT_GE(top.cy, 20);
  // "&Alpha" is measured as its visible text less one "&".
  HDC screen = GetDC(nullptr);
  LOGFONTA lf{};
  lf.lfHeight = -13;
  lstrcpyA(lf.lfFaceName, "Arial");
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE amp{};
  GetTextExtentPoint32A(screen, "&", 1, &amp);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  ASSERT_GT(amp.cx, 0);
  EXPECT_EQ(SendMeasure(*m, 12).cx - SendMeasure(*m, 11).cx, amp.cx);
  // At 192 DPI, with the images drawn for it, an item is about twice as high and wide,
  // its banner exactly; back at 96 DPI it measures as before.
  RedImages large(32);
  m->SetDpi(192);
  m->SetImages(large.list);
  const SIZE top2 = SendMeasure(*m, 1);
  EXPECT_EQ(top2.cx - SendMeasure(*m, 4).cx, 40);
  EXPECT_NEAR(top2.cx, 2 * top.cx, top.cx / 10);
  EXPECT_NEAR(top2.cy, 2 * top.cy, top.cy / 10);
  m->SetDpi(96);
  m->SetImages(images.list);
  EXPECT_EQ(SendMeasure(*m, 1).cx, top.cx);
  EXPECT_EQ(SendMeasure(*m, 1).cy, top.cy);
  // A fixed height wins.
  m->ItemHeight = 25;
  EXPECT_EQ(SendMeasure(*m, 7).cy, 25);
}

// A top-level item as received at left 0: the banner's 20 pixels and 2 more are passed
// over, the image sits 2 further in (24) and the text 16 + 7 beyond the image's column
// (45), exactly where the same text drawn on its own lands.
TEST_F(Menus97DrawTest, ImageAndTextLandWhereTheyBelong) {
  const RECT rc{0, 0, 160, 24};
  Canvas canvas(160, 24, RGB(255, 255, 255));
  EXPECT_EQ(SendDraw(*m, 2, canvas.dc, rc), 1);  // "Beta", image 0
  EXPECT_EQ(canvas.At(21, 10), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(22, 10), RGB(0, 128, 128));
  EXPECT_EQ(canvas.At(23, 2), RGB(0, 128, 128));
  EXPECT_EQ(canvas.At(24, 2), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(39, 17), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(40, 17), RGB(0, 128, 128));

  Canvas text(160, 24, RGB(255, 255, 255));
  EXPECT_EQ(SendDraw(*m, 1, text.dc, rc), 1);  // "Alpha", no image
  Canvas expected(160, 24, RGB(255, 255, 255));
  RECT fill{22, 0, 160, 24};
  HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
  FillRect(expected.dc, &fill, teal);
  DeleteObject(teal);
  LOGFONTA lf{};
  lf.lfHeight = -13;
  lstrcpyA(lf.lfFaceName, "Arial");
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(expected.dc, font);
  SetBkMode(expected.dc, TRANSPARENT);
  RECT at{45, 0, 160, 24};
  DrawTextA(expected.dc, "Alpha", 5, &at, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
  SelectObject(expected.dc, old);
  DeleteObject(font);
  int differing = 0, inked = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 160; ++x) {
      differing += text.At(x, y) != expected.At(x, y);
      inked += x >= 22 && text.At(x, y) != RGB(0, 128, 128);
    }
  EXPECT_GT(inked, 10);
  EXPECT_EQ(differing, 0);

  // Selected: the silver bar, and a raised frame around the image.
  Canvas selected(160, 24, RGB(255, 255, 255));
  SendDraw(*m, 2, selected.dc, rc, ODS_SELECTED);
  EXPECT_EQ(selected.At(150, 5), RGB(192, 192, 192));
  EXPECT_EQ(selected.At(22, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(selected.At(22 + 19, 19), GetSysColor(COLOR_BTNSHADOW));

  // At 192 DPI with 32-pixel images: 40 + 4 pixels passed over, the image 4 further in.
  RedImages large(32);
  m->SetDpi(192);
  m->SetImages(large.list);
  Canvas big(320, 48, RGB(255, 255, 255));
  SendDraw(*m, 2, big.dc, RECT{0, 0, 320, 48});
  EXPECT_EQ(big.At(43, 20), RGB(255, 255, 255));
  EXPECT_EQ(big.At(47, 4), RGB(0, 128, 128));
  EXPECT_EQ(big.At(48, 4), RGB(255, 0, 0));
  EXPECT_EQ(big.At(79, 35), RGB(255, 0, 0));
  EXPECT_EQ(big.At(80, 35), RGB(0, 128, 128));
}

TEST_F(Menus97DrawTest, DisabledImageIsEmbossedWithoutFillAndTitlesAreEtched) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  info.fState = MFS_GRAYED;
  m->SetPopupMenu(nullptr);
  SetMenuItemInfoA(menu.get(), 1, TRUE, &info);  // "Beta", image 0
  m->SetPopupMenu(menu.get());
  const COLORREF sentinel = RGB(1, 2, 3);
  Canvas canvas(160, 24, sentinel);
  SendDraw(*m, 2, canvas.dc, RECT{30, 0, 190, 24});  // not at the banner's left: no shift
  int shadow = 0, light = 0, red = 0, other = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 160; ++x) {
      const COLORREF c = canvas.At(x, y);
      if (c == RGB(255, 0, 0)) ++red;
      if (x < 30 || x >= 48 || y >= 18) continue;  // the image's box
      if (c == GetSysColor(COLOR_BTNSHADOW))
        ++shadow;
      else if (c == GetSysColor(COLOR_BTNHIGHLIGHT))
        ++light;
      else if (c != sentinel)
        ++other;
    }
  EXPECT_EQ(red, 0);
  EXPECT_EQ(shadow, 16 * 16);
  EXPECT_EQ(light, 16 + 16 - 1);  // the highlight shows one pixel down and right
  EXPECT_EQ(other, 0);
  EXPECT_EQ(canvas.At(159, 1), sentinel);  // no background fill

  // "-Group": disabled, an etched line through the middle, the word over it.
  Canvas title(160, 24, sentinel);
  SendDraw(*m, 21, title.dc, RECT{30, 0, 190, 24});
  EXPECT_EQ(title.At(150, 12), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(title.At(150, 13), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(title.At(150, 2), sentinel);
  int textShadow = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 60; x < 100; ++x) textShadow += title.At(x, y) == GetSysColor(COLOR_BTNSHADOW);
  EXPECT_GT(textShadow, 10);
}

// The banner of a menu really on screen: 4 items of 25 pixels make it 100 high; its 16
// bands start where the gradient says and have its colours. It is built once per
// opening: a new colour shows only after the next WM_INITMENUPOPUP.
TEST_F(Menus97DrawTest, BannerOfAPoppedUpMenuReadBackFromItsPixels) {
  MenuPtr popup(CreatePopupMenu());
  for (UINT id = 1; id <= 4; ++id) Append(popup.get(), 100 + id, "Item", -2);
  m->SetPopupMenu(popup.get());
  m->ItemHeight = 25;
  m->Banner = true;
  m->BannerColor = RGB(0, 255, 255);
  m->BannerEndColor = RGB(0, 128, 128);
  std::vector<COLORREF> column, afterChange, afterStale, besideBanner;
  RECT item0{};
  g_onMenuIdle = [&](HWND menuWindow) {
    ASSERT_NE(menuWindow, nullptr);
    UpdateWindow(menuWindow);
    GetMenuItemRect(nullptr, popup.get(), 0, &item0);
    POINT origin{0, 0};
    ClientToScreen(menuWindow, &origin);
    OffsetRect(&item0, -origin.x, -origin.y);
    const auto read = [&](std::vector<COLORREF>& into) {
      HDC dc = GetDC(menuWindow);
      for (int y = 0; y < 100; ++y) into.push_back(GetPixel(dc, item0.left + 3, item0.top + y));
      ReleaseDC(menuWindow, dc);
    };
    read(column);
    HDC dc = GetDC(menuWindow);
    besideBanner = {GetPixel(dc, item0.left + 19, item0.top + 1),
                    GetPixel(dc, item0.left + 22, item0.top + 12)};
    ReleaseDC(menuWindow, dc);
    m->BannerColor = RGB(255, 0, 0);
    RedrawWindow(menuWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    read(afterChange);
    SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.get()), 0);
    RedrawWindow(menuWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    read(afterStale);
  };
  SetForegroundWindow(owner);
  const UINT_PTR limit = SetTimer(nullptr, 0, 5000, EndStalledMenu);
  TrackPopupMenuEx(popup.get(), TPM_RETURNCMD, 100, 100, owner, nullptr);
  KillTimer(nullptr, limit);
  g_onMenuIdle = nullptr;
  ASSERT_EQ(column.size(), 100u) << "the menu never idled within 5 s";
  // The banner starts where the items do; they are drawn right of it.
  EXPECT_EQ(besideBanner, (std::vector<COLORREF>{RGB(0, 255, 255), RGB(0, 128, 128)}));
  const int starts[] = {0, 6, 13, 19, 25, 31, 38, 44, 50, 56, 63, 69, 75, 81, 88, 94, 100};
  for (int band = 0; band < 16; ++band) {
    const int g = 255 + MulDiv97(band, 128 - 255, 15);
    for (int y = starts[band]; y < starts[band + 1]; ++y)
      EXPECT_EQ(column[static_cast<std::size_t>(y)], RGB(0, g, g)) << "row " << y;
  }
  EXPECT_EQ(afterChange, column);
  EXPECT_EQ(afterStale.front(), RGB(255, 0, 0));
  EXPECT_EQ(afterStale.back(), RGB(0, 128, 128));
}

}  // namespace
}  // namespace ostrel
