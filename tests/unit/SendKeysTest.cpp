#include "macro/SendKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <stdexcept>

#include "fakes/FakeClipboard.h"
#include "fakes/FakeCodePage.h"
#include "fakes/FakeInput.h"
#include "fakes/FakeKeyboard.h"
#include "fakes/RecordingPorts.h"
#include "macro/MacroTimings.h"
#include "platform/VirtualKeys.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeCodePage;
using testing::FakeKeyboard;
using testing::FakeSystem;
using testing::FakeWindows;

// ---------------------------------------------------------------------------------------
// A small desktop: the target window of thread 9 in process 90 with three edit controls;
// a window of another program; our own thread is 42.

constexpr WindowHandle kTarget = 100;
constexpr WindowHandle kEdit = 101;
constexpr WindowHandle kEdit2 = 102;
constexpr WindowHandle kEdit3 = 103;
constexpr WindowHandle kDialog = 110;
constexpr WindowHandle kOther = 200;

std::string Hex(std::uint64_t v, int digits) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(v));
  return buf;
}

class Desk {
 public:
  CallLog log;
  FakeWindows windows{log};
  FakeSystem system{log};
  FakeKeyboard keyboard{log};
  FakeCodePage codePage;
  MacroPorts ports{windows, system, keyboard, codePage};
  // Every posted message with the key state at that moment:
  // "edit CHAR 61 001E0001 S00 C00 A00".
  std::vector<std::string> posts;

  Desk(bool codePage932 = false) {
    codePage.codePage932 = codePage932;
    for (WindowHandle w : {kTarget, kEdit, kEdit2, kEdit3, kDialog}) {
      windows.windows[w].thread = 9;
      windows.windows[w].process = 90;
    }
    windows.windows[kOther].thread = 5;
    windows.windows[kOther].process = 50;
    windows.focus = kEdit;
    windows.onPost = Recorder("");
    windows.onPostW = Recorder("W");
  }

  std::function<void(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t)> Recorder(
      std::string wide) {
    return [this, wide](WindowHandle w, std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
      posts.push_back(Name(w) + " " + MsgName(msg) + wide + " " + Hex(wp, 2) + " " +
                      Hex(static_cast<std::uint64_t>(lp), 8) + " " +
                      FakeKeyboard::Modifiers(keyboard.state));
    };
  }

  void Run(const std::string& text, WindowHandle target = kTarget) {
    SendKeys(ports, text, target);
  }

  std::vector<std::string> Sleeps() const {
    std::vector<std::string> out;
    for (const std::string& c : log.calls)
      if (c.rfind("Sleep ", 0) == 0) out.push_back(c.substr(6));
    return out;
  }

  int Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(log.calls.begin(), log.calls.end(), [&](auto& c) {
      return c.rfind(prefix, 0) == 0;
    }));
  }

  // The last two calls of every run: the saved key state back, then parted.
  void ExpectRestoredAndParted(const KeyState& before) {
    ASSERT_GE(log.calls.size(), 2u);
    EXPECT_EQ(log.calls.end()[-2].rfind("SetKeyboardState", 0), 0u) << log.calls.end()[-2];
    EXPECT_EQ(log.calls.back(), "AttachThreadInput 42 9 0");
    EXPECT_EQ(keyboard.state, before);
  }

  static std::string Name(WindowHandle w) {
    switch (w) {
      case kTarget: return "target";
      case kEdit: return "edit";
      case kEdit2: return "edit2";
      case kEdit3: return "edit3";
      case kDialog: return "dialog";
      case kOther: return "other";
    }
    return std::to_string(w);
  }
  static std::string MsgName(std::uint32_t m) {
    switch (m) {
      case 0x100: return "KEYDOWN";
      case 0x101: return "KEYUP";
      case 0x102: return "CHAR";
      case 0x104: return "SYSKEYDOWN";
      case 0x105: return "SYSKEYUP";
    }
    return Hex(m, 4);
  }
};

using Posts = std::vector<std::string>;

// ---------------------------------------------------------------------------------------
// What each macro posts, with the key state at every message

struct MacroCase {
  const char* text;
  Posts posts;
  bool cp932 = false;       // the system's code page is 932 (Japanese), not a single-byte one
  bool ansiWindow = false;  // the edit is an ANSI window, not a Unicode one
};

