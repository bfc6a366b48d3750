// Macros typed as keyboard input: see InputKeys below.
#include <algorithm>
#include <array>
#include <vector>

#include "macro/MacroDelivery.h"
#include "macro/MacroTimings.h"
#include "platform/Utf16.h"
#include "platform/VirtualKeys.h"

namespace ostrel {

namespace {

// The modifier keys as the keyboard has them, each side apart.
constexpr std::uint8_t kSideModifiers[] = {vk::kLShift,   vk::kRShift, vk::kLControl, vk::kRControl,
                                           vk::kLMenu,    vk::kRMenu,  vk::kLWin,     vk::kRWin};

bool OpensMenuAlone(std::uint8_t key) {
  return key == vk::kLMenu || key == vk::kRMenu || key == vk::kLWin || key == vk::kRWin;
}

// Which of Shift, Ctrl and Alt a key goes with.
struct Held {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool operator==(const Held&) const = default;
};

// The shift state of VkKeyScan: 1 Shift, 2 Ctrl, 4 Alt; higher bits are keys (Hankaku and
// the like) we do not press.
constexpr int kScanShift = 1, kScanCtrl = 2, kScanAlt = 4;

// Keys sent with SendInput as a keyboard sends them: a character by the key that types it
// in the target's keyboard layout, with Shift or AltGr as the layout needs, or else as the
// character itself; key words by their keys. The macro's modifier words press the real
// modifiers. The user's modifiers from the hotkey are let go first and pressed again at
// the end if still held, and the user's own keys typed meanwhile are held back by the
// watch (macro/UserKeys.h) and sent after the macro, in their order. Keys go in batches;
// before each the program in front must still be the macro's, and after each the
// target's pace is kept.
class InputKeys : public MacroDelivery {
 public:
  InputKeys(const MacroPorts& ports, WindowHandle target, UserKeys& keys, bool watching)
      : p_(ports), in_(*ports.input), target_(target), keys_(keys), watching_(watching) {}

  void Start() {
    thread_ = p_.windows.GetWindowThread(target_);
    process_ = p_.windows.GetWindowProcess(target_);
    // Keys still down from the hotkey. Their repeats are not the user typing; the
    // modifiers go up, or "a" would arrive as Ctrl+Alt+A.
    for (unsigned code = vk::kBack; code < 0xFF; ++code) {
      const auto key = static_cast<std::uint8_t>(code);
      if (key >= vk::kShift && key <= vk::kMenu) continue;  // either side: asked apart
      if (!in_.KeyDown(key)) continue;
      const bool modifier = std::find(std::begin(kSideModifiers), std::end(kSideModifiers), key) !=
                            std::end(kSideModifiers);
      keys_.DownAtStart(key, modifier);
      if (modifier) released_.push_back(key);
    }
    if (released_.empty()) return;
    // A lone Alt or Windows key let go opens the menu bar or the Start menu: a key that
    // no program acts on goes between.
    if (std::any_of(released_.begin(), released_.end(), OpensMenuAlone)) Mask();
    for (std::uint8_t key : released_) Event(key, true);
    Send(kMacroMark);
  }

  ~InputKeys() override {
    // Whichever way the macro ended: the macro's modifiers up, the user's back down, and
    // the user's keys held back meanwhile after them.
    try {
      batch_.clear();
      down_ = sentDown_;
      Sync({});
      std::vector<std::uint8_t> again;
      if (watching_)
        for (std::uint8_t key : released_)
          if (keys_.StillHeld(key)) again.push_back(key);
      for (std::uint8_t key : again) Event(key, false);
      if (std::any_of(again.begin(), again.end(), OpensMenuAlone)) Mask();
      Send(kMacroMark);
      const std::vector<KeyInput> held = keys_.TakeHeld();
      if (!held.empty()) in_.SendInput(held, kHeldKeysMark);
    } catch (...) {
    }
  }

  InputKeys(const InputKeys&) = delete;
  InputKeys& operator=(const InputKeys&) = delete;

  void BeforeStep() override {}

