// The configuration window built in-process: its size, layout and texts, and the rule
// that its close box never ends the program.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/win32/OwnedForm.h"
#include "win32/WindowInspection.h"
#include "app/KeyTree.h"
#include "app/win32/OstrelForm.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"

namespace ostrel {
namespace {

using testing::AskColours;
using testing::ChildColours;
using testing::ExpectInfoPaneColours;
using testing::RectIn;
using testing::Text;

// A toolbar button of the window, found by its command id.
TBBUTTON ToolButton(HWND hwnd, int bar, int id) {
  HWND h = GetDlgItem(hwnd, bar);
  TBBUTTON b{};
  LRESULT at = SendMessageA(h, TB_COMMANDTOINDEX, id, 0);
  EXPECT_GE(at, 0) << "no button " << id;
  SendMessageA(h, TB_GETBUTTON, at, reinterpret_cast<LPARAM>(&b));
  return b;
}

class OstrelFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
    form = std::make_unique<testing::OwnedForm>();
    tk::Application::Get().SetMainForm(form.get());
    hwnd = form->Handle();
  }
  void TearDown() override {
    if (form) form->Controller().SetTerminating(true);
    form.reset();
    tk::Application::Get().SetMainForm(nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  std::unique_ptr<TOstrelForm> form;
  HWND hwnd = nullptr;
};

TEST_F(OstrelFormTest, WindowIsCentredFixedAndHiddenUntilSetUp) {
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(Text(hwnd), "Ostrel");
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 548);
  EXPECT_EQ(r.bottom - r.top, 322);
  EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - 548) / 2, 1);
  EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - 322) / 2, 1);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(tk::Application::Get().showMainForm);
  EXPECT_TRUE(form->TimerEnabled(kSetupTimer));
  EXPECT_NE(GetClassLongPtrA(hwnd, GCLP_HICON), 0);
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0), 0);

  // Asked for its size limits, it answers with its own size.
  MINMAXINFO info{};
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 548);
  EXPECT_EQ(info.ptMaxTrackSize.y, 322);
  EXPECT_FALSE(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_THICKFRAME);
}

// The set-up and hand-off timers run at the controller's delays, whatever those are.
TEST_F(OstrelFormTest, TheTimersRunAtTheControllersDelays) {
  form->Controller().SetTerminating(true);
  form.reset();
  Timings delays;
  delays.setupDelayMs = 60000;
  delays.handOffMs = 700;
  form = std::make_unique<testing::OwnedForm>(delays);
  tk::Application::Get().SetMainForm(form.get());
  const DWORD made = GetTickCount();
  form->SetDispatchTimer(true);
  const auto pumpTill = [&](DWORD ms) {
    while (GetTickCount() - made < ms) {
      tk::Application::Get().ProcessMessages();
      Sleep(10);
    }
  };
  pumpTill(400);
  EXPECT_TRUE(form->TimerEnabled(kDispatchTimer));  // past the usual 100 ms
  pumpTill(2000);
  EXPECT_FALSE(form->TimerEnabled(kDispatchTimer));  // done at 700 ms
  EXPECT_TRUE(form->TimerEnabled(kSetupTimer));      // past the usual second
}

TEST_F(OstrelFormTest, LayoutHasEveryControlInItsColumn) {
  RECT client;
  GetClientRect(hwnd, &client);
  HWND tree = GetDlgItem(hwnd, idDefinitionTree);
  ASSERT_NE(tree, nullptr);
  RECT t = RectIn(hwnd, tree);
  EXPECT_LE(t.right, 240);
  EXPECT_EQ(SendMessageA(tree, TVM_GETINDENT, 0, 0), 19);
  EXPECT_TRUE(GetWindowLongPtrA(tree, GWL_STYLE) & TVS_SHOWSELALWAYS);
  EXPECT_EQ(Text(GetDlgItem(hwnd, idHotKeyLabel)), "  Hot&Key List");

  HWND pane = GetDlgItem(hwnd, idHelpPane);
  RECT m = RectIn(hwnd, pane);
  EXPECT_GE(m.left, 240);
  EXPECT_TRUE(GetWindowLongPtrA(pane, GWL_STYLE) & ES_READONLY);
  std::string paneText = Text(pane);
  EXPECT_EQ(paneText.find('@'), std::string::npos);
  EXPECT_EQ(paneText.rfind("This is the hotkey definition panel. \r\n\r\nYou can add", 0), 0u);

  HWND status = GetDlgItem(hwnd, idStatus);
  RECT s = RectIn(hwnd, status);
  EXPECT_EQ(s.bottom, client.bottom);
  EXPECT_EQ(s.bottom - s.top, 22);

  EXPECT_EQ(Text(GetDlgItem(hwnd, idOptionsGroup)), " Startup Options ");
  EXPECT_EQ(Text(GetDlgItem(hwnd, idAutostart)), "Automatically start at &Windows startup");
  EXPECT_EQ(Text(GetDlgItem(hwnd, idOlTaskBar)), "Automatically hide &Configuration Panel");
  EXPECT_EQ(Text(GetDlgItem(hwnd, idOLMouse)), "Disable OstrelMenu &mouse activation");
  EXPECT_EQ(Text(GetDlgItem(hwnd, idPasteLong)), "&Paste long text through the clipboard");

  // The upper toolbar sits at the right end of the right column.
  RECT top = RectIn(hwnd, GetDlgItem(hwnd, idTopToolbar));
  EXPECT_NEAR(top.right, client.right - 2, 1);
  HWND bar = GetDlgItem(hwnd, idTreeToolbar);
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 3);
  char caption[64] = {};
  SendMessageA(bar, TB_GETBUTTONTEXTA, idUpdateButton, reinterpret_cast<LPARAM>(caption));
  EXPECT_STREQ(caption, "&Update");
}

