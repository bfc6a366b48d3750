#include "components/KeyReplay.h"

#include "components/SysHot.h"

namespace ostrel {

namespace {

constexpr unsigned kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
constexpr unsigned kVkLWin = 0x5B, kVkRWin = 0x5C;

}  // namespace

bool IsExtendedKey(unsigned vk) {
  switch (vk) {
    case 0x03:  // Cancel (Ctrl+Break)
    case 0x2C:  // Print Screen
    case 0x2D:  // Insert
    case 0x2E:  // Delete
    case 0x5B:  // Windows keys and the menu key
    case 0x5C:
    case 0x5D:
    case 0x5F:  // Sleep
    case 0x6F:  // the number pad's divide
    case 0x90:  // Num Lock
    case 0xA3:  // right Ctrl and right Alt
    case 0xA5:
      return true;
    default:
      // Page Up to Down arrow; the browser, volume, media and launch keys.
      return (vk >= 0x21 && vk <= 0x28) || (vk >= 0xA6 && vk <= 0xB7);
  }
}

std::vector<ReplayKey> ReplayKeys(unsigned modFlags, unsigned vk,
                                  const std::function<bool(unsigned)>& held) {
  struct Modifier {
    unsigned flag;
    unsigned vk;
    bool down;
  };
  // The Windows key counts as held when either one is; when it is pressed here, the left
  // one is, and the key in between keeps its release from opening the Start menu.
  const Modifier modifiers[] = {
      {kModControl, kVkControl, held(kVkControl)},
      {kModAlt, kVkMenu, held(kVkMenu)},
      {kModShift, kVkShift, held(kVkShift)},
      {kModWin, kVkLWin, held(kVkLWin) || held(kVkRWin)},
  };
  std::vector<ReplayKey> keys;
  std::vector<std::uint8_t> pressed;
  for (const auto& m : modifiers) {
    if (!(modFlags & m.flag) || m.down) continue;
    keys.push_back({static_cast<std::uint8_t>(m.vk), false, IsExtendedKey(m.vk)});
    pressed.push_back(static_cast<std::uint8_t>(m.vk));
  }
  const auto key = static_cast<std::uint8_t>(vk);
  keys.push_back({key, false, IsExtendedKey(key)});
  keys.push_back({key, true, IsExtendedKey(key)});
  for (auto it = pressed.rbegin(); it != pressed.rend(); ++it)
    keys.push_back({*it, true, IsExtendedKey(*it)});
  return keys;
}

}  // namespace ostrel