TEST(SendKeys, PostsTheMessagesEachMacroMeans) {
  const MacroCase cases[] = {
      {"", {}},
      {"abc",
       {"edit CHAR 61 001E0001 S00 C00 A00", "edit CHAR 62 00300001 S00 C00 A00",
        "edit CHAR 63 002E0001 S00 C00 A00"}},
      // The toggle puts Shift down in the key state; the characters stay as written.
      {"{SHIFT}ab{SHIFT}c",
       {"edit CHAR 61 001E0001 S81 C00 A00", "edit CHAR 62 00300001 S81 C00 A00",
        "edit CHAR 63 002E0001 S00 C00 A00"}},
      // A capital needs Shift alone, so Shift is down for it.
      {"aA", {"edit CHAR 61 001E0001 S00 C00 A00", "edit CHAR 41 001E0001 S81 C00 A00"}},
      {"{a}", {"edit CHAR 41 001E0001 S81 C00 A00"}},
      {"{a 3}",
       {"edit CHAR 41 001E0001 S81 C00 A00", "edit CHAR 41 001E0001 S81 C00 A00",
        "edit CHAR 41 001E0001 S81 C00 A00"}},
      {"{}}", {"edit CHAR 7D 001B0001 S81 C00 A00"}},
      {"{{}", {"edit CHAR 7B 001A0001 S81 C00 A00"}},
      {"{}", {}},
      {"{FOO}", {}},
      {"{F25}", {}},
      {"{TAB 0}", {}},
      {"{TAB -1}", {}},
      {"{SHIFT}{CTRL}{ALT}", {}},
      {"{F24}", {"edit KEYDOWN 87 00760001 S00 C00 A00", "edit KEYUP 87 C0760001 S00 C00 A00"}},
      {"{F1 2}",
       {"edit KEYDOWN 70 003B0001 S00 C00 A00", "edit KEYUP 70 C03B0001 S00 C00 A00",
        "edit KEYDOWN 70 003B0001 S00 C00 A00", "edit KEYUP 70 C03B0001 S00 C00 A00"}},
      {"{SHIFT}{DEL}{SHIFT}",
       {"edit KEYDOWN 2E 00530001 S81 C00 A00", "edit KEYUP 2E C0530001 S81 C00 A00"}},
      // Ctrl with a letter key is the control character; the key itself is not posted.
      {"{CTRL}c{CTRL}", {"edit CHAR 03 002E0001 S00 C81 A00"}},
      {"{CTRL}{a}{CTRL}x", {"edit CHAR 01 001E0001 S81 C81 A00",
                            "edit CHAR 78 002D0001 S00 C00 A00"}},
      {"{CTRL}{HOME}{CTRL}",
       {"edit KEYDOWN 24 00470001 S00 C81 A00", "edit KEYUP 24 C0470001 S00 C81 A00"}},
      // Ctrl with a character that is no letter key: its key goes down and up.
      {"{CTRL}[",
       {"edit KEYDOWN DB 001A0001 S00 C81 A00", "edit KEYUP DB C01A0001 S00 C81 A00"}},
      // Alt for the next key only; the key state is not touched.
      {"{@}Fa",
       {"edit SYSKEYDOWN 12 20380001 S00 C00 A00", "edit SYSKEYDOWN 46 20210001 S00 C00 A00",
        "edit SYSKEYUP 46 E0210001 S00 C00 A00", "edit SYSKEYUP 12 C0380001 S00 C00 A00",
        "edit CHAR 61 001E0001 S00 C00 A00"}},
      // AltNext survives tokens that send nothing, and not a key sent zero times.
      {"{@}{FOO}{PAUSE}F",
       {"edit SYSKEYDOWN 12 20380001 S00 C00 A00", "edit SYSKEYDOWN 46 20210001 S00 C00 A00",
        "edit SYSKEYUP 46 E0210001 S00 C00 A00", "edit SYSKEYUP 12 C0380001 S00 C00 A00"}},
      {"{@}{TAB 0}a", {"edit CHAR 61 001E0001 S00 C00 A00"}},
      // AltOn: every key goes as a system key, a character's code unchanged.
      {"{ALT}X1{ALT}",
       {"edit SYSKEYDOWN 58 202D0001 S00 C00 A00", "edit SYSKEYUP 58 E02D0001 S00 C00 A00",
        "edit SYSKEYDOWN 31 20020001 S00 C00 A00", "edit SYSKEYUP 31 E0020001 S00 C00 A00"}},
      // Alt comes before the TAB/ENTER branch.
      {"{ALT}{TAB}", {"edit SYSKEYDOWN 09 200F0001 S00 C00 A00",
                      "edit SYSKEYUP 09 E00F0001 S00 C00 A00"}},
      {"{@}{ENTER}",
       {"edit SYSKEYDOWN 12 20380001 S00 C00 A00", "edit SYSKEYDOWN 0D 201C0001 S00 C00 A00",
        "edit SYSKEYUP 0D E01C0001 S00 C00 A00", "edit SYSKEYUP 12 C0380001 S00 C00 A00"}},
      // TAB and ENTER leave the key state alone, Shift toggle or not.
      {"{SHIFT}{ENTER}",
       {"edit KEYDOWN 0D 001C0001 S00 C00 A00", "edit KEYUP 0D C01C0001 S00 C00 A00"}},
      // A real tab character sends the TAB key, and a carriage return the ENTER key.
      {"\t\r", {"edit KEYDOWN 09 000F0001 S00 C00 A00", "edit KEYUP 09 C00F0001 S00 C00 A00",
                "edit KEYDOWN 0D 001C0001 S00 C00 A00", "edit KEYUP 0D C01C0001 S00 C00 A00"}},
      // A character no key types: no Shift, scan code 0; beyond ASCII, to a Unicode
      // window as the character itself.
      {"\xe9", {"edit CHARW E9 00000001 S00 C00 A00"}},
      // An unclosed brace swallows the rest as one token.
      {"a{b c", {"edit CHAR 61 001E0001 S00 C00 A00", "edit CHAR 42 00300001 S81 C00 A00"}},
      {"a{bc", {"edit CHAR 61 001E0001 S00 C00 A00"}},
      // The caret goes back to {CURSOR} once the text is typed.
      {"a{CURSOR}bc",
       {"edit CHAR 61 001E0001 S00 C00 A00", "edit CHAR 62 00300001 S00 C00 A00",
        "edit CHAR 63 002E0001 S00 C00 A00", "edit KEYDOWN 25 00000001 S00 C00 A00",
        "edit KEYUP 25 C0000001 S00 C00 A00", "edit KEYDOWN 25 00000001 S00 C00 A00",
        "edit KEYUP 25 C0000001 S00 C00 A00"}},
      // A double-byte character: the character itself, or to an ANSI window both bytes,
      // which the system joins again.
      {"\x83\x7B{ENTER}\x83\x5C",
       {"edit CHARW 30DC 00000001 S00 C00 A00", "edit KEYDOWN 0D 001C0001 S00 C00 A00",
        "edit KEYUP 0D C01C0001 S00 C00 A00", "edit CHARW 30BD 00000001 S00 C00 A00"},
       true},
      {"\x83\x7B", {"edit CHAR 83 00000001 S00 C00 A00", "edit CHAR 7B 00000001 S00 C00 A00"},
       true, true},
      // A Unicode window gets {U+...} itself; beyond the first plane, as its pair.
      {"{U+2192 2}{U+1F600}",
       {"edit CHARW 2192 00000001 S00 C00 A00", "edit CHARW 2192 00000001 S00 C00 A00",
        "edit CHARW D83D 00000001 S00 C00 A00", "edit CHARW DE00 00000001 S00 C00 A00"}},
      // An ANSI window gets the code page's character, where it has one.
      {"{U+E9}{U+2192}{U+30DC}",
       {"edit CHAR E9 00000001 S00 C00 A00", "edit CHAR 83 00000001 S00 C00 A00",
        "edit CHAR 7B 00000001 S00 C00 A00"},
       false, true},
      // No key to press with Alt or Ctrl: the character itself, Shift and Ctrl in the state.
      {"{@}{U+E9}{SHIFT}{CTRL}{U+E9}a",
       {"edit CHARW E9 00000001 S00 C00 A00", "edit CHARW E9 00000001 S81 C81 A00",
        "edit CHAR 01 001E0001 S81 C81 A00"}},
  };
  for (const MacroCase& c : cases) {
    Desk desk(c.cp932);
    desk.codePage.ansi = {{0x30DC, "\x83\x7B"}, {0x30BD, "\x83\x5C"}};
    desk.windows.windows[kEdit].unicode = !c.ansiWindow;
    desk.Run(c.text);
    EXPECT_EQ(desk.posts, c.posts) << "macro: " << c.text;
    desk.ExpectRestoredAndParted(KeyState{});
  }
}

