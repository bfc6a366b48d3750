// The hotkey registry: every combination that some definition holds and has not switched
// off becomes one system-wide hotkey, shared by every definition on it. Ids are positions
// in the hotkey component's list, given out afresh by every rebuild in KeysList order.
// At a press the program in front chooses among the definitions sharing the hotkey; when
// none is for that program, the key goes on to it as if Ostrel held nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/KeyTree.h"
#include "app/MainView.h"
#include "catalogue/KeysList.h"
#include "components/SysHotKey.h"
#include "platform/ProgramPort.h"

namespace ostrel {

// The window system's modifier set of a definition's modifier index (0..15), or none
// for an index outside the table.
std::optional<THotKeyModifiers> KeyModToModifiers(std::int32_t keyMod);

// The text of the box that tells the hotkeys a rebuild could not register: the first line,
// then one line per refused definition (group, name and key), at most kRefusedLinesShown.
// "aready" is the program's own spelling, kept on purpose: users and scripts know it.
inline constexpr const char* kHotKeyInUseText = "HotKey aready in use.";
inline constexpr std::size_t kRefusedLinesShown = 20;
std::string RefusedHotKeysText(const std::vector<PKeyRec>& refused);
// The lines naming definitions in a box: "\nGroup: Name (Ctrl+Alt+W)" each, at most
// kRefusedLinesShown, then "\n... and N more.". The refused hotkeys' box and the import's
// box share them.
std::string DefinitionLines(const std::vector<const TKeyRec*>& defs);

// Switches off the hotkey of every definition on a plain or Shift-only left or right click
// (only a file written by hand or by another tool holds one) and returns them, for the box
// that names them once: such a click is never taken from the user.
std::vector<PKeyRec> SwitchOffUsersClicks(KeysList& keys);
std::string UsersClicksText(const std::vector<PKeyRec>& off);

class HotKeyRegistry {
 public:
  // `keys` is read at every rebuild (none once the program has ended); `menu` is the
  // OstrelMenu whose switch item follows hotkeys off and on; `pressed` gets the
  // definition of each hotkey pressed; `programs` tells which program is in front.
  HotKeyRegistry(MainView& view, HotKeyPort& port, ProgramPort& programs,
                 const std::unique_ptr<KeysList>& keys, std::vector<MenuItem>& menu,
                 std::function<void(PKeyRec)> pressed);
  HotKeyRegistry(const HotKeyRegistry&) = delete;
  HotKeyRegistry& operator=(const HotKeyRegistry&) = delete;

  // Registers every combination once. The box of refused hotkeys names a combination
  // another program holds once (by its first definition), and a definition that ties with
  // an earlier one on its combination (both global or Except, or Only lists sharing a
  // program: only a hand-edited file has them), since that one always wins.
  void BuildHotKeyList();
  // A press of hotkey `index`: the definition that names the program in front in its
  // Only list, else the first that is global or whose Except does not name it, goes to
  // the dispatcher; with none, the key is passed on.
  void HotKeyEvent(std::int32_t index);
  // A button press or wheel turn of mouse hotkey `index`: as a key's press, but with no
  // definition for the program in front the click is not taken (false) and goes on as it
  // came. `runs` times to the dispatcher (the wheel's whole notches).
  bool MouseHotKeyEvent(std::int32_t index, int runs);
  // The definition a press of hotkey `index` is for with `program` in front; null when
  // none is.
  PKeyRec Choose(std::size_t index, std::string_view program) const;
  void SetHotKeysOn(bool on);
  // The teardown: every hotkey unregistered, the lists emptied.
  void Clear();

  TSysHotKey& SystemHotKeys() { return systemHotKeys_; }
  // Called after every rebuild, switch and clear: the abbreviations follow the hotkeys.
  std::function<void()> Changed;
  // The key texts of the definitions that take part, in list order.
  const std::vector<std::string>& HotKeyList() const { return hotKeyList_; }

 private:
  // The definitions sharing one hotkey, in list order, with their conditions as the
  // rebuild found them.
  struct Sharers {
    std::vector<PKeyRec> defs;
    std::vector<Conditions> conditions;
    bool restricted = false;  // some definition is not global: the program in front counts
  };

  // The definition of hotkey `index` for the program in front, asked only when some
  // definition on it is not global.
  PKeyRec ChooseInFront(std::size_t index) const;

  MainView& view_;
  ProgramPort& programs_;
  const std::unique_ptr<KeysList>& keys_;
  std::vector<MenuItem>& menu_;
  std::function<void(PKeyRec)> pressed_;
  TSysHotKey systemHotKeys_;
  std::vector<std::string> hotKeyList_;
  // Parallel to the hotkey component's entries: entry n holds the definitions of id n.
  std::vector<Sharers> sharers_;
  // Set while the box of refused hotkeys is up.
  bool hotKeyBoxOpen_ = false;
};

}  // namespace ostrel
