// The balloon's rules: the text's width limit, the window's size, the side of the cursor
// it goes to and where its tail points.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>

#include "components/Balloon.h"

namespace ostrel {
namespace {

constexpr BalloonSize kScreen{1024, 768};

TEST(BalloonSizing, QuarterScreenLimitsTheTextTo215PixelsWhicheverSideHasRoom) {
  const TBalloonSettings s;
  const std::int32_t limit = PixelWidthLimit(s.MaxWidth, 1024);
  EXPECT_EQ(limit, 256);
  EXPECT_EQ(TextWidthLimit(limit, 512, 1024, s.ShadowDepth), 215);
  EXPECT_EQ(TextWidthLimit(limit, 5, 1024, s.ShadowDepth), 215);
  EXPECT_EQ(TextWidthLimit(limit, 1020, 1024, s.ShadowDepth), 215);
  // A limit as wide as the screen: the roomier side of the cursor limits the text.
  const std::int32_t wide = PixelWidthLimit(1024, 1024);
  EXPECT_EQ(wide, 1024);
  EXPECT_EQ(TextWidthLimit(wide, 700, 1024, 8), 700 - 41);
  EXPECT_EQ(TextWidthLimit(wide, 300, 1024, 0), 724 - 33);
  // Settings that leave no room still wrap the text, and no value overflows.
  EXPECT_EQ(TextWidthLimit(PixelWidthLimit(0, 1024), 512, 1024, 16), 1);
  EXPECT_EQ(PixelWidthLimit(INT32_MIN, 1024), 0);
  EXPECT_EQ(PixelWidthLimit(-1, 1024), 1024);
  // At 192 DPI the frame and a set width are twice theirs: a 2048-pixel screen wraps at
  // twice 215, the 1024-pixel one at 256 - 82.
  EXPECT_EQ(TextWidthLimit(PixelWidthLimit(-4, 2048, 192), 1024, 2048, s.ShadowDepth, 192), 430);
  EXPECT_EQ(TextWidthLimit(limit, 512, 1024, s.ShadowDepth, 192), 174);
  EXPECT_EQ(PixelWidthLimit(300, 1024, 144), 450);
}

TEST(BalloonSizing, OneWordGivesTheNarrowestBalloonAndTheBodyLeavesRoomForTailAndShadow) {
  const int d = 8;
  const BalloonSize small = WindowSize(18, 13, d);
  EXPECT_EQ(small, (BalloonSize{59, 13 + d + 38}));
  EXPECT_EQ(WindowSize(215, 26, d), (BalloonSize{215 + 41, 26 + 46}));
  for (TBalloonPosition p : {bpAboveLeft, bpAboveRight, bpBelowLeft, bpBelowRight}) {
    const BalloonOutline o = Outline(p, small.width, small.height, d);
    EXPECT_EQ(o.body.Width(), small.width - d - 15) << int(p);
    EXPECT_EQ(o.body.Height(), small.height - d - 19) << int(p);
    // The text keeps 9 pixels off the outline, so 18 + 2 x 9 fits the one word.
    const BalloonRect t = TextRect(o);
    EXPECT_EQ(t.Height(), small.height - d - 19 - 18) << int(p);
    EXPECT_GE(t.Width(), 18) << int(p);
    // The shadow is the same outline d pixels down and right, and stays in the window.
    const BalloonOutline shadow = OutlineAt(o, d);
    EXPECT_EQ(std::max(shadow.body.right, shadow.tip.x), small.width) << int(p);
    EXPECT_EQ(std::max(shadow.body.bottom, shadow.tip.y), small.height) << int(p);
    EXPECT_EQ(shadow.base2.x - o.base2.x, d);
  }
  EXPECT_EQ(OutlineAt(Outline(bpAboveRight, 100, 80, 0), 0), Outline(bpAboveRight, 100, 80, 0));

  // At 192 DPI every size is twice its own; at 120 and 144, whatever the rounding, the text
  // fits its rectangle and the shadow ends at the window's edges.
  EXPECT_EQ(WindowSize(18, 26, d, 192), (BalloonSize{118, 26 + 92}));
  EXPECT_EQ(WindowSize(430, 52, d, 192), (BalloonSize{430 + 82, 52 + 92}));
  for (int dpi : {120, 144, 192})
    for (TBalloonPosition p : {bpAboveLeft, bpAboveRight, bpBelowLeft, bpBelowRight}) {
      const BalloonSize size = WindowSize(100, 40, d, dpi);
      const BalloonOutline o = Outline(p, size.width, size.height, d, dpi);
      EXPECT_GE(TextRect(o, dpi).Width(), 100) << dpi;
      EXPECT_GE(TextRect(o, dpi).Height(), 40) << dpi;
      const BalloonOutline shadow = OutlineAt(o, ScaleUnits(d, dpi));
      EXPECT_EQ(std::max(shadow.body.right, shadow.tip.x), size.width) << dpi;
      EXPECT_EQ(std::max(shadow.body.bottom, shadow.tip.y), size.height) << dpi;
    }
}

// The tail's tip is d pixels straight above the cursor (below it for the lower sides),
// and the tail's base lies on the body's edge nearest the cursor.
TEST(BalloonPlacement, TheTailPointsAtTheCursorOnEverySide) {
  const int d = 8;
  const BalloonSize size = WindowSize(120, 26, d);
  const BalloonPoint cursor{500, 400};
  for (TBalloonPosition p : {bpAboveLeft, bpAboveRight, bpBelowLeft, bpBelowRight}) {
    const BalloonPlacement at = PlaceBalloon(p, cursor, size, kScreen);
    ASSERT_EQ(at.position, p);
    const BalloonOutline o = Outline(p, size.width, size.height, d);
    const BalloonPoint tip{at.window.left + o.tip.x, at.window.top + o.tip.y};
    switch (p) {
      case bpAboveLeft: EXPECT_EQ(tip, (BalloonPoint{500 - d, 400 - d})); break;
      case bpAboveRight: EXPECT_EQ(tip, (BalloonPoint{500, 400 - d})); break;
      case bpBelowLeft: EXPECT_EQ(tip, (BalloonPoint{500 - d, 400})); break;
      case bpBelowRight: EXPECT_EQ(tip, (BalloonPoint{501, 401})); break;
    }
    const std::int32_t edge = IsBelow(p) ? o.body.top : o.body.bottom;
    EXPECT_EQ(std::abs(o.base1.y - edge), IsBelow(p) ? 0 : 1) << int(p);
    EXPECT_EQ(o.base1.y, o.base2.y);
  }
}

TEST(BalloonPlacement, FlipsAtTheScreensEdgesAndTheLastTestWins) {
  const BalloonSize size{120, 60};
  auto place = [&](BalloonPoint cursor) { return PlaceBalloon(bpAboveRight, cursor, size, kScreen); };
  EXPECT_EQ(place({1023, 400}).position, bpAboveLeft);
  EXPECT_EQ(place({1023, 400}).window, (BalloonRect{903, 340, 1023, 400}));
  EXPECT_EQ(place({500, 10}).position, bpBelowRight);
  EXPECT_EQ(place({500, 10}).window, (BalloonRect{501, 11, 621, 71}));
  EXPECT_EQ(place({1023, 0}).position, bpBelowLeft);
  EXPECT_EQ(place({0, 767}).position, bpAboveRight);
  EXPECT_EQ(place({904, 60}).position, bpAboveRight);  // exactly fits
  EXPECT_EQ(PlaceBalloon(bpBelowLeft, {10, 760}, size, kScreen).position, bpAboveRight);
  // Taller than the screen: above would start above 0, so below it goes.
  const BalloonPlacement tall = PlaceBalloon(bpAboveRight, {500, 400}, {100, 900}, kScreen);
  EXPECT_EQ(tall.position, bpBelowRight);
  EXPECT_EQ(tall.window.top, 401);
}

}  // namespace
}  // namespace ostrel
