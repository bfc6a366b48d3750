// Every user's view of the program's own surfaces: under a high-contrast theme they take
// only the theme's colours (and without one draw as before), and in every window a
// screen reader finds each field's label just before it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "app/win32/OstrelForm.h"
#include "catalogue/Collation.h"
#include "catalogue/FunCatalogue.h"
#include "components/win32/Balloon.h"
#include "components/win32/Menus97.h"
#include "dialogs/win32/KeyEditorWindow.h"
#include "dialogs/win32/FunctionChooserWindow.h"
#include "fakes/FakeContrast.h"
#include "macro/win32/MacroListEditorWindow.h"
#include "platform/Paths.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"
#include "toolkit/Art.h"
#include "toolkit/Gdi.h"
#include "support/win32/OwnedForm.h"
#include "win32/WindowInspection.h"

namespace ostrel {
namespace {

using Pixels = std::vector<COLORREF>;

Pixels Read(HDC dc, RECT r, HRGN only = nullptr) {
  Pixels p;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (!only || PtInRegion(only, x, y)) p.push_back(GetPixel(dc, x, y));
  return p;
}

// What `paint` draws into a memory bitmap of r's size.
Pixels InMemory(RECT r, const std::function<void(HDC)>& paint, HRGN only = nullptr) {
  const tk::WindowDc screen;
  const tk::GdiObject<HBITMAP> bmp(CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
  const tk::BitmapDc dc(screen.get(), bmp.get());
  paint(dc.get());
  return Read(dc.get(), r, only);
}

Pixels Printed(HWND window, HRGN only = nullptr) {
  RECT r;
  GetClientRect(window, &r);
  return InMemory(
      r,
      [window](HDC dc) {
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
      },
      only);
}

// `p` is one of `colours`, or (a glyph's edge) on the segment between two of them.
bool Allowed(COLORREF p, const Pixels& colours) {
  const auto d = [](COLORREF x, COLORREF y) {
    return std::hypot(GetRValue(x) - GetRValue(y), GetGValue(x) - GetGValue(y),
                      GetBValue(x) - GetBValue(y));
  };
  for (COLORREF a : colours)
    for (COLORREF b : colours)
      if (d(p, a) + d(p, b) <= d(a, b) + 3) return true;
  return false;
}

HMENU g_menu;
TPopupMenus97* g_menus = nullptr;  // the drawing the owner routes the menu's messages to
Pixels g_onScreen;
void CALLBACK EndStalledMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// The open menu's items, banner and all, read from the screen; then the menu goes.
LRESULT CALLBACK ReadMenu(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT routed = 0;
  if (g_menus && g_menus->Route(msg, wp, lp, routed)) return routed;
  if (msg != WM_ENTERIDLE || wp != MSGF_MENU) return DefWindowProcA(wnd, msg, wp, lp);
  HWND popup = reinterpret_cast<HWND>(lp);
  HiliteMenuItem(wnd, g_menu, 0, MF_BYPOSITION | MF_HILITE);
  UpdateWindow(popup);
  RECT first, last;
  GetMenuItemRect(nullptr, g_menu, 0, &first);
  GetMenuItemRect(nullptr, g_menu, static_cast<UINT>(GetMenuItemCount(g_menu) - 1), &last);
  RECT items{first.left, first.top, last.right, last.bottom};
  MapWindowPoints(nullptr, popup, reinterpret_cast<POINT*>(&items), 2);
  HDC dc = GetDC(popup);
  g_onScreen = Read(dc, items);
  ReleaseDC(popup, dc);
  EndMenu();
  return 0;
}

// A banner menu set up as the program's, popped up with its first item selected: an item
// with a picture, a checked, a disabled and a title item.
Pixels DrawBannerMenu() {
  WNDCLASSA wc{0,       ReadMenu, 0,       0,       GetModuleHandleA(nullptr),
               nullptr, nullptr,  nullptr, nullptr, "ContrastMenuOwner"};
  RegisterClassA(&wc);
  HWND owner = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                               wc.hInstance, nullptr);
  tk::ImageListOwner images(tk::LoadArtList("IMAGELIST1", 16, 96, 0, tk::kImageMask));
  tk::MenuOwner menu(g_menu = CreatePopupMenu());
  const std::pair<UINT, const char*> items[] = {
      {MF_STRING, "&Image"}, {MF_CHECKED, "Checked"}, {MF_GRAYED, "Disabled"}, {0, "-Title"}};
  for (UINT i = 0; i < 4; ++i) AppendMenuA(g_menu, items[i].first, i + 1, items[i].second);
  g_onScreen.clear();
  {
    Win32CodePage codePage;
    TPopupMenus97 m(codePage);
    m.Banner = true;
    m.BannerText = "Ostrel";
    m.BannerColor = tk::kAqua;
    m.BannerEndColor = m.BrushColor = tk::kTeal;
    m.SetImages(images.get());
    m.SetPopupMenu(g_menu);
    g_menus = &m;
    SetForegroundWindow(owner);
    const UINT_PTR limit = SetTimer(nullptr, 0, 5000, EndStalledMenu);
    TrackPopupMenuEx(g_menu, TPM_RETURNCMD, 100, 100, owner, nullptr);
    KillTimer(nullptr, limit);
    g_menus = nullptr;
  }
  DestroyWindow(owner);
  return g_onScreen;
}

// A balloon hint: the pixels of its shape, without the shadow (which high contrast leaves
// out, showing the screen underneath).
Pixels DrawBalloon() {
  TBalloonHint hint;
  TBalloonHintWindow balloon;
  balloon.ActivateHint(RECT{}, "Add a new Hot Key");
  RECT r;
  GetWindowRect(balloon.Handle(), &r);
  const BalloonOutline o = Outline(balloon.CurrentPosition(), r.right - r.left, r.bottom - r.top,
                                   TBalloonSettings{}.ShadowDepth);
  HRGN shape = CreateRoundRectRgn(o.body.left, o.body.top, o.body.right, o.body.bottom,
                                  kBalloonCornerEllipse, kBalloonCornerEllipse);
  const POINT tail[3] = {{o.tip.x, o.tip.y}, {o.base1.x, o.base1.y}, {o.base2.x, o.base2.y}};
  HRGN tailRgn = CreatePolygonRgn(tail, 3, ALTERNATE);
  CombineRgn(shape, shape, tailRgn, RGN_OR);
  DeleteObject(tailRgn);
  Pixels seen = Printed(balloon.Handle(), shape);
  DeleteObject(shape);
  return seen;
}

// The function chooser's help pane, with a text, and its heading.
Pixels DrawPaneAndHeading() {
  std::int32_t chosen = 0;
  std::string name;
  FunctionChooserWindow form(nullptr, chosen, name);
  SetWindowTextA(form.Control(idChooserDescription), "Explore a folder");
  Pixels seen = Printed(form.Control(idChooserDescription)),
         heading = Printed(form.Control(idChooserHeading));
  seen.insert(seen.end(), heading.begin(), heading.end());
  return seen;
}

TEST(HighContrast, EverySurfaceTakesOnlyTheThemesColoursAndOffDrawsAsBefore) {
  tk::Application& app = tk::Application::Get();
  app.Initialize(GetModuleHandleA(nullptr));
  testing::FakeContrast contrast;
  app.SetContrast(&contrast);
  // A colour of its own for each role, so that a surface taking another role's is caught.
  const int roles[] = {COLOR_MENU,          COLOR_MENUTEXT, COLOR_HIGHLIGHT,
                       COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT, COLOR_INFOBK,
                       COLOR_INFOTEXT,      COLOR_WINDOW,   COLOR_WINDOWTEXT};
  const COLORREF scheme[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(128, 0, 128),
                             RGB(255, 255, 0), RGB(0, 255, 0),     RGB(0, 0, 96),
                             RGB(255, 160, 0), RGB(32, 32, 32),    RGB(255, 128, 192)};
  COLORREF saved[9];
  for (int i = 0; i < 9; ++i) saved[i] = GetSysColor(roles[i]);
  const struct {
    const char* name;
    Pixels (*draw)();
    Pixels allowed;  // indices into the scheme
  } surfaces[] = {{"menu and banner", DrawBannerMenu, {0, 1, 2, 3, 4}},
                  {"balloon", DrawBalloon, {5, 6}},
                  {"help pane and heading", DrawPaneAndHeading, {7, 8}}};
  for (const auto& s : surfaces) {
    SCOPED_TRACE(s.name);
    const Pixels before = s.draw();
    SetSysColors(9, roles, scheme);
    contrast.on = true;
    const Pixels seen = s.draw();
    contrast.on = false;
    SetSysColors(9, roles, saved);
    Pixels allowed, wrong;
    for (COLORREF i : s.allowed) allowed.push_back(scheme[i]);
    for (COLORREF p : seen)
      if (!Allowed(p, allowed)) wrong.push_back(p);
    EXPECT_GT(seen.size(), 500u);
    EXPECT_EQ(wrong.size(), 0u) << "the first: " << std::hex << (wrong.empty() ? 0 : wrong[0]);
    EXPECT_EQ(s.draw(), before);
  }
  app.SetContrast(nullptr);
}

// The window just before each field (by id) is a label with its text.
void ExpectLabels(HWND window, const std::vector<std::pair<int, std::string>>& fields) {
  for (const auto& [id, label] : fields) {
    HWND before = GetWindow(GetDlgItem(window, id), GW_HWNDPREV);
    char cls[16] = {};
    GetClassNameA(before, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "Static") << id;
    EXPECT_EQ(testing::Text(before), label) << id;
  }
}

TEST(WindowOrder, EveryFieldOfEveryWindowFollowsItsLabel) {
  tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
  Win32FileSystem files;
  KeyEditorWindow editor(nullptr, files, FolderOf(Win32System().ModuleFileName()));
  KeysList keys{PortableCollate};
  TKeyRec copy = NewKeyRec();
  editor.Editor().Definition = &copy;
  editor.Editor().Keys = &keys;
  const auto in = [](int tag) { return kKeyEditorInput + tag; };
  // The keystrokes and the target share a label, which goes with the one shown.
  for (std::int32_t type : {ftSendKeys, ftRunProgram}) {
    copy.FunType = type;
    editor.Editor().FormShow();
    ExpectLabels(editor.Handle(), {{in(ecName), "Unique, user friendly &name:"},
                                   {in(ecGroup), "OstrelMenu &Group (if any):"},
                                   {in(ecKeylist), "Assigned &HotKey:"},
                                   {in(ecKm), "Com&bine Hotkey with:"},
                                   {in(type == ftSendKeys ? ecKeystrokes : ecTarget),
                                    type == ftSendKeys ? "Keystrokes to send:" : "Program to run:"},
                                   {in(ecParms), "Additonal &parameters:"},
                                   {in(ecDir), "Default &Directory:"},
                                   {in(ecScope), "P&rograms:"},
                                   {in(ecPrograms), "Program names"},
                                   {idKdInfo, "Help"}});
  }
  std::int32_t chosen = 0;
  std::string name;
  FunctionChooserWindow chooser(nullptr, chosen, name);
  ExpectLabels(chooser.Handle(),
               {{idChooserList, "&Functions"}, {idChooserDescription, "Description"}});
  MacroListEditorWindow macros(nullptr, files);
  ExpectLabels(macros.Handle(), {{idMacroListNames, " SendKey &Menu Item"},
                                 {idMacroListKeys, "&Keyboard Macro"},
                                 {idMacroListHelpText, "Help"}});
  auto main = std::make_unique<testing::OwnedForm>();
  ExpectLabels(main->Handle(), {{idDefinitionTree, "  Hot&Key List"}, {idHelpPane, "Help"}});
  main->Controller().SetTerminating(true);
}

}  // namespace
}  // namespace ostrel
