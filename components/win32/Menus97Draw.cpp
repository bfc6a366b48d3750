// Drawing an item: the banner beside the top level, the background and highlight bar,
// marks and images, titles, disabled items and the text, in the colours high contrast
// leaves.
#include <optional>
#include <string>

#include "components/win32/Menus97.h"
#include "toolkit/Colours.h"

namespace ostrel {

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
  const tk::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, color));
  const tk::Selection selected(dc, pen.get());
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// A mark bitmap with its white left out; in high contrast its shape in `shapeColor`.
void DrawMark(HDC dc, HBITMAP bmp, int x, int y, std::optional<COLORREF> shapeColor) {
  if (!bmp) return;
  const SIZE size = BitmapSize97(bmp);
  const tk::MemoryDc mem(CreateCompatibleDC(dc));
  const tk::Selection selected(mem.get(), bmp);
  if (shapeColor) {
    PaintShape97(dc, mem.get(), x, y, size.cx, size.cy, *shapeColor);
    return;
  }
  TransparentBlt(dc, x, y, size.cx, size.cy, mem.get(), 0, 0, size.cx, size.cy, RGB(255, 255, 255));
}

}  // namespace

LRESULT TPopupMenus97::HandleDrawItem(const DRAWITEMSTRUCT& dis) {
  if (!menu_) return 1;
  HDC dc = dis.hDC;
  tk::SavedDc saved(dc);  // the fonts and colours set below go back with it
  SelectObject(dc, FontHandle(font_, false));
  if (dis.itemState & ODS_SELECTED) SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  auto found = byCommand_.find(dis.itemID);
  if (found != byCommand_.end()) DrawItem(dc, *found->second, dis.rcItem, dis.itemState);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dc, &dis.rcItem);
  return 1;
}

void TPopupMenus97::DrawItem(HDC dc, TMenuItem97& item, RECT rect, UINT state) {
  if (item.caption.empty()) item.caption = " ";
  if (bannerStale_ && IsBannerItem(item)) {
    bannerStale_ = false;
    banner_.Place(dc, menu_, root_, Px(BannerWidth));
    banner_.SetLook(CurrentBannerLook());
  }
  if (Banner && IsBannerItem(item)) {
    // The banner's first item's left edge is the banner's.
    if (rect.left == banner_.Rect().left) rect.left += Px(BannerWidth) + Px(2);
    banner_.Draw(dc, root_, item);
  }
  if (IsBarTag(item.tag)) return;  // menu-bar items: nothing to draw in a popup
  DrawPopupItem(dc, item, rect, state);
}

TBannerLook97 TPopupMenus97::CurrentBannerLook() const {
  const RECT& r = banner_.Rect();
  if (highContrast_) {
    // The theme's menu colours the other way round: a plain strip, set apart from the
    // items, with nothing behind its text.
    TFont97 font = BannerFont;
    font.color = GetSysColor(COLOR_MENU);
    const COLORREF back = GetSysColor(COLOR_MENUTEXT);
    return {dpi_, r.right - r.left,    r.bottom - r.top, back, back,
            1,    BannerJustification, BannerText,       font};
  }
  return {dpi_,
          r.right - r.left,
          r.bottom - r.top,
          ResolveColor97(BannerColor),
          ResolveColor97(BannerEndColor),
          BannerNumColors,
          BannerJustification,
          BannerText,
          BannerFont};
}

void TPopupMenus97::FollowContrast() {
  const bool on = tk::HighContrast();
  if (on == highContrast_) return;
  highContrast_ = on;
  drawnImages_.Clear();
  banner_.Drop();
}

COLORREF TPopupMenus97::ItemBack(bool bar) const {
  if (highContrast_) return GetSysColor(bar ? COLOR_HIGHLIGHT : COLOR_MENU);
  return ResolveColor97(bar ? HiliteBar : BrushColor);
}

COLORREF TPopupMenus97::ItemText(const TFont97& font, bool selected) const {
  if (highContrast_) return GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  return ResolveColor97(font.color);
}

// The etched lines and embossed text of titles and disabled items: the theme has one
// colour for what cannot be chosen.
COLORREF TPopupMenus97::Shade(int sysColor) const {
  return GetSysColor(highContrast_ ? COLOR_GRAYTEXT : sysColor);
}

