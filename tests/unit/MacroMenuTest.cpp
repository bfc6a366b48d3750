// The macro menu of a list file: its items, when it appears, where, and how often it
// comes back; a choice typing the macro of its own line; keystroke macros run by the
// dispatcher.
#include <gtest/gtest.h>

#include <cstdio>

#include "catalogue/CompanionFile.h"
#include "catalogue/FunCatalogue.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

const std::string kListPath = "C:\\Program Files\\Ostrel\\Names.skl";

std::vector<std::string> Captions(const std::vector<MenuItem>& items) {
  std::vector<std::string> out;
  for (const MenuItem& item : items) out.push_back(item.caption + (item.choice.command == MenuCommand::kMacro ? "" : "!"));
  return out;
}

class MacroMenu : public ::testing::Test, public Harness {
 protected:
  void SetUp() override {
    windows.cursor = {40, 60};
    files.files[kListPath] = "Greeting=Hello\r\nTab2={TAB 2}\r\nNoEquals\r\nBlank=\r\n";
  }
  // Started, with the OstrelMenu popped up once at the cursor.
  void StartAndShowOstrelMenu() {
    StartWith({});
    ctl.AppMessage(MSG_SHOW_MENU);
    system.now += 2000;
    log.calls.clear();
  }
  // The macro menu stays up `ms` and closes with no choice.
  std::function<bool()> UpFor(std::uint64_t ms) {
    return [this, ms] {
      system.now += ms;
      return false;
    };
  }
};

TEST(MacroMenuItems, NamedMacrosInFileOrderThenSeparatorAndQuit) {
  // A line without "=" has no macro; "=nameless" is one with the empty name.
  std::vector<std::string> lines = {"Greeting=Hello", "Tab2={TAB 2}", "NoEquals", "Blank=",
                                    "GREETING=again", "=nameless", "Sum=a=b"};
  EXPECT_EQ(Captions(OstrelController::MacroMenuItems(lines, 1)),
            (std::vector<std::string>{"Greeting", "Tab2", "GREETING", "", "Sum", "-!", "Quit!"}));
  EXPECT_EQ(Captions(OstrelController::MacroMenuItems({"Blank=", "NoEquals"}, 1)),
            (std::vector<std::string>{"-!", "Quit!"}));
}

TEST_F(MacroMenu, NothingWithoutTheFile) {
  StartWith({});
  ctl.SendKeysMenu("Missing.skl");
  EXPECT_TRUE(Calls({"macro", "error"}).empty());
  EXPECT_TRUE(ctl.MacroList().empty());
  // A file that is there but cannot be read is reported; no menu.
  files.unreadable.insert(kListPath);
  ctl.SendKeysMenu("Names.skl");
  ASSERT_EQ(Calls({"macro", "error"}).size(), 1u);
  EXPECT_EQ(Calls({"error"}).size(), 1u);
}

// From the first press on, whether the OstrelMenu has been shown or not; the window in
// front gets the foreground back as the menu closes.
TEST_F(MacroMenu, AppearsBelowTheCaretOfTheWindowInFrontElseAtThePointer) {
  windows.classes["Progman"] = 77;
  windows.windows[300] = {true, 0, kWsSysMenu, 9};  // another program, its edit control's
  windows.windows[301] = {true, 300, 0, 9};         // caret 16 high at 10,20 of its client
  windows.origins[301] = {100, 200};                // area, which starts at 100,200
  windows.carets[9] = {301, {10, 20, 12, 36}};
  StartWith({});
  const struct {
    WindowHandle front;
    bool hidden;  // the caret's window is not shown
    const char* popup;
    const char* last;
  } cases[] = {
      {300, false, "macroPopup 110,236 below 220", "SetForegroundWindow 300"},
      {300, true, "macroPopup 40,60", "SetForegroundWindow 300"},
      {77, false, "macroPopup 40,60", "SetForegroundWindow 500"},  // the desktop's caret
      {0, false, "macroPopup 40,60", "SetForegroundWindow 500"},   // is nobody's
  };
  view.whileMacroMenuUp = UpFor(700);
  for (const auto& c : cases) {
    windows.foreground = c.front;
    windows.windows[301].visible = !c.hidden;
    log.calls.clear();
    ctl.SendKeysMenu("Names.skl");
    EXPECT_EQ(Calls({"macroPopup"}), std::vector<std::string>{c.popup}) << c.front;
    EXPECT_EQ(Calls({"SetForegroundWindow"}).back(), c.last) << c.front;
  }
  EXPECT_EQ(Captions(view.macroMenu),
            (std::vector<std::string>{"Greeting", "Tab2", "-!", "Quit!"}));
}

