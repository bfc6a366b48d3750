// The hotkey registry: every definition with a key becomes one system-wide hotkey. Ids
// are positions in the hotkey component's list, given out afresh by every rebuild in
// KeysList order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/KeyTree.h"
#include "app/MainView.h"
#include "catalogue/KeysList.h"
#include "components/SysHot.h"

namespace ostrel {

// The window system's modifier set of a definition's modifier index (0..8), or none
// for an index outside the table.
std::optional<THotKeyModifiers> KeyModToModifiers(std::int32_t keyMod);

// The text of the box that tells the hotkeys a rebuild could not register: the first line,
// then one line per refused definition (group, name and key), at most kRefusedLinesShown.
// "aready" is the program's own spelling, kept on purpose: users and scripts know it.
inline constexpr const char* kHotKeyInUseText = "HotKey aready in use.";
inline constexpr std::size_t kRefusedLinesShown = 20;
std::string RefusedHotKeysText(const std::vector<PKeyRec>& refused);

class HotKeyRegistry {
 public:
  // `keys` is read at every rebuild (none once the program has ended); `menu` is the
  // OstrelMenu whose switch item follows hotkeys off and on; `pressed` gets the
  // definition of each hotkey pressed.
  HotKeyRegistry(MainView& view, HotKeyPort& port, const std::unique_ptr<KeysList>& keys,
                 std::vector<MenuItem>& menu, std::function<void(PKeyRec)> pressed);
  HotKeyRegistry(const HotKeyRegistry&) = delete;
  HotKeyRegistry& operator=(const HotKeyRegistry&) = delete;

  void BuildHotKeyList();
  void HotKeyEvent(std::int32_t index);
  void SetHotKeysOn(bool on);
  // The teardown: every hotkey unregistered, the lists emptied.
  void Clear();

  TSysHotKey& SysHotKey1() { return sysHotKey1_; }
  const std::vector<std::string>& HotKeyList() const { return hotKeyList_; }

 private:
  MainView& view_;
  const std::unique_ptr<KeysList>& keys_;
  std::vector<MenuItem>& menu_;
  std::function<void(PKeyRec)> pressed_;
  TSysHotKey sysHotKey1_;
  // Parallel to the hotkey component's entries: entry n is the definition of id n.
  std::vector<std::string> hotKeyList_;
  std::vector<PKeyRec> hotKeyDefs_;
  // Set while the box of refused hotkeys is up.
  bool hotKeyBoxOpen_ = false;
};

}  // namespace ostrel
