// Macros typed as keyboard input: the keys SendInput gets for each macro, the user's own
// keys held back and sent after, the stops (another program in front, Esc, a refused key).
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeClipboard.h"
#include "fakes/FakeCodePage.h"
#include "fakes/FakeInput.h"
#include "fakes/FakeKeyboard.h"
#include "fakes/RecordingPorts.h"
#include "macro/SendKeys.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeInput;

constexpr WindowHandle kTarget = 100;
constexpr WindowHandle kSaveBox = 110;  // a dialog of the target's program
constexpr WindowHandle kOther = 200;

struct InputDesk {
  CallLog log;
  testing::FakeWindows windows{log};
  testing::FakeSystem system{log};
  testing::FakeKeyboard keyboard{log};
  testing::FakeCodePage codePage;
  FakeInput input;
  MacroPorts ports{windows, system, keyboard, codePage, nullptr, &input};

  InputDesk() {
    windows.windows[kTarget] = {.thread = 9, .process = 90, .title = "Notes"};
    windows.windows[kSaveBox] = {.thread = 9, .process = 90};
    windows.windows[kOther] = {.thread = 5, .process = 50};
    windows.foreground = kTarget;
  }
  MacroEnd Run(const std::string& macro) {
    return SendKeys(ports, macro, kTarget, MacroWay::kInput);
  }
  std::string Macro() const { return input.Keys(kMacroMark); }
  std::string Held() const { return input.Keys(kHeldKeysMark); }
};

TEST(InputKeys, SendsTheKeysEachMacroMeans) {
  const struct {
    const char* macro;
    const char* keys;
  } cases[] = {
      {"aB!", "+A -A +LShift +B -B +1 -1 -LShift"},
      // {SHIFT} presses Shift for keys; text is typed as written.
      {"{SHIFT}ab{RIGHT 2}{SHIFT}c",
       "+A -A +B -B +LShift +27/e -27/e +27/e -27/e -LShift +C -C"},
      {"{CTRL}c{HOME}{CTRL}x", "+LCtrl +C -C +24/e -24/e -LCtrl +X -X"},
      {"{CTRL}{SHIFT}s", "+LCtrl +LShift +S -S -LShift -LCtrl"},
      {"{@}fa", "+LAlt +F -F -LAlt +A -A"},
      {"{ALT}x1{ALT}", "+LAlt +X -X +1 -1 -LAlt"},
      // A character the layout types with AltGr; one it lacks goes as itself.
      {"@\xe9{U+1F600}", "+LCtrl +LAlt +Q -Q -LCtrl -LAlt +U+00E9 -U+00E9 +U+D83D -U+D83D "
                         "+U+DE00 -U+DE00"},
      {"{@}{U+E9}", "+U+00E9 -U+00E9"},
      // Tab, a line break of two characters and Enter are one key each.
      {"a\tb\r\nc{ENTER}", "+A -A +Tab -Tab +B -B +Enter -Enter +C -C +Enter -Enter"},
      {"{DEL}{F24}{TAB 0}{FOO}{PAUSE}", "+2E/e -2E/e +87 -87"},
      // Back to {CURSOR}: Left once per character after it, without the Shift left on.
      {"{SHIFT}a{CURSOR}b\r\nc",
       "+A -A +B -B +LShift +Enter -Enter -LShift +C -C +25/e -25/e +25/e -25/e +25/e -25/e"},
  };
  for (const auto& c : cases) {
    InputDesk desk;
    EXPECT_EQ(desk.Run(c.macro), MacroEnd::kTyped) << c.macro;
    EXPECT_EQ(desk.Macro(), c.keys) << c.macro;
    for (const std::string& call : desk.log.calls) EXPECT_NE(call.rfind("PostMessage", 0), 0u);
  }
}

TEST(InputKeys, TheUsersModifiersGoUpForTheMacroAndComeBackIfStillHeld) {
  // Ctrl+Alt+M still held from the hotkey: both go up behind a masking key, come back
  // down after (they repeat: really held), and M's repeats meanwhile are not typed.
  InputDesk held;
  held.input.down = {vk::kLControl, vk::kLMenu, 'M'};
  held.input.afterSend = [&] {
    for (std::uint8_t key : {vk::kLControl, vk::kLMenu, std::uint8_t('M')})
      EXPECT_TRUE(held.input.User(key, false));
  };
  held.Run("a");
  EXPECT_EQ(held.Macro(), "+Mask -Mask -LCtrl -LAlt +A -A +LCtrl +LAlt +Mask -Mask");
  EXPECT_EQ(held.Held(), "");

  // Alt let go during the macro, and Ctrl said to be down without a repeat to show it:
  // neither comes back.
  InputDesk letGo;
  letGo.input.down = {vk::kLControl, vk::kLMenu};
  letGo.input.afterSend = [&] {
    EXPECT_TRUE(letGo.input.User(vk::kLMenu, false));
    EXPECT_TRUE(letGo.input.User(vk::kLMenu, true));  // already up: goes nowhere
    letGo.input.afterSend = nullptr;
  };
  letGo.Run("a");
  EXPECT_EQ(letGo.Macro(), "+Mask -Mask -LCtrl -LAlt +A -A");
}

