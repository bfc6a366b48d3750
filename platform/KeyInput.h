// One key event as SendInput takes it and a low-level keyboard hook sees it, and the marks
// Ostrel puts on the keys it sends, so that its own hooks know them from the user's.
#pragma once

#include <cstdint>

namespace ostrel {

// KEYBDINPUT's dwFlags (KEYEVENTF_*), also the meaning of KeyInput::flags.
inline constexpr std::uint32_t kKeyEventExtended = 0x1;
inline constexpr std::uint32_t kKeyEventUp = 0x2;
inline constexpr std::uint32_t kKeyEventUnicode = 0x4;

// KEYBDINPUT's wVk, wScan and dwFlags. A Unicode event has vk 0 and the UTF-16 unit as
// its scan.
struct KeyInput {
  std::uint16_t vk = 0;
  std::uint16_t scan = 0;
  std::uint32_t flags = 0;
  bool operator==(const KeyInput&) const = default;
  bool Up() const { return (flags & kKeyEventUp) != 0; }
};

// The dwExtraInfo of the keys Ostrel sends: a hotkey's press handed on, a macro's keys,
// and the user's own keys held back during a macro and sent after it.
inline constexpr std::uintptr_t kReplayMark = 0x4F73524C;
inline constexpr std::uintptr_t kMacroMark = 0x4F73524D;
inline constexpr std::uintptr_t kHeldKeysMark = 0x4F735248;
inline constexpr bool IsOstrelMark(std::uintptr_t mark) {
  return mark == kReplayMark || mark == kMacroMark || mark == kHeldKeysMark;
}

}  // namespace ostrel
