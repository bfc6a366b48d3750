#include "components/win32/Menus97Banner.h"

#include <algorithm>
#include <cstddef>

#include "toolkit/Dpi.h"

namespace ostrel {

// Some platforms lay a popup's items out from its client area's corner, others leave a
// margin there (Wine: 3 pixels): the banner starts where the items do.
// A menu laid out in columns has the banner beside its first column only.
void TMenuBanner97::Place(HDC dc, HMENU menu, const TMenuItem97& root, int width) {
  const int total = GetMenuItemCount(menu);
  std::size_t column = 0;
  while (column < root.items.size() && !root.items[column].columnBreak) ++column;
  const int count = std::min(total, static_cast<int>(column));
  std::vector<RECT> rects(count > 0 ? static_cast<std::size_t>(count) : 0u);
  for (int i = 0; i < count; ++i)
    if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &rects[static_cast<std::size_t>(i)]))
      rects[static_cast<std::size_t>(i)] = RECT{};
  const RECT first = rects.empty() ? RECT{} : rects[0];
  LONG bottom = first.bottom;
  for (const RECT& r : rects) bottom = std::max(bottom, r.bottom);
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  POINT origin{first.left, first.top};
  if (HWND window = WindowFromDC(dc); window && (first.right > first.left))
    ScreenToClient(window, &origin);
  else
    origin = POINT{0, 0};
  rect_ = RECT{origin.x, origin.y, origin.x + width, origin.y + bottom - first.top};
  slices_.clear();
  bool oneColumn = first.right > first.left;
  for (std::size_t i = 0; i < rects.size(); ++i)
    oneColumn = oneColumn && root.items[i].breakKind == mbNone;
  if (oneColumn && static_cast<std::size_t>(total) == root.items.size())
    for (const RECT& r : rects) slices_.push_back(r.top - first.top);
}

void TMenuBanner97::SetLook(const TBannerLook97& look) {
  if (look == look_) return;
  Drop();
  look_ = look;
}

void TMenuBanner97::Drop() {
  dc_.Reset();  // lets go of the bitmap first
  bitmap_.Reset();
}

void TMenuBanner97::Draw(HDC dc, const TMenuItem97& root, const TMenuItem97& item) {
  const int w = rect_.right - rect_.left, h = rect_.bottom - rect_.top;
  if (w <= 0 || h <= 0) return;
  if (!dc_) dc_.Reset(CreateCompatibleDC(dc));
  if (!bitmap_) {
    Build(dc);
    SelectObject(dc_.get(), bitmap_.get());
  }
  int y0 = 0, y1 = h;
  const std::size_t pos = static_cast<std::size_t>(&item - root.items.data());
  if (pos < slices_.size()) {
    std::size_t from = pos;
    while (from > 0 && KeepsPlatformDrawing(root.items[from - 1])) --from;
    y0 = from == 0 ? 0 : std::clamp(slices_[from], 0, h);
    for (std::size_t next = pos + 1; next < slices_.size(); ++next)
      if (!KeepsPlatformDrawing(root.items[next])) {
        y1 = std::clamp(slices_[next], y0, h);
        break;
      }
  }
  BitBlt(dc, rect_.left, rect_.top + y0, w, y1 - y0, dc_.get(), 0, y0, SRCCOPY);
}

void TMenuBanner97::Build(HDC dc) {
  const int w = rect_.right - rect_.left, h = rect_.bottom - rect_.top;
  const auto px = [&](int units) { return tk::Scale(units, look_.dpi); };
  bitmap_.Reset(CreateCompatibleBitmap(dc, w, h));
  const tk::MemoryDc memory(CreateCompatibleDC(dc));
  HDC mem = memory.get();
  const tk::Selection bitmap(mem, bitmap_.get());
  if (look_.start == look_.end) {
    FillSolid97(mem, RECT{0, 0, w, h}, look_.start);
  } else {
    for (const GradientBand& band : GradientBands(h, look_.numColors, look_.start, look_.end)) {
      const tk::GdiObject<HBRUSH> brush(CreateSolidBrush(band.color));
      const tk::Selection selected(mem, brush.get());
      PatBlt(mem, 0, band.y0, w, band.y1 - band.y0, PATCOPY);
    }
  }
  if (look_.text.empty()) return;
  SetTextColor(mem, ResolveColor97(look_.font.color));
  LOGFONTA lf = LogFont97(look_.font, false, look_.dpi);
  lf.lfEscapement = lf.lfOrientation = 900;
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  const tk::GdiObject<HFONT> rotated(CreateFontIndirectA(&lf));
  const tk::Selection font(mem, rotated.get());
  const Rect97 area{0, 0, w, h};
  SetBkMode(mem, TRANSPARENT);
  SIZE extent{};
  const int length = static_cast<int>(look_.text.size());
  GetTextExtentPoint32A(mem, look_.text.c_str(), length, &extent);
  const Point97 at = BannerTextOrigin(area, extent.cx, extent.cy + px(2), look_.justification,
                                      static_cast<int>(look_.dpi));
  TextOutA(mem, at.x, at.y, look_.text.c_str(), length);
}

}  // namespace ostrel
