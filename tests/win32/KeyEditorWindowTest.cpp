// The hotkey editor built in-process: its window, controls, lists and tab order, and the
// dialog run modally with a scripted user: fields by function type, context help,
// a refused OK, the write-back, Enter in the keystrokes, and "..." on a macro menu.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "catalogue/Collation.h"
#include "catalogue/FunCatalogue.h"
#include "dialogs/win32/KeyEditorWindow.h"
#include "macro/win32/MacroListEditorWindow.h"
#include "platform/Paths.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"
#include "win32/ModalScript.h"
#include "win32/WindowInspection.h"

namespace ostrel {
namespace {

using namespace testing;

std::string ComboItem(HWND combo, int i) {
  char buf[64] = {};
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
  return buf;
}

// The message box of our thread: its text, then OK.
std::string AnswerMessageBox() {
  HWND box = FindOwn("#32770");
  if (!box) return "<no message box>";
  std::string text;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && !Text(c).empty()) text = Text(c);
  }
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return text;
}

class KeyEditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { tk::Application::Get().Initialize(GetModuleHandleA(nullptr)); }
  void TearDown() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // The dialog on `copy`, as Add (or Update) opens it.
  void Prepare(KeyEditorWindow& form, int mode = kEditAdd) {
    KeyEditor& e = form.Editor();
    e.Definition = &copy;
    e.EditMode = mode;
    e.Keys = &keys;
    form.onHelp = [this](int context) { help.push_back(context); };
  }
  HWND Input(KeyEditorWindow& form, int tag) { return form.Control(kKeyEditorInput + tag); }
  void SetText(HWND control, const char* text) { SetWindowTextA(control, text); }

  Win32FileSystem files;
  // The definitions' folder: this test program's own.
  const std::string dir = FolderOf(Win32System().ModuleFileName());
  KeysList keys{PortableCollate};
  TKeyRec copy = NewKeyRec();
  std::vector<int> help;
  Script script;
};