// What the window sets up goes with it: the help text's brush, and the application's
// message filter, which calls the controller (messages still come after the window).
TEST_F(OstrelFormTest, TheHelpTextIsWhiteOnTealAndItsBrushAndFilterGoWithTheWindow) {
  const ChildColours pane = AskColours(hwnd, GetDlgItem(hwnd, idHelpPane));
  ExpectInfoPaneColours(pane);
  EXPECT_NE(AskColours(hwnd, GetDlgItem(hwnd, idHotKeyLabel)).brush, pane.brush);
  form->InstallMessageFilter();
  ASSERT_TRUE(tk::Application::Get().onMessage);
  form->Controller().SetTerminating(true);
  form.reset();
  EXPECT_EQ(GetObjectType(pane.brush), 0u);
  EXPECT_FALSE(tk::Application::Get().onMessage);
}

// The buttons' hints come from the application's machinery, as balloons: the toolbars
// have no tool-tips of their own, and each button names its hint.
TEST_F(OstrelFormTest, ButtonHintsWaitASecondStayTenAndAreBalloons) {
  form->SetHintTimes(1000, 10000);
  EXPECT_EQ(tk::Application::Get().hintPause, 1000);
  EXPECT_EQ(tk::Application::Get().hintHidePause, 10000);
  EXPECT_TRUE(form->BalloonHint().Active());
  EXPECT_EQ(form->BalloonHint().Color(), GetSysColor(COLOR_INFOBK));
  for (int bar : {idTreeToolbar, idTopToolbar})
    EXPECT_EQ(SendMessageA(GetDlgItem(hwnd, bar), TB_GETTOOLTIPS, 0, 0), 0);
  form->Controller().ShowConfiguration(false);
  HWND bar = GetDlgItem(hwnd, idTreeToolbar);
  RECT add{};
  SendMessageA(bar, TB_GETRECT, idAddButton, reinterpret_cast<LPARAM>(&add));
  POINT at{(add.left + add.right) / 2, (add.top + add.bottom) / 2};
  ClientToScreen(bar, &at);
  // Wine may still apply an older pointer motion after the warp: until it stays put.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < 3000;) {
    SetCursorPos(at.x, at.y);
    tk::Application::Get().ProcessMessages();
    Sleep(50);
    POINT now;
    GetCursorPos(&now);
    if (now.x == at.x && now.y == at.y) break;
  }
  ScreenToClient(bar, &at);
  PostMessageA(bar, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  const DWORD start = GetTickCount();
  while (!tk::Application::Get().HintShowing() && GetTickCount() - start < 4000) {
    tk::Application::Get().ProcessMessages();
    Sleep(10);
  }
  ASSERT_TRUE(tk::Application::Get().HintShowing());
  EXPECT_GE(GetTickCount() - start, 950u);
  HWND balloon = tk::Application::Get().Hint()->Handle();
  EXPECT_EQ(Text(balloon), "Add a new Hot Key  and OstrelMenu Command");
  char cls[64] = {};
  GetClassNameA(balloon, cls, sizeof cls);
  EXPECT_STREQ(cls, "TBalloonHintWindow");
  tk::Application::Get().CancelHint();
}

