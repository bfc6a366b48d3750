// Every combination registered once in list order, refusals reported and keeping later
// ids, damaged indexes kept out of the tables, a press handed to the dispatcher through
// the 100 ms timer, or passed on when no definition on it is for the program in front.
#include <gtest/gtest.h>

#include "catalogue/CompanionFile.h"
#include "catalogue/FunCatalogue.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class HotKeys : public ::testing::Test, public Harness {};

TEST(KeyModTable, ModifierIndexesMapToTheirSets) {
  EXPECT_EQ(KeyModToModifiers(0), THotKeyModifiers{0});
  EXPECT_EQ(KeyModToModifiers(1), hkShift);
  EXPECT_EQ(KeyModToModifiers(2), hkShift | hkAlt);  // 5
  EXPECT_EQ(KeyModToModifiers(3), hkShift | hkCtrl);
  EXPECT_EQ(KeyModToModifiers(4), hkShift | hkCtrl | hkAlt);
  EXPECT_EQ(KeyModToModifiers(5), hkCtrl);
  EXPECT_EQ(KeyModToModifiers(6), hkCtrl | hkAlt);
  EXPECT_EQ(KeyModToModifiers(7), hkAlt);  // 4, not 7
  EXPECT_EQ(KeyModToModifiers(8), hkWin);
  EXPECT_EQ(KeyModToModifiers(9), hkWin | hkShift);
  EXPECT_EQ(KeyModToModifiers(13), hkWin | hkShift | hkAlt);
  EXPECT_EQ(KeyModToModifiers(15), hkWin | hkShift | hkCtrl | hkAlt);
  EXPECT_FALSE(KeyModToModifiers(16));
  EXPECT_FALSE(KeyModToModifiers(-1));
}

TEST_F(HotKeys, IdsCountOnlyDefinitionsWithAKey) {
  // A: F5, B: no key, C: Ctrl+F6, in key-text order.
  StartWith({WithKey(MakeRec("A"), 80), MakeRec("B"), WithKey(MakeRec("C"), 81, 5)});
  ctl.HotKeys().BuildHotKeyList();
  EXPECT_EQ(Calls({"RegisterHotKey"}),
            (std::vector<std::string>{"RegisterHotKey 0 0 116", "RegisterHotKey 1 2 117"}));
  EXPECT_EQ(ctl.HotKeys().HotKeyList(),
            (std::vector<std::string>{std::string("\x0B") + "A", std::string("\x0B") + "C"}));
  log.calls.clear();
  ctl.HotKeyEvent(1);
  EXPECT_EQ(ctl.PendingKey(), Def("", "C"));
  EXPECT_EQ(log.calls, std::vector<std::string>{"dispatchTimer on"});
  ctl.HotKeyEvent(2);
  ctl.HotKeyEvent(-1);
  EXPECT_EQ(ctl.PendingKey(), Def("", "C"));
}

TEST_F(HotKeys, ModifierFlagsReachTheWindowSystem) {
  StartWith({WithKey(MakeRec("A"), 34, 2), WithKey(MakeRec("B"), 35, 7),
             WithKey(MakeRec("C"), 36, 8), WithKey(MakeRec("D"), 37, 1)});
  ctl.HotKeys().BuildHotKeyList();
  EXPECT_EQ(Calls({"RegisterHotKey"}),
            (std::vector<std::string>{"RegisterHotKey 0 5 65", "RegisterHotKey 1 1 66",
                                      "RegisterHotKey 2 8 67", "RegisterHotKey 3 4 68"}));
}

TEST_F(HotKeys, ARefusedCombinationIsReportedAndKeepsLaterIds) {
  hotkeys.taken.push_back("2 117");  // Ctrl+F6 belongs to another program, told once
  StartWith({WithKey(MakeRec("A"), 80), WithKey(MakeRec("B"), 80), WithKey(MakeRec("C"), 81, 5),
             WithKey(MakeRec("C2"), 81, 5), WithKey(MakeRec("D"), 82)});
  ctl.HotKeys().BuildHotKeyList();
  // One box for the rebuild, naming each refused definition.
  EXPECT_EQ(Calls({"info"}),
            std::vector<std::string>{"info HotKey aready in use.\n\nB (F5)\nC (Ctrl+F6)"});
  EXPECT_EQ(ctl.HotKeys().HotKeyList().size(), 5u);
  // The two F5 definitions share id 0, and the earlier one wins; D takes id 2.
  EXPECT_EQ(hotkeys.held[0], "0 116");
  EXPECT_EQ(hotkeys.held[2], "0 118");
  ctl.HotKeyEvent(3);
  EXPECT_EQ(ctl.PendingKey(), nullptr);
  ctl.HotKeyEvent(2);
  EXPECT_EQ(ctl.PendingKey(), Def("", "D"));
}

