// The rules of the banner popup menus (TPopupMenus97, components/win32/Menus97.h) that
// need no device context: the gradient bands of the banner, where its rotated text
// starts, the sizes of items, the flags of the owner-draw pass and the "&" accelerator
// lookup for WM_MENUCHAR. The menu itself is read into a tree of TMenuItem97, which the
// window part keeps in step with the platform's menu. The margins and gaps are written
// for a screen at 96 DPI: the rules that add them take the DPI the menu opens at and
// scale them by the program's one rule (platform/DpiUnits.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DpiUnits.h"

namespace ostrel {

enum TBannerJustification : std::uint8_t { bjCenter, bjTop, bjBottom };
enum TMenuBreak : std::uint8_t { mbNone, mbBreak, mbBarBreak };

// The platform's MulDiv: the 64-bit product divided and rounded to the nearest integer,
// halves away from zero; -1 when dividing by zero.
int MulDiv97(int number, int numerator, int denominator);

// A colour as the platform's COLORREF: 0x00BBGGRR.
using Rgb97 = std::uint32_t;
constexpr Rgb97 MakeRgb(int r, int g, int b) {
  return static_cast<Rgb97>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Rgb97 c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb97 c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb97 c) { return static_cast<int>((c >> 16) & 0xFF); }

// One band of the banner's gradient: rows y0 (inclusive) to y1 (exclusive) from the top
// of the banner, filled with one colour.
struct GradientBand {
  int y0;
  int y1;
  Rgb97 color;
};
// `numColors` bands over `height` rows from `start` at the top to `end` at the bottom:
// band 0 is exactly `start`, the last exactly `end`; none when numColors < 1.
std::vector<GradientBand> GradientBands(int height, int numColors, Rgb97 start, Rgb97 end);

struct Rect97 {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Where the banner's text (rotated to read upwards) starts: its lower end, in the text
// area `area`, for a text `textWidth` long and `textHeight` high (all in pixels).
struct Point97 {
  int x, y;
};
Point97 BannerTextOrigin(const Rect97& area, int textWidth, int textHeight,
                         TBannerJustification just, int dpi = kUnitsDpi);

// One item of a menu as the component sees it. `menu` is the platform menu the item is
// in, `subMenu` the one it opens (0 for a command). The caption is the text before a
// tab, `shortcut` the text after it.
struct TMenuItem97 {
  std::uint32_t command = 0;
  std::string caption;
  std::string shortcut;
  std::int32_t tag = 0;
  bool enabled = true;
  bool checked = false;
  bool radio = false;
  bool isDefault = false;
  TMenuBreak breakKind = mbNone;
  // A column break the component put there itself, to fit a long menu on its screen.
  bool columnBreak = false;
  std::uintptr_t menu = 0;
  std::uintptr_t subMenu = 0;
  const TMenuItem97* parent = nullptr;
  std::vector<TMenuItem97> items;
};
// Sets every item's `parent` (after the tree has been built or copied).
void LinkParents(TMenuItem97& root);
// The first item of the tree (depth first) with `command`, or null.
const TMenuItem97* FindItem97(const TMenuItem97& root, std::uint32_t command);

// What the owner-draw pass does with an item: a plain "-" separator keeps the platform's
// drawing; other items get the state and break flags (MF_GRAYED | MF_DISABLED, MF_MENUBREAK,
// MF_MENUBARBREAK) beside MF_OWNERDRAW (or the string type when restoring).
bool KeepsPlatformDrawing(const TMenuItem97& item);
std::uint32_t OwnerDrawStateFlags(const TMenuItem97& item);
std::uint32_t OwnerDrawBreakFlags(const TMenuItem97& item);

// The letter after a single "&" of a caption ("&&" is a literal ampersand), upper-cased;
// 0 when it has none.
char AcceleratorOf(std::string_view caption);
// WM_MENUCHAR: the position, in its menu, of the first enabled item (depth first) of
// `menu` whose accelerator is `typed`; -1 when there is none.
int FindAccelerator(const TMenuItem97& root, std::uintptr_t menu, char typed);

// Measuring, in pixels at `dpi`. Text sizes come from the device context: a text's height
// is its line height + 2 units.
struct SiblingSize {
  int captionWidth;   // caption text width
  int shortcutWidth;  // 0 without a shortcut
  bool opensSubMenu;
};
// The width shared by a group of sibling items of normal tags (the shortcut column lines
// up across them).
int SiblingsWidth(const std::vector<SiblingSize>& siblings, int markWidth);
// The width of an item with Tag -1 or Tag >= 256 (reserved for menu bars).
int BarItemWidth(int captionWidth, std::int32_t tag, bool hasImages, int imageWidth,
                 int dpi = kUnitsDpi);
bool IsBarTag(std::int32_t tag);
// The last corrections every item gets: one "&" width less when its caption has one
// (the text was measured with the prefix already hidden), the banner's width more on the
// top level.
int FinishItemWidth(int width, std::string_view caption, int ampersandWidth, bool bannerItem,
                    int bannerWidth);
int MeasuredItemHeight(int markHeight, int textHeight, int dpi = kUnitsDpi);

// Laying out a menu too tall for its screen in columns. Each item is its measured height
// in pixels and whether it is a separator; `columnHeight` is what one column may hold and
// the last `keepTogether` items stay in one column (the OstrelMenu's fixed commands). The
// answer is the position of each item that starts a new column: none when the menu fits
// in one. Columns fill from the first, each as far as it holds; an item taller than a
// column stands alone in one. A separator never starts a column: the item above it goes
// along (unless it is its column's only item). A block that does not fit one column
// breaks like the rest.
struct ColumnItem97 {
  int height = 0;
  bool separator = false;
};
std::vector<std::size_t> ColumnBreaks(const std::vector<ColumnItem97>& items, int columnHeight,
                                      std::size_t keepTogether = 0);
// How many columns `columnWidth` wide fit across `areaWidth` beside `besideWidth` (the
// banner, the frame); at least one. Columns that would not fit across the screen either
// are not laid out: the menu stays one column, and the platform scrolls it.
std::size_t ColumnsAcross(int areaWidth, int columnWidth, int besideWidth);

// The check-mark and image box: mark width and height for an image list of the given
// size (0 without images), given the check-mark bitmap's size.
struct MarkSize {
  int width, height;
};
MarkSize MarkSizeFor(int imageWidth, int imageHeight, int checkWidth, int checkHeight,
                     int dpi = kUnitsDpi);
// Without an image list: the platform's check-mark size, unless the bitmap is larger.
MarkSize InitialMarkSize(int systemWidth, int systemHeight, int checkWidth, int checkHeight,
                         int dpi = kUnitsDpi);

}  // namespace ostrel