TEST(SendKeys, AKeyTheWindowRefusesEndsTheMacroThere) {
  {
    Desk desk;
    desk.windows.windows[kEdit].refusesPosts = true;
    EXPECT_EQ(SendKeys(desk.ports, "ab{TAB}c", kTarget), MacroEnd::kRefused);
    EXPECT_EQ(desk.posts.size(), 1u);
    desk.ExpectRestoredAndParted(KeyState{});
  }
  // A window that went away meanwhile ends it quietly.
  Desk desk;
  desk.windows.windows[kEdit].refusesPosts = true;
  desk.windows.onPost = [&](auto...) { desk.windows.windows[kEdit].exists = false; };
  EXPECT_EQ(SendKeys(desk.ports, "ab", kTarget), MacroEnd::kStopped);
  EXPECT_EQ(SendKeys(Desk().ports, "ab", kTarget), MacroEnd::kTyped);
}

TEST(SendKeys, PastesALongRunWithCtrlVAndGivesTheClipboardBack) {
  const std::string macro = std::string(101, 'a') + "{ENTER}b";
  Desk desk;
  testing::FakeClipboard clipboard;
  clipboard.Write(kCfText, "mine");
  desk.ports.clipboard = &clipboard;
  std::string pasted;
  const auto record = desk.windows.onPost;
  desk.windows.onPost = [&](WindowHandle w, std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
    record(w, msg, wp, lp);
    if (msg == 0x100 && wp == 0x56) pasted = clipboard.Read(kCfUnicodeText).value_or("");
  };
  EXPECT_EQ(SendKeys(desk.ports, macro, kTarget), MacroEnd::kTyped);
  EXPECT_EQ(pasted.size(), 204u);  // 101 UTF-16 units and the NUL
  EXPECT_EQ(desk.posts, (Posts{"edit KEYDOWN 56 00000001 S00 C81 A00",
                               "edit KEYUP 56 C0000001 S00 C81 A00",
                               "edit KEYDOWN 0D 001C0001 S00 C00 A00",
                               "edit KEYUP 0D C01C0001 S00 C00 A00",
                               "edit CHAR 62 00300001 S00 C00 A00"}));
  const std::vector<std::pair<std::uint32_t, std::string>> mine = {{kCfText, "mine"}};
  EXPECT_EQ(clipboard.Contents(), mine);
  desk.ExpectRestoredAndParted(KeyState{});

  // A target that never asks for the text ends the macro; the clipboard comes back.
  Desk deaf;
  testing::FakeClipboard kept;
  kept.Write(kCfText, "mine");
  deaf.ports.clipboard = &kept;
  EXPECT_EQ(SendKeys(deaf.ports, macro, kTarget), MacroEnd::kStopped);
  EXPECT_EQ(deaf.posts.size(), 2u);
  EXPECT_EQ(kept.Contents(), mine);
  // A clipboard held elsewhere: the run is typed.
  Desk typed;
  testing::FakeClipboard held;
  held.busyOpens = 1000000;
  typed.ports.clipboard = &held;
  EXPECT_EQ(SendKeys(typed.ports, macro, kTarget), MacroEnd::kTyped);
  EXPECT_EQ(typed.posts.size(), 104u);

  // An Enter next to a run is not held, and the run after it needs no catch-up of its
  // own (x, each Enter); one whose catch-up ran out makes the run wait the longer limit.
  for (const bool paints : {true, false}) {
    Desk quick;
    testing::FakeClipboard asked;
    quick.ports.clipboard = &asked;
    quick.windows.paintPolls = paints ? 0 : 1000000;
    int painted = 0;
    quick.windows.onPainted = [&](WindowHandle) { ++painted; };
    quick.windows.onPost = [&](WindowHandle, std::uint32_t m, std::uintptr_t wp, std::intptr_t) {
      if (m == 0x100 && wp == 0x56) asked.Read(kCfUnicodeText);
    };
    const std::uint64_t start = quick.system.now;
    quick.Run("x{ENTER}" + std::string(101, 'a') + "{ENTER}" + std::string(101, 'b'));
    const std::uint64_t spent = quick.system.now - start;
    EXPECT_EQ(painted, paints ? 3 : 0);
    EXPECT_TRUE(paints ? spent < 100 : spent >= 3 * 500 + 2 * 3000) << spent;
  }
}

