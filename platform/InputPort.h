// What typing a macro as keyboard input needs of the system: SendInput, the keyboard
// layout of the target's thread, the keys held down now, and the program's one low-level
// keyboard hook, which sees the user's keys while a macro types and reads their typing for
// the abbreviations. Operations mirror user32 calls and take
// the same values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/KeyInput.h"

namespace ostrel {

class InputPort {
 public:
  // A low-level keyboard hook in place for as long as the object lives.
  class Hold {
   public:
    virtual ~Hold() = default;
    // Whether the hook is in: without it no key is seen.
    virtual bool Active() const = 0;
  };
  // Every key event the system handles, with its dwExtraInfo; true keeps it from going on.
  using KeyFilter = std::function<bool(const KeyInput& key, std::uintptr_t mark)>;
  // The user's typing as the keyboard hook reads it, for the abbreviations: characters
  // made with the layout of the window in front (Ostrel's own keys, those in a password
  // box, an input method's and those in Ostrel's windows are passed by). Called on the
  // hook's thread; each call must return at once.
  class TypingWatch {
   public:
    virtual ~TypingWatch() = default;
    // A character typed: true keeps its key from going on.
    virtual bool Typed(char16_t c) = 0;
    // Backspace.
    virtual void Erased() = 0;
    // What was typed no longer leads up to the caret: a click, another window in front,
    // Esc, an arrow, Home, End, PgUp, PgDn, a shortcut with Ctrl, Alt or Win.
    virtual void Reset() = 0;
  };

  virtual ~InputPort() = default;
  // SendInput of `keys`, each with `mark` as its dwExtraInfo; how many the system took.
  virtual std::size_t SendInput(const std::vector<KeyInput>& keys, std::uintptr_t mark) = 0;
  // VkKeyScanExW in the keyboard layout of `thread`: shift state (1 Shift, 2 Ctrl, 4 Alt)
  // in the high byte, virtual key in the low byte, or -1.
  virtual std::int16_t CharacterKey(char16_t ch, std::uint32_t thread) = 0;
  // MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC) in the keyboard layout of `thread`.
  virtual std::uint16_t ScanCode(std::uint8_t vk, std::uint32_t thread) = 0;
  // GetAsyncKeyState: whether the key is down now.
  virtual bool KeyDown(std::uint8_t vk) = 0;
  // Sets a WH_KEYBOARD_LL hook on a thread of its own, which calls `filter` (on that
  // thread) for every key event until the returned object goes.
  // While a hold lives its filter sees every key and the watch none.
  virtual std::unique_ptr<Hold> HoldKeyboard(KeyFilter filter) = 0;
  // The one keyboard hook of the program also watches typing, with a low-level mouse hook
  // beside it whose clicks reset the watch, as long as `watch` is set; none: neither hook
  // stays for it.
  virtual void WatchTyping(std::shared_ptr<TypingWatch> watch) = 0;
};

}  // namespace ostrel