  bool Send(const MacroStep& step, std::int32_t) override {
    const MacroModifiers& m = step.modifiers;
    const Held combination{m.shift, m.ctrl, m.alt || m.altNext};
    if (step.kind == MacroStepKind::kKey) {
      afterReturn_ = false;
      Press(step.token.code, combination);
    } else {
      std::u16string units = Units(step.token);
      if (units.empty()) return false;
      // A line break of two characters is one Enter.
      const bool afterReturn = std::exchange(afterReturn_, units == u"\r");
      if (units == u"\n" && afterReturn) return true;
      TypeCharacter(units, combination, m.ctrl || m.alt || m.altNext);
    }
    if (++pressesInBatch_ >= kInputBatchKeys) Flush();
    return true;
  }

  bool Paste(const MacroPaste& paste, ClipboardKeeper& keeper) override {
    Sync({});
    if (!keeper.Place(paste.text)) return false;
    // Ctrl+V goes with the keys before it: they are taken in their order, and the text
    // is asked for only when the target gets to the V.
    Event(vk::kLControl, false);
    Event(vk::kV, false);
    Event(vk::kV, true);
    Event(vk::kLControl, true);
    SendChecked();
    // Asking for the text, the target has taken the Ctrl+V and all before it.
    if (!keeper.WaitTaken()) throw EndOfMacro{MacroEnd::kStopped};
    return true;
  }

  void Flush() override {
    if (batch_.empty()) return;
    SendChecked();
    Pace();
  }

 private:
  // The character of a token as UTF-16; empty when the code page cannot convert it.
  std::u16string Units(const MacroToken& token) {
    std::u16string units;
    if (token.kind == MacroTokenKind::kUnicode) {
      AppendUtf16(units, token.unicode);
    } else if (token.kind == MacroTokenKind::kDoubleByte) {
      const char pair[] = {static_cast<char>(token.code), static_cast<char>(token.trail)};
      p_.codePage.MultiByteToWideChar(std::string(pair, 2), units);
    } else if (token.code < 0x80) {
      units.push_back(token.code);
    } else {
      p_.codePage.MultiByteToWideChar(std::string(1, static_cast<char>(token.code)), units);
    }
    return units;
  }

  // A character: a Tab or a line break is its key; a character the layout has goes by
  // its key; any other as itself. With Ctrl or Alt in force it is a key combination: its
  // key with the macro's modifiers.
  void TypeCharacter(const std::u16string& units, const Held& combination, bool isCombination) {
    if (units.size() == 1) {
      const char16_t u = units[0];
      if (u == u'\t' || u == u'\r' || u == u'\n') {
        Press(u == u'\t' ? vk::kTab : vk::kReturn, combination);
        return;
      }
      const std::int16_t scan = in_.CharacterKey(u, thread_);
      const auto key = static_cast<std::uint8_t>(scan & 0xFF);
      const int shift = (scan >> 8) & 0xFF;
      if (scan != -1 && key != 0 && key != 0xFF && (shift & ~7) == 0) {
        const bool altGr = (shift & (kScanCtrl | kScanAlt)) == (kScanCtrl | kScanAlt);
        if (isCombination) {
          Press(key, {combination.shift || (shift & kScanShift) != 0, combination.ctrl,
                      combination.alt});
          return;
        }
        // Ctrl or Alt alone is not how a layout types a character.
        if ((shift & (kScanCtrl | kScanAlt)) == 0 || altGr) {
          Press(key, {(shift & kScanShift) != 0, altGr, altGr});
          return;
        }
      }
    }
    Sync({});
    for (char16_t u : units) {
      batch_.push_back({0, u, kKeyEventUnicode});
      batch_.push_back({0, u, kKeyEventUnicode | kKeyEventUp});
    }
  }

  void Press(std::uint8_t key, const Held& with) {
    Sync(with);
    Event(key, false);
    Event(key, true);
  }

