#include "components/win32/Menus97Paint.h"

#include "toolkit/Dpi.h"

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

}  // namespace ostrel