TEST_F(KeyEditorWindowTest, ControlsListsAndTabOrder) {
  KeyEditorWindow form(nullptr, files, dir);
  HWND h = form.Handle();
  ASSERT_NE(h, nullptr);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 360);
  EXPECT_EQ(client.bottom, 408);
  EXPECT_FALSE(GetWindowLongPtrA(h, GWL_STYLE) & WS_THICKFRAME);

  struct Expect {
    int id;
    const char* text;
    RECT rect;  // a bottom of 0: the system sizes the control's height
    bool visible;
  } expected[] = {
      {idKdNameLabel, "Unique, user friendly &name:", {8, 8, 0, 0}, true},
      {kKeyEditorInput + ecName, "", {8, 22, 177, 43}, true},
      {idKdGroupLabel, "OstrelMenu &Group (if any):", {200, 8, 0, 0}, true},
      {kKeyEditorInput + ecGroup, "", {200, 22, 313, 0}, true},
      {idKdKeyLabel, "Assigned &HotKey:", {8, 51, 0, 0}, true},
      {kKeyEditorInput + ecKeylist, "None", {8, 68, 108, 0}, true},
      {idKdModifiersLabel, "Com&bine Hotkey with:", {114, 51, 0, 0}, true},
      {kKeyEditorInput + ecKm, "None", {114, 68, 219, 0}, true},
      {idKdAbbreviationLabel, "Abbre&viation:", {226, 51, 0, 0}, true},
      {kKeyEditorAbbreviation, "", {226, 68, 358, 89}, true},
      {kKeyEditorAbbreviation + 1, "I&mmediately", {226, 92, 358, 109}, true},
      {kKeyEditorInput + ecKeystrokes, "", {1, 112, 359, 216}, false},
      {idKdFunTargetC, "Function Target:", {8, 96, 0, 0}, false},
      {kKeyEditorInput + ecTarget, "", {8, 110, 321, 131}, false},
      {kKeyEditorInput + ecTargetButton, "...", {322, 110, 346, 131}, false},
      {idKdFunParmsC, "Additonal &parameters:", {8, 136, 0, 0}, false},
      {kKeyEditorInput + ecParms, "", {8, 150, 321, 171}, false},
      {idKdFunDirC, "Default &Directory:", {8, 175, 0, 0}, false},
      {kKeyEditorInput + ecDir, "", {8, 189, 321, 210}, false},
      {kKeyEditorInput + ecDirButton, "...", {322, 189, 346, 210}, false},
      {idKdIfRunningLabel, "If r&unning:", {8, 216, 0, 0}, false},
      {kKeyEditorLaunch, "Start another", {8, 230, 144, 0}, false},
      {idKdShowLabel, "&Window:", {150, 216, 0, 0}, false},
      {kKeyEditorLaunch + 1, "As usual", {150, 230, 226, 0}, false},
      {kKeyEditorLaunch + 2, "Run as &administrator", {232, 232, 358, 249}, false},
      {kKeyEditorInput + ecHotkeyOff, "Hotkey o&ff", {200, 261, 346, 278}, true},
      {idKdProgramsLabel, "P&rograms:", {8, 263, 0, 0}, true},
      {kKeyEditorInput + ecScope, "All", {8, 277, 88, 0}, true},
      {kKeyEditorInput + ecPrograms, "", {92, 277, 321, 298}, true},
      {kKeyEditorInput + ecProgramsButton, "...", {322, 277, 346, 298}, true},
      {idKdInfo, "", {0, 302, 360, 374}, true},
      {idKdOk, "&Ok", {88, 381, 163, 406}, true},
      {idKdCancel, "&Cancel", {176, 381, 251, 406}, true},
      {idKdHelpBar, "", {333, 2, 358, 26}, true},
  };
  for (const Expect& e : expected) {
    ExpectControl(h, e.id, e.text, e.rect);
    const LONG_PTR style = GetWindowLongPtrA(form.Control(e.id), GWL_STYLE);
    EXPECT_EQ((style & WS_VISIBLE) != 0, e.visible) << e.id;
  }

  HWND keylist = Input(form, ecKeylist);
  ASSERT_EQ(SendMessageA(keylist, CB_GETCOUNT, 0, 0), 142);
  EXPECT_EQ(ComboItem(keylist, 0), "None");
  EXPECT_EQ(ComboItem(keylist, 11), "Next");
  EXPECT_EQ(ComboItem(keylist, 34), "A");
  EXPECT_EQ(ComboItem(keylist, 60), "Numpad0");
  EXPECT_EQ(ComboItem(keylist, 99), "F24");
  EXPECT_EQ(ComboItem(keylist, 101), "Scroll");
  EXPECT_EQ(ComboItem(keylist, 110), "\\");
  EXPECT_EQ(ComboItem(keylist, 123), "Volume Up");
  EXPECT_EQ(ComboItem(keylist, 134), "Back button");
  HWND km = Input(form, ecKm);
  ASSERT_EQ(SendMessageA(km, CB_GETCOUNT, 0, 0), 16);
  EXPECT_EQ(ComboItem(km, 15), "Win+Shift+Ctrl+Alt");
  EXPECT_EQ(ComboItem(km, 2), "Shift+Alt");
  EXPECT_EQ(ComboItem(km, 6), "Ctrl+Alt");
  EXPECT_EQ(ComboItem(km, 8), "Win");
  auto style = [&](int id) { return GetWindowLongPtrA(form.Control(id), GWL_STYLE); };
  EXPECT_EQ(style(kKeyEditorInput + ecGroup) & 3, CBS_DROPDOWN);
  EXPECT_TRUE(style(kKeyEditorInput + ecGroup) & CBS_SORT);
  EXPECT_EQ(style(kKeyEditorInput + ecKm) & 3, CBS_DROPDOWNLIST);
  EXPECT_FALSE(style(idKdInfo) & WS_TABSTOP);
  EXPECT_TRUE(style(idKdInfo) & ES_READONLY);
  EXPECT_FALSE(style(kKeyEditorInput + ecKeystrokes) & ES_WANTRETURN);

  // With every field shown, Tab follows the Tags, then OK and Cancel.
  for (int tag = ecName; tag <= ecDirButton; ++tag) ShowWindow(Input(form, tag), SW_SHOWNA);
  for (int i = 0; i < 3; ++i) ShowWindow(form.Control(kKeyEditorLaunch + i), SW_SHOWNA);
  std::vector<int> order;
  HWND at = Input(form, ecName);
  for (int i = 0; i < 22; ++i) {
    order.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(h, at, FALSE);
  }
  std::vector<int> want;
  for (int tag = ecName; tag <= ecProgramsButton; ++tag) {
    if (IsEditorInput(tag)) want.push_back(kKeyEditorInput + tag);
    if (tag == ecDirButton) want.insert(want.end(), {540, 541, 542});
  }
  want.insert(want.end(), {550, 551, idKdOk, idKdCancel, kKeyEditorInput + ecName});
  EXPECT_EQ(order, want);
}

