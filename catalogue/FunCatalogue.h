// The fixed catalogue of function types, one row of data per type: its ids and names,
// its help text, how the hotkey editor lays out its fields, and what running it does.
// The dispatcher and the editor read the row; a type is added by adding a row (plus
// its icon and its help section).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/KeyRec.h"

namespace ostrel {

enum TFunType : std::int32_t {
  ftExploreFolder = 1,
  ftOpenFolder = 2,
  ftOpenFile = 3,
  ftRunProgram = 4,
  ftHideShowWindow = 5,
  ftShowConfig = 6,
  ftShowMenu = 7,
  ftBrowseFile = 8,
  ftBrowseFtp = 9,
  ftBrowseGopher = 10,
  ftBrowseWeb = 11,
  ftBrowseSecureWeb = 12,
  ftNewMail = 13,
  ftNews = 14,
  ftTelnet = 15,
  ftSendKeys = 16,
  ftSendKeysMenu = 17,
  ftMinimizeAll = 18,
  ftHideShowDesktop = 19,
  ftDisableHotKeys = 20,
  // Not a type: one past the last, so a type added above it grows the count and the
  // catalogue no longer compiles until the type has its row.
  ftPastLast,
};

inline constexpr int kFunTypeCount = ftPastLast - 1;

// What the editor shows for the definition's target.
enum class TargetField : std::uint8_t {
  kNone,        // no target at all
  kText,        // the one-line target box
  kKeystrokes,  // the keystroke box; the macro is stored as typed, untrimmed
};

// What the "..." button beside the target box does; kNone hides the button.
enum class BrowseKind : std::uint8_t {
  kNone,
  kFolder,     // the folder browser
  kFile,       // the open-file dialog
  kMacroList,  // names a free list file if the box is empty, then opens the macro-menu editor
};

// What running a definition does. The dispatcher has one case per action and no
// default, so an action without a case does not compile (-Wswitch).
enum class FunAction : std::uint8_t {
  kShellExecute,  // ShellExecuteA(verb, target, show)
  kRunProgram,    // the same with the parameters and the working folder
  kHideShowWindow,
  kShowConfiguration,
  kShowMenu,
  kSendKeys,
  kSendKeysMenu,
  kMinimizeAll,
  kHideShowDesktop,
  kDisableHotKeys,
};

struct FunTypeInfo {
  std::int32_t id;
  std::string_view constant;     // "ftExploreFolder"
  std::string_view displayName;  // "Explore a Folder"
  std::string_view helpText;     // the chooser's and the help number's text ("@" breaks)
  // The editor.
  TargetField target;
  std::string_view targetLabel;  // label of the target; empty when there is none
  std::string_view prefill;      // scheme put into an empty address; empty if none
  BrowseKind browse;
  bool parmsAndDir;  // the parameters and the working folder (whose "..." browses folders)
  // Running it.
  FunAction action;
  const char* verb;  // for the shell actions; nullptr is the shell's default verb
  int show;          // SW_* for the shell actions
};

// Indexed by id - 1.
extern const std::array<FunTypeInfo, kFunTypeCount> kFunTypes;

// The order of the hidden function-type list and of the chooser.
inline constexpr std::array<std::int32_t, kFunTypeCount> kChooserOrder = {
    1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 8, 9, 10, 11, 12, 13, 14, 15};

// The catalogue entry of an id, or nullptr outside 1..kFunTypeCount.
const FunTypeInfo* FindFunType(std::int32_t id);

// Display name of the definition's function type; empty for a null reference or an
// id outside the catalogue.
std::string FunTypeName(const TKeyRec* rec);

// The definition runs a macro menu: its target names a macro list file, which travels
// with it (home, export, import). False for a type outside the catalogue.
bool IsMacroMenu(const TKeyRec& rec);

}  // namespace ostrel