TEST(SendKeys, TheKeyStateKeepsOtherKeysAndIsRestoredWithoutReleasedModifiers) {
  Desk desk;
  KeyState before{};
  before[0x10] = 0x80;  // Shift held by the user, still held at the end
  before[0x11] = 0x81;  // Ctrl and Alt of the hotkey, let go during the macro
  before[0x12] = 0x80;
  before[0xA2] = 0x80;
  desk.keyboard.held[0x10] = true;
  before[0x14] = 0x01;  // Caps Lock on
  before[0x41] = 0x80;
  desk.keyboard.state = before;
  KeyState atPost{};
  auto record = desk.windows.onPost;
  desk.windows.onPost = [&](WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
    record(w, m, wp, lp);
    atPost = desk.keyboard.state;
  };
  desk.Run("a");
  EXPECT_EQ(desk.posts, Posts{"edit CHAR 61 001E0001 S00 C00 A00"});
  KeyState expected = before;
  expected[0x10] = expected[0x11] = expected[0x12] = 0;
  EXPECT_EQ(atPost, expected);
  KeyState restored = before;
  restored[0x11] = 0x01;  // up, its toggle kept
  restored[0x12] = restored[0xA2] = 0;
  desk.ExpectRestoredAndParted(restored);
}

TEST(SendKeys, CatchesUpOnlyWhereAKeyCouldBeOvertaken) {
  // Each catch-up ends with the window painted. Characters posted one after another
  // keep their order; a key-down the target translates itself, and a change of the key
  // state, make the next key wait.
  const struct {
    const char* text;
    int catchUps;
  } cases[] = {
      {"abcdef", 1},      // the first key only
      {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 3},  // and one every 16 characters
      {"abCD", 2},        // and before Shift goes down
      {"aBc", 3},         // and before it goes up again
      {"a{DEL}bc", 2},    // after the key-down of a named key
      {"x{TAB}y", 2},     // after TAB's key-down
      {"a{@}fgh", 2},     // after the Alt key-downs
      {"{CTRL}{HOME 2}", 2},  // after a key-down with Ctrl
  };
  for (const auto& c : cases) {
    Desk desk;
    int painted = 0;
    desk.windows.onPainted = [&](WindowHandle) { ++painted; };
    desk.Run(c.text);
    EXPECT_EQ(painted, c.catchUps) << c.text;
  }
}