TEST_F(HotKeys, FiveOnOneCombinationGiveOneBoxNamingTheFourRefused) {
  std::vector<TKeyRec> recs;
  for (const char* name : {"One", "Two", "Three", "Four", "Five"})
    recs.push_back(WithKey(MakeRec(name, "Same"), 56, 6));  // Ctrl+Alt+W
  recs.push_back(WithKey(MakeRec("Other"), 57, 6));
  StartWith(recs);
  ctl.UpdateKeysList();
  // Key-text order: Five, Four, One, Three, Two; Five holds the key.
  EXPECT_EQ(Calls({"info", "error"}),
            std::vector<std::string>{"info HotKey aready in use.\n\n"
                                     "Same: Four (Ctrl+Alt+W)\nSame: One (Ctrl+Alt+W)\n"
                                     "Same: Three (Ctrl+Alt+W)\nSame: Two (Ctrl+Alt+W)"});
  // The box comes after every registration: what runs under it finds them all.
  EXPECT_EQ(log.calls.back().rfind("info ", 0), 0u);
  EXPECT_EQ(hotkeys.held.size(), 2u);
}

TEST_F(HotKeys, DefinitionsShareACombinationAndTheProgramInFrontChooses) {
  files.files[CompanionName(kKeysPath)] =
      "[Definition]\nName=Mail\nOnly=notepad\n[Definition]\nName=Sig\nOnly=WordPad.EXE\n"
      "[Definition]\nName=Any\nExcept=calc.exe\n[Definition]\nName=Pad5\nOnly=notepad.exe\n"
      "[Definition]\nName=Off\nHotkey=off\n[Definition]\nName=Twin\nOnly=Notepad\n";
  // Ctrl+Alt+S for four (Twin ties with Mail, which comes first), F5 only in Notepad, F6 off.
  StartWith({WithKey(MakeRec("Mail"), 52, 6), WithKey(MakeRec("Sig"), 52, 6),
             WithKey(MakeRec("Any"), 52, 6), WithKey(MakeRec("Pad5"), 80),
             WithKey(MakeRec("Off"), 81), WithKey(MakeRec("Twin"), 52, 6)});
  ctl.UpdateKeysList();
  EXPECT_EQ(Calls({"RegisterHotKey", "info"}),
            (std::vector<std::string>{"RegisterHotKey 0 3 83", "RegisterHotKey 1 0 116",
                                      "info HotKey aready in use.\n\nTwin (Ctrl+Alt+S)"}));
  const struct {
    const char* front;
    int id;
    std::string runs;  // a definition, or the key passed on
  } presses[] = {{"NOTEPAD.EXE", 0, "Mail"},        {"wordpad.exe", 0, "Sig"},
                 {"explorer.exe", 0, "Any"},        {"calc.exe", 0, "PassOn 0 3 83"},
                 {"calc.exe", 1, "PassOn 1 0 116"}, {"notepad.exe", 1, "Pad5"}};
  for (const auto& p : presses) {
    programs.Front(7, 70, p.front);
    log.calls.clear();
    ctl.HotKeyEvent(p.id);
    const bool passed = p.runs.rfind("PassOn", 0) == 0;
    EXPECT_EQ(ctl.PendingKey(), passed ? nullptr : Def("", p.runs)) << p.front;
    EXPECT_EQ(Calls({"PassOn"}),
              passed ? std::vector<std::string>{p.runs} : std::vector<std::string>{});
    ctl.DispatchPendingHotKey();
  }
}

