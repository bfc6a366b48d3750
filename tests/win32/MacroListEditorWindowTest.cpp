// The macro-menu editor built in-process: window, controls, tab order, and the dialog run
// modally with a scripted user (a thread timer fires inside the modal loops).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "win32/ModalScript.h"
#include "win32/WindowInspection.h"
#include "macro/win32/MacroListEditorWindow.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Files.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

namespace ostrel {
namespace {

using namespace testing;

std::string TempPath(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char buf[256] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
    lines.emplace_back(buf);
  }
  return lines;
}

class MacroListEditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
    ownerWindow.Reset(CreateWindowExA(0, "STATIC", "Macro list owner", WS_OVERLAPPED | WS_VISIBLE,
                                      10, 10, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                                      nullptr));
    owner = ownerWindow.get();
    g_script = &script;
  }
  void TearDown() override {
    ownerWindow.Reset();
    g_script = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // Runs the dialog modally while the script acts; returns the modal result.
  int RunModal(MacroListEditorWindow& form) { return RunScripted(script, form); }
  WindowOwner ownerWindow;
  HWND owner = nullptr;
  Win32FileSystem files;
  Script script;
};

TEST_F(MacroListEditorWindowTest, WindowIsAFixedDialogAtItsPlaceWithItsClientSize) {
  MacroListEditorWindow form(owner, files);
  HWND h = form.Handle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Text(h), "SendKeys List Configuration");
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 399);
  EXPECT_EQ(client.bottom, 308);
  RECT win;
  GetWindowRect(h, &win);
  EXPECT_EQ(win.left, 308);
  EXPECT_EQ(win.top, 117);
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(GetWindow(h, GW_OWNER), owner);
  EXPECT_FALSE(IsWindowVisible(h));
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.Control(idMacroListAdd), WM_GETFONT, 0, 0)),
             sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
}

TEST_F(MacroListEditorWindowTest, EveryControlHasItsTextAndPlace) {
  MacroListEditorWindow form(owner, files);
  HWND h = form.Handle();
  struct Expect {
    int id;
    const char* text;
    RECT rect;
  } expected[] = {
      {idMacroListNames, "", {1, 16, 191, 120}},
      {idMacroListGroup, "Menu Item Options", {200, 16, 309, 113}},
      {idMacroListAdd, "&Add", {214, 40, 289, 65}},
      {idMacroListDelete, "&Delete", {214, 80, 289, 105}},
      {idMacroListExit, "&Exit", {312, 40, 387, 65}},
      {idMacroListCancel, "&Cancel", {312, 80, 387, 105}},
      {idMacroListHelpBar, "", {362, 2, 387, 24}},
      {idMacroListPanel, "&Keyboard Macro", {0, 121, 399, 137}},
      {idMacroListKeys, "", {0, 137, 399, 232}},
      {idMacroListHelpText, "", {0, 232, 399, 308}},
  };
  for (const Expect& e : expected) ExpectControl(h, e.id, e.text, e.rect);
  RECT label = RectIn(h, form.Control(idMacroListLabel));
  EXPECT_EQ(label.left, 1);
  EXPECT_EQ(label.top, 1);
  EXPECT_EQ(label.right - label.left, 190);
  EXPECT_EQ(Text(form.Control(idMacroListLabel)), " SendKey &Menu Item");

  // The help button shows the help glyph, with the hint of the program's help buttons.
  HWND bar = form.Control(idMacroListHelpBar);
  EXPECT_NE(SendMessageA(bar, TB_GETIMAGELIST, 0, 0), 0);
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 1);
  EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, idMacroListHelpButton, 0));

  auto style = [&](int id) { return GetWindowLongPtrA(form.Control(id), GWL_STYLE); };
  EXPECT_EQ(style(idMacroListAdd) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(style(idMacroListNames) & WS_TABSTOP);  // the list is reached from the keyboard
  EXPECT_FALSE(style(idMacroListHelpText) & WS_TABSTOP);
  EXPECT_TRUE(style(idMacroListHelpText) & ES_READONLY);
  EXPECT_TRUE(style(idMacroListHelpText) & WS_VSCROLL);
  EXPECT_TRUE(style(idMacroListKeys) & ES_MULTILINE);
  EXPECT_FALSE(style(idMacroListKeys) & ES_WANTRETURN);
  EXPECT_TRUE(style(idMacroListKeys) & ES_READONLY);  // read-only until an item is selected

  // Tab goes round the list, the buttons and the macro, skipping the help text.
  std::vector<int> order;
  HWND at = form.Control(idMacroListNames);
  for (int i = 0; i < 7; ++i) {
    order.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(h, at, FALSE);
  }
  EXPECT_EQ(order,
            (std::vector<int>{idMacroListNames, idMacroListAdd, idMacroListDelete, idMacroListExit,
                              idMacroListCancel, idMacroListKeys, idMacroListNames}));
}

