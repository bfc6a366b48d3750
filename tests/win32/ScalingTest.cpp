// Every window at every screen scale: laid out again for a DPI as a move to such a screen
// does (WM_DPICHANGED), no control's text is cut (measured with the control's own font)
// and no control lies outside its parent.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/win32/OstrelForm.h"
#include "dialogs/win32/KeyEditorWindow.h"
#include "dialogs/win32/FunctionChooserWindow.h"
#include "macro/win32/MacroListEditorWindow.h"
#include "platform/Paths.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Dpi.h"
#include "win32/ModalScript.h"
#include "support/win32/OwnedForm.h"
#include "win32/WindowInspection.h"

namespace ostrel {
namespace {

using namespace testing;

// What a move to a screen of `dpi` sends: the window's size scaled, around its centre.
void MoveToDpi(HWND window, UINT from, UINT dpi) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = MulDiv(r.right - r.left, static_cast<int>(dpi), static_cast<int>(from));
  const int h = MulDiv(r.bottom - r.top, static_cast<int>(dpi), static_cast<int>(from));
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  RECT suggested{cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h};
  SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// The room a control's text needs on one line, in its own font, and what it has.
struct Fit {
  SIZE needed;
  SIZE room;
};

Fit TextFit(HWND control, UINT dpi) {
  char cls[32] = "";
  GetClassNameA(control, cls, sizeof cls);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  RECT client;
  GetClientRect(control, &client);
  Fit fit{{0, 0}, {client.right, client.bottom}};
  const std::string text = Text(control);
  const bool button = lstrcmpiA(cls, "Button") == 0;
  const bool label = lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) <= SS_SIMPLE;
  if (text.empty() || (!button && !label)) return fit;
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  fit.needed = SIZE{r.right, r.bottom};
  if (button) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON)
      fit.needed.cx += tk::Metric(SM_CXMENUCHECK, dpi) + tk::Scale(4, dpi);
    else if (type == BS_GROUPBOX)
      fit.needed.cx += tk::Scale(14, dpi);
    else
      fit.needed.cx += tk::Scale(6, dpi);
  }
  return fit;
}

struct Check {
  HWND window;
  UINT dpi;
};

BOOL CALLBACK CheckChild(HWND child, LPARAM lp) {
  const auto& check = *reinterpret_cast<const Check*>(lp);
  HWND parent = GetParent(child);
  SCOPED_TRACE(std::to_string(check.dpi) + " DPI, control " + std::to_string(GetDlgCtrlID(child)) +
               " \"" + Text(child) + "\"");
  RECT inParent = RectIn(parent, child), parentClient;
  GetClientRect(parent, &parentClient);
  EXPECT_GE(inParent.left, 0);
  EXPECT_GE(inParent.top, 0);
  EXPECT_LE(inParent.right, parentClient.right);
  EXPECT_LE(inParent.bottom, parentClient.bottom);
  const Fit fit = TextFit(child, check.dpi);
  EXPECT_LE(fit.needed.cx, fit.room.cx) << "the text is cut";
  EXPECT_LE(fit.needed.cy, fit.room.cy) << "the text is cut";
  if (tk::ToolBar::Is(child)) {
    for (int i = 0; i < static_cast<int>(SendMessageA(child, TB_BUTTONCOUNT, 0, 0)); ++i) {
      RECT b;
      SendMessageA(child, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&b));
      EXPECT_LE(b.right, inParent.right - inParent.left) << "tool button " << i;
      EXPECT_LE(b.bottom, inParent.bottom - inParent.top) << "tool button " << i;
    }
  }
  return TRUE;
}

// Lays the window out at each scale and checks every control there.
void ExpectFitsAtEveryScale(HWND window, const std::function<void(UINT dpi)>& more = {}) {
  UINT from = tk::WindowDpi(window);
  for (UINT dpi : {96u, 120u, 144u, 192u}) {
    MoveToDpi(window, from, dpi);
    from = dpi;
    Check check{window, dpi};
    EnumChildWindows(window, CheckChild, reinterpret_cast<LPARAM>(&check));
    if (more) more(dpi);
  }
}