TEST_F(HotKeys, TheMouseHookTakesAClickForItsProgramAndPassesItElsewhere) {
  files.files[CompanionName(kKeysPath)] =
      "[Definition]\nName=Back\nOnly=notepad\n[Definition]\nName=Down\nExcept=calc\n"
      "[Definition]\nName=Off\nHotkey=off\n[Definition]\nName=Pad\nOnly=wordpad\n";
  // Pad shares the plain middle button with Mid: Pad in WordPad, Mid elsewhere. A plain or
  // Shift left or right click loads switched off, named once.
  for (const TKeyRec& r :
       {WithKey(MakeRec("Mid"), kMiddleButton), WithKey(MakeRec("Pad"), kMiddleButton),
        WithKey(MakeRec("Back"), kBackButton, 5), WithKey(MakeRec("Fwd"), kForwardButton),
        WithKey(MakeRec("Up"), kWheelUp, 6), WithKey(MakeRec("Down"), kWheelDown),
        WithKey(MakeRec("Left"), kWheelLeft, 8), WithKey(MakeRec("Right"), kWheelRight, 15),
        WithKey(MakeRec("Click"), kLeftButton, 7), WithKey(MakeRec("Menu"), kRightButton, 10),
        WithKey(MakeRec("Off"), kForwardButton, 7), WithKey(MakeRec("Plain"), kLeftButton),
        WithKey(MakeRec("Shifted"), kRightButton, 1)})
    files.files[kKeysPath] += Bytes(r);
  Start();
  EXPECT_EQ(Calls({"info"}), std::vector<std::string>{
                                 "info These hotkeys are switched off: the left and right buttons "
                                 "need Ctrl, Alt or Win among the modifiers.\n\nPlain (Left "
                                 "button)\nShifted (Shift+Right button)"});
  // Stored off: the next start names nothing.
  EXPECT_NE(files.files[CompanionName(kKeysPath)].find("Name=Plain\r\nHotkey=off"),
            std::string::npos);
  EXPECT_TRUE(hotkeys.mouseHooked);
  EXPECT_TRUE(hotkeys.held.empty());           // the system registers no button
  constexpr std::uint16_t kTurnBack = 0xFF88;  // -120: down, or a tilt to the left
  const struct {
    const char* front;
    std::uint32_t message;  // a press; a button's release is the next number
    std::uint16_t data;
    THotKeyModifiers held;
    const char* runs;  // "" passes
  } clicks[] = {
      {"notepad.exe", 0x207, 0, 0, "Mid"},         {"WordPad.exe", 0x207, 0, 0, "Pad"},
      {"notepad.exe", 0x207, 0, hkCtrl, ""},       {"notepad.exe", 0x20B, 1, hkCtrl, "Back"},
      {"calc.exe", 0x20B, 1, hkCtrl, ""},          {"calc.exe", 0x20B, 2, 0, "Fwd"},
      {"calc.exe", 0x20B, 2, hkAlt, ""},           {"calc.exe", 0x20A, 120, hkCtrl | hkAlt, "Up"},
      {"calc.exe", 0x20A, kTurnBack, 0, ""},       {"notepad.exe", 0x20A, kTurnBack, 0, "Down"},
      {"x.exe", 0x20E, kTurnBack, hkWin, "Left"},  {"x.exe", 0x20E, 120, 15, "Right"},
      {"x.exe", 0x201, 0, hkAlt, "Click"},         {"x.exe", 0x201, 0, 0, ""},
      {"x.exe", 0x204, 0, hkWin | hkCtrl, "Menu"}, {"x.exe", 0x204, 0, hkShift, ""},
  };
  TSysHotKey& mouse = ctl.SystemHotKeys();
  for (const auto& c : clicks) {
    programs.Front(7, 70, c.front);
    log.calls.clear();
    const bool taken = *c.runs != 0;
    const std::string row = std::string(c.front) + " " + std::to_string(c.message);
    EXPECT_EQ(mouse.MouseMessage(c.message, c.data, c.held), taken) << row;
    EXPECT_EQ(ctl.PendingKey(), taken ? Def("", c.runs) : nullptr) << row;
    // Alt or Win let go after a taken click must not open a menu.
    EXPECT_EQ(Calls({"MaskModifierRelease"}).size(), taken && (c.held & (hkAlt | hkWin)) ? 1u : 0u)
        << row;
    // A release goes the way its press went; the wheel has none.
    if (c.message != 0x20A && c.message != 0x20E) {
      EXPECT_EQ(mouse.MouseMessage(c.message + 1, c.data, 0), taken) << row;
    }
    ctl.DispatchPendingHotKey();
  }
  // The wheel runs its definition once a notch: two at once, or two halves adding up to one.
  log.calls.clear();
  EXPECT_TRUE(mouse.MouseMessage(0x20A, 240, hkCtrl | hkAlt));
  EXPECT_TRUE(mouse.MouseMessage(0x20A, 60, hkCtrl | hkAlt));
  EXPECT_EQ(Calls({"dispatchTimer"}).size(), 2u);
  EXPECT_TRUE(mouse.MouseMessage(0x20A, 60, hkCtrl | hkAlt));
  EXPECT_EQ(Calls({"dispatchTimer"}).size(), 3u);
  // Switched off, the hook goes and every click passes; a taken press keeps it for its release.
  EXPECT_TRUE(mouse.MouseMessage(0x207, 0, 0));
  Choose("HotKeys Off");
  EXPECT_TRUE(hotkeys.mouseHooked);
  EXPECT_TRUE(mouse.MouseMessage(0x208, 0, 0));
  EXPECT_FALSE(hotkeys.mouseHooked);
  EXPECT_FALSE(mouse.MouseMessage(0x207, 0, 0));
}

