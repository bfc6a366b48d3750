// The user32 calls behind InputPort: SendInput, the target's keyboard layout, and the
// program's one low-level keyboard hook, on a thread of its own while a macro types or
// typing is watched, so the system never waits on a busy user-interface thread to hand a
// key on.
#pragma once

#include "platform/InputPort.h"

namespace ostrel {

// SendInput of `keys`, each with `mark` as its dwExtraInfo: how many the system took. The
// one place Ostrel's keys become INPUT records (the macros' and the hotkey replay's).
std::size_t SendKeyInputs(const std::vector<KeyInput>& keys, std::uintptr_t mark);

class Win32Input : public InputPort {
 public:
  std::size_t SendInput(const std::vector<KeyInput>& keys, std::uintptr_t mark) override;
  std::int16_t CharacterKey(char16_t ch, std::uint32_t thread) override;
  std::uint16_t ScanCode(std::uint8_t vk, std::uint32_t thread) override;
  bool KeyDown(std::uint8_t vk) override;
  std::unique_ptr<Hold> HoldKeyboard(KeyFilter filter) override;
  void WatchTyping(std::shared_ptr<TypingWatch> watch) override;
};

}  // namespace ostrel