TEST_F(MacroListEditorWindowTest, EditingFromTheKeyboardWritesTheListAtTheClose) {
  const std::string path = TempPath("ostrel_macrolist_edit.skl");
  WriteFile(path, "Name=John{tab}Smith\r\nPhone=555-1234\r\n");
  std::vector<int> help;
  MacroListEditorWindow form(owner, files);
  form.SetListFileName(path);
  form.onHelp = [&](int context) { help.push_back(context); };
  HWND h = form.Handle();
  HWND list = form.Control(idMacroListNames);
  HWND keys = form.Control(idMacroListKeys);
  HWND input = nullptr;

  script.steps = {
      [&] {
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(ListLines(list), (std::vector<std::string>{"Name", "Phone"}));
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
        std::string memo = Text(form.Control(idMacroListHelpText));
        EXPECT_EQ(memo.rfind("To add a new Sendkey Menu Item", 0), 0u);
        EXPECT_NE(memo.find("'Delete' key. \r\n\r\nTo update"), std::string::npos);
        // The user clicks Phone.
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        PostMessageA(h, WM_COMMAND, MAKEWPARAM(idMacroListNames, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
      },
      [&] {
        EXPECT_EQ(Text(keys), "555-1234");
        EXPECT_EQ(GetFocus(), keys);
        EXPECT_FALSE(GetWindowLongPtrA(keys, GWL_STYLE) & ES_READONLY);
        // Types " x" at the end, then Enter: Add's input box.
        SendMessageA(keys, EM_SETSEL, 8, 8);
        PostMessageA(keys, WM_CHAR, 'x', 1);
        PressKey(keys, VK_RETURN);
      },
      [&] {
        input = FindOwn(tk::kInputBoxClass);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(Text(input), "Enter Menu Name");
        EXPECT_EQ(GetWindow(input, GW_OWNER), h);
        EXPECT_FALSE(IsWindowEnabled(h));
        HWND edit = GetDlgItem(input, tk::kInputBoxEdit);
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(Text(edit), "");
        SetWindowTextA(edit, " Fax ");
        PressKey(edit, VK_RETURN);
      },
      [&] {
        EXPECT_FALSE(IsWindow(input));
        EXPECT_TRUE(IsWindowEnabled(h));
        EXPECT_EQ(ListLines(list), (std::vector<std::string>{"Name", "Phone", "Fax"}));
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(GetFocus(), keys);
        EXPECT_EQ(Text(keys), "");
        PostMessageA(keys, WM_CHAR, '9', 1);
        // Tab leaves the macro for the next control; it does not type a tab.
        PressKey(keys, VK_TAB);
      },
      [&] {
        EXPECT_EQ(GetFocus(), list);  // round to the first tab stop
        EXPECT_EQ(Text(keys), "9");
        // Escape in the macro does not close the dialog (it has no cancel button).
        SetFocus(keys);
        PressKey(keys, VK_ESCAPE);
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_EQ(Text(keys), "9");
        Click(h, idMacroListHelpButton);
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_EQ(help, std::vector<int>{40});
        Click(h, idMacroListCancel);  // Cancel writes as well
      },
  };
  EXPECT_EQ(RunModal(form), tk::mrOk);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(ReadFile(path), "Name=John{tab}Smith\r\nPhone=555-1234x\r\nFax=9\r\n");
  DeleteFileA(path.c_str());
}

TEST_F(MacroListEditorWindowTest, AltAndAnUnderlinedLetterReachEachLabelledControlAndButton) {
  const std::string path = TempPath("ostrel_macrolist_alt.skl");
  WriteFile(path, "Name=John\r\n");
  MacroListEditorWindow form(owner, files);
  form.SetListFileName(path);
  HWND h = form.Handle();
  HWND list = form.Control(idMacroListNames);
  HWND keys = form.Control(idMacroListKeys);
  // What TranslateMessage makes of Alt and a letter, wherever the focus is.
  auto alt = [](HWND focus, char letter) { PostMessageA(focus, WM_SYSCHAR, letter, 1 << 29); };
  script.steps = {
      [&] { alt(list, 'k'); },  // "&Keyboard Macro": the macro box
      [&] {
        EXPECT_EQ(GetFocus(), keys);
        alt(keys, 'M');  // " SendKey &Menu Item": the list
      },
      [&] {
        EXPECT_EQ(GetFocus(), list);
        alt(list, 'q');  // no such letter: nothing happens
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(h));
        alt(list, 'e');  // "&Exit"
      },
  };
  EXPECT_EQ(RunModal(form), tk::mrOk);
  DeleteFileA(path.c_str());
}

TEST_F(MacroListEditorWindowTest, DuplicateAndCancelledNamesAddNothing) {
  const std::string path = TempPath("ostrel_macrolist_dup.skl");
  WriteFile(path, "Phone=555\r\n");
  MacroListEditorWindow form(owner, files);
  form.SetListFileName(path);
  HWND h = form.Handle();
  HWND box = nullptr;
  HWND list = form.Control(idMacroListNames);
  script.steps = {
      [&] {
        // Enter in the list presses Add too.
        SetFocus(list);
        PressKey(list, VK_RETURN);
      },
      [&] {
        HWND input = FindOwn(tk::kInputBoxClass);
        ASSERT_NE(input, nullptr);
        SetWindowTextA(GetDlgItem(input, tk::kInputBoxEdit), "PHONE");
        Click(input, tk::kInputBoxOk);
      },
      [&] {
        box = FindOwn("#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(Text(box), "Error");
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_STREQ(text, "Cannot add, that name is already used");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      [&] { Click(h, idMacroListAdd); },
      [&] {
        HWND input = FindOwn(tk::kInputBoxClass);
        ASSERT_NE(input, nullptr);
        SetWindowTextA(GetDlgItem(input, tk::kInputBoxEdit), "Fax");
        PressKey(GetDlgItem(input, tk::kInputBoxEdit), VK_ESCAPE);  // Cancel gives ""
      },
      [&] {
        EXPECT_EQ(FindOwn(tk::kInputBoxClass), nullptr);
        EXPECT_EQ(ListLines(form.Control(idMacroListNames)), std::vector<std::string>{"Phone"});
        PostMessageA(h, WM_CLOSE, 0, 0);  // the close box
      },
  };
  EXPECT_EQ(RunModal(form), tk::mrOk);
  EXPECT_EQ(ReadFile(path), "Phone=555\r\n");
  DeleteFileA(path.c_str());
}

TEST_F(MacroListEditorWindowTest, AFileThatCannotBeWrittenIsReportedAndTheDialogStillCloses) {
  const std::string path = TempPath("ostrel_no_such_folder\\list.skl");
  MacroListEditorWindow form(owner, files);
  form.SetListFileName(path);
  std::string message;
  script.steps = {
      [&] { Click(form.Handle(), idMacroListExit); },  // Exit
      [&] {
        HWND box = FindOwn("#32770");
        ASSERT_NE(box, nullptr);
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        message = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
  };
  EXPECT_EQ(RunModal(form), tk::mrOk);
  EXPECT_EQ(message, "Cannot create file " + path);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace ostrel
