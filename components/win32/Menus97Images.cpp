#include "components/win32/Menus97Images.h"

#include "components/win32/Menus97Paint.h"

namespace ostrel {
namespace {

constexpr DWORD kDSPDxax = 0x00E20746;

}  // namespace

void TMenuImages97::Draw(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF background) {
  if (list != list_) {
    Clear();
    list_ = list;
  }
  int w = 0, h = 0;
  ImageList_GetIconSize(list, &w, &h);
  if (!dc_) dc_.Reset(CreateCompatibleDC(dc));
  HDC mem = dc_.get();
  tk::GdiObject<HBITMAP>& kept = cache_[{index, background}];
  if (!kept) {
    kept.Reset(CreateCompatibleBitmap(dc, w, h));
    SelectObject(mem, kept.get());
    FillSolid97(mem, RECT{0, 0, w, h}, background);
    ImageList_Draw(list, index, mem, 0, 0, ILD_TRANSPARENT);
  } else {
    SelectObject(mem, kept.get());
  }
  BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
}

void TMenuImages97::Clear() {
  dc_.Reset();  // lets go of the bitmap selected last
  cache_.clear();
}

void TMenuImages97::DrawShape(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF color) {
  int w = 0, h = 0;
  ImageList_GetIconSize(list, &w, &h);
  const tk::GdiObject<HBITMAP> colourBmp(CreateCompatibleBitmap(dc, w, h));
  const tk::MemoryDc colourDc(CreateCompatibleDC(dc));
  const tk::Selection selected(colourDc.get(), colourBmp.get());
  PatBlt(colourDc.get(), 0, 0, w, h, WHITENESS);
  ImageList_Draw(list, index, colourDc.get(), 0, 0, ILD_TRANSPARENT);
  PaintShape97(dc, colourDc.get(), x, y, w, h, color);
}

void TMenuImages97::DrawEmbossed(HDC dc, HIMAGELIST list, int index, int x, int y, int offset) {
  int w = 0, h = 0;
  ImageList_GetIconSize(list, &w, &h);
  const tk::GdiObject<HBITMAP> colourBmp(CreateCompatibleBitmap(dc, w, h));
  const tk::MemoryDc colourDc(CreateCompatibleDC(dc));
  HDC colour = colourDc.get();
  const tk::Selection colourSelected(colour, colourBmp.get());
  PatBlt(colour, 0, 0, w, h, WHITENESS);
  ImageList_Draw(list, index, colour, 0, 0, ILD_TRANSPARENT);
  const tk::GdiObject<HBITMAP> monoBmp(CreateBitmap(w, h, 1, 1, nullptr));
  const tk::MemoryDc monoDc(CreateCompatibleDC(dc));
  HDC mono = monoDc.get();
  const tk::Selection monoSelected(mono, monoBmp.get());
  // The image's pixels become 1, what it leaves white 0.
  SetBkColor(colour, RGB(255, 255, 255));
  BitBlt(mono, 0, 0, w, h, colour, 0, 0, NOTSRCCOPY);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  const std::pair<int, int> passes[] = {{COLOR_BTNHIGHLIGHT, offset}, {COLOR_BTNSHADOW, 0}};
  for (const auto& [color, shift] : passes) {
    const tk::GdiObject<HBRUSH> brush(CreateSolidBrush(GetSysColor(color)));
    const tk::Selection selected(dc, brush.get());
    BitBlt(dc, x + shift, y + shift, w, h, mono, 0, 0, kDSPDxax);
  }
}

}  // namespace ostrel