TEST_F(OstrelFormTest, CloseBoxNeverEndsTheProgram) {
  form->Controller().ShowConfiguration(false);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(IsIconic(hwnd));
  form->Controller().SetTerminating(true);
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

// The tree view and the popup menu as the real controls hold them.
TEST_F(OstrelFormTest, TreeAndMenuShowTheGroupedDefinitions) {
  KeysList keys(LocaleCollate);
  auto add = [&](const char* name, const char* group, bool onMenu = true) {
    auto rec = std::make_unique<TKeyRec>(NewKeyRec(1));
    rec->Name.assign(name);
    rec->Group.assign(group);
    rec->ShowOnMenu = onMenu ? 1 : 0;
    std::string key = KeyText(*rec);
    keys.Add(key, std::move(rec));
  };
  add("Web", "Net");
  add("Agenda", "");
  add("Mail", "Net");
  add("Quiet", "Net", false);
  std::vector<TreeNode> nodes = BuildTree(keys);
  form->RenderTree(nodes);

  HWND tree = GetDlgItem(hwnd, idDefinitionTree);
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 5);
  EXPECT_NE(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
  auto item = [&](HTREEITEM h) {
    char text[64] = {};
    TVITEMA it{};
    it.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    it.hItem = h;
    it.pszText = text;
    it.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return std::string(text) + "/" + std::to_string(it.iImage) + std::to_string(it.iSelectedImage);
  };
  auto next = [&](HTREEITEM h, WPARAM how) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(h)));
  };
  HTREEITEM first = next(nullptr, TVGN_ROOT);
  EXPECT_EQ(item(first), "Agenda/11");
  HTREEITEM group = next(first, TVGN_NEXT);
  EXPECT_EQ(item(group), "Net/00");
  HTREEITEM child = next(group, TVGN_CHILD);
  EXPECT_EQ(item(child), "Mail/11");
  EXPECT_EQ(item(next(child, TVGN_NEXT)), "Quiet/11");

  // Selection by position and back to the definition.
  form->SelectNode(4);
  TreeSelection sel = form->SelectedNode();
  EXPECT_TRUE(sel.any);
  EXPECT_EQ(sel.data, nodes[4].data);
  EXPECT_EQ(sel.data->Name.str(), "Web");
  form->SelectNode(1);
  EXPECT_TRUE(form->SelectedNode().any);
  EXPECT_EQ(form->SelectedNode().data, nullptr);

  form->RenderMenu(BuildMenu(keys));
  HMENU menu = form->OstrelMenu();
  ASSERT_NE(menu, nullptr);
  // The banner menu has made every item but the separator its own: the caption and
  // Tag are read from what it keeps of each item.
  auto caption = [&](HMENU m, int pos) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    GetMenuItemInfoA(m, pos, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) return std::string("-");
    if (!(info.fType & MFT_OWNERDRAW) || !form->OstrelMenuBanner().OwnsItemData(info.dwItemData))
      return std::string("not drawn by the banner menu");
    const TMenuItem97& root = form->OstrelMenuBanner().Items();
    const TMenuItem97& level = m == menu ? root : root.items[1];
    const TMenuItem97& item = level.items[static_cast<std::size_t>(pos)];
    return item.caption + "/" + std::to_string(item.tag);
  };
  ASSERT_EQ(GetMenuItemCount(menu), 7);
  const char* expected[] = {"Agenda/-2",     "Net/0",     "-",          "Hide Menu/5",
                            "HotKeys Off/4", "Show.../2", "Terminate/3"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(caption(menu, i), expected[i]);
  HMENU net = GetSubMenu(menu, 1);
  ASSERT_NE(net, nullptr);
  ASSERT_EQ(GetMenuItemCount(net), 2);
  EXPECT_EQ(caption(net, 0), "Mail/-2");
  EXPECT_EQ(caption(net, 1), "Web/-2");

  // Choosing "HotKeys Off" switches the component off and relabels the item. The switch
  // reads what it will do: the hotkeys are on, as every rebuild leaves them.
  form->Controller().SystemHotKeys().SetActive(true);
  UINT id = GetMenuItemID(menu, 4);
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(caption(menu, 4), "HotKeys On/1");
  EXPECT_FALSE(form->Controller().SystemHotKeys().Active());
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(caption(menu, 4), "HotKeys Off/4");
  EXPECT_TRUE(form->Controller().SystemHotKeys().Active());
}

