#include "app/MenuPlace.h"

#include <algorithm>

namespace ostrel {

ScreenPoint PlaceMenu(const MenuAnchor& anchor, std::int32_t width, std::int32_t height,
                      const ScreenRect& work) {
  std::int32_t x = anchor.at.x, y = anchor.at.y;
  // Covering the line would hide what the user is writing: above it is the next best.
  if (y + height > work.bottom && anchor.lineTop - height >= work.top) y = anchor.lineTop - height;
  x = std::max(std::min(x, work.right - width), work.left);
  y = std::max(std::min(y, work.bottom - height), work.top);
  return ScreenPoint{x, y};
}

}  // namespace ostrel