TEST(InputKeys, TheUsersKeysWaitForTheMacroInTheirOrder) {
  InputDesk desk;
  int batch = 0;
  desk.input.afterSend = [&] {
    if (++batch != 1) return;
    // Typed while the macro runs: held back.
    EXPECT_TRUE(desk.input.User(vk::kLShift, false));
    EXPECT_TRUE(desk.input.User('X', false));
    EXPECT_TRUE(desk.input.User('X', true));
    EXPECT_TRUE(desk.input.User(vk::kLShift, true));
  };
  EXPECT_EQ(desk.Run(std::string(45, 'a')), MacroEnd::kTyped);
  // 45 presses in batches of 20, each after the program in front was seen to be the
  // macro's; the user's keys after the last.
  EXPECT_EQ(desk.input.calls, (std::vector<std::size_t>{40, 40, 10, 4}));
  EXPECT_EQ(desk.Held(), "+LShift +X -X -LShift");
  EXPECT_EQ(desk.input.sent.back().mark, kHeldKeysMark);
  EXPECT_EQ(desk.input.hook, nullptr);
}

TEST(InputKeys, StopsWhenAnotherProgramComesInFrontOrEscIsPressed) {
  // A dialog the macro opened in its own program counts as the target.
  InputDesk dialog;
  dialog.input.afterSend = [&] { dialog.windows.foreground = kSaveBox; };
  EXPECT_EQ(dialog.Run(std::string(30, 'a')), MacroEnd::kTyped);
  EXPECT_EQ(dialog.input.sent.size(), 60u);

  // Another program: what remains is dropped; no key of it reaches the new window.
  InputDesk other;
  other.input.afterSend = [&] { other.windows.foreground = kOther; };
  EXPECT_EQ(other.Run(std::string(30, 'a') + "{SHIFT}{HOME}"), MacroEnd::kSwitched);
  EXPECT_EQ(other.input.calls, (std::vector<std::size_t>{40}));

  // Nothing in front for longer than a switch takes counts as another program.
  InputDesk none;
  none.windows.foreground = 0;
  EXPECT_EQ(none.Run("a"), MacroEnd::kSwitched);
  EXPECT_TRUE(none.input.sent.empty());

  // Esc stops the macro at once, even a long repeat or pause, and goes to no program.
  for (const char* macro : {"{TAB 1000000}", "x{PAUSE 100000}y"}) {
    InputDesk esc;
    esc.input.afterSend = [&] {
      EXPECT_TRUE(esc.input.User(vk::kEscape, false));
      EXPECT_TRUE(esc.input.User(vk::kEscape, true));
    };
    EXPECT_EQ(esc.Run(macro), MacroEnd::kCancelled) << macro;
    EXPECT_LE(esc.input.sent.size(), 40u) << macro;
    EXPECT_EQ(esc.Held(), "") << macro;
    EXPECT_LT(esc.system.now - 100000, 1000u) << macro;
  }

  // Keys the system refuses (a window with higher rights) are told as a refused target.
  InputDesk refused;
  refused.input.acceptAtMost = 3;
  EXPECT_EQ(refused.Run("abcd"), MacroEnd::kRefused);
}

TEST(InputKeys, PastesLongTextByCtrlVSentAsInputWithoutWaitingToPaint) {
  InputDesk desk;
  testing::FakeClipboard clipboard;
  clipboard.Write(kCfText, "mine");
  desk.ports.clipboard = &clipboard;
  std::vector<std::string> pasted;
  desk.input.afterSend = [&] {
    const auto& last = desk.input.sent;
    for (std::size_t i = 0; i + 1 < last.size(); ++i)
      if (last[i].key.vk == 'V' && !last[i].key.Up() && pasted.size() < 3 &&
          std::count_if(last.begin(), last.begin() + i + 1,
                        [](auto& s) { return s.key.vk == 'V' && !s.key.Up(); }) >
              static_cast<long>(pasted.size()))
        pasted.push_back(clipboard.Read(kCfUnicodeText).value_or(""));
  };
  int paints = 0;
  desk.windows.onPainted = [&](WindowHandle) { ++paints; };
  const std::string para(101, 'a');
  EXPECT_EQ(desk.Run(para + "{ENTER}" + para + "{ENTER}" + para), MacroEnd::kTyped);
  EXPECT_EQ(pasted.size(), 3u);
  EXPECT_EQ(desk.Macro(), "+LCtrl +V -V -LCtrl +Enter -Enter +LCtrl +V -V -LCtrl +Enter -Enter "
                          "+LCtrl +V -V -LCtrl");
  // Each Enter goes with the next Ctrl+V: one SendInput each, no wait to paint between.
  EXPECT_EQ(desk.input.calls, (std::vector<std::size_t>{4, 6, 6}));
  EXPECT_EQ(paints, 0);
  const std::vector<std::pair<std::uint32_t, std::string>> mine = {{kCfText, "mine"}};
  EXPECT_EQ(clipboard.Contents(), mine);
}

}  // namespace
}  // namespace ostrel
