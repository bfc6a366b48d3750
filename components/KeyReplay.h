// The keystrokes that hand a hotkey's press on to the program in front, as if no hotkey
// held the combination: the combination's modifiers that are not down any more are
// pressed (those still held stay as they are, neither pressed twice nor let go), the key
// goes down and up, and the modifiers pressed here go up again in reverse order, so the
// keyboard is left as the user holds it. Keys whose scan code is an extended one (the
// navigation block, the Windows and menu keys, the media and browser keys...) carry that
// mark, so the program in front does not take an arrow for a key of the number pad.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace ostrel {

struct ReplayKey {
  std::uint8_t vk;
  bool up;
  bool extended;
};

// Whether the virtual key's scan code is an extended (0xE0) one.
bool IsExtendedKey(unsigned vk);

// modFlags: MOD_* flags of the combination; held(vk) tells whether a modifier key is down
// now (asked of VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN and VK_RWIN).
std::vector<ReplayKey> ReplayKeys(unsigned modFlags, unsigned vk,
                                  const std::function<bool(unsigned vk)>& held);

}  // namespace ostrel
