#include "components/KeyReplay.h"

#include "components/SysHotKey.h"
#include "platform/VirtualKeys.h"

namespace ostrel {

bool IsExtendedKey(unsigned key) { return vk::IsExtended(key); }

std::vector<ReplayKey> ReplayKeys(unsigned modFlags, unsigned key,
                                  const std::function<bool(unsigned)>& held) {
  struct Modifier {
    unsigned flag;
    unsigned code;
    bool down;
  };
  // The Windows key counts as held when either one is; when it is pressed here, the left
  // one is, and the key in between keeps its release from opening the Start menu.
  const Modifier modifiers[] = {
      {kModControl, vk::kControl, held(vk::kControl)},
      {kModAlt, vk::kMenu, held(vk::kMenu)},
      {kModShift, vk::kShift, held(vk::kShift)},
      {kModWin, vk::kLWin, held(vk::kLWin) || held(vk::kRWin)},
  };
  std::vector<ReplayKey> keys;
  std::vector<std::uint8_t> pressed;
  for (const auto& m : modifiers) {
    if (!(modFlags & m.flag) || m.down) continue;
    keys.push_back({static_cast<std::uint8_t>(m.code), false, IsExtendedKey(m.code)});
    pressed.push_back(static_cast<std::uint8_t>(m.code));
  }
  const auto code = static_cast<std::uint8_t>(key);
  keys.push_back({code, false, IsExtendedKey(code)});
  keys.push_back({code, true, IsExtendedKey(code)});
  for (auto it = pressed.rbegin(); it != pressed.rend(); ++it)
    keys.push_back({*it, true, IsExtendedKey(*it)});
  return keys;
}

}  // namespace ostrel
