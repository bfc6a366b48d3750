// Every definition with a key registered in list order, refusals reported and keeping
// later ids, damaged indexes kept out of the tables, and a press handed to the
// dispatcher through the 100 ms timer.
#include <gtest/gtest.h>

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
  EXPECT_FALSE(KeyModToModifiers(9));
  EXPECT_FALSE(KeyModToModifiers(-1));
}

TEST_F(HotKeys, IdsCountOnlyDefinitionsWithAKey) {
  // A: F5, B: no key, C: Ctrl+F6, in key-text order.
  StartWith({WithKey(MakeRec("A"), 80), MakeRec("B"), WithKey(MakeRec("C"), 81, 5)});
  ctl.BuildHotKeyList();
  EXPECT_EQ(Calls({"RegisterHotKey"}),
            (std::vector<std::string>{"RegisterHotKey 0 0 116", "RegisterHotKey 1 2 117"}));
  EXPECT_EQ(ctl.HotKeyList(),
            (std::vector<std::string>{std::string("\x0B") + "A", std::string("\x0B") + "C"}));
  log.calls.clear();
  ctl.HotKeyEvent(1);
  EXPECT_EQ(ctl.PendingKey(), Def("", "C"));
  EXPECT_EQ(log.calls, std::vector<std::string>{"timer3 on"});
  ctl.HotKeyEvent(2);
  ctl.HotKeyEvent(-1);
  EXPECT_EQ(ctl.PendingKey(), Def("", "C"));
}

TEST_F(HotKeys, ModifierFlagsReachTheWindowSystem) {
  StartWith({WithKey(MakeRec("A"), 34, 2), WithKey(MakeRec("B"), 35, 7),
             WithKey(MakeRec("C"), 36, 8), WithKey(MakeRec("D"), 37, 1)});
  ctl.BuildHotKeyList();
  EXPECT_EQ(Calls({"RegisterHotKey"}),
            (std::vector<std::string>{"RegisterHotKey 0 5 65", "RegisterHotKey 1 1 66",
                                      "RegisterHotKey 2 8 67", "RegisterHotKey 3 4 68"}));
}

TEST_F(HotKeys, ARefusedCombinationIsReportedAndKeepsLaterIds) {
  hotkeys.taken.push_back("2 117");  // Ctrl+F6 belongs to another program
  StartWith({WithKey(MakeRec("A"), 80), WithKey(MakeRec("B"), 80), WithKey(MakeRec("C"), 81, 5),
             WithKey(MakeRec("D"), 82)});
  ctl.BuildHotKeyList();
  EXPECT_EQ(Calls({"info"}),
            (std::vector<std::string>{"info HotKey aready in use.", "info HotKey aready in use."}));
  EXPECT_EQ(ctl.HotKeyList().size(), 4u);
  // The earlier of the two F5 definitions holds the key; D keeps id 3.
  EXPECT_EQ(hotkeys.held[0], "0 116");
  EXPECT_EQ(hotkeys.held[3], "0 118");
  ctl.HotKeyEvent(3);
  EXPECT_EQ(ctl.PendingKey(), Def("", "D"));
}

TEST_F(HotKeys, DamagedIndexesAreNotRegisteredButStayListed) {
  StartWith({WithKey(MakeRec("A"), 102), WithKey(MakeRec("B"), 80, 9),
             WithKey(MakeRec("C"), 80, -3), WithKey(MakeRec("D"), 81)});
  EXPECT_EQ(ctl.HotKeyList(), std::vector<std::string>{std::string("\x0B") + "D"});
  EXPECT_EQ(view.tree.size(), 4u);
  EXPECT_EQ(view.menu.size(), 9u);
  ctl.BuildHotKeyList();
  EXPECT_EQ(Calls({"RegisterHotKey"}), std::vector<std::string>{"RegisterHotKey 0 0 117"});
}

TEST_F(HotKeys, ARebuildSwitchesHotkeysOnAgain) {
  StartWith({WithKey(MakeRec("A"), 80)});
  ctl.MenuClick("HotKeys Off", "");
  EXPECT_TRUE(hotkeys.held.empty());
  ctl.UpdateKeysList();
  EXPECT_TRUE(ctl.SysHotKey1().Active());
  EXPECT_EQ(hotkeys.held[0], "0 116");
  EXPECT_EQ(ctl.Menu()[HotKeysItemIndex(ctl.Menu())].caption, "HotKeys Off");
}

TEST_F(HotKeys, TeardownGivesUpEveryHotkey) {
  StartWith({WithKey(MakeRec("A"), 80), WithKey(MakeRec("B"), 81)});
  ctl.FormDestroy();
  EXPECT_TRUE(hotkeys.held.empty());
  EXPECT_EQ(ctl.SysHotKey1().Count(), 0u);
}

}  // namespace
}  // namespace ostrel
