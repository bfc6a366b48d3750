// Measuring the items, and laying a menu too tall for its screen out in columns.
#include <algorithm>
#include <vector>

#include "components/win32/Menus97.h"
#include "toolkit/Dpi.h"

namespace ostrel {

namespace {

// Between the columns of a menu laid out in columns the platform leaves a gap (Wine: 4
// pixels), in units of 96 DPI with pixels to spare.
constexpr int kColumnGapUnits = 6;

// Puts the column breaks at `breaks` (positions in `node`'s menu, in order) and takes
// away those put anywhere else before; a break the host gave an item itself stays.
void ApplyColumnBreaks(TMenuItem97& node, const std::vector<std::size_t>& breaks) {
  auto next = breaks.begin();
  for (std::size_t i = 0; i < node.items.size(); ++i) {
    const bool wanted = next != breaks.end() && *next == i;
    if (wanted) ++next;
    TMenuItem97& child = node.items[i];
    if (child.columnBreak == wanted) continue;
    child.columnBreak = wanted;
    if (child.breakKind != mbNone) continue;
    HMENU menu = reinterpret_cast<HMENU>(child.menu);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    info.fType =
        wanted ? (info.fType | MFT_MENUBREAK) : (info.fType & ~static_cast<UINT>(MFT_MENUBREAK));
    SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
  }
}

}  // namespace

void TPopupMenus97::ClearColumnBreaks(TMenuItem97& node) {
  ApplyColumnBreaks(node, {});
  for (TMenuItem97& child : node.items)
    if (child.subMenu) ClearColumnBreaks(child);
}

int TPopupMenus97::TextWidth(HDC dc, const std::string& text, int* height) {
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | kTextFlags);
  if (height) *height = r.bottom - r.top + Px(2);
  return r.right - r.left;
}

int TPopupMenus97::MeasureWidth(HDC dc, const TMenuItem97& item) {
  int width = 0;
  if (IsBarTag(item.tag)) {
    int iw = 0, ih = 0;
    if (images_) ImageList_GetIconSize(images_, &iw, &ih);
    width = BarItemWidth(TextWidth(dc, item.caption), item.tag, images_ != nullptr, iw,
                         static_cast<int>(dpi_));
  } else {
    const TMenuItem97* parent = item.parent ? item.parent : &item;
    auto cached = siblingWidths_.find(parent);
    if (cached == siblingWidths_.end()) {
      std::vector<SiblingSize> sizes;
      const auto add = [&](const TMenuItem97& s) {
        sizes.push_back({TextWidth(dc, s.caption),
                         s.shortcut.empty() ? 0 : TextWidth(dc, s.shortcut), s.subMenu != 0});
      };
      if (!item.parent) add(item);
      for (const TMenuItem97& s : parent->items) add(s);
      cached = siblingWidths_.emplace(parent, SiblingsWidth(sizes, mark_.width)).first;
    }
    width = cached->second;
  }
  SIZE amp{};
  if (item.caption.find('&') != std::string::npos) GetTextExtentPoint32A(dc, "&", 1, &amp);
  return FinishItemWidth(width, item.caption, amp.cx, IsBannerItem(item), Px(BannerWidth));
}

HDC TPopupMenus97::MeasureDc() {
  // A memory context of the screen's kind, kept: borrowing the screen's for every item
  // costs more than the measuring.
  if (!measureDC_) measureDC_.Reset(CreateCompatibleDC(nullptr));
  return measureDC_.get();
}

LRESULT TPopupMenus97::HandleMeasureItem(MEASUREITEMSTRUCT& mis) {
  if (!menu_) return 1;
  auto found = byCommand_.find(mis.itemID);
  if (found == byCommand_.end()) return 1;
  const TMenuItem97& item = *found->second;
  HDC dc = MeasureDc();
  tk::SavedDc saved(dc);
  SelectObject(dc, FontHandle(font_, false));
  int textHeight = 0;
  TextWidth(dc, item.caption.empty() ? std::string(" ") : item.caption, &textHeight);
  const int height = ItemHeight
                         ? Px(ItemHeight)
                         : MeasuredItemHeight(mark_.height, textHeight, static_cast<int>(dpi_));
  const int width = ItemWidth ? Px(ItemWidth) : MeasureWidth(dc, item);
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  return 1;
}

void TPopupMenus97::FitColumns(const RECT& workArea) {
  if (!menu_) return;
  HDC dc = MeasureDc();
  tk::SavedDc saved(dc);
  SelectObject(dc, FontHandle(font_, false));
  // A single line is as high whatever its text: one measure serves every item.
  int textHeight = 0;
  TextWidth(dc, " ", &textHeight);
  // Around its items a popup has its frame (Wine: a margin of the same size).
  const int frame = tk::Metric(SM_CYFIXEDFRAME, dpi_);
  FitColumnsOf(root_, ColumnRoom{workArea.bottom - workArea.top - 2 * frame,
                                 workArea.right - workArea.left, frame, textHeight});
  std::size_t end = SIZE_MAX;
  for (std::size_t i = 0; i < root_.items.size() && end == SIZE_MAX; ++i)
    if (root_.items[i].columnBreak) end = i;
  if (end != bannerColumnEnd_) {
    bannerColumnEnd_ = end;
    MarkBannerStale();  // the banner's place and the items' widths follow the first column
  }
}

// Each item as high as HandleMeasureItem makes it (a separator as the platform draws it).
void TPopupMenus97::FitColumnsOf(TMenuItem97& node, const ColumnRoom& room) {
  const int separator = tk::Metric(SM_CYMENUSIZE, dpi_) / 2;
  const int itemHeight =
      ItemHeight ? Px(ItemHeight)
                 : MeasuredItemHeight(mark_.height, room.textHeight, static_cast<int>(dpi_));
  std::vector<ColumnItem97> heights;
  heights.reserve(node.items.size());
  for (TMenuItem97& child : node.items) {
    if (child.subMenu) FitColumnsOf(child, room);
    if (KeepsPlatformDrawing(child)) {
      heights.push_back({separator, true});
      continue;
    }
    heights.push_back({itemHeight, false});
  }
  const bool top = &node == &root_;
  std::vector<std::size_t> breaks = ColumnBreaks(heights, room.height, top ? KeepTogetherAtEnd : 0);
  if (!breaks.empty()) {
    // Every column as wide as the widest item (the banner aside), with the room the
    // platform adds beside an owner-drawn item (Windows: a check mark's width; Wine: two
    // average characters, about as much) and its gap between columns.
    const int banner = top ? Px(BannerWidth) : 0;  // the top level keeps its place
    int widest = ItemWidth ? Px(ItemWidth) : 0;
    for (const TMenuItem97& child : node.items)
      if (!ItemWidth && !KeepsPlatformDrawing(child))
        widest = std::max(
            widest, MeasureWidth(MeasureDc(), child) - (IsBannerItem(child) ? Px(BannerWidth) : 0));
    widest += tk::Metric(SM_CXMENUCHECK, dpi_) + Px(kColumnGapUnits);
    if (breaks.size() >= ColumnsAcross(room.width, widest, banner + 2 * room.frame)) breaks.clear();
  }
  ApplyColumnBreaks(node, breaks);
}

}  // namespace ostrel