  // The macro's Shift, Ctrl and Alt (the left ones) down or up as the next key needs.
  void Sync(const Held& want) {
    if (down_.shift && !want.shift) Event(vk::kLShift, true);
    if (down_.ctrl && !want.ctrl) Event(vk::kLControl, true);
    if (down_.alt && !want.alt) Event(vk::kLMenu, true);
    if (!down_.ctrl && want.ctrl) Event(vk::kLControl, false);
    if (!down_.alt && want.alt) Event(vk::kLMenu, false);
    if (!down_.shift && want.shift) Event(vk::kLShift, false);
    down_ = want;
  }

  void Mask() {
    batch_.push_back({vk::kUnassigned, 0, 0});
    batch_.push_back({vk::kUnassigned, 0, kKeyEventUp});
  }

  void Event(std::uint8_t key, bool up) {
    if (!scanKnown_[key]) {
      scans_[key] = in_.ScanCode(key, thread_);
      scanKnown_[key] = true;
    }
    batch_.push_back({key, scans_[key],
                      (vk::IsExtended(key) ? kKeyEventExtended : 0) | (up ? kKeyEventUp : 0)});
  }

  // The batch goes to the system as it is; false when the system took fewer keys.
  bool Send(std::uintptr_t mark) {
    if (batch_.empty()) return true;
    const std::size_t taken = in_.SendInput(batch_, mark);
    sent_ += taken;
    const bool all = taken == batch_.size();
    if (all) sentDown_ = down_;
    batch_.clear();
    pressesInBatch_ = 0;
    return all;
  }

  // The batch goes only to the macro's program. A window of higher rights refuses
  // injected keys: told as a refused target.
  void SendChecked() {
    CheckForeground();
    if (!Send(kMacroMark)) throw EndOfMacro{MacroEnd::kRefused};
  }

  // The program in front must still be the macro's: its process (a dialog the macro
  // opened there counts). Keys never go to a program the user switched to.
  void CheckForeground() {
    WindowHandle front = p_.windows.GetForegroundWindow();
    const std::uint64_t start = p_.system.TickCount();
    while (front == 0 && p_.system.TickCount() - start < kNoForegroundLimitMs) {
      p_.system.Sleep(kYieldMs);
      front = p_.windows.GetForegroundWindow();
    }
    if (front != 0 && p_.windows.GetWindowProcess(front) == process_) {
      front_ = front;
      return;
    }
    throw EndOfMacro{p_.windows.IsWindow(target_) ? MacroEnd::kSwitched : MacroEnd::kStopped};
  }

  // The target's pace: the system hands the keys on (the watch sees ours pass), and the
  // window in front takes them before the next batch, so its queue never overflows.
  void Pace() {
    if (watching_) {
      const std::uint64_t start = p_.system.TickCount();
      while (keys_.MacroKeysSeen() < sent_ &&
             p_.system.TickCount() - start < kInputPassLimitMs)
        p_.system.Sleep(kYieldMs);
    }
    p_.keyboard.ProcessMessages();
    CatchUp(p_, front_ ? front_ : target_, kCatchUpLimitMs);
  }

  const MacroPorts& p_;
  InputPort& in_;
  WindowHandle target_;
  UserKeys& keys_;
  bool watching_;
  std::uint32_t thread_ = 0;
  std::uint32_t process_ = 0;
  WindowHandle front_ = 0;  // the window in front at the last check
  std::vector<std::uint8_t> released_;  // the user's modifiers let go at the start
  std::vector<KeyInput> batch_;
  int pressesInBatch_ = 0;
  std::size_t sent_ = 0;  // keys the system took so far
  Held down_;             // the macro's modifiers down once the batch has gone
  Held sentDown_;         // and as the system has them
  bool afterReturn_ = false;
  std::array<std::uint16_t, 256> scans_{};
  std::array<bool, 256> scanKnown_{};
};

}  // namespace

std::unique_ptr<MacroDelivery> InputDelivery(const MacroPorts& ports, WindowHandle target,
                                             UserKeys& keys, bool watching) {
  auto delivery = std::make_unique<InputKeys>(ports, target, keys, watching);
  delivery->Start();
  return delivery;
}

}  // namespace ostrel
