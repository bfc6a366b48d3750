// Macros typed as posted keyboard messages: see PostedKeys below.
#include <algorithm>
#include <array>
#include <vector>

#include "macro/MacroDelivery.h"
#include "macro/MacroTimings.h"
#include "platform/Utf16.h"
#include "platform/VirtualKeys.h"

namespace ostrel {

namespace {

constexpr std::uint32_t kWmKeyDown = 0x100;
constexpr std::uint32_t kWmKeyUp = 0x101;
constexpr std::uint32_t kWmChar = 0x102;
constexpr std::uint32_t kWmSysKeyDown = 0x104;
constexpr std::uint32_t kWmSysKeyUp = 0x105;

constexpr std::uint8_t kDownAndToggled = 0x81;

// Shift, Ctrl, Alt (either side or both) and the Windows keys.
constexpr std::uint8_t kModifierKeys[] = {vk::kShift,  vk::kControl,  vk::kMenu,     vk::kLShift,
                                          vk::kRShift, vk::kLControl, vk::kRControl, vk::kLMenu,
                                          vk::kRMenu,  vk::kLWin,     vk::kRWin};

// Bits added to the base parameter (scan code << 16 | repeat count 1).
constexpr std::uint32_t kSysKeyDownBits = 0x20000001;  // context: Alt held
constexpr std::uint32_t kSysKeyUpBits = 0xE0000001;    // transition, previous state, context
constexpr std::uint32_t kAltKeyUpBits = 0xC0000001;    // transition, previous state
constexpr std::uint32_t kKeyUpBits = 0xC0000000;       // transition, previous state
// The parameter of a character that no key types: repeat count 1, no scan code.
constexpr std::uint32_t kNoKeyBase = 1;

// Characters need no catch-up to keep their order, but one every so many posted
// messages keeps the target's queue short: a program far behind takes keys no faster.
constexpr int kCatchUpEvery = 16;


// Keys posted as messages to the focus window of the target's thread, with the key state
// set on the input state we join to that thread's. The destructor restores the saved key
// state and parts the input states, whichever way the macro ends.
class PostedKeys : public MacroDelivery {
 public:
  PostedKeys(const MacroPorts& ports, WindowHandle target) : p_(ports), target_(target) {}

  // Joins the input states and reads the key state twice: SavedState, then WorkState.
  void Start() {
    ownThread_ = p_.system.CurrentThreadId();
    targetThread_ = p_.windows.GetWindowThread(target_);
    wasForeground_ = p_.windows.GetForegroundWindow() == target_;
    joined_ = true;
    Join(true);
    savedRead_ = p_.keyboard.GetKeyboardState(saved_);
    work_ = saved_;
    p_.keyboard.GetKeyboardState(work_);
    lead_ = SystemLeadBytes(p_.codePage);
  }

  ~PostedKeys() override {
    // A failure here must not escape: the program goes on either way.
    try {
      if (savedRead_) p_.keyboard.SetKeyboardState(Released(saved_));
    } catch (...) {
    }
    try {
      if (joined_) Join(false);
    } catch (...) {
    }
    try {
      HandBack();
    } catch (...) {
    }
  }

  PostedKeys(const PostedKeys&) = delete;
  PostedKeys& operator=(const PostedKeys&) = delete;

  void BeforeStep() override {
    if (!CheckDestination(dest_)) throw EndOfMacro{MacroEnd::kStopped};
  }

  // A Tab or Enter next to pasted text is waited on until the target has taken it, not
  // held for a fixed time: a reply of many paragraphs would spend most of its time
  // holding keys.
  void NextToPaste(bool near) override { holdKeys_ = !near; }

  bool Send(const MacroStep& step, std::int32_t repetition) override {
    // A long run of repetitions stops when the target goes away meanwhile.
    if (repetition > 0 && !p_.windows.IsWindow(target_)) throw EndOfMacro{MacroEnd::kStopped};
    return SendOnce(step.token, step.modifiers, dest_);
  }

  bool Paste(const MacroPaste& paste, ClipboardKeeper& keeper) override {
    return PasteRun(paste, keeper, dest_);
  }

 private:
  WindowHandle PopupOrTarget() {
    WindowHandle p = p_.windows.GetLastActivePopup(target_);
    return p ? p : target_;
  }

  // Our thread joins the target's input state, not the other way round: the state
  // that the joining thread leaves behind is dropped, and under Wine the target's is
  // the one that makes its window the foreground window. Joined the other way, the
  // target was no longer in front after a macro, and the next macro had no target.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  void Join(bool attach) { p_.windows.AttachThreadInput(ownThread_, targetThread_, attach); }

