// The fixed catalogue of twenty function types: ids, constants, display names, the
// editor's target label and prefilled scheme, and the order the chooser lists them in.
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
};

inline constexpr int kFunTypeCount = 20;

struct FunTypeInfo {
  std::int32_t id;
  std::string_view constant;     // "ftExploreFolder"
  std::string_view displayName;  // "Explore a Folder"
  std::string_view targetLabel;  // editor label of Target; empty when unused
  std::string_view prefill;      // scheme put into an empty address; empty if none
};

// Indexed by id - 1.
extern const std::array<FunTypeInfo, kFunTypeCount> kFunTypes;

// The order of the hidden function-type list and of the chooser.
inline constexpr std::array<std::int32_t, kFunTypeCount> kChooserOrder = {
    1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 8, 9, 10, 11, 12, 13, 14, 15};

// The catalogue entry of an id, or nullptr outside 1..20.
const FunTypeInfo* FindFunType(std::int32_t id);

// Display name of the definition's function type; empty for a null reference or an
// id outside the catalogue.
std::string FunTypeName(const TKeyRec* rec);

}  // namespace ostrel
