// Where a menu opens beside a line of text: just below it, above it where there is no
// room below, and always inside the work area of its screen.
#pragma once

#include <cstdint>

#include "platform/WindowPort.h"

namespace ostrel {

// A menu's wanted place: its top left corner at `at`, which stands just below a line of
// text whose top is `lineTop` (for a menu at the pointer, the line is the pointer's
// point: `lineTop` is `at.y`).
struct MenuAnchor {
  ScreenPoint at;
  std::int32_t lineTop = 0;
};

// The top left corner of a menu `width` by `height` pixels for `anchor` in `work`: at the
// anchor when it fits below the line; else with its bottom on the line's top when it fits
// there; moved in from every edge it would cross otherwise (a menu larger than the work
// area keeps its top left corner inside it).
ScreenPoint PlaceMenu(const MenuAnchor& anchor, std::int32_t width, std::int32_t height,
                      const ScreenRect& work);

}  // namespace ostrel
