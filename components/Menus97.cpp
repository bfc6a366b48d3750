#include "components/Menus97.h"

#include <algorithm>
#include <cctype>

namespace ostrel {

int MulDiv97(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t p = product < 0 ? -product : product;
  const std::int64_t d = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
  const std::int64_t q = (p + d / 2) / d;
  return static_cast<int>(negative ? -q : q);
}

std::vector<GradientBand> GradientBands(int height, int numColors, Rgb97 start, Rgb97 end) {
  std::vector<GradientBand> bands;
  if (numColors < 1) return bands;
  bands.reserve(static_cast<std::size_t>(numColors));
  for (int i = 0; i < numColors; ++i) {
    Rgb97 color = start;
    if (numColors >= 2) {
      const int steps = numColors - 1;
      color = MakeRgb(RedOf(start) + MulDiv97(i, RedOf(end) - RedOf(start), steps),
                      GreenOf(start) + MulDiv97(i, GreenOf(end) - GreenOf(start), steps),
                      BlueOf(start) + MulDiv97(i, BlueOf(end) - BlueOf(start), steps));
    }
    bands.push_back({MulDiv97(i, height, numColors), MulDiv97(i + 1, height, numColors), color});
  }
  return bands;
}

Point97 BannerTextOrigin(const Rect97& area, int textWidth, int textHeight,
                         TBannerJustification just, int dpi) {
  const int x = area.left + (area.Width() - textHeight) / 2;
  const int inset = ScaleUnits(1, dpi);
  switch (just) {
    case bjTop:
      return {x, area.top + textWidth + inset};
    case bjBottom:
      return {x, area.bottom - inset};
    case bjCenter:
    default:
      return {x, area.bottom - inset - (area.Height() - textWidth) / 2};
  }
}

void LinkParents(TMenuItem97& root) {
  for (TMenuItem97& child : root.items) {
    child.parent = &root;
    LinkParents(child);
  }
}

const TMenuItem97* FindItem97(const TMenuItem97& root, std::uint32_t command) {
  for (const TMenuItem97& child : root.items) {
    if (!KeepsPlatformDrawing(child) && child.command == command) return &child;
    if (const TMenuItem97* found = FindItem97(child, command)) return found;
  }
  return nullptr;
}

bool KeepsPlatformDrawing(const TMenuItem97& item) { return item.caption == "-"; }

std::uint32_t OwnerDrawStateFlags(const TMenuItem97& item) {
  return item.enabled ? 0u : 3u;  // MF_GRAYED | MF_DISABLED
}

std::uint32_t OwnerDrawBreakFlags(const TMenuItem97& item) {
  switch (item.breakKind) {
    case mbBreak:
      return 0x40;  // MF_MENUBREAK
    case mbBarBreak:
      return 0x20;  // MF_MENUBARBREAK
    case mbNone:
    default:
      return 0;
  }
}

char AcceleratorOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

namespace {

int FindAcceleratorIn(const TMenuItem97& node, std::uintptr_t menu, char typed) {
  for (std::size_t i = 0; i < node.items.size(); ++i) {
    const TMenuItem97& child = node.items[i];
    if (child.enabled && child.menu == menu && AcceleratorOf(child.caption) == typed)
      return static_cast<int>(i);
    const int found = FindAcceleratorIn(child, menu, typed);
    if (found >= 0) return found;
  }
  return -1;
}

}  // namespace

int FindAccelerator(const TMenuItem97& root, std::uintptr_t menu, char typed) {
  if (typed == 0) return -1;
  return FindAcceleratorIn(root, menu,
                           static_cast<char>(std::toupper(static_cast<unsigned char>(typed))));
}

int SiblingsWidth(const std::vector<SiblingSize>& siblings, int markWidth) {
  int maxCaption = 0, maxCaptionWithShortcut = 0, maxShortcut = 0;
  for (const SiblingSize& s : siblings) {
    int cw = s.captionWidth;
    if (s.opensSubMenu)
      cw += markWidth;
    else if (siblings.size() < 2)
      cw += markWidth / 2;
    maxCaption = std::max(maxCaption, cw);
    if (s.shortcutWidth > 0) maxCaptionWithShortcut = std::max(maxCaptionWithShortcut, cw);
    maxShortcut = std::max(maxShortcut, s.shortcutWidth);
  }
  if (maxShortcut > 0 && maxCaptionWithShortcut + maxShortcut + markWidth > maxCaption)
    return maxCaptionWithShortcut + maxShortcut + 2 * markWidth;
  return maxCaption + markWidth;
}

bool IsBarTag(std::int32_t tag) { return tag == -1 || tag >= 256; }

int BarItemWidth(int captionWidth, std::int32_t tag, bool hasImages, int imageWidth, int dpi) {
  int width = captionWidth + ScaleUnits(5, dpi);
  if (tag >= 256 && hasImages) width += imageWidth + ScaleUnits(2, dpi);
  return width;
}

int FinishItemWidth(int width, std::string_view caption, int ampersandWidth, bool bannerItem,
                    int bannerWidth) {
  if (caption.find('&') != std::string_view::npos) width -= ampersandWidth;
  if (bannerItem) width += bannerWidth;
  return width;
}

int MeasuredItemHeight(int markHeight, int textHeight, int dpi) {
  return std::max(markHeight, textHeight + ScaleUnits(4, dpi));
}

std::vector<std::size_t> ColumnBreaks(const std::vector<ColumnItem97>& items, int columnHeight,
                                      std::size_t keepTogether) {
  std::vector<std::size_t> breaks;
  long long total = 0;
  for (const ColumnItem97& item : items) total += std::max(item.height, 0);
  if (total <= columnHeight || items.empty()) return breaks;
  // The kept block is one unit when it fits a column; every other item is a unit alone.
  const std::size_t n = items.size();
  std::size_t tail = n - std::min(keepTogether, n);
  long long tailHeight = 0;
  for (std::size_t i = tail; i < n; ++i) tailHeight += std::max(items[i].height, 0);
  if (tail + 1 >= n || tailHeight > columnHeight) tail = n;
  std::size_t columnStart = 0;
  long long used = 0;
  for (std::size_t i = 0; i < n;) {
    const std::size_t end = i == tail ? n : i + 1;
    const long long height = i == tail ? tailHeight : std::max(items[i].height, 0);
    if (i > columnStart && used + height > columnHeight) {
      std::size_t start = i;
      if (items[i].separator && i - 1 > columnStart) --start;
      breaks.push_back(start);
      columnStart = start;
      used = 0;
      i = start;
      continue;
    }
    used += height;
    i = end;
  }
  return breaks;
}

std::size_t ColumnsAcross(int areaWidth, int columnWidth, int besideWidth) {
  if (columnWidth <= 0) return 1;
  return static_cast<std::size_t>(std::max(1, (areaWidth - besideWidth) / columnWidth));
}

MarkSize MarkSizeFor(int imageWidth, int imageHeight, int checkWidth, int checkHeight, int dpi) {
  const int pad = ScaleUnits(4, dpi);
  if (imageWidth > 0) return {imageWidth + pad, imageHeight + pad};
  return {checkWidth + pad, checkHeight + pad};
}

MarkSize InitialMarkSize(int systemWidth, int systemHeight, int checkWidth, int checkHeight,
                         int dpi) {
  const int pad = ScaleUnits(4, dpi);
  return {systemWidth < checkWidth ? checkWidth + pad : systemWidth,
          systemHeight < checkHeight ? checkHeight + pad : systemHeight};
}

}  // namespace ostrel