TEST(SendKeys, TheWindowInFrontStaysInFront) {
  {
    SCOPED_TRACE("our thread joins the target's input state, whose window is in front");
    Desk desk;
    desk.windows.foreground = kTarget;
    desk.Run("ab");
    EXPECT_EQ(desk.Count("AttachThreadInput 42 9 1"), 2);
    EXPECT_EQ(desk.Count("AttachThreadInput 9 42"), 0);
    EXPECT_EQ(desk.Count("SetForegroundWindow"), 0);
  }
  {
    SCOPED_TRACE("lost on the way all the same: handed back after parting");
    Desk desk;
    desk.windows.foreground = kTarget;
    desk.windows.onPost = [&](WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
      desk.windows.foreground = 0;
    };
    desk.Run("a");
    EXPECT_EQ(desk.log.calls.end()[-2], "AttachThreadInput 42 9 0");
    EXPECT_EQ(desk.log.calls.back(), "SetForegroundWindow 100");
  }
  {
    SCOPED_TRACE("a window the user brought to the front keeps it");
    Desk desk;
    desk.windows.foreground = kTarget;
    desk.windows.onPost = [&](WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
      desk.windows.foreground = kOther;
    };
    desk.Run("a");
    EXPECT_EQ(desk.Count("SetForegroundWindow"), 0);
  }
}

// ---------------------------------------------------------------------------------------
// What the target has taken when each message reaches it

TEST(SendKeys, AKeyUpWaitsForTheTargetToTakeItsKeyDown) {
  const struct {
    const char* text;
    std::vector<int> caughtUp;  // the target's catch-ups seen by each message
    bool held;                  // the key stays down kKeyHoldMs
  } cases[] = {
      {"a", {1}, false},  // the first key waits for what came before it
      {"{DEL}", {1, 2}, false},
      {"{TAB}", {0, 1}, true},         // Tab and Enter are held as well: they may move the focus
      {"{CTRL}{HOME}", {1, 1}, true},  // a key with Ctrl is held instead
      {"{@}F", {0, 0, 1, 1}, false},   // Alt and the key go down together, up together
  };
  for (const auto& c : cases) {
    Desk desk;
    int painted = 0;
    std::vector<int> caughtUp;
    std::vector<std::uint64_t> at;
    desk.windows.onPainted = [&](WindowHandle) { ++painted; };
    desk.windows.onPost = [&](WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
      caughtUp.push_back(painted);
      at.push_back(desk.system.now);
    };
    desk.Run(c.text);
    EXPECT_EQ(caughtUp, c.caughtUp) << c.text;
    ASSERT_FALSE(at.empty());
    EXPECT_EQ(at.back() - at.front() >= kKeyHoldMs, c.held) << c.text;
  }
}

