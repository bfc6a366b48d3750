#include "toolkit/UiFont.h"

namespace ostrel::tk {

const char* FaceFor(const char* face, UINT dpi) {
  return dpi != kBaseDpi && lstrcmpiA(face, "MS Sans Serif") == 0 ? "Tahoma" : face;
}

HFONT CreateUiFont(int points, bool bold, UINT dpi) {
  if (!dpi) dpi = ScreenDpi();
  const int height = -MulDiv(points, static_cast<int>(dpi), 72);
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, FaceFor("MS Sans Serif", dpi));
}

}  // namespace ostrel::tk
