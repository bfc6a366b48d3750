// TSysHotKey against a recording hotkey port: ids are list positions, refusals keep
// positions, and only what was registered is ever unregistered. The hand-on of a press
// (PassOnPress) against a fake system: what reaches the program in front, and when the
// hotkey is let go and taken back.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "components/PassOn.h"
#include "components/SysHotKey.h"

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
  void PassOn(int id, unsigned modFlags, unsigned vk, std::uint32_t waitMs) override {
    calls.push_back("pass " + std::to_string(id) + " " + std::to_string(modFlags) + " " +
                    std::to_string(vk) + " " + std::to_string(waitMs));
  }
  bool HookMouse(bool on) override {
    calls.push_back(on ? "hook" : "unhook");
    return true;
  }
  void MaskModifierRelease() override { calls.push_back("mask"); }
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
      {0, 0x00},   {1, 0x03},   {8, 0x1B},   {9, 0x20},   {17, 0x28},  {18, 0x29},
      {19, 0x2B},  {24, 0x30},  {34, 0x41},  {59, 0x5A},  {60, 0x60},  {69, 0x69},
      {75, 0x6F},  {76, 0x70},  {99, 0x87},  {100, 0x90}, {101, 0x91}, {102, 0xBA},
      {108, 0xC0}, {112, 0xDE}, {113, 0x5D}, {114, 0xA6}, {131, 0xB7}, {132, 0xE2},
      {133, 0x04}, {134, 0x05}, {135, 0x06}, {140, 0x01}, {141, 0x02}};
  for (auto [index, vk] : rows) EXPECT_EQ(kKeyTable[index].code, vk) << "key index " << index;
  // Every key once (the wheel has no code); the first 102 in ascending code order, the
  // later ones after them.
  for (std::size_t i = 1; i < kKeyCount; ++i)
    for (std::size_t j = 0; j < i && !IsWheelKey(static_cast<std::int32_t>(i)); ++j)
      EXPECT_TRUE(i >= 102 ? kKeyTable[j].code != kKeyTable[i].code
                           : kKeyTable[j].code < kKeyTable[i].code)
          << i;
  EXPECT_EQ(HotKeyName(44, 9), "Win+Shift+K");
  EXPECT_EQ(HotKeyName(110, 15), "Win+Shift+Ctrl+Alt+\\");
  EXPECT_EQ(HotKeyName(kMiddleButton, 6), "Ctrl+Alt+Middle button");
  EXPECT_EQ(HotKeyName(kWheelRight, 8), "Win+Wheel right");
  EXPECT_EQ(HotKeyName(142, 0), "");
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
  hotKeys.AddHotKey(142, hkCtrl);
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