TEST(PlaceMenu, BelowTheLineElseAboveItAndAlwaysInsideTheWorkArea) {
  const ScreenRect work{0, 0, 800, 560};  // the task bar below 560
  struct Case {
    MenuAnchor anchor;
    std::int32_t width, height, x, y;
  } cases[] = {
      {{{100, 236}, 220}, 120, 90, 100, 236},   // fits below the line
      {{{100, 500}, 484}, 120, 90, 100, 394},   // no room below: above the line
      {{{100, 300}, 284}, 120, 400, 100, 160},  // room on neither side: as low as fits
      {{{750, 236}, 220}, 120, 90, 680, 236},   // kept off the right edge
      {{{-30, -8}, -8}, 120, 90, 0, 0},         // a caret off the left and top edges
      {{{100, 100}, 100}, 900, 700, 0, 0},      // larger than the work area
  };
  for (const Case& c : cases) {
    const ScreenPoint at = PlaceMenu(c.anchor, c.width, c.height, work);
    EXPECT_EQ(at.x, c.x) << c.anchor.at.x << "," << c.anchor.at.y;
    EXPECT_EQ(at.y, c.y) << c.anchor.at.x << "," << c.anchor.at.y;
  }
}

TEST_F(MacroMenu, AMenuClosedAtOnceWithNoChoiceComesBackSixTimesAtMost) {
  StartAndShowOstrelMenu();
  EXPECT_FALSE(ctl.SendKeysMenu("Names.skl"));
  EXPECT_EQ(Calls({"macroPopup"}).size(), 6u);
  // Open long enough the third time: that one ends the loop.
  int shown = 0;
  view.whileMacroMenuUp = [&] {
    system.now += ++shown == 3 ? 400 : 0;
    return false;
  };
  log.calls.clear();
  ctl.SendKeysMenu("Names.skl");
  EXPECT_EQ(Calls({"macroPopup"}).size(), 3u);
  // A line chosen at once: the menu stays closed.
  view.whileMacroMenuUp = [] { return true; };
  log.calls.clear();
  EXPECT_TRUE(ctl.SendKeysMenu("Names.skl"));
  EXPECT_EQ(Calls({"macroPopup"}).size(), 1u);
}

TEST_F(MacroMenu, TheDispatcherRunsTheMenuOfTheTarget) {
  StartWith({MakeRec("Names", "", ftSendKeysMenu, "Names.skl")});
  ctl.AppMessage(MSG_SHOW_MENU);
  system.now += 2000;
  view.whileMacroMenuUp = UpFor(900);
  log.calls.clear();
  ctl.RunDefinition(ctl.Keys()->At(0));
  EXPECT_EQ(Calls({"macroPopup"}), std::vector<std::string>{"macroPopup 40,60"});
}

// The WM_CHAR messages posted, as "window character".
std::vector<std::string> Chars(const std::vector<std::string>& calls) {
  std::vector<std::string> out;
  for (const std::string& c : calls) {
    unsigned w = 0, msg = 0, wp = 0;
    if (std::sscanf(c.c_str(), "PostMessage %u %u %u", &w, &msg, &wp) == 3 && msg == 0x102)
      out.push_back(std::to_string(w) + " " + std::string(1, static_cast<char>(wp)));
  }
  return out;
}

class MacroTyping : public MacroMenu {
 protected:
  void SetUp() override {
    MacroMenu::SetUp();
    windows.windows[300] = {true, 0, kWsSysMenu, 9};  // another program, in front
    windows.windows[301] = {true, 300, 0, 9};         // its edit control
    files.files[kListPath] = "Name=John\r\nNAME=Jack\r\nTab2={TAB 2}\r\n";
  }
  // The other program comes to the front with the focus in its edit control.
  void OtherProgramInFront() {
    windows.foreground = 300;
    windows.focus = 301;
  }
};

