// The rules of the folder browser (TBrowseFolder, components/win32/BrowseFolder.h) that
// need no window: the option flags and the dialog flags they add, the roots of the tree
// as special-folder ids, the path shortening of the status line, where the dialog is
// put, and what a change of selection does to the dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ostrel {

enum TBrowseInfoFlags : std::uint8_t {
  bfFileSysDirsOnly,
  bfDontGoBelowDomain,
  bfStatusText,
  bfFileSysAncestors,
  bfBrowseForComputer,
  bfBrowseForPrinter,
};
inline constexpr int kBrowseInfoFlagCount = 6;

// The dialog flag (BIF_*) each option adds.
inline constexpr std::uint32_t kBifReturnOnlyFsDirs = 0x0001;
inline constexpr std::uint32_t kBifDontGoBelowDomain = 0x0002;
inline constexpr std::uint32_t kBifStatusText = 0x0004;
inline constexpr std::uint32_t kBifReturnFsAncestors = 0x0008;
inline constexpr std::uint32_t kBifBrowseForComputer = 0x1000;
inline constexpr std::uint32_t kBifBrowseForPrinter = 0x2000;

std::uint32_t BrowseInfoFlag(TBrowseInfoFlags flag);

// A set of TBrowseInfoFlags, one bit per element in element order.
class TBrowseInfoFlagSet {
 public:
  constexpr TBrowseInfoFlagSet() = default;
  constexpr TBrowseInfoFlagSet(std::initializer_list<TBrowseInfoFlags> flags) {
    for (TBrowseInfoFlags f : flags) Include(f);
  }
  constexpr bool Contains(TBrowseInfoFlags f) const { return (bits_ >> f) & 1u; }
  constexpr void Include(TBrowseInfoFlags f) { bits_ |= static_cast<std::uint8_t>(1u << f); }
  constexpr void Exclude(TBrowseInfoFlags f) { bits_ &= static_cast<std::uint8_t>(~(1u << f)); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const TBrowseInfoFlagSet&) const = default;

  // The OR of the dialog flags of the elements.
  std::uint32_t DialogFlags() const;

 private:
  std::uint8_t bits_ = 0;
};

// The root of the folder tree.
enum TSHFolders : std::uint8_t {
  foDesktop,
  foDesktopExpanded,
  foPrograms,
  foControlPanel,
  foPrinters,
  foPersonal,
  foFavorites,
  foStartup,
  foRecent,
  foSendto,
  foRecycleBin,
  foStartMenu,
  foDesktopDirectory,
  foMyComputer,
  foNetwork,
  foNetworkNeighborhood,
  foFonts,
  foTemplates,
};
inline constexpr int kSHFolderCount = 18;

// foDesktopExpanded has no root item: the dialog shows the whole namespace.
inline constexpr int kNoRootFolder = -1;
// The special-folder id (CSIDL_*) of a root, or kNoRootFolder.
int SpecialFolderId(TSHFolders folder);

// The status line shows a selected path in at most this many characters.
inline constexpr std::size_t kStatusPathLength = 35;

// A path cut down for the status line: unchanged when it has at most `maxLength`
// characters or at most two parts at "\"; otherwise the second part becomes "...", and
// the parts after "..." are dropped from the front while the text is too long, down to
// the first part, "..." and the last part.
std::string ShortenPath(std::string_view path, std::size_t maxLength = kStatusPathLength);

// Screen rectangle of a window, as GetWindowRect gives it.
struct BrowseRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
struct BrowsePoint {
  int x = 0;
  int y = 0;
};

// Where the dialog goes: centred across the foreground window, its top a quarter of that
// window's height below the window's top (divisions round towards zero).
BrowsePoint DialogPlacement(const BrowseRect& foreground, int dialogWidth);

// The custom button: id, place and size in the dialog, and its width when none is given.
inline constexpr int kCustomButtonId = 255;
inline constexpr int kCustomButtonLeft = 12;
inline constexpr int kCustomButtonTop = 270;
inline constexpr int kCustomButtonHeight = 23;
inline constexpr int kDefaultCustomButtonWidth = 75;
// The width stored for a requested width: the request when above 0, else 75.
int CustomButtonWidthFor(int requested);

// The dialog's callback messages and the messages sent back to it (ANSI forms).
inline constexpr unsigned kBffmInitialized = 1;
inline constexpr unsigned kBffmSelChanged = 2;
inline constexpr unsigned kBffmSetStatusTextA = 0x0400 + 100;
inline constexpr unsigned kBffmEnableOk = 0x0400 + 101;
inline constexpr unsigned kBffmSetSelectionA = 0x0400 + 102;

// A path names an existing directory when its file attributes are valid and include the
// directory bit.
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
bool IsDirectoryAttributes(std::uint32_t attributes);

// What the dialog is told when the selection changes.
struct SelectionUpdate {
  std::string selection;          // the new current selection: the item's path, or empty
  bool sendStatus = false;        // whether the status line is set ...
  std::string statusText;         // ... to this
  bool enableOk = false;          // OK is enabled exactly for items with a file-system path
  bool syncCustomButton = false;  // the custom button is enabled or disabled as OK is
};
// `path` is the item's file-system path when `hasPath`.
SelectionUpdate SelectionChanged(bool hasPath, std::string_view path, bool showPathInStatusArea,
                                 bool syncCustomButton);

}  // namespace ostrel