  void Rejoin() {
    Join(false);
    Join(true);
  }

  // The saved state was read while the hotkey's own modifiers may still have been held.
  // A modifier the user has let go by now is written back up, or it would stay down in
  // the target's key state and change the next key the user types.
  KeyState Released(KeyState state) {
    for (std::uint8_t key : kModifierKeys)
      if ((state[key] & 0x80) && p_.keyboard.GetAsyncKeyState(key) >= 0)
        state[key] = static_cast<std::uint8_t>(state[key] & 0x7F);
    return state;
  }

  // Should the window in front have lost the foreground on the way all the same, it gets
  // it back, so that the next macro still finds it; a window the user has brought to the
  // front meanwhile keeps it.
  void HandBack() {
    if (!wasForeground_ || p_.windows.GetForegroundWindow() != 0 || !p_.windows.IsWindow(target_))
      return;
    p_.windows.SetForegroundWindow(target_);
  }

  // WaitForIdle, with the catch-up only where a key posted before could still be
  // overtaken: one that the target translates into a character of its own (a key-down)
  // and every key before a change of the key state, which the target reads when it
  // takes the key. Characters posted one after another keep their order by themselves.
  void Idle(WindowHandle window, std::uint32_t limitMs = kCatchUpLimitMs) {
    SettleQueues(p_, window);
    if (!catchUpDue_ && postedSince_ < kCatchUpEvery) return;
    CaughtUp(CatchUp(p_, window, limitMs));
  }

  // Done waiting for the target to take what was posted so far; `proven` when it has.
  void CaughtUp(bool proven) {
    catchUpDue_ = false;
    postedSince_ = 0;
    keyUpsSince_ = 0;
    caughtUp_ = proven;
  }

  // Finds this token's destination window: the focus window of the target's thread.
  // False when the target is gone or the focus is in a thread that activating the
  // target does not win back.
  bool CheckDestination(WindowHandle& dest) {
    WindowHandle popup = PopupOrTarget();
    if (!p_.windows.IsWindow(popup)) return false;
    WindowHandle focus = p_.windows.GetFocus();
    if (focus == 0) {
      p_.windows.SetActiveWindow(target_);
      focus = p_.windows.GetFocus();
    }
    if (focus != lastFocus_) {
      Rejoin();
      lastFocus_ = focus;
    }
    if (focus == 0) focus = popup;
    if (p_.windows.GetWindowThread(focus) != targetThread_) {
      p_.windows.SetActiveWindow(target_);
      focus = p_.windows.GetFocus();
      if (focus == 0) focus = popup;
      if (p_.windows.GetWindowThread(focus) != targetThread_) return false;
    }
    dest = focus;
    return true;
  }

  std::uint32_t Base(std::uint8_t code) {
    return (p_.keyboard.MapVirtualKeyA(code, kMapVkToScanCode) << 16) + 1;
  }

  // A key the window refuses (one that runs with higher rights than ours does) ends the
  // macro there: nothing more is typed behind a hole. A window that has gone meanwhile
  // ends it as any early end does.
  void Post(WindowHandle dest, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam,
            bool wide = false) {
    ++postedSince_;
    if (msg == kWmKeyUp || msg == kWmSysKeyUp) ++keyUpsSince_;
    // The parameter is the 32-bit value of a keystroke message, not sign-extended.
    const auto lp = static_cast<std::intptr_t>(lParam);
    if (wide ? p_.windows.PostMessageW(dest, msg, wParam, lp)
             : p_.windows.PostMessageA(dest, msg, wParam, lp))
      return;
    const bool there = p_.windows.IsWindow(dest) && p_.windows.IsWindow(target_);
    throw EndOfMacro{there ? MacroEnd::kRefused : MacroEnd::kStopped};
  }

  // A character of the code page beyond ASCII. A Unicode window gets the character
  // itself: bytes posted to it would be read in the code page of the keyboard layout,
  // which need not be the ANSI one (a US keyboard on a Japanese or Russian system). An
  // ANSI window gets the bytes, a double-byte character as its lead and then its trail.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  bool PostBytes(const std::string& bytes, WindowHandle dest, std::uint32_t lParam) {
    if (!p_.windows.IsWindowUnicode(dest)) {
      for (char b : bytes) Post(dest, kWmChar, static_cast<std::uint8_t>(b), lParam);
      return true;
    }
    std::u16string units;
    if (!p_.codePage.MultiByteToWideChar(bytes, units) || units.empty()) return false;
    for (char16_t u : units) Post(dest, kWmChar, u, lParam, true);
    return true;
  }