TEST(SendKeys, TabAndEnterFollowTheFocus) {
  {
    SCOPED_TRACE("{tab 3}: each key-up to the window that has the focus after its key-down");
    Desk desk;
    const WindowHandle next[] = {kEdit2, kEdit3, kEdit};
    desk.windows.onPost = [&, record = desk.windows.onPost](WindowHandle w, std::uint32_t m,
                                                            std::uintptr_t wp, std::intptr_t lp) {
      record(w, m, wp, lp);
      if (m == 0x100) desk.windows.focus = next[w - kEdit];
    };
    desk.Run("{tab 3}");
    EXPECT_EQ(desk.posts,
              (Posts{"edit KEYDOWN 09 000F0001 S00 C00 A00", "edit2 KEYUP 09 C00F0001 S00 C00 A00",
                     "edit2 KEYDOWN 09 000F0001 S00 C00 A00",
                     "edit3 KEYUP 09 C00F0001 S00 C00 A00",
                     "edit3 KEYDOWN 09 000F0001 S00 C00 A00",
                     "edit KEYUP 09 C00F0001 S00 C00 A00"}));
  }
  {
    SCOPED_TRACE("{TAB 3} reads the same as {tab 3}");
    Desk lower, upper;
    lower.Run("{tab 3}");
    upper.Run("{TAB 3}");
    EXPECT_EQ(lower.posts.size(), 6u);
    EXPECT_EQ(lower.posts, upper.posts);
  }
  {
    SCOPED_TRACE("no focus after the key-down: the key-up goes where the key-down went");
    Desk desk;
    desk.windows.onPost = [&, record = desk.windows.onPost](WindowHandle w, std::uint32_t m,
                                                            std::uintptr_t wp, std::intptr_t lp) {
      record(w, m, wp, lp);
      if (m == 0x100) desk.windows.focus = 0;
    };
    desk.Run("{ENTER}");
    EXPECT_EQ(desk.posts, (Posts{"edit KEYDOWN 0D 001C0001 S00 C00 A00",
                                 "edit KEYUP 0D C01C0001 S00 C00 A00"}));
  }
  {
    SCOPED_TRACE("...and to the target when that window is gone too");
    Desk desk;
    desk.windows.onPost = [&, record = desk.windows.onPost](WindowHandle w, std::uint32_t m,
                                                            std::uintptr_t wp, std::intptr_t lp) {
      record(w, m, wp, lp);
      if (m == 0x100) {
        desk.windows.focus = 0;
        desk.windows.windows[kEdit].exists = false;
      }
    };
    desk.Run("{ENTER}");
    EXPECT_EQ(desk.posts, (Posts{"edit KEYDOWN 0D 001C0001 S00 C00 A00",
                                 "target KEYUP 0D C01C0001 S00 C00 A00"}));
  }
}

// ---------------------------------------------------------------------------------------
// The destination check before every token