TEST_F(HotKeys, ALongListOfRefusalsIsCutAndNoSecondBoxJoinsAnOpenOne) {
  std::vector<TKeyRec> recs;
  for (int i = 0; i < 30; ++i) recs.push_back(WithKey(MakeRec("D" + std::to_string(100 + i)), 80));
  StartWith(recs);
  // A rebuild started under the box reports nothing more.
  view.whileBoxUp = [this] { ctl.UpdateKeysList(); };
  ctl.UpdateKeysList();
  std::vector<std::string> boxes = Calls({"info"});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("\nD120 (F5)\n... and 9 more."), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[0].find("D100 "), std::string::npos);  // D100 holds the key
  EXPECT_EQ(std::count(boxes[0].begin(), boxes[0].end(), '\n'), 1 + 20 + 1);
  // The next rebuild, with no box up, tells again.
  log.calls.clear();
  ctl.UpdateKeysList();
  EXPECT_EQ(Calls({"info"}).size(), 1u);
}

TEST_F(HotKeys, DamagedIndexesAreNotRegisteredButStayListed) {
  StartWith({WithKey(MakeRec("A"), 142), WithKey(MakeRec("B"), 80, 16),
             WithKey(MakeRec("C"), 80, -3), WithKey(MakeRec("D"), 81)});
  EXPECT_EQ(ctl.HotKeys().HotKeyList(), std::vector<std::string>{std::string("\x0B") + "D"});
  EXPECT_EQ(view.tree.size(), 4u);
  EXPECT_EQ(view.menu.size(), 9u);
  ctl.HotKeys().BuildHotKeyList();
  EXPECT_EQ(Calls({"RegisterHotKey"}), std::vector<std::string>{"RegisterHotKey 0 0 117"});
}

TEST_F(HotKeys, ARebuildSwitchesHotkeysOnAgain) {
  StartWith({WithKey(MakeRec("A"), 80)});
  Choose("HotKeys Off");
  EXPECT_TRUE(hotkeys.held.empty());
  ctl.UpdateKeysList();
  EXPECT_TRUE(ctl.SystemHotKeys().Active());
  EXPECT_EQ(hotkeys.held[0], "0 116");
  EXPECT_EQ(ctl.Menu().end()[-3].caption, "HotKeys Off");
}

TEST_F(HotKeys, TeardownGivesUpEveryHotkey) {
  StartWith({WithKey(MakeRec("A"), 80), WithKey(MakeRec("B"), 81)});
  ctl.FormDestroy();
  EXPECT_TRUE(hotkeys.held.empty());
  EXPECT_EQ(ctl.SystemHotKeys().Count(), 0u);
}

}  // namespace
}  // namespace ostrel