TEST_F(MacroTyping, AChoiceTypesItsOwnLineAndOneOfAnEarlierListNothing) {
  StartAndShowOstrelMenu();
  ctl.SendKeysMenu("Names.skl");
  const std::vector<MenuItem> earlier = view.macroMenu;
  OtherProgramInFront();
  log.calls.clear();
  // "Name" and "NAME" are one name to the list, yet the second item types its own line.
  ctl.SendKeysMenuClick(earlier[1].choice);
  EXPECT_EQ(Chars(log.calls), (std::vector<std::string>{"301 J", "301 a", "301 c", "301 k"}));
  // Once the list is loaded again, an item of the menu before types nothing, but still
  // leaves the input states parted.
  files.files[kListPath] = "Other=xyz\r\nName=John\r\n";
  ctl.SendKeysMenu("Names.skl");
  OtherProgramInFront();
  log.calls.clear();
  ctl.SendKeysMenuClick(earlier[0].choice);
  EXPECT_TRUE(Chars(log.calls).empty());
  EXPECT_EQ(Calls({"AttachThreadInput"}), (std::vector<std::string>{"AttachThreadInput 42 9 1",
                                                                    "AttachThreadInput 42 9 0"}));
}

// Whatever programs its hotkey is for, and wherever the foreground is as the menu closes.
TEST_F(MacroTyping, AMacroChosenFromTheOstrelMenuTypesWhereTheMenuOpened) {
  files.files[CompanionName(kKeysPath)] = "[Definition]\nName=Type\nOnly=calc.exe\n";
  StartWith({WithKey(MakeRec("Type", "", ftSendKeys, "hi"), 40)});
  OtherProgramInFront();
  ctl.AppMessage(MSG_SHOW_MENU);
  windows.foreground = 500;  // not yet back from the menu
  log.calls.clear();
  Choose("Type");
  EXPECT_EQ(Chars(log.calls), (std::vector<std::string>{"301 h", "301 i"}));
}

// Run from the OstrelMenu, the menu opens at the caret of the window the OstrelMenu
// opened over, though the foreground is not back on it yet, and its line types there.
TEST_F(MacroTyping, AMacroMenuFromTheOstrelMenuOpensAtThatWindowsCaretAndTypesThere) {
  StartWith({MakeRec("Names", "", ftSendKeysMenu, "Names.skl")});
  windows.carets[9] = {301, {4, 0, 5, 16}};
  OtherProgramInFront();
  ctl.AppMessage(MSG_SHOW_MENU);
  windows.foreground = 500;
  view.whileMacroMenuUp = UpFor(900);
  log.calls.clear();
  Choose("Names");
  EXPECT_EQ(Calls({"macroPopup"}), std::vector<std::string>{"macroPopup 4,16 below 0"});
  log.calls.clear();
  ctl.SendKeysMenuClick(view.macroMenu[0].choice);
  EXPECT_EQ(Chars(log.calls), (std::vector<std::string>{"301 J", "301 o", "301 h", "301 n"}));
}

// The clipboard is read for {CLIPBOARD} whether or not long text is pasted.
TEST_F(MacroTyping, ALinesPlaceholdersAreFilledIn) {
  files.files[kListPath] = "Clip=<{CLIPBOARD}>{DATE:d}\r\n";
  clipboard.Write(kCfUnicodeText, std::string("h\0i\0\0\0", 6));
  registry.SetString(kMachineOptions, "OLPasteLong", "0");
  StartWith({});
  ctl.SendKeysMenu("Names.skl");
  OtherProgramInFront();
  ctl.SendKeysMenuClick(view.macroMenu[0].choice);
  std::string typed;
  for (const std::string& c : Chars(log.calls)) typed += c.back();
  EXPECT_EQ(typed, "<hi>date 0 d 10");
}

TEST_F(MacroTyping, TheDispatcherTypesTheTargetAndDropsHotkeysMeanwhile) {
  TKeyRec rec = WithKey(MakeRec("Type", "", ftSendKeys, "hi"), 40);
  StartWith({rec});
  OtherProgramInFront();
  // A hotkey pressed while the macro is being typed is not run.
  keyboard.onProcess = [this] {
    keyboard.onProcess = nullptr;
    ctl.HotKeyEvent(0);
    ctl.DispatchPendingHotKey();
  };
  ctl.RunDefinition(ctl.Keys()->At(0));
  EXPECT_EQ(Chars(log.calls), (std::vector<std::string>{"301 h", "301 i"}));
}

}  // namespace
}  // namespace ostrel
