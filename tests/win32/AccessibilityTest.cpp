// Every user's view of the program's own surfaces: under a high-contrast theme they take
// only the theme's colours (and give back today's pictures without one), and in every
// window a screen reader finds each field's label just before it.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/OstrelForm.h"
#include "catalogue/Collation.h"
#include "catalogue/FunCatalogue.h"
#include "components/win32/Balloon.h"
#include "components/win32/Menus97.h"
#include "dialogs/win32/Keydefines.h"
#include "dialogs/win32/Selfun.h"
#include "fakes/FakeContrast.h"
#include "macro/win32/Form4.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"
#include "win32/WindowInspection.h"

namespace ostrel {
namespace {

using testing::Text;

// The pixels `paint` leaves in a memory bitmap of w by h, row by row.
std::vector<COLORREF> Drawn(int w, int h, COLORREF under, const std::function<void(HDC)>& paint) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  SetDCBrushColor(dc, under);
  RECT all{0, 0, w, h};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  paint(dc);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return pixels;
}

// `p` is one of `colours`, or on the segment between two of them (a glyph's edge).
bool Allowed(COLORREF p, const std::vector<COLORREF>& colours) {
  const auto ch = [](COLORREF c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); };
  for (COLORREF a : colours)
    for (COLORREF b : colours) {
      int widest = 0;
      for (int i = 1; i < 3; ++i)
        if (std::abs(ch(b, i) - ch(a, i)) > std::abs(ch(b, widest) - ch(a, widest))) widest = i;
      const int span = ch(b, widest) - ch(a, widest);
      const double t = span ? double(ch(p, widest) - ch(a, widest)) / span : 0.0;
      bool on = t >= -0.01 && t <= 1.01;
      for (int i = 0; i < 3 && on; ++i)
        on = std::abs(ch(p, i) - (ch(a, i) + t * (ch(b, i) - ch(a, i)))) <= 2.5;
      if (on) return true;
    }
  return false;
}

// A high-contrast scheme with a colour of its own for each role, so that a surface taking
// another role's colour is caught; the system's own come back when it goes.
class ContrastScheme {
 public:
  ContrastScheme() {
    for (auto [index, colour] : kScheme) {
      indices_.push_back(index);
      saved_.push_back(GetSysColor(index));
      colours_.push_back(colour);
    }
    SetSysColors(static_cast<int>(indices_.size()), indices_.data(), colours_.data());
  }
  ~ContrastScheme() { SetSysColors(static_cast<int>(indices_.size()), indices_.data(), saved_.data()); }

 private:
  static constexpr std::pair<int, COLORREF> kScheme[] = {
      {COLOR_MENU, RGB(0, 0, 0)},          {COLOR_MENUTEXT, RGB(255, 255, 255)},
      {COLOR_HIGHLIGHT, RGB(128, 0, 128)}, {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 0)},
      {COLOR_GRAYTEXT, RGB(0, 255, 0)},    {COLOR_INFOBK, RGB(0, 0, 96)},
      {COLOR_INFOTEXT, RGB(255, 160, 0)},  {COLOR_WINDOW, RGB(32, 32, 32)},
      {COLOR_WINDOWTEXT, RGB(255, 128, 192)}};
  std::vector<int> indices_;
  std::vector<COLORREF> saved_, colours_;
};

LRESULT CALLBACK MenuOwnerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ENTERIDLE && wp == MSGF_MENU) {
    // The items as they stand on the screen, banner and all, then the menu goes.
    HWND menuWindow = reinterpret_cast<HWND>(lp);
    UpdateWindow(menuWindow);
    auto* into = reinterpret_cast<std::vector<COLORREF>*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    HDC dc = GetDC(menuWindow);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      RECT r{};
      GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
      MapWindowPoints(nullptr, menuWindow, reinterpret_cast<POINT*>(&r), 2);
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) into->push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(menuWindow, dc);
    EndMenu();
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

