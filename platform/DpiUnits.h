// Sizes on screens of any scale, without <windows.h>: every size of the program is
// written in units of a 96-DPI screen, and this is the one rule that turns units into
// the pixels of a screen at another DPI. The portable rules call it directly; the
// toolkit's tk::Scale (toolkit/Dpi.h) is the same rule for the windows.
#pragma once

#include <cstdint>
#include <limits>

namespace ostrel {

inline constexpr int kUnitsDpi = 96;

// `units` at `dpi`, to the nearest pixel, halves away from zero (as the platform's MulDiv
// rounds); a result beyond an int is the nearest int.
constexpr int ScaleUnits(int units, int dpi) {
  const std::int64_t product = std::int64_t{units} * dpi;
  const std::int64_t magnitude = product < 0 ? -product : product;
  std::int64_t rounded = (magnitude + kUnitsDpi / 2) / kUnitsDpi;
  if (product < 0) rounded = -rounded;
  if (rounded > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (rounded < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(rounded);
}

}  // namespace ostrel
