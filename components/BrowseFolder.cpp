#include "components/BrowseFolder.h"

#include <array>
#include <vector>

namespace ostrel {

namespace {

constexpr std::array<std::uint32_t, kBrowseInfoFlagCount> kFlagValues = {
    kBifReturnOnlyFsDirs,  kBifDontGoBelowDomain, kBifStatusText,
    kBifReturnFsAncestors, kBifBrowseForComputer, kBifBrowseForPrinter,
};

// CSIDL_DESKTOP, none, CSIDL_PROGRAMS, CSIDL_CONTROLS, CSIDL_PRINTERS, CSIDL_PERSONAL,
// CSIDL_FAVORITES, CSIDL_STARTUP, CSIDL_RECENT, CSIDL_SENDTO, CSIDL_BITBUCKET,
// CSIDL_STARTMENU, CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES, CSIDL_NETWORK, CSIDL_NETHOOD,
// CSIDL_FONTS, CSIDL_TEMPLATES.
constexpr std::array<int, kSHFolderCount> kFolderIds = {
    0, kNoRootFolder, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21,
};

std::string Join(const std::vector<std::string_view>& parts) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '\\';
    out += parts[i];
  }
  return out;
}

}  // namespace

std::uint32_t BrowseInfoFlag(TBrowseInfoFlags flag) {
  return flag < kBrowseInfoFlagCount ? kFlagValues[flag] : 0;
}

std::uint32_t TBrowseInfoFlagSet::DialogFlags() const {
  std::uint32_t flags = 0;
  for (int i = 0; i < kBrowseInfoFlagCount; ++i) {
    if (Contains(static_cast<TBrowseInfoFlags>(i))) flags |= kFlagValues[i];
  }
  return flags;
}

int SpecialFolderId(TSHFolders folder) {
  return folder < kSHFolderCount ? kFolderIds[folder] : kNoRootFolder;
}

std::string ShortenPath(std::string_view path, std::size_t maxLength) {
  if (path.size() <= maxLength) return std::string(path);
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t cut = path.find('\\', start);
    if (cut == std::string_view::npos) {
      parts.push_back(path.substr(start));
      break;
    }
    parts.push_back(path.substr(start, cut - start));
    start = cut + 1;
  }
  if (parts.size() <= 2) return std::string(path);
  parts[1] = "...";
  std::string shortened = Join(parts);
  while (shortened.size() > maxLength && parts.size() > 3) {
    parts.erase(parts.begin() + 2);
    shortened = Join(parts);
  }
  return shortened;
}

BrowsePoint DialogPlacement(const BrowseRect& foreground, int dialogWidth) {
  // 64-bit arithmetic: no overflow for any pair of int coordinates; `/` truncates
  // towards zero.
  const std::int64_t width = std::int64_t{foreground.right} - foreground.left;
  const std::int64_t height = std::int64_t{foreground.bottom} - foreground.top;
  const std::int64_t x = foreground.left + width / 2 - std::int64_t{dialogWidth} / 2;
  const std::int64_t y = foreground.top + height / 4;
  return {static_cast<int>(x), static_cast<int>(y)};
}

int CustomButtonWidthFor(int requested) {
  return requested > 0 ? requested : kDefaultCustomButtonWidth;
}

bool IsDirectoryAttributes(std::uint32_t attributes) {
  return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) != 0;
}

SelectionUpdate SelectionChanged(bool hasPath, std::string_view path, bool showPathInStatusArea,
                                 bool syncCustomButton) {
  SelectionUpdate update;
  if (hasPath) update.selection = std::string(path);
  update.sendStatus = showPathInStatusArea;
  if (showPathInStatusArea) update.statusText = ShortenPath(update.selection);
  update.enableOk = hasPath;
  update.syncCustomButton = syncCustomButton;
  return update;
}

}  // namespace ostrel