// A banner menu as the program sets it up: an item with an image, a checked one, a
// disabled one with an image and a title, popped up and read back from the screen; then
// its first item drawn selected into memory.
std::vector<COLORREF> DrawBannerMenu() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MenuOwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ContrastMenuOwner";
    return RegisterClassA(&wc);
  }();
  EXPECT_NE(atom, 0);
  HWND owner = CreateWindowExA(0, "ContrastMenuOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  std::vector<COLORREF> pixels;
  SetWindowLongPtrA(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pixels));
  // A red square: a colour no theme gives.
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
  HDC screen = GetDC(nullptr);
  HBITMAP red = CreateCompatibleBitmap(screen, 16, 16);
  HDC paint = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(paint, red);
  SetDCBrushColor(paint, RGB(255, 0, 0));
  RECT square{0, 0, 16, 16};
  FillRect(paint, &square, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SelectObject(paint, old);
  DeleteDC(paint);
  ImageList_AddMasked(images, red, RGB(255, 0, 255));
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "&Image");
  AppendMenuA(menu, MF_STRING | MF_CHECKED, 2, "Checked");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 3, "Disabled");
  AppendMenuA(menu, MF_STRING, 4, "-Title");
  {
    TPopupMenus97 m(nullptr, owner);
    m.Banner = true;
    m.BannerText = "Ostrel";
    m.BannerColor = RGB(0, 255, 255);
    m.BannerEndColor = RGB(0, 128, 128);
    m.BrushColor = RGB(0, 128, 128);
    m.HiliteBar = RGB(192, 192, 192);
    m.SetImages(images);
    m.SetPopupMenu(menu);
    SetForegroundWindow(owner);
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner, nullptr);
    const auto selected = Drawn(120, 24, GetSysColor(COLOR_MENU), [&](HDC dc) {
      DRAWITEMSTRUCT dis{ODT_MENU, 0, 1, ODA_DRAWENTIRE, ODS_SELECTED,
                         reinterpret_cast<HWND>(menu), dc, RECT{0, 0, 120, 24},
                         reinterpret_cast<ULONG_PTR>(&m)};
      SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    });
    pixels.insert(pixels.end(), selected.begin(), selected.end());
  }
  DestroyMenu(menu);
  ImageList_Destroy(images);
  DeleteObject(red);
  DestroyWindow(owner);
  return pixels;
}