  // A character that no key types: a double-byte one as above; a Unicode one as its
  // UTF-16 units to a Unicode window, and to an ANSI window as its code-page bytes, when
  // the code page has it. False when it has not: nothing was posted.
  bool PostCharacter(const MacroToken& token, WindowHandle dest) {
    if (token.kind == MacroTokenKind::kDoubleByte) {
      const char pair[] = {static_cast<char>(token.code), static_cast<char>(token.trail)};
      return PostBytes(std::string(pair, 2), dest, kNoKeyBase);
    }
    std::u16string units;
    AppendUtf16(units, token.unicode);
    if (p_.windows.IsWindowUnicode(dest)) {
      for (char16_t u : units) Post(dest, kWmChar, u, kNoKeyBase, true);
      return true;
    }
    std::string bytes;
    if (!p_.codePage.WideCharToMultiByte(units, bytes) || bytes.empty()) return false;
    for (char b : bytes) Post(dest, kWmChar, static_cast<std::uint8_t>(b), kNoKeyBase);
    return true;
  }

  // One press of the key; false when nothing could be posted for it.
  bool SendOnce(const MacroToken& token, const MacroModifiers& mods, WindowHandle& dest) {
    if (token.kind == MacroTokenKind::kDoubleByte || token.kind == MacroTokenKind::kUnicode)
      return TypeCharacter(token, mods, dest);
    std::uint8_t code = token.code;
    if (mods.alt) {
      std::uint32_t base = Base(code);
      Post(dest, kWmSysKeyDown, code, base | kSysKeyDownBits);
      catchUpDue_ = true;
      Idle(target_);
      Post(dest, kWmSysKeyUp, code, base | kSysKeyUpBits);
      return true;
    }
    if (mods.altNext) {
      std::uint32_t alt = Base(vk::kMenu);
      std::uint32_t base = Base(code);
      Post(dest, kWmSysKeyDown, vk::kMenu, alt | kSysKeyDownBits);
      Post(dest, kWmSysKeyDown, code, base | kSysKeyDownBits);
      catchUpDue_ = true;
      Idle(target_);
      Post(dest, kWmSysKeyUp, code, base | kSysKeyUpBits);
      Post(dest, kWmSysKeyUp, vk::kMenu, alt | kAltKeyUpBits);
      return true;
    }
    if (code == vk::kTab || code == vk::kReturn) {
      std::uint32_t base = Base(code);
      Post(dest, kWmKeyDown, code, base);
      catchUpDue_ = true;
      p_.keyboard.ProcessMessages();
      // The key may have moved the focus. When nothing has it now, the key-up goes to
      // the window that had the key-down, while it exists, else to the target.
      WindowHandle focus = p_.windows.GetFocus();
      if (focus == 0) focus = p_.windows.IsWindow(dest) ? dest : target_;
      dest = focus;
      if (holdKeys_) p_.system.Sleep(kKeyHoldMs);
      Idle(target_);
      Post(dest, kWmKeyUp, code, base | kKeyUpBits);
      return true;
    }

    SetModifiers(mods);
    if (token.kind == MacroTokenKind::kCharacter) {
      auto scan = static_cast<std::uint16_t>(p_.keyboard.VkKeyScanA(static_cast<char>(code)));
      code = static_cast<std::uint8_t>(scan & 0xFF);
      work_[vk::kShift] = (scan >> 8) == 1 || mods.shift ? kDownAndToggled : 0;
    }
    if (!stateSet_ || work_ != lastSet_) catchUpDue_ = true;
    Idle(dest);
    SetWorkState();
    std::uint32_t base = Base(code);
    if (mods.ctrl && code >= vk::kA && code <= vk::kZ) {
      Post(dest, kWmChar, code - 0x40u, base);
    } else if (mods.ctrl) {
      Post(dest, kWmKeyDown, code, base);
      catchUpDue_ = true;
      p_.system.Sleep(kKeyHoldMs);
      Post(dest, kWmKeyUp, code, base | kKeyUpBits);
    } else if (token.kind == MacroTokenKind::kNamedKey) {
      Post(dest, kWmKeyDown, code, base);
      catchUpDue_ = true;
      Idle(dest);
      Post(dest, kWmKeyUp, code, base | kKeyUpBits);
    } else if (token.code < 0x80) {
      Post(dest, kWmChar, token.code, base);
    } else {
      return PostBytes(std::string(1, static_cast<char>(token.code)), dest, base);
    }
    return true;
  }