TEST(SendKeys, DestinationCheck) {
  {
    SCOPED_TRACE("no target: nothing at all");
    Desk desk;
    desk.Run("abc", 0);
    EXPECT_TRUE(desk.log.calls.empty());
  }
  {
    SCOPED_TRACE("a target that disappears mid-macro ends it; the rest is dropped");
    Desk desk;
    desk.windows.onPost = [&, record = desk.windows.onPost](WindowHandle w, std::uint32_t m,
                                                            std::uintptr_t wp, std::intptr_t lp) {
      record(w, m, wp, lp);
      if (desk.posts.size() == 2) desk.windows.windows[kTarget].exists = false;
    };
    desk.Run("abcd");
    EXPECT_EQ(desk.posts, (Posts{"edit CHAR 61 001E0001 S00 C00 A00",
                                 "edit CHAR 62 00300001 S00 C00 A00"}));
    desk.ExpectRestoredAndParted(KeyState{});
  }
  {
    SCOPED_TRACE("...also between the repetitions of one key");
    Desk desk;
    desk.windows.onPost = [&, record = desk.windows.onPost](WindowHandle w, std::uint32_t m,
                                                            std::uintptr_t wp, std::intptr_t lp) {
      record(w, m, wp, lp);
      if (desk.posts.size() == 3) desk.windows.windows[kTarget].exists = false;
    };
    desk.Run("{x 1000000}");
    EXPECT_EQ(desk.posts.size(), 3u);
    desk.ExpectRestoredAndParted(KeyState{});
  }
  {
    SCOPED_TRACE("the target's pop-up gone: nothing sent");
    Desk desk;
    desk.windows.windows[kTarget].popup = kDialog;
    desk.windows.windows[kDialog].exists = false;
    desk.Run("a");
    EXPECT_TRUE(desk.posts.empty());
    desk.ExpectRestoredAndParted(KeyState{});
  }
  {
    SCOPED_TRACE("no focus: the target is activated and the focus it gives is used");
    Desk desk;
    desk.windows.focus = 0;
    desk.windows.onActivate = [&](WindowHandle w) {
      if (w == kTarget) desk.windows.focus = kEdit2;
    };
    desk.Run("a");
    EXPECT_EQ(desk.Count("SetActiveWindow 100"), 1);
    EXPECT_EQ(desk.posts, Posts{"edit2 CHAR 61 001E0001 S00 C00 A00"});
  }
  {
    SCOPED_TRACE("no focus even then: the pop-up (or target) itself");
    Desk desk;
    desk.windows.focus = 0;
    desk.windows.windows[kTarget].popup = kDialog;
    desk.Run("ab");
    EXPECT_EQ(desk.Count("SetActiveWindow 100"), 2);  // once per token
    EXPECT_EQ(desk.posts, (Posts{"dialog CHAR 61 001E0001 S00 C00 A00",
                                 "dialog CHAR 62 00300001 S00 C00 A00"}));
    // The focus seen stayed "none": no joining again.
    EXPECT_EQ(desk.Count("AttachThreadInput"), 2);
  }
  {
    SCOPED_TRACE("focus in another thread, won back by activating the target");
    Desk desk;
    desk.windows.focus = kOther;
    desk.windows.onActivate = [&](WindowHandle) { desk.windows.focus = kEdit; };
    desk.Run("a");
    EXPECT_EQ(desk.posts, Posts{"edit CHAR 61 001E0001 S00 C00 A00"});
  }
  {
    SCOPED_TRACE("focus in another thread that activating does not win back: macro ends");
    Desk desk;
    desk.windows.focus = kOther;
    desk.Run("abc");
    EXPECT_EQ(desk.Count("SetActiveWindow 100"), 1);
    EXPECT_TRUE(desk.posts.empty());
    desk.ExpectRestoredAndParted(KeyState{});
  }
  {
    SCOPED_TRACE("a new focus window parts and joins the input states again");
    Desk desk;
    desk.windows.onPost = [&, record = desk.windows.onPost](WindowHandle w, std::uint32_t m,
                                                            std::uintptr_t wp, std::intptr_t lp) {
      record(w, m, wp, lp);
      desk.windows.focus = kEdit2;
    };
    desk.Run("abc");
    // join; again for edit; again for edit2; part at the end (c keeps edit2)
    EXPECT_EQ(desk.Count("AttachThreadInput 42 9 1"), 3);
    EXPECT_EQ(desk.Count("AttachThreadInput 42 9 0"), 3);
    EXPECT_EQ(desk.posts, (Posts{"edit CHAR 61 001E0001 S00 C00 A00",
                                 "edit2 CHAR 62 00300001 S00 C00 A00",
                                 "edit2 CHAR 63 002E0001 S00 C00 A00"}));
  }
}

// ---------------------------------------------------------------------------------------
// Pauses, retries and failures

TEST(SendKeys, NothingDeliverableAndEscEndPromptly) {
  // A character an ANSI window's code page lacks, repeated 793 million times: nothing can
  // be typed, so the repeat costs nothing and the macro goes on.
  Desk desk;
  desk.windows.windows[kEdit].unicode = false;
  EXPECT_EQ(SendKeys(desk.ports, "{U+CCC 792959959}x", kTarget), MacroEnd::kTyped);
  EXPECT_EQ(desk.posts, Posts{"edit CHAR 78 002D0001 S00 C00 A00"});
  EXPECT_LT(desk.log.calls.size(), 100u);

  // Esc stops a posted macro too, and the target never sees it; other keys pass.
  Desk esc;
  testing::FakeInput input;
  esc.ports.input = &input;
  const auto record = esc.windows.onPost;
  esc.windows.onPost = [&](WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
    record(w, m, wp, lp);
    EXPECT_FALSE(input.User('Q', false));
    EXPECT_TRUE(input.User(vk::kEscape, false));
  };
  EXPECT_EQ(SendKeys(esc.ports, "{TAB 1000000}", kTarget), MacroEnd::kCancelled);
  EXPECT_EQ(esc.posts.size(), 2u);
  esc.ExpectRestoredAndParted(KeyState{});
}

TEST(SendKeys, PauseLengths) {
  struct {
    const char* text;
    std::vector<std::string> sleeps;
  } cases[] = {
      {"{pause 10}", {"1000"}},
      {"{PAUSE}", {"100"}},
      {"{PAUSE 0}", {"100"}},
      {"{WAIT 5}", {"500"}},
      {"{wait $A}", {"1000"}},
      {"{PAUSE -4}", {"100"}},  // below 1 counts as 1
      {"{PAUSE x}", {"100"}},
  };
  for (auto& c : cases) {
    Desk desk;
    desk.Run(c.text);
    EXPECT_EQ(desk.Sleeps(), c.sleeps) << c.text;
    EXPECT_TRUE(desk.posts.empty()) << c.text;
  }
  // The longest pause is slept in pieces, none of them Sleep's "forever".
  Desk desk;
  std::uint64_t start = desk.system.now;
  desk.Run("{PAUSE 2147483647}");
  EXPECT_EQ(desk.system.now - start, 214748364700ull);
  for (const std::string& s : desk.Sleeps()) EXPECT_LT(std::stoull(s), 0xFFFFFFFFull);
}