// A balloon hint, without its shadow, painted into memory: the pixels of its shape.
std::vector<COLORREF> DrawBalloon() {
  TBalloonHint hint;
  hint.SetShadowDepth(0);
  TBalloonHintWindow balloon;
  balloon.ActivateHint(RECT{}, "Add a new Hot Key");
  HWND h = balloon.Handle();
  RECT r;
  GetWindowRect(h, &r);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(h, shape);
  const int w = r.right - r.left, ht = r.bottom - r.top;
  const auto all = Drawn(w, ht, RGB(1, 2, 3), [&](HDC dc) {
    SendMessageA(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  });
  std::vector<COLORREF> pixels;
  for (int y = 0; y < ht; ++y)
    for (int x = 0; x < w; ++x)
      if (PtInRegion(shape, x, y)) pixels.push_back(all[static_cast<std::size_t>(y * w + x)]);
  DeleteObject(shape);
  return pixels;
}

// The function chooser's help pane with a text, and its heading, painted into memory.
std::vector<COLORREF> DrawPaneAndHeading() {
  std::int32_t chosen = 0;
  std::string name;
  TSelfun form(nullptr, chosen, name);
  std::vector<COLORREF> pixels;
  for (int id : {idSelfunMemo1, idSelfunPanel2}) {
    HWND c = form.Control(id);
    if (id == idSelfunMemo1) SetWindowTextA(c, "Explore a folder");
    RECT r;
    GetClientRect(c, &r);
    const auto drawn = Drawn(r.right, r.bottom, RGB(1, 2, 3), [&](HDC dc) {
      SendMessageA(c, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    });
    pixels.insert(pixels.end(), drawn.begin(), drawn.end());
  }
  return pixels;
}

TEST(HighContrast, EverySurfaceTakesOnlyTheThemesColoursAndOffKeepsTodaysPictures) {
  tk::Application& app = tk::Application::Get();
  app.Initialize(GetModuleHandleA(nullptr));
  struct Surface {
    const char* name;
    std::vector<COLORREF> (*draw)();
    std::vector<int> colours;
  };
  const Surface surfaces[] = {
      {"menu and banner", DrawBannerMenu,
       {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT}},
      {"balloon", DrawBalloon, {COLOR_INFOBK, COLOR_INFOTEXT}},
      {"help pane and heading", DrawPaneAndHeading, {COLOR_WINDOW, COLOR_WINDOWTEXT}},
  };
  testing::FakeContrast contrast;
  app.SetContrast(&contrast);
  for (const Surface& s : surfaces) {
    SCOPED_TRACE(s.name);
    const std::vector<COLORREF> before = s.draw();
    ASSERT_GT(before.size(), 500u);
    {
      const ContrastScheme scheme;
      contrast.on = true;
      std::vector<COLORREF> allowed;
      for (int index : s.colours) allowed.push_back(GetSysColor(index));
      const std::vector<COLORREF> seen = s.draw();
      ASSERT_GT(seen.size(), 500u);
      std::vector<COLORREF> wrong;
      for (COLORREF p : seen)
        if (!Allowed(p, allowed)) wrong.push_back(p);
      EXPECT_EQ(wrong.size(), 0u) << "the first: " << std::hex << (wrong.empty() ? 0 : wrong[0]);
      contrast.on = false;
    }
    EXPECT_EQ(s.draw(), before);
  }
  app.SetContrast(nullptr);
}

// Each field and the label a screen reader names it by: the window just before it.
void ExpectLabelsBefore(HWND window, const std::vector<std::pair<int, std::string>>& fields) {
  for (const auto& [id, label] : fields) {
    HWND before = GetWindow(GetDlgItem(window, id), GW_HWNDPREV);
    char cls[16] = {};
    GetClassNameA(before, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "Static") << "field " << id;
    EXPECT_EQ(Text(before), label) << "field " << id;
  }
}

TEST(WindowOrder, EveryFieldOfEveryWindowFollowsItsLabel) {
  tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
  Win32FileSystem files;
  {
    TKeydefines form(nullptr, files, Win32System().ModuleFileName());
    KeysList keys{PortableCollate};
    TKeyRec copy = NewKeyRec();
    form.Editor().Definition = &copy;
    form.Editor().Keys = &keys;
    const auto input = [](int tag) { return kKeydefinesInput + tag; };
    for (std::int32_t type : {ftSendKeys, ftRunProgram}) {
      copy.FunType = type;
      form.Editor().FormShow();
      const int target = input(type == ftSendKeys ? ecKeystrokes : ecTarget);
      ExpectLabelsBefore(form.Handle(),
                         {{input(ecName), "Unique, user friendly &name:"},
                          {input(ecGroup), "OstrelMenu &Group (if any):"},
                          {input(ecKeylist), "Assigned &HotKey:"},
                          {input(ecKm), "Com&bine Hotkey with:"},
                          {target, Text(form.Control(idKdFunTargetC))},
                          {input(ecParms), "Additonal &parameters:"},
                          {input(ecDir), "Default &Directory:"},
                          {idKdInfo, "Help"}});
    }
  }
  {
    std::int32_t chosen = 0;
    std::string name;
    TSelfun form(nullptr, chosen, name);
    ExpectLabelsBefore(form.Handle(),
                       {{idSelfunListBox2, "&Functions"}, {idSelfunMemo1, "Description"}});
  }
  {
    TForm4 form(nullptr, files);
    ExpectLabelsBefore(form.Handle(), {{idForm4MenuList, " SendKey &Menu Item"},
                                       {idForm4MenuKeys, "&Keyboard Macro"},
                                       {idForm4Memo1, "Help"}});
  }
  auto form = std::make_unique<TOstrelForm>();
  ExpectLabelsBefore(form->Handle(), {{idOLKeyTree, "  Hot&Key List"},
                                      {idMemo1, "Help"},
                                      {idFuntype, "Function type"}});
  form->Controller().SetTerminating(true);
}

}  // namespace
}  // namespace ostrel