TEST(Scaling, EveryWindowFitsItsTextAndControlsAtEveryScale) {
  tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
  {
    SCOPED_TRACE("configuration window");
    testing::OwnedForm form;
    ExpectFitsAtEveryScale(form.Handle());
    form.Controller().SetTerminating(true);
  }
  {
    SCOPED_TRACE("function chooser");
    std::int32_t chosen = -1;
    std::string name;
    FunctionChooserWindow form(nullptr, chosen, name);
    ExpectFitsAtEveryScale(form.Handle(), [&](UINT dpi) {
      // The items are as high as their icons, which are drawn for the scale.
      int cx = 0, cy = 0;
      ImageList_GetIconSize(form.Icons(), &cx, &cy);
      EXPECT_EQ(cy, tk::ArtSize(32, dpi));
      const HWND list = GetDlgItem(form.Handle(), idChooserList);
      EXPECT_GE(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), cy);
    });
  }
  {
    SCOPED_TRACE("hotkey editor");
    Win32FileSystem files;
    KeyEditorWindow form(nullptr, files, FolderOf(Win32System().ModuleFileName()));
    ExpectFitsAtEveryScale(form.Handle());
  }
  {
    SCOPED_TRACE("macro-menu editor");
    Win32FileSystem files;
    MacroListEditorWindow form(nullptr, files);
    ExpectFitsAtEveryScale(form.Handle());
  }
  SCOPED_TRACE("input box");
  Script script;
  script.findForm = [] { return FindOwn(tk::kInputBoxClass); };
  script.steps = {[] {
    HWND input = FindOwn(tk::kInputBoxClass);
    ASSERT_NE(input, nullptr);
    ExpectFitsAtEveryScale(input);
    PressKey(GetDlgItem(input, tk::kInputBoxEdit), VK_ESCAPE);
  }};
  RunScripted(script, [] {
    return static_cast<int>(tk::InputBox(nullptr, "Enter Menu Name", "Menu Item Name:", "").size());
  });
}

BOOL CALLBACK Remember(HWND child, LPARAM lp) {
  auto& places = *reinterpret_cast<std::map<HWND, RECT>*>(lp);
  places[child] = RectIn(GetParent(child), child);
  return TRUE;
}

std::map<HWND, RECT> Places(HWND window) {
  std::map<HWND, RECT> places;
  EnumChildWindows(window, Remember, reinterpret_cast<LPARAM>(&places));
  return places;
}

TEST(Scaling, AMoveToAnotherScaleLaysTheConfigurationWindowOutInTheSuggestedRectangle) {
  tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
  testing::OwnedForm form;
  const HWND h = form.Handle();
  ASSERT_EQ(form.Dpi(), 96u) << "the Wine ring runs at 96 DPI";
  RECT made;
  GetWindowRect(h, &made);
  const std::map<HWND, RECT> madePlaces = Places(h);

  RECT suggested{40, 30, 40 + 700, 30 + 480};
  SendMessageA(h, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT now;
  GetWindowRect(h, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  MINMAXINFO limits{};
  SendMessageA(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMaxTrackSize.x, 700) << "the window keeps its new size";
  const HWND tree = GetDlgItem(h, idDefinitionTree);
  const RECT treeAt = RectIn(h, tree), treeMade = madePlaces.at(tree);
  EXPECT_EQ(treeAt.top, MulDiv(treeMade.top, 144, 96));
  EXPECT_EQ(treeAt.right, MulDiv(treeMade.right, 144, 96));
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(h, idAutostart), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -16) << "8 points at 144 DPI";
  int cx = 0, cy = 0;
  HIMAGELIST images = TreeView_GetImageList(tree, TVSIL_NORMAL);
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cy, 24);
  // Its pictures keep their colours and their clear parts (the drawings for 144 DPI are
  // run-length encoded): "Terminate" is a red button on the background.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP canvas = CreateBitmap(24, 24, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all{0, 0, 24, 24};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(images, 3, dc, 0, 0, ILD_TRANSPARENT);
  int red = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) > 150 && GetGValue(c) < 90 && GetBValue(c) < 90) ++red;
    }
  EXPECT_GT(red, 24 * 24 / 4);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);

  // Back on a screen of 96 DPI every control is where it was made.
  SendMessageA(h, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&made));
  for (const auto& [child, place] : Places(h)) {
    if (child == GetDlgItem(h, idTopToolbar)) continue;  // sized by its buttons, checked below
    EXPECT_TRUE(EqualRect(&place, &madePlaces.at(child))) << GetDlgCtrlID(child);
  }
  const RECT bar = RectIn(h, GetDlgItem(h, idTopToolbar));
  EXPECT_EQ(bar.right, madePlaces.at(GetDlgItem(h, idTopToolbar)).right);
  form.Controller().SetTerminating(true);
}

}  // namespace
}  // namespace ostrel
