// TSysHotKey against a recording hotkey port: ids are list positions, refusals keep
// positions, and only what was registered is ever unregistered.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "components/SysHot.h"

namespace ostrel {
namespace {

using Calls = std::vector<std::string>;

// Logs "reg <id> <flags> <vk>" and "unreg <id>"; refuses the ids in `refuse`.
class RecordingHotKeys : public HotKeyPort {
 public:
  Calls calls;
  std::set<int> refuse;

  bool RegisterHotKey(int id, unsigned modFlags, unsigned vk) override {
    calls.push_back("reg " + std::to_string(id) + " " + std::to_string(modFlags) + " " +
                    std::to_string(vk));
    return !refuse.count(id);
  }
  bool UnregisterHotKey(int id) override {
    calls.push_back("unreg " + std::to_string(id));
    return true;
  }
  void PassOn(int id, unsigned, unsigned) override { calls.push_back("pass " + std::to_string(id)); }
};

class SysHotKeyTest : public ::testing::Test {
 protected:
  RecordingHotKeys port;
  TSysHotKey hotKeys{port};

  std::vector<bool> Registered() const {
    std::vector<bool> flags;
    for (std::size_t i = 0; i < hotKeys.Count(); ++i) flags.push_back(hotKeys.Entry(i).Registered);
    return flags;
  }
  // Three Ctrl+digit entries, the second refused, the component active.
  void ActiveWithSecondRefused() {
    port.refuse = {1};
    hotKeys.SetActive(true);
    for (std::uint8_t key : {25, 26, 27}) hotKeys.AddHotKey(key, hkCtrl);
    port.calls.clear();
  }
};

TEST(KeyTable, FollowsTheKeyListWithItsGaps) {
  const std::vector<std::pair<std::size_t, unsigned>> rows = {
      {0, 0x00},  {1, 0x03},  {8, 0x1B},  {9, 0x20},   {17, 0x28}, {18, 0x29},
      {19, 0x2B}, {24, 0x30}, {34, 0x41}, {59, 0x5A},  {60, 0x60}, {69, 0x69},
      {75, 0x6F}, {76, 0x70}, {99, 0x87}, {100, 0x90}, {101, 0x91},
      {102, 0xBA}, {108, 0xC0}, {112, 0xDE}, {113, 0x5D}, {114, 0xA6}, {131, 0xB7}, {132, 0xE2}};
  for (auto [index, vk] : rows) EXPECT_EQ(kKeyTable[index].code, vk) << "key index " << index;
  // Every key once; the first 102 in ascending code order, the later ones after them.
  for (std::size_t i = 1; i < kKeyCount; ++i)
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_TRUE(i >= 102 ? kKeyTable[j].code != kKeyTable[i].code
                           : kKeyTable[j].code < kKeyTable[i].code) << i;
  EXPECT_EQ(HotKeyName(44, 9), "Win+Shift+K");
  EXPECT_EQ(HotKeyName(110, 15), "Win+Shift+Ctrl+Alt+\\");
  EXPECT_EQ(HotKeyName(133, 0), "");
  EXPECT_EQ(HotKeyName(34, 16), "");
}

TEST(ModifierFlags, MapsEachBitToItsOwnFlag) {
  EXPECT_EQ(ModifierFlags(hkShift), 4u);
  EXPECT_EQ(ModifierFlags(hkCtrl), 2u);
  EXPECT_EQ(ModifierFlags(hkAlt), 1u);
  EXPECT_EQ(ModifierFlags(hkWin), 8u);
  EXPECT_EQ(ModifierFlags(hkShift | hkAlt), 5u);
  EXPECT_EQ(ModifierFlags(hkShift | hkCtrl | hkAlt | hkWin), 15u);
}

TEST_F(SysHotKeyTest, InactiveEntriesRegisterInListOrderOnActivationAndLaterOnesAtOnce) {
  hotKeys.AddHotKey(34, hkCtrl | hkAlt);
  hotKeys.AddHotKey(19, hkShift | hkAlt);
  EXPECT_TRUE(port.calls.empty());

  hotKeys.SetActive(true);
  port.refuse = {3};
  hotKeys.AddHotKey(100, hkShift);
  hotKeys.AddHotKey(76, hkWin);
  EXPECT_EQ(port.calls, (Calls{"reg 0 3 65", "reg 1 5 43", "reg 2 4 144", "reg 3 8 112"}));
  EXPECT_EQ(Registered(), (std::vector<bool>{true, true, true, false}));
}

TEST_F(SysHotKeyTest, RefusedSecondEntryKeepsTheThirdAtIndexTwo) {
  ActiveWithSecondRefused();
  EXPECT_EQ(Registered(), (std::vector<bool>{true, false, true}));
  std::vector<std::int32_t> pressed;
  hotKeys.OnHotKey = [&](TSysHotKey& sender, std::int32_t index) {
    EXPECT_EQ(&sender, &hotKeys);
    pressed.push_back(index);
  };
  hotKeys.WmHotKey(2);
  hotKeys.WmHotKey(0x00470000u);  // the id is the low word only
  EXPECT_EQ(pressed, (std::vector<std::int32_t>{2, 0}));
}

TEST_F(SysHotKeyTest, ClearWhileActiveUnregistersOnlyRegisteredEntriesAndStaysActive) {
  ActiveWithSecondRefused();
  hotKeys.Clear();
  EXPECT_EQ(port.calls, (Calls{"unreg 0", "unreg 2"}));
  EXPECT_EQ(hotKeys.Count(), 0u);
  EXPECT_TRUE(hotKeys.Active());

  port.calls.clear();
  hotKeys.AddHotKey(27, hkAlt);
  EXPECT_EQ(port.calls, (Calls{"reg 0 1 51"}));
}

TEST_F(SysHotKeyTest, ActiveChangesOnlyOnANewValueAndReactivationRetriesEveryEntry) {
  ActiveWithSecondRefused();
  hotKeys.SetActive(true);
  hotKeys.SetActive(false);
  hotKeys.SetActive(false);
  EXPECT_EQ(port.calls, (Calls{"unreg 0", "unreg 2"}));
  EXPECT_EQ(Registered(), (std::vector<bool>{false, false, false}));

  port.calls.clear();
  port.refuse.clear();
  hotKeys.SetActive(true);
  EXPECT_EQ(port.calls, (Calls{"reg 0 2 49", "reg 1 2 50", "reg 2 2 51"}));
  EXPECT_EQ(Registered(), (std::vector<bool>{true, true, true}));
}

TEST_F(SysHotKeyTest, KeyIndexPastTheTableRegistersNothingAndKeepsPositions) {
  hotKeys.SetActive(true);
  hotKeys.AddHotKey(133, hkCtrl);
  hotKeys.AddHotKey(255, hkCtrl);
  hotKeys.AddHotKey(101, hkCtrl);
  EXPECT_EQ(port.calls, (Calls{"reg 2 2 145"}));
  EXPECT_EQ(Registered(), (std::vector<bool>{false, false, true}));
}

TEST_F(SysHotKeyTest, WindowDestroyedWhileActiveGivesUpEveryRegistrationOnce) {
  ActiveWithSecondRefused();
  hotKeys.WmDestroy();
  hotKeys.WmDestroy();
  EXPECT_FALSE(hotKeys.Active());
  EXPECT_EQ(port.calls, (Calls{"unreg 0", "unreg 2"}));
  EXPECT_EQ(hotKeys.Count(), 3u);
}

TEST(SysHotKeyLifetime, DestructionUnregistersWhatIsRegistered) {
  RecordingHotKeys port;
  port.refuse = {0};
  {
    TSysHotKey hotKeys(port);
    hotKeys.AddHotKey(24, hkAlt);
    hotKeys.AddHotKey(25, hkAlt);
    hotKeys.SetActive(true);
    port.calls.clear();
  }
  EXPECT_EQ(port.calls, (Calls{"unreg 1"}));
}

}  // namespace
}  // namespace ostrel