// Every item the banner menus draw names itself for assistive technology: its string
// reads as its caption, and its data begins with MSAAMENUINFO holding the same text in
// UTF-16, read through the code page (1252 here: 0x80 is the euro sign). So do the
// OstrelMenu (definitions, a group, the four commands), the macro menu and a thousand items.
TEST_F(OstrelFormTest, EveryDrawnItemNamesItselfForAssistiveTechnology) {
  KeysList keys(LocaleCollate);
  for (auto [name, group] : {std::pair{"Agenda", ""}, {"Caf\xE9 &\x80", ""}, {"We&b", "Net"}}) {
    auto rec = std::make_unique<TKeyRec>(NewKeyRec(1));
    rec->Name.assign(name);
    rec->Group.assign(group);
    std::string key = KeyText(*rec);
    keys.Add(key, std::move(rec));
  }
  form->RenderMenu(BuildMenu(keys));
  form->RenderMacroMenu(OstrelController::MacroMenuItems({"Greeting=Hi", "&Two=x"}, 1));
  tk::MenuOwner big(CreatePopupMenu());
  std::vector<std::wstring> thousand;
  for (int i = 0; i < 1000; ++i) {
    thousand.push_back(L"Item &" + std::to_wstring(i));
    AppendMenuW(big.get(), MF_STRING, 1 + i, thousand.back().c_str());
  }
  Win32CodePage codePage;
  TPopupMenus97 bigMenus(codePage);
  bigMenus.SetPopupMenu(big.get());

  const struct {
    HMENU menu;
    const TPopupMenus97* drawer;
    std::vector<std::wstring> names;  // depth first, separators left out
  } cases[] = {{form->OstrelMenu(),
                &form->OstrelMenuBanner(),
                {L"Agenda", L"Caf\u00E9 &\u20AC", L"Net", L"We&b", L"Hide Menu", L"HotKeys Off",
                 L"Show...", L"Terminate"}},
               {form->MacroMenu(), &form->MacroMenuBanner(), {L"Greeting", L"&Two", L"Quit"}},
               {big.get(), &bigMenus, thousand}};
  for (const auto& c : cases) {
    std::vector<std::wstring> names;
    const std::function<void(HMENU)> walk = [&](HMENU menu) {
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        if (info.fType & MFT_SEPARATOR) continue;
        names.push_back(text);
        ASSERT_TRUE(c.drawer->OwnsItemData(info.dwItemData)) << names.back();
        const auto* msaa = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
        EXPECT_EQ(msaa->dwMSAASignature, static_cast<DWORD>(MSAA_MENU_SIG));
        EXPECT_EQ(std::wstring(msaa->pszWText, msaa->cchWText), names.back());
        EXPECT_EQ(msaa->pszWText[msaa->cchWText], L'\0');
        if (info.hSubMenu) walk(info.hSubMenu);
      }
    };
    walk(c.menu);
    EXPECT_EQ(names, c.names);
  }
}

// The buttons carry their glyphs from the program's resources, and the three under the
// tree still fit in their row.
TEST_F(OstrelFormTest, EveryButtonShowsItsOwnGlyphAndTheHelpButtonOnlyItsGlyph) {
  for (int bar : {idTreeToolbar, idTopToolbar}) {
    auto list =
        reinterpret_cast<HIMAGELIST>(SendMessageA(GetDlgItem(hwnd, bar), TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 5);  // the four of ToolGlyphs and HelpGlyph
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
  }
  const struct {
    int bar, id, image;
    bool text;
  } buttons[] = {{idTreeToolbar, idAddButton, 0, true},
                 {idTreeToolbar, idUpdateButton, 1, true},
                 {idTreeToolbar, idDeleteButton, 2, true},
                 {idTopToolbar, idShowMenuButton, 3, true},
                 {idTopToolbar, idExportButton, I_IMAGENONE, true},
                 {idTopToolbar, idImportButton, I_IMAGENONE, true},
                 {idTopToolbar, idHelpButton, 4, false}};
  for (const auto& want : buttons) {
    TBBUTTON b = ToolButton(hwnd, want.bar, want.id);
    EXPECT_EQ(b.iBitmap, want.image) << "button " << want.id;
    EXPECT_EQ((b.fsStyle & BTNS_SHOWTEXT) != 0, want.text) << "button " << want.id;
  }
}

TEST_F(OstrelFormTest, TreeButtonsFitTheirRowAndHelpStaysRightmost) {
  HWND tree = GetDlgItem(hwnd, idTreeToolbar);
  RECT bar;
  GetClientRect(tree, &bar);
  EXPECT_EQ(bar.right, 236);
  RECT last{};
  ASSERT_TRUE(SendMessageA(tree, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&last)));
  EXPECT_LE(last.right, bar.right);
  EXPECT_LE(last.bottom, bar.bottom);

  // The upper toolbar still ends at the right edge of the window, and all its buttons
  // stay within the right column.
  HWND top = GetDlgItem(hwnd, idTopToolbar);
  RECT help{}, client{}, topRect{};
  const auto helpAt = SendMessageA(top, TB_COMMANDTOINDEX, idHelpButton, 0);
  ASSERT_TRUE(SendMessageA(top, TB_GETITEMRECT, helpAt, reinterpret_cast<LPARAM>(&help)));
  GetClientRect(hwnd, &client);
  GetWindowRect(top, &topRect);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&topRect), 2);
  EXPECT_NEAR(topRect.left + help.right, client.right - 2, 1);
  EXPECT_GE(topRect.left, 242);
}

}  // namespace
}  // namespace ostrel
