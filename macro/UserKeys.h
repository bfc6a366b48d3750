// The user's own keys while a macro types. A low-level hook (InputPort::HoldKeyboard)
// hands every key event here; typed as keyboard input, a macro holds the user's keys
// back and sends them after itself, in their order, so they are not mixed into it. Esc
// stops the macro whichever way it types, and goes to no program. The modifiers the
// user still held from the hotkey are let go when the macro starts: the user's own
// release of one is then taken here (the key is already up), and so are their repeats.
// Thread-safe: the hook calls Take on its own thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/KeyInput.h"

namespace ostrel {

class UserKeys {
 public:
  // `holdAll`: every key is held back; otherwise only Esc is taken.
  explicit UserKeys(bool holdAll) : holdAll_(holdAll) {}

  // The hook's question for one key event: true takes it from the system.
  bool Take(const KeyInput& key, std::uintptr_t mark);

  // Before the macro starts: `vk` is down now. A key down since before the macro repeats
  // while held; the repeats are not the user typing, and are taken. A modifier the macro
  // lets go is `released`: the user's release of it is taken as well.
  void DownAtStart(std::uint8_t vk, bool released);
  // Whether the user still holds a modifier the macro let go: it has repeated since, and
  // not been released. The system's word that a key is down is not proof enough (a key
  // state can lag behind the keyboard), and a modifier pressed again that nobody holds
  // would stick.
  bool StillHeld(std::uint8_t vk) const;

  bool StopAsked() const;
  // How many keys marked as the macro's have passed the hook so far.
  std::size_t MacroKeysSeen() const;
  // The keys held back since the last call, in their order.
  std::vector<KeyInput> TakeHeld();

  // A bound on the keys held back: the user's keys beyond it go on as they come rather
  // than fill memory while a target keeps the macro waiting.
  static constexpr std::size_t kHeldLimit = 10000;

 private:
  enum Down : std::uint8_t { kUp, kAtStart, kReleasedAtStart, kReleasedRepeating, kEscTaken };
  mutable std::mutex lock_;
  const bool holdAll_;
  bool stop_ = false;
  std::size_t seen_ = 0;
  std::array<Down, 256> down_{};
  std::vector<KeyInput> held_;
};

}  // namespace ostrel