  // The key state of an ordinary key, before its own Shift: Alt up, Ctrl and Shift as
  // their switches say.
  void SetModifiers(const MacroModifiers& mods) {
    work_[vk::kMenu] = 0;
    work_[vk::kControl] = mods.ctrl ? kDownAndToggled : 0;
    work_[vk::kShift] = mods.shift ? kDownAndToggled : 0;
  }

  // Pastes a run by Ctrl+V, pressed as the macro's keys are (Ctrl in the key state, the
  // key posted to the focus), and held down until the target has asked for the text:
  // then it has acted on the key. False when the clipboard could not be had. A target
  // that does not paste ends the macro: what follows would land behind a hole.
  bool PasteRun(const MacroPaste& run, ClipboardKeeper& keeper, WindowHandle dest) {
    SetModifiers({});
    work_[vk::kControl] = kDownAndToggled;
    // Ctrl goes down, and the clipboard changes, only once the target has taken the keys
    // that came before. Key-ups posted since the last catch-up are of keys it had already
    // taken (an Enter between two runs): neither Ctrl nor the text reaches them. An Enter
    // taken after the Ctrl+V was posted would come in behind the pasted text, so a busy
    // target is given longer here than between typed keys.
    if (!caughtUp_ || postedSince_ > keyUpsSince_) catchUpDue_ = true;
    Idle(dest, kPasteCatchUpLimitMs);
    if (!keeper.Place(run.text)) return false;
    SetWorkState();
    const std::uint32_t base = Base(vk::kV);
    Post(dest, kWmKeyDown, vk::kV, base);
    const bool taken = keeper.WaitTaken();
    // Asking for the text, the target has taken the Ctrl+V and all before it: as good
    // as a catch-up.
    if (taken) CaughtUp(true);
    Post(dest, kWmKeyUp, vk::kV, base | kKeyUpBits);
    if (!taken) throw EndOfMacro{MacroEnd::kStopped};
    // Ctrl goes up again: a Tab or Enter next takes the key state as it finds it.
    SetModifiers({});
    SetWorkState();
    return true;
  }

  // A character that no key types goes as itself whatever Alt, {@} or Ctrl say (there
  // is no key to press with them); Ctrl and Shift are in the key state as for any key.
  bool TypeCharacter(const MacroToken& token, const MacroModifiers& mods, WindowHandle dest) {
    SetModifiers(mods);
    if (!stateSet_ || work_ != lastSet_) catchUpDue_ = true;
    Idle(dest);
    SetWorkState();
    return PostCharacter(token, dest);
  }

  // SetKeyboardState until it succeeds, a millisecond apart, for about a second at most;
  // refused for longer, the macro ends.
  void SetWorkState() {
    std::uint64_t start = p_.system.TickCount();
    while (!p_.keyboard.SetKeyboardState(work_)) {
      if (p_.system.TickCount() - start >= kSetStateRetryMs) throw EndOfMacro{MacroEnd::kStopped};
      p_.system.Sleep(kYieldMs);
    }
    lastSet_ = work_;
    stateSet_ = true;
  }

  const MacroPorts& p_;
  WindowHandle target_;
  std::uint32_t ownThread_ = 0;
  std::uint32_t targetThread_ = 0;
  bool joined_ = false;
  bool savedRead_ = false;
  KeyState saved_{};
  KeyState work_{};
  KeyState lastSet_{};     // the work state last made the current one
  LeadBytes lead_;
  bool stateSet_ = false;
  // The first key waits for the target to take what came before it, too.
  bool catchUpDue_ = true;
  int postedSince_ = 0;  // messages posted since the last catch-up
  int keyUpsSince_ = 0;  // of them, key-ups
  bool caughtUp_ = false;  // the last catch-up saw the target take what was posted
  // Tab and Enter are held down kKeyHoldMs, but not next to pasted text.
  bool holdKeys_ = true;
  bool wasForeground_ = false;
  WindowHandle lastFocus_ = 0;
  WindowHandle dest_ = 0;  // the focus window found before this step
};

}  // namespace

std::unique_ptr<MacroDelivery> PostedDelivery(const MacroPorts& ports, WindowHandle target) {
  auto delivery = std::make_unique<PostedKeys>(ports, target);
  delivery->Start();
  return delivery;
}

}  // namespace ostrel