TEST(SendKeys, KeyStateRetries) {
  {
    SCOPED_TRACE("refused a few times: retried a millisecond apart, then sent");
    Desk desk;
    desk.keyboard.refuseSets = 3;
    desk.Run("a");
    EXPECT_EQ(desk.posts, Posts{"edit CHAR 61 001E0001 S00 C00 A00"});
    EXPECT_EQ(desk.keyboard.setCalls, 5);  // 3 refused, 1 accepted, 1 restore
    EXPECT_EQ(desk.Sleeps(), (std::vector<std::string>{"1", "1", "1", "1"}));
  }
  {
    SCOPED_TRACE("refused for good: the macro ends after about a second");
    Desk desk;
    desk.keyboard.refuseAllSets = true;
    desk.keyboard.logSets = false;
    std::uint64_t start = desk.system.now;
    desk.Run("ab{PAUSE 50}");
    EXPECT_TRUE(desk.posts.empty());
    std::uint64_t spent = desk.system.now - start;
    EXPECT_GE(spent, 1000u);
    EXPECT_LT(spent, 1100u);  // one wait for idle (1 ms) plus the retries; no pause
    EXPECT_EQ(desk.log.calls.back(), "AttachThreadInput 42 9 0");
    EXPECT_EQ(desk.keyboard.setCalls, 1002);  // 1001 tries in 1000 ms, then the restore
  }
}

TEST(SendKeys, AFailureInsideIsSwallowedAfterRestoringAndParting) {
  Desk desk;
  KeyState before{};
  before[0x10] = 0x80;
  desk.keyboard.held[0x10] = true;  // still held: written back down
  desk.keyboard.state = before;
  desk.windows.onPost = [&](WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
    throw std::runtime_error("post failed");
  };
  EXPECT_NO_THROW(desk.Run("abc"));
  EXPECT_EQ(desk.Count("PostMessage"), 1);
  desk.ExpectRestoredAndParted(before);
}

TEST(WaitForIdle, HandlesOurKeyInputAndWaitsForTheWindowsProcess) {
  {
    Desk desk;
    desk.keyboard.queueStatus = {0x10001, 1};  // key input waiting, twice
    desk.windows.windows[kOther].process = 55;
    WaitForIdle(desk.ports, kOther);
    EXPECT_TRUE(desk.keyboard.queueStatus.empty());
    EXPECT_EQ(desk.Count("WaitForInputIdle 55 5000"), 1);
  }
  {
    SCOPED_TRACE("a queue that never empties is left after five seconds");
    Desk desk;
    desk.keyboard.queueStatus.assign(100000, 1);
    desk.keyboard.onProcess = [&] { desk.system.now += 10; };
    const std::uint64_t start = desk.system.now;
    WaitForIdle(desk.ports, kEdit);
    EXPECT_GE(desk.system.now - start, kDrainLimitMs);
    EXPECT_LT(desk.system.now - start, kDrainLimitMs + 100);
  }
}

TEST(WaitForIdle, WaitsUntilTheWindowHasPaintedAfterWhatWasPostedToIt) {
  {
    SCOPED_TRACE("a busy window is waited for until it paints");
    Desk desk;
    desk.windows.paintPolls = 3;
    WaitForIdle(desk.ports, kEdit);
    EXPECT_EQ(desk.Count("Sleep 1"), 1 + 3);
    EXPECT_TRUE(desk.windows.unpainted.empty());
  }
  {
    SCOPED_TRACE("one that never paints is left after half a second");
    Desk desk;
    desk.windows.paintPolls = 1000000;
    WaitForIdle(desk.ports, kEdit);
    EXPECT_EQ(desk.Count("Sleep 1"), 1 + 500);
  }
  {
    SCOPED_TRACE("a hidden window, or one of our own thread, cannot paint while we wait");
    Desk desk;
    desk.windows.paintPolls = 1000000;
    desk.windows.windows[kEdit].visible = false;
    WaitForIdle(desk.ports, kEdit);
    desk.windows.windows[kOther].thread = 42;
    WaitForIdle(desk.ports, kOther);
    EXPECT_EQ(desk.Count("Sleep 1"), 2);
    EXPECT_TRUE(desk.windows.unpainted.empty());
  }
}

}  // namespace
}  // namespace ostrel
