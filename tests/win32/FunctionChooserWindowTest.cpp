// The function chooser built in-process: window, controls and icons, and the dialog run
// modally with a scripted user (a thread timer fires inside the modal loop).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "dialogs/win32/FunctionChooserWindow.h"
#include "toolkit/Application.h"
#include "win32/ModalScript.h"
#include "win32/WindowInspection.h"

namespace ostrel {
namespace {

using namespace testing;

// The dialog's window while it is shown (ShowFunctionChooser makes its own).
HWND FindDialog() {
  HWND h = FindWindowA(kFunctionChooserClass, "Add a new Hotkey");
  return h && IsWindowVisible(h) && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()
             ? h
             : nullptr;
}

void ClickAt(HWND target, int x, int y) {
  PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

HWND Child(int id) { return GetDlgItem(FindDialog(), id); }

// The description pane's text for a function type.
std::string Described(int type) {
  return std::string(FindFunType(type)->displayName) + "\r\n\r\n" + std::string(HelpText(type));
}

class FunctionChooserWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
    owner = CreateWindowExA(0, "STATIC", "Chooser owner", WS_OVERLAPPED | WS_VISIBLE, 10, 10, 200,
                            100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override {
    if (IsWindow(owner)) DestroyWindow(owner);
    g_script = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // Runs the chooser through its entry point while the script acts.
  int Run() {
    script.findForm = FindDialog;
    return RunScripted(
        script, [this] { return ShowFunctionChooser(owner, chosenFunction, chosenFunctionName); });
  }
  HWND owner = nullptr;
  Script script;
  // What the Add command left from an earlier run.
  std::int32_t chosenFunction = 7;
  std::string chosenFunctionName = "Show OstrelMenu ";
};

TEST_F(FunctionChooserWindowTest, TheDialogHasItsControlsInPlaceAndTwentyIconItems) {
  FunctionChooserWindow form(owner, chosenFunction, chosenFunctionName);
  HWND h = form.Handle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(chosenFunction, -1);  // reset as the dialog is made
  EXPECT_EQ(Text(h), "Add a new Hotkey");
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 321);
  EXPECT_EQ(client.bottom, 252);
  EXPECT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(GetWindowLongPtrA(h, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(GetWindow(h, GW_OWNER), owner);

  struct Expect {
    int id;
    const char* text;
    RECT rect;
  } expected[] = {
      {idChooserListPanel, "", {0, 0, 65, 252}},
      {idChooserListLabel, "&Functions", {3, 3, 62, 16}},
      {idChooserList, "", {3, 16, 62, 249}},
      {idChooserMainPanel, "", {65, 0, 321, 252}},
      {idChooserHeading, "Select a function", {68, 3, 318, 29}},
      {idChooserDescription, "", {68, 29, 318, 219}},
      {idChooserButtonPanel, "", {68, 219, 318, 249}},
      {idChooserOk, "&Ok", {76, 222, 151, 247}},
      {idChooserCancel, "&Cancel", {172, 222, 247, 247}},
  };
  for (const Expect& e : expected) ExpectControl(h, e.id, e.text, e.rect);
  // The picture sits on the heading at 3, 3 and shows a 20 x 20 picture.
  HWND panel2 = form.Control(idChooserHeading);
  ASSERT_EQ(GetParent(form.Image()), panel2);
  RECT image = RectIn(panel2, form.Image());
  EXPECT_EQ(image.left, 3);
  EXPECT_EQ(image.top, 3);
  EXPECT_EQ(image.right - image.left, 20);
  EXPECT_EQ(image.bottom - image.top, 20);
  EXPECT_NE(SendMessageA(form.Image(), STM_GETICON, 0, 0), 0);

  auto style = [&](int id) { return GetWindowLongPtrA(form.Control(id), GWL_STYLE); };
  EXPECT_EQ(style(idChooserListLabel) & SS_TYPEMASK, SS_CENTER);
  EXPECT_TRUE(style(idChooserDescription) & ES_READONLY);
  EXPECT_TRUE(style(idChooserDescription) & WS_VSCROLL);
  EXPECT_FALSE(IsWindowEnabled(form.Control(idChooserOk)));  // until a choice
  EXPECT_TRUE(IsWindowEnabled(form.Control(idChooserCancel)));

  // The list: owner-drawn, fixed items 34 high, the first tab stop, nothing selected.
  HWND list = form.Control(idChooserList);
  EXPECT_TRUE(style(idChooserList) & LBS_OWNERDRAWFIXED);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), kFunTypeCount);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 34);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  char item[8] = "";
  SendMessageA(list, LB_GETTEXT, 19, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, "19");
  EXPECT_EQ(GetNextDlgTabItem(h, nullptr, FALSE), list);

  // The icons: image 0 and one per function type, 32 x 32, from the program's resources.
  ASSERT_NE(form.Icons(), nullptr);
  EXPECT_EQ(ImageList_GetImageCount(form.Icons()), kFunTypeCount + 1);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(form.Icons(), &cx, &cy);
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
}

TEST_F(FunctionChooserWindowTest, KeyboardAndProgramSelectionsDescribeTheChoiceAndOkHandsItOver) {
  HWND list = nullptr, memo = nullptr, ok = nullptr;
  script.steps = {
      [&] {
        ASSERT_NE(FindDialog(), nullptr);
        list = Child(idChooserList);
        memo = Child(idChooserDescription);
        ok = Child(idChooserOk);
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(GetFocus(), list);
        EXPECT_EQ(Text(memo), "");
        EXPECT_FALSE(IsWindowEnabled(ok));
        // Enter with nothing chosen does not close the dialog.
        PressKey(list, VK_RETURN);
      },
      [&] {
        EXPECT_NE(FindDialog(), nullptr);
        EXPECT_EQ(Text(memo), "");
        // The eighth icon, selected by program.
        SendMessageA(list, LB_SETCURSEL, 7, 0);
      },
      [&] {
        EXPECT_EQ(Text(memo), Described(16));
        EXPECT_TRUE(IsWindowEnabled(ok));
        EXPECT_EQ(chosenFunction, -1);  // nothing reaches the caller before OK
        PressKey(list, VK_DOWN);
      },
      [&] {
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 8);
        EXPECT_EQ(Text(memo), Described(17));
        PressKey(list, VK_DOWN);
      },
      [&] {
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 9);
        EXPECT_EQ(Text(memo), Described(18));
        PressKey(list, VK_RETURN);  // the default button, OK
      },
  };
  EXPECT_EQ(Run(), tk::mrOk);
  EXPECT_EQ(chosenFunction, 18);
  EXPECT_EQ(chosenFunctionName, "Minimize all");
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(FunctionChooserWindowTest, ClickedItemsAreDrawnAndDescribedButCancelChoosesNothing) {
  HWND list = nullptr, memo = nullptr;
  script.steps = {
      [&] {
        ASSERT_NE(FindDialog(), nullptr);
        list = Child(idChooserList);
        memo = Child(idChooserDescription);
        // The user clicks the third icon.
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
        ClickAt(list, r.left + 18, r.top + 17);
      },
      [&] {
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(Text(memo), Described(3));
        // The first item, not selected: its icon is drawn at left + 2 on the window
        // colour, and the icon's own transparent corner shows that colour.
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        UpdateWindow(list);
        HDC dc = GetDC(list);
        const COLORREF window = GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(GetPixel(dc, r.left + 2, r.top), window);       // transparent corner
        EXPECT_EQ(GetPixel(dc, r.left + 1, r.top + 15), window);  // left of the icon
        EXPECT_EQ(GetPixel(dc, r.left + 2 + 8, r.top + 15), RGB(236, 184, 64));  // folder
        ReleaseDC(list, dc);
        PressKey(list, VK_ESCAPE);
      },
  };
  EXPECT_EQ(Run(), tk::mrCancel);
  EXPECT_EQ(chosenFunction, -1);
  EXPECT_EQ(chosenFunctionName, "Show OstrelMenu ");
}

TEST_F(FunctionChooserWindowTest, TheCloseBoxCancelsAChoice) {
  script.steps = {
      [&] {
        ASSERT_NE(FindDialog(), nullptr);
        SendMessageA(Child(idChooserList), LB_SETCURSEL, 0, 0);
      },
      [&] {
        EXPECT_EQ(Text(Child(idChooserDescription)), Described(1));
        PostMessageA(FindDialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
      },
  };
  EXPECT_EQ(Run(), tk::mrCancel);
  EXPECT_EQ(chosenFunction, -1);
  EXPECT_EQ(chosenFunctionName, "Show OstrelMenu ");
}

}  // namespace
}  // namespace ostrel