TEST_F(KeyEditorWindowTest, RunAProgramRefusesAnEmptyTargetThenStoresTheEntries) {
  TKeyRec tools = NewKeyRec(ftOpenFile);
  tools.Group.assign("Tools");
  keys.Add(KeyText(tools), std::make_unique<TKeyRec>(tools));
  copy = NewKeyRec(ftRunProgram);
  KeyEditorWindow form(nullptr, files, dir);
  Prepare(form);
  HWND h = form.Handle();
  HWND name = Input(form, ecName), target = Input(form, ecTarget);
  HWND info = form.Control(idKdInfo);
  std::string refused;
  script.steps = {
      [&] {
        EXPECT_EQ(Text(h), "Configure: Run a program");
        EXPECT_EQ(GetFocus(), name);
        EXPECT_EQ(Text(info).rfind("Enter a user friendly name", 0), 0u);
        EXPECT_TRUE(IsWindowVisible(target));
        EXPECT_TRUE(IsWindowVisible(Input(form, ecDirButton)));
        EXPECT_FALSE(IsWindowVisible(Input(form, ecKeystrokes)));
        EXPECT_EQ(Text(form.Control(idKdFunTargetC)), "Program to run:");
        HWND group = Input(form, ecGroup);
        EXPECT_EQ(SendMessageA(group, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(ComboItem(group, 1), "Tools");
        SetText(name, "  Editor ");
        SetText(group, "Tools");
        SendMessageA(Input(form, ecKeylist), CB_SETCURSEL, 35, 0);
        SendMessageA(Input(form, ecKm), CB_SETCURSEL, 6, 0);
        SetFocus(Input(form, ecParms));
        EXPECT_EQ(Text(info),
                  "Enter any additional parameters that you wish sent to this program.");
        Click(h, idKdOk);
      },
      [&] { refused = AnswerMessageBox(); },
      [&] {
        EXPECT_TRUE(IsWindowVisible(h));
        // The refused box has the focus, so the text typed next goes there.
        EXPECT_EQ(GetFocus(), target);
        SetText(target, "C:\\windows\\notepad.exe ");
        Click(h, idKdOk);
      },
  };
  EXPECT_EQ(RunScripted(script, form), tk::mrOk);
  EXPECT_EQ(refused, "Program to run: not specified.");
  EXPECT_EQ(copy.Name.str(), "Editor");
  EXPECT_EQ(copy.Group.str(), "Tools");
  EXPECT_EQ(copy.Key, 35);
  EXPECT_EQ(copy.KeyMod, 6);
  EXPECT_EQ(copy.Target.str(), "C:\\windows\\notepad.exe");
  EXPECT_EQ(copy.FunType, ftRunProgram);
}

TEST_F(KeyEditorWindowTest, AHotKeyTheSystemRefusesIsNamedOnTheInfoLine) {
  // Another holder of Ctrl+Alt+F12: a trial registration of the same keys fails.
  constexpr int kHeld = 0x1234;
  ASSERT_TRUE(RegisterHotKey(nullptr, kHeld, MOD_CONTROL | MOD_ALT, VK_F12));
  copy = NewKeyRec(ftRunProgram);
  KeyEditorWindow form(nullptr, files, dir);
  Prepare(form);
  HWND h = form.Handle();
  HWND keylist = Input(form, ecKeylist), info = form.Control(idKdInfo);
  auto choose = [&](int key, int mod) {
    SendMessageA(keylist, CB_SETCURSEL, key, 0);
    SendMessageA(Input(form, ecKm), CB_SETCURSEL, mod, 0);
    SendMessageA(h, WM_COMMAND, MAKEWPARAM(kKeyEditorInput + ecKm, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Input(form, ecKm)));
  };
  std::string refused, free;
  script.steps = {
      [&] {
        choose(87, 6);  // F12 with Ctrl+Alt
        refused = Text(info);
        choose(87, 5);  // F12 with Ctrl: free, and given up again at once
        free = Text(info);
        Click(h, idKdCancel);
      },
  };
  EXPECT_EQ(RunScripted(script, form), tk::mrCancel);
  UnregisterHotKey(nullptr, kHeld);
  EXPECT_EQ(refused.rfind("Ctrl+Alt+F12 is taken by another program or by the system.", 0), 0u)
      << refused;
  EXPECT_EQ(free.rfind("Enter a user friendly name", 0), 0u) << free;
  EXPECT_TRUE(RegisterHotKey(nullptr, kHeld, MOD_CONTROL, VK_F12));
  UnregisterHotKey(nullptr, kHeld);
}

TEST_F(KeyEditorWindowTest, EnterInTheKeystrokesPressesOkAndEscapeCancels) {
  copy = NewKeyRec(ftSendKeys);
  {
    KeyEditorWindow form(nullptr, files, dir);
    Prepare(form);
    HWND memo = Input(form, ecKeystrokes);
    script.steps = {[&] {
      EXPECT_TRUE(IsWindowVisible(memo));
      EXPECT_FALSE(IsWindowVisible(Input(form, ecTarget)));
      SetText(Input(form, ecName), "Sig");
      SetFocus(memo);
      SetText(memo, " Regards{ENTER} ");
      PressKey(memo, VK_RETURN);
    }};
    EXPECT_EQ(RunScripted(script, form), tk::mrOk);
    EXPECT_EQ(copy.Target.str(), " Regards{ENTER} ");
  }
  const TKeyRec before = copy;
  KeyEditorWindow form(nullptr, files, dir);
  Prepare(form, kEditUpdate);
  script = Script();
  script.steps = {[&] {
    SetText(Input(form, ecName), "Changed");
    PressKey(Input(form, ecName), VK_ESCAPE);
  }};
  EXPECT_EQ(RunScripted(script, form), tk::mrCancel);
  EXPECT_EQ(copy.Name.str(), before.Name.str());
}

TEST_F(KeyEditorWindowTest, TheMacroMenuButtonNamesAFreeListAndOpensTheMacroMenuEditor) {
  copy = NewKeyRec(ftSendKeysMenu);
  KeyEditorWindow form(nullptr, files, dir);
  Prepare(form);
  std::string listName, listPath;
  HWND macroEditor = nullptr;
  HWND h = form.Handle();
  script.steps = {
      [&] { Click(h, kKeyEditorInput + ecTargetButton); },
      [&] {
        macroEditor = FindOwn(kMacroListClass);
        ASSERT_NE(macroEditor, nullptr);
        listName = Text(Input(form, ecTarget));
        listPath = dir + listName;
        Click(macroEditor, idMacroListExit);  // Exit writes the list
      },
      [&] {
        EXPECT_FALSE(IsWindowVisible(macroEditor));
        // The help button asks for the editor's help context.
        HWND bar = form.Control(idKdHelpBar);
        PostMessageA(h, WM_COMMAND, MAKEWPARAM(idKdHelpButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(bar));
      },
      [&] { Click(h, idKdCancel); },
  };
  EXPECT_EQ(RunScripted(script, form), tk::mrCancel);
  EXPECT_EQ(listName.rfind("SendKeyList_", 0), 0u);
  EXPECT_EQ(listName.substr(listName.size() - 4), ".skl");
  // Cancelling the hotkey editor keeps the list the macro-menu editor wrote.
  EXPECT_NE(GetFileAttributesA(listPath.c_str()), INVALID_FILE_ATTRIBUTES) << listPath;
  EXPECT_EQ(help, std::vector<int>{99});
  DeleteFileA(listPath.c_str());
}

}  // namespace
}  // namespace ostrel
