#include "platform/win32/Win32Contrast.h"

#include <windows.h>

namespace ostrel {

bool Win32Contrast::HighContrastOn() const {
  HIGHCONTRASTA hc{};
  hc.cbSize = sizeof hc;
  if (!SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0)) return false;
  return (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace ostrel