void TPopupMenus97::DrawMarkBox(HDC dc, const RECT& rect, int w, bool raised) {
  int height = Px(ItemHeight);
  if (!height) {
    int textHeight = 0;
    TextWidth(dc, "Ag", &textHeight);
    height = MeasuredItemHeight(mark_.height, textHeight, static_cast<int>(dpi_));
  }
  RECT box{rect.left, rect.top, rect.left + w + Px(4), rect.top + height};
  FillSolid97(dc, RECT{box.left, box.top, box.right + Stroke(1), box.bottom}, ItemBack(false));
  if (highContrast_) {
    const tk::GdiObject<HBRUSH> frame(CreateSolidBrush(ItemText(font_, false)));
    FrameRect(dc, &box, frame.get());
    return;
  }
  DrawEdge(dc, &box, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

void TPopupMenus97::DrawPopupItem(HDC dc, TMenuItem97& item, RECT rect, UINT state) {
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool title = item.caption[0] == '-';
  const int stroke = Stroke(1);
  if (title) {
    item.enabled = false;
    const int m = rect.top + (rect.bottom - rect.top) / 2, inset = Px(1);
    for (int i = 0; i < stroke; ++i) {
      Line(dc, rect.left + inset, m + i, rect.right - inset, m + i, Shade(COLOR_BTNSHADOW));
      Line(dc, rect.left + inset, m + stroke + i, rect.right - inset, m + stroke + i,
           Shade(COLOR_BTNHIGHLIGHT));
    }
  }
  if (item.breakKind == mbBarBreak) {
    const int x = rect.left - Px(3);
    const RECT& banner = banner_.Rect();
    for (int i = 0; i < stroke; ++i) {
      Line(dc, x + i, banner.top, x + i, banner.bottom, Shade(COLOR_BTNSHADOW));
      Line(dc, x + stroke + i, banner.top, x + stroke + i, banner.bottom,
           Shade(COLOR_BTNHIGHLIGHT));
    }
  }
  if (item.enabled) FillSolid97(dc, rect, ItemBack(selected && !title));

  int imageW = 0, imageH = 0;
  if (images_) ImageList_GetIconSize(images_, &imageW, &imageH);
  const bool hasImage = images_ && item.tag >= 0;
  if (item.enabled) {
    if (selected && (item.checked || hasImage)) {
      DrawMarkBox(dc, rect, hasImage ? imageW : static_cast<int>(checkSize_.cx), true);
    } else if (!selected && item.checked) {
      const SIZE markSize = item.radio ? BitmapSize97(radioMark_.get()) : checkSize_;
      DrawMarkBox(dc, rect, hasImage ? imageW : static_cast<int>(markSize.cx), false);
    }
    // In high contrast the pictures keep their shapes in the item's text colour.
    const std::optional<COLORREF> shape =
        highContrast_ ? std::optional(ItemText(font_, selected)) : std::nullopt;
    if (hasImage && shape)
      TMenuImages97::DrawShape(dc, images_, item.tag, rect.left + Px(2), rect.top + Px(2), *shape);
    else if (hasImage)
      drawnImages_.Draw(dc, images_, item.tag, rect.left + Px(2), rect.top + Px(2),
                        ItemBack(false));
    else if (item.checked)
      DrawMark(dc, (item.radio ? radioMark_ : checkMark_).get(), rect.left + Px(1),
               rect.top + Px(1), shape);
  } else if (hasImage && highContrast_) {
    TMenuImages97::DrawShape(dc, images_, item.tag, rect.left, rect.top, Shade(COLOR_GRAYTEXT));
  } else if (hasImage) {
    TMenuImages97::DrawEmbossed(dc, images_, item.tag, rect.left, rect.top, Stroke(1));
  }

  const TFont97& font = selected ? hiliteFont_ : font_;
  SelectObject(dc, FontHandle(font, item.isDefault));
  rect.left += (images_ ? imageW : static_cast<int>(checkSize_.cx)) + Px(7);
  const std::string text = title ? item.caption.substr(1) : item.caption;
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = kTextFlags | DT_VCENTER;
  const auto drawText = [&](RECT r, COLORREF color) {
    SetTextColor(dc, color);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    if (item.shortcut.empty()) return;
    r.right -= mark_.width;
    DrawTextA(dc, item.shortcut.c_str(), static_cast<int>(item.shortcut.size()), &r,
              flags | DT_RIGHT);
  };
  if (item.enabled) {
    drawText(rect, ItemText(font, selected));
    return;
  }
  if (!highContrast_)
    drawText(RECT{rect.left + stroke, rect.top + stroke, rect.right + stroke, rect.bottom + stroke},
             GetSysColor(COLOR_BTNHIGHLIGHT));
  drawText(rect, Shade(COLOR_BTNSHADOW));
}

}  // namespace ostrel