// A press is handed on with its combination and the owner's wait, only while registered.
TEST_F(SysHotKeyTest, PassOnHandsTheRegisteredCombinationOnWithTheWait) {
  ActiveWithSecondRefused();
  hotKeys.ReplayWaitMs = 250;
  hotKeys.PassOn(0);
  hotKeys.PassOn(1);
  hotKeys.PassOn(9);
  EXPECT_EQ(port.calls, (Calls{"pass 0 2 49 250"}));
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

// The hand-on protocol against a fake system: the watch, the keys and the clock. Each
// wait lets `passMs` go by; a wait after the keys were taken lets them pass the watch,
// and the user's keys typed meanwhile (`typed`) arrive in that wait.
class FakeSystem : public PassOnPort {
 public:
  Calls calls;
  std::vector<KeyInput> target;  // what reached the program in front, in order
  std::set<unsigned> held;
  std::vector<KeyInput> typed;
  std::size_t accept = SIZE_MAX;  // keys SendInput takes of each call
  bool hookable = true, passes = true, throwOnSend = false;
  std::uint32_t now = 1000, passMs = 10;

  class Watch : public KeyWatch {
   public:
    Watch(FakeSystem& s, bool in) : s_(s), in_(in) { s_.watch = this; }
    ~Watch() override {
      s_.calls.push_back("watch gone");
      s_.watch = nullptr;
    }
    bool Watching() const override { return in_; }
    std::size_t Seen() const override { return seen; }
    std::vector<KeyInput> TakeHeldBack() override { return std::exchange(heldBack, {}); }
    void StopHoldingBack() override {
      s_.calls.push_back("stop holding");
      holding = false;
    }
    std::size_t seen = 0, sent = 0;
    bool holding = true;
    std::vector<KeyInput> heldBack;

   private:
    FakeSystem& s_;
    bool in_;
  };
  Watch* watch = nullptr;

  std::unique_ptr<KeyWatch> WatchKeys() override {
    calls.push_back("watch");
    return std::make_unique<Watch>(*this, hookable);
  }
  bool KeyHeld(unsigned vk) override { return held.count(vk) > 0; }
  std::uint16_t ScanCode(unsigned vk) override { return static_cast<std::uint16_t>(vk + 0x100); }
  bool RegisterHotKey(int id, unsigned, unsigned) override {
    calls.push_back("reg " + std::to_string(id) + " at " + std::to_string(now));
    return true;
  }
  bool UnregisterHotKey(int id) override {
    calls.push_back("unreg " + std::to_string(id));
    return true;
  }
  std::size_t SendInput(const std::vector<KeyInput>& keys) override {
    if (throwOnSend) throw std::runtime_error("send");
    const std::size_t taken = std::min(accept, keys.size());
    calls.push_back("send " + std::to_string(taken) + "/" + std::to_string(keys.size()));
    target.insert(target.end(), keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(taken));
    if (watch) watch->sent += taken;
    return taken;
  }
  std::uint32_t TickCount() override { return now; }
  void WaitForSentMessages(std::uint32_t ms) override {
    now += std::min(ms, passMs);
    const bool holding = watch && watch->Watching() && watch->holding;
    for (const KeyInput& k : std::exchange(typed, {}))
      (holding ? watch->heldBack : target).push_back(k);
    if (watch && watch->Watching() && passes) watch->seen = watch->sent;
  }
};

constexpr unsigned kCtrlAlt = kModControl | kModAlt;
constexpr KeyInput Key(std::uint16_t vk, bool up) {
  return {vk, static_cast<std::uint16_t>(vk + 0x100), up ? kKeyEventUp : 0u};
}

// Ctrl+Alt+S handed on while the user still holds Ctrl: the hotkey is let go before the
// keys go and taken back once they have passed, not waiting out the limit; the watch is
// in before the keyboard is asked and goes last. A key the user types meanwhile goes on
// after the replay, in its order.
TEST(PassOnPress, LetsGoSendsWaitsForTheKeysTakesBackThenSendsTheUsersKeys) {
  FakeSystem system;
  system.held = {0x11};
  const KeyInput userKey{0x41, 0x1E, 0};
  system.typed = {userKey};
  PassOnPress(system, 3, kCtrlAlt, 'S', 250);
  EXPECT_EQ(system.calls,
            (Calls{"watch", "unreg 3", "send 4/4", "reg 3 at 1010", "send 1/1", "watch gone"}));
  EXPECT_EQ(system.target, (std::vector<KeyInput>{Key(0x12, false), Key('S', false), Key('S', true),
                                                  Key(0x12, true), userKey}));
}

// Keys that never pass (refused in part, or no watch to count them) hold the hotkey back
// for the whole wait; a user's key held back until then goes on once the watch stops
// holding keys back.
TEST(PassOnPress, KeysThatNeverPassWaitTheLimitOut) {
  struct Row {
    const char* name;
    std::size_t accept;
    bool hookable, passes;
    Calls calls;
  };
  const Calls heldBack{"stop holding", "send 1/1", "watch gone"};
  const Row rows[] = {
      {"refused", 2, true, true, {"watch", "unreg 0", "send 2/4", "reg 0 at 1250"}},
      {"no watch", SIZE_MAX, false, true, {"watch", "unreg 0", "send 4/4", "reg 0 at 1250"}},
      {"never seen", SIZE_MAX, true, false, {"watch", "unreg 0", "send 4/4", "reg 0 at 1250"}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeSystem system;
    system.accept = row.accept;
    system.hookable = row.hookable;
    system.passes = row.passes;
    system.typed = {KeyInput{0x41, 0x1E, 0}};
    PassOnPress(system, 0, kModShift, 'K', 250);
    Calls expected = row.calls;
    if (row.hookable)
      expected.insert(expected.end(), heldBack.begin(), heldBack.end());
    else
      expected.push_back("watch gone");  // the user's key went straight on
    EXPECT_EQ(system.calls, expected);
    EXPECT_EQ(system.target.back(), (KeyInput{0x41, 0x1E, 0}));
  }
}

TEST(PassOnPress, TheWatchGoesWhenSendingFails) {
  FakeSystem system;
  system.throwOnSend = true;
  EXPECT_THROW(PassOnPress(system, 0, kModAlt, 'W', 250), std::runtime_error);
  EXPECT_EQ(system.calls, (Calls{"watch", "unreg 0", "watch gone"}));
}

}  // namespace
}  // namespace ostrel
