#include "components/win32/Menus97Paint.h"

#include "toolkit/Dpi.h"
#include "toolkit/Gdi.h"

namespace ostrel {

COLORREF ResolveColor97(COLORREF color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
  return color;
}

LOGFONTA LogFont97(const TFont97& f, bool bold, UINT dpi) {
  LOGFONTA lf{};
  lf.lfHeight = tk::FontHeight(f.height, dpi);
  lf.lfWeight = (f.bold || bold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeOut;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = f.pitch;
  lstrcpynA(lf.lfFaceName, tk::FaceFor(f.name.c_str(), dpi), LF_FACESIZE);
  return lf;
}

void FillSolid97(HDC dc, const RECT& r, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void PaintShape97(HDC dc, HDC source, int x, int y, int w, int h, COLORREF color) {
  constexpr DWORD kDSPDxax = 0x00E20746;  // the brush where the mask is 1, dc elsewhere
  const tk::GdiObject<HBITMAP> monoBmp(CreateBitmap(w, h, 1, 1, nullptr));
  const tk::MemoryDc monoDc(CreateCompatibleDC(dc));
  HDC mono = monoDc.get();
  const tk::Selection monoSelected(mono, monoBmp.get());
  // The shape's pixels become 1, the white around it 0.
  SetBkColor(source, RGB(255, 255, 255));
  BitBlt(mono, 0, 0, w, h, source, 0, 0, NOTSRCCOPY);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  const tk::GdiObject<HBRUSH> brush(CreateSolidBrush(color));
  const tk::Selection selected(dc, brush.get());
  BitBlt(dc, x, y, w, h, mono, 0, 0, kDSPDxax);
}

SIZE BitmapSize97(HBITMAP bmp) {
  BITMAP info{};
  if (!bmp || !GetObjectA(bmp, sizeof info, &info)) return SIZE{17, 17};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace ostrel
