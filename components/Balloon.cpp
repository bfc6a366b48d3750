#include "components/Balloon.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

namespace ostrel {

namespace {

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// The balloon's sizes in pixels at a DPI. Each part is scaled on its own and the frame is
// their sum, so whatever the rounding the text rectangle holds the text measured for it.
struct Frame {
  int shadow;                // the shadow's depth
  int margin;                // text rectangle inside the body
  int tailInset;             // the body's side that the tail leaves free
  int tailHeight;            // the tail's height, between body and cursor
  int tailBase1, tailBase2;  // where the tail's base meets the body, from its tip
  int width, height;         // what the window adds to the text, shadow included
  int minWidth;
};

Frame FrameAt(int shadowDepth, int dpi) {
  Frame f;
  f.shadow = ScaleUnits(shadowDepth, dpi);
  f.margin = ScaleUnits(kBalloonTextMargin, dpi);
  f.tailInset = ScaleUnits(15, dpi);
  f.tailHeight = ScaleUnits(19, dpi);
  f.tailBase1 = ScaleUnits(21, dpi);
  f.tailBase2 = ScaleUnits(41, dpi);
  f.width = f.shadow + f.tailInset + 2 * f.margin;
  f.height = f.shadow + f.tailHeight + 2 * f.margin + ScaleUnits(1, dpi);
  f.minWidth = ScaleUnits(kMinBalloonWidth, dpi);
  return f;
}

}  // namespace

std::int32_t PixelWidthLimit(std::int32_t maxWidth, std::int32_t screenWidth, int dpi) {
  if (maxWidth >= 0) return ScaleUnits(maxWidth, dpi);
  // |INT32_MIN| does not fit in 32 bits.
  return Clamp32(std::int64_t{screenWidth} / -std::int64_t{maxWidth});
}

std::int32_t TextWidthLimit(std::int32_t pixelLimit, std::int32_t cursorX, std::int32_t screenWidth,
                            int shadowDepth, int dpi) {
  const std::int64_t space = std::max<std::int64_t>(cursorX, std::int64_t{screenWidth} - cursorX);
  const std::int64_t limit =
      std::min<std::int64_t>(pixelLimit, space) - FrameAt(shadowDepth, dpi).width;
  // A limit used up by the frame still wraps the text, one word to a line.
  return Clamp32(std::max<std::int64_t>(limit, 1));
}

BalloonSize WindowSize(std::int32_t textWidth, std::int32_t textHeight, int shadowDepth, int dpi) {
  const Frame f = FrameAt(shadowDepth, dpi);
  return {std::max(Clamp32(std::int64_t{textWidth} + f.width), f.minWidth),
          Clamp32(std::int64_t{textHeight} + f.height)};
}

BalloonRect PlaceAt(TBalloonPosition position, BalloonPoint cursor, BalloonSize size) {
  BalloonRect r;
  switch (position) {
    case bpAboveLeft:  // bottom-right corner at the cursor
      r.left = cursor.x - size.width;
      r.top = cursor.y - size.height;
      break;
    case bpAboveRight:  // bottom-left corner at the cursor
      r.left = cursor.x;
      r.top = cursor.y - size.height;
      break;
    case bpBelowLeft:  // top-right corner at the cursor
      r.left = cursor.x - size.width;
      r.top = cursor.y;
      break;
    case bpBelowRight:  // top-left corner just past the cursor
      r.left = cursor.x + 1;
      r.top = cursor.y + 1;
      break;
  }
  r.right = r.left + size.width;
  r.bottom = r.top + size.height;
  return r;
}

BalloonPlacement PlaceBalloon(TBalloonPosition preferred, BalloonPoint cursor, BalloonSize size,
                              BalloonSize screen) {
  const BalloonRect first = PlaceAt(preferred, cursor, size);
  bool below = IsBelow(preferred), right = IsRight(preferred);
  // The second test of each pair wins when neither side fits.
  if (first.bottom > screen.height) below = false;
  if (first.top < 0) below = true;
  if (first.right > screen.width) right = false;
  if (first.left < 0) right = true;
  const TBalloonPosition position = MakePosition(below, right);
  return {position, position == preferred ? first : PlaceAt(position, cursor, size)};
}

BalloonOutline Outline(TBalloonPosition position, std::int32_t w, std::int32_t h, int shadowDepth,
                       int dpi) {
  const bool below = IsBelow(position), right = IsRight(position);
  const Frame f = FrameAt(shadowDepth, dpi);
  const int d = f.shadow;
  BalloonOutline o;
  o.body.left = right ? f.tailInset : 0;
  o.body.right = right ? w - d : w - d - f.tailInset;
  o.body.top = below ? f.tailHeight : 0;
  o.body.bottom = below ? h - d : h - d - f.tailHeight;
  const std::int32_t tipY = below ? 0 : h - d;
  // Above the cursor the base lies one pixel inside the body, over its bottom edge.
  const std::int32_t baseY = below ? f.tailHeight : h - d - f.tailHeight - 1;
  if (right) {
    o.tip = {0, tipY};
    o.base1 = {f.tailBase1, baseY};
    o.base2 = {f.tailBase2, baseY};
  } else {
    o.tip = {w - d, tipY};
    o.base1 = {w - d - f.tailBase1, baseY};
    o.base2 = {w - d - f.tailBase2, baseY};
  }
  return o;
}

BalloonOutline OutlineAt(const BalloonOutline& outline, int k) {
  if (k < 1) return outline;
  BalloonOutline o = outline;
  o.body = {o.body.left + k, o.body.top + k, o.body.right + k, o.body.bottom + k};
  for (BalloonPoint* p : {&o.tip, &o.base1, &o.base2}) {
    p->x += k;
    p->y += k;
  }
  return o;
}

BalloonRect TextRect(const BalloonOutline& outline, int dpi) {
  const BalloonRect& b = outline.body;
  const int m = ScaleUnits(kBalloonTextMargin, dpi);
  return {b.left + m, b.top + m, b.right - m, b.bottom - m};
}

}  // namespace ostrel
