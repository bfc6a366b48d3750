// The configuration window built in-process: its size, layout and texts, and the rule
// that its close box never ends the program.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/win32/OstrelForm.h"
#include "catalogue/FunCatalogue.h"
#include "toolkit/Application.h"

namespace ostrel {
namespace {

std::string Text(HWND h) {
  char buf[4096] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

RECT ClientRectOf(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class OstrelFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
    form = std::make_unique<TOstrelForm>();
    tk::Application::Get().SetMainForm(form.get());
    hwnd = form->Handle();
  }
  void TearDown() override {
    form->Controller().SetTerminating(true);
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
  EXPECT_EQ(r.right - r.left, 467);
  EXPECT_EQ(r.bottom - r.top, 322);
  EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - 467) / 2, 1);
  EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - 322) / 2, 1);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(tk::Application::Get().showMainForm);
  EXPECT_TRUE(form->TimerEnabled(kTimer2));
  EXPECT_NE(GetClassLongPtrA(hwnd, GCLP_HICON), 0);
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0), 0);

  // Asked for its size limits, it answers with its own size.
  MINMAXINFO info{};
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 467);
  EXPECT_EQ(info.ptMaxTrackSize.y, 322);
  EXPECT_FALSE(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(OstrelFormTest, LayoutHasEveryControlInItsColumn) {
  RECT client;
  GetClientRect(hwnd, &client);
  HWND tree = GetDlgItem(hwnd, idOLKeyTree);
  ASSERT_NE(tree, nullptr);
  RECT t = ClientRectOf(hwnd, tree);
  EXPECT_LE(t.right, 240);
  EXPECT_EQ(SendMessageA(tree, TVM_GETINDENT, 0, 0), 19);
  EXPECT_TRUE(GetWindowLongPtrA(tree, GWL_STYLE) & TVS_SHOWSELALWAYS);
  EXPECT_EQ(Text(GetDlgItem(hwnd, idHotKeyLabel)), "  HotKey List");

  HWND memo = GetDlgItem(hwnd, idMemo1);
  RECT m = ClientRectOf(hwnd, memo);
  EXPECT_GE(m.left, 240);
  EXPECT_TRUE(GetWindowLongPtrA(memo, GWL_STYLE) & ES_READONLY);
  std::string memoText = Text(memo);
  EXPECT_EQ(memoText.find('@'), std::string::npos);
  EXPECT_EQ(memoText.rfind("This is the hotkey definition panel. \r\n\r\nYou can add", 0), 0u);

  HWND status = GetDlgItem(hwnd, idStatus);
  RECT s = ClientRectOf(hwnd, status);
  EXPECT_EQ(s.bottom, client.bottom);
  EXPECT_EQ(s.bottom - s.top, 22);

  EXPECT_EQ(Text(GetDlgItem(hwnd, idOptionsGroup)), " Startup Options ");
  EXPECT_EQ(Text(GetDlgItem(hwnd, idAutostart)), "Automatically start at Windows startup");
  EXPECT_EQ(Text(GetDlgItem(hwnd, idOlTaskBar)), "Automatically hide Configuration Panel");
  EXPECT_EQ(Text(GetDlgItem(hwnd, idOLMouse)), "Disable OstrelMenu mouse activation");
  EXPECT_FALSE(GetWindowLongPtrA(GetDlgItem(hwnd, idFuntype), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongPtrA(GetDlgItem(hwnd, idShowOnMenu), GWL_STYLE) & WS_VISIBLE);

  // The upper toolbar sits at the right end of the right column.
  RECT top = ClientRectOf(hwnd, GetDlgItem(hwnd, idTopToolbar));
  EXPECT_NEAR(top.right, client.right - 2, 1);
  HWND bar = GetDlgItem(hwnd, idTreeToolbar);
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 3);
  char caption[64] = {};
  SendMessageA(bar, TB_GETBUTTONTEXTA, idUpdateButton, reinterpret_cast<LPARAM>(caption));
  EXPECT_STREQ(caption, "&Update");
}

TEST_F(OstrelFormTest, ButtonHintsWaitASecondAndStayTen) {
  form->SetHintTimes(1000, 10000);
  for (int bar : {idTreeToolbar, idTopToolbar}) {
    HWND tips = reinterpret_cast<HWND>(SendMessageA(GetDlgItem(hwnd, bar), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 1000);
    EXPECT_EQ(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
  }
}

TEST_F(OstrelFormTest, FunctionListHoldsTheTwentyTypesInChooserOrder) {
  form->FillFunTypes(FunTypeEntries());
  HWND combo = GetDlgItem(hwnd, idFuntype);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 20);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  for (int i = 0; i < 20; ++i) {
    char name[128] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, i, 0), kChooserOrder[i]);
    EXPECT_EQ(std::string(name), FindFunType(kChooserOrder[i])->displayName);
  }
}

TEST_F(OstrelFormTest, CloseBoxNeverEndsTheProgram) {
  form->ShowConfigWindow();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(IsIconic(hwnd));
  form->Controller().SetTerminating(true);
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
}  // namespace ostrel
