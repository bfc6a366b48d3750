// The rules of the balloon hints (TBalloonHint, components/win32/Balloon.h) that need no
// window: the settings and their defaults, the width limit of the text, the size of the
// window, where it goes beside the cursor and when it flips, the outline of the body, the
// tail and the shadow, and the dithering pattern. Every size is written for a screen at
// 96 DPI; the rules take the DPI of the screen the balloon opens on and scale each size by
// the program's one rule (platform/DpiUnits.h). At 96 DPI they are the sizes as written.
#pragma once

#include <cstdint>

#include "platform/DpiUnits.h"

namespace ostrel {

// Bit 0 set: right of the cursor; bit 1 set: below it.
enum TBalloonPosition : std::uint8_t { bpAboveLeft, bpAboveRight, bpBelowLeft, bpBelowRight };

constexpr bool IsRight(TBalloonPosition p) { return (p & 1) != 0; }
constexpr bool IsBelow(TBalloonPosition p) { return (p & 2) != 0; }
constexpr TBalloonPosition MakePosition(bool below, bool right) {
  return static_cast<TBalloonPosition>((below ? 2 : 0) | (right ? 1 : 0));
}

// In units of 96 DPI, as ShadowDepth is.
inline constexpr int kMinBalloonWidth = 59;
inline constexpr int kBalloonTextMargin = 9;     // text rectangle inside the body
inline constexpr int kBalloonCornerEllipse = 18;  // rounded corners, width and height

// The settings that every balloon window reads. The fill is a 0x00BBGGRR value; the
// outline and the text take the system's window-frame and tool-tip text colours.
struct TBalloonSettings {
  std::uint32_t Color = 0;  // the application's hint colour, set when the component is made
  std::int32_t MaxWidth = -4;  // a quarter of the screen
  TBalloonPosition Position = bpAboveRight;
  int ShadowDepth = 8;
};

// The widest the balloon may be, in pixels: MaxWidth itself (in units) from 0 up, else the
// screen width divided by |MaxWidth|.
std::int32_t PixelWidthLimit(std::int32_t maxWidth, std::int32_t screenWidth, int dpi = kUnitsDpi);
// The width the text is wrapped to, with the cursor at x: the pixel limit, or the room on
// the roomier side of the cursor if that is less, minus the frame of the balloon; at
// least 1. Screen and cursor are in pixels, the shadow's depth in units.
std::int32_t TextWidthLimit(std::int32_t pixelLimit, std::int32_t cursorX, std::int32_t screenWidth,
                            int shadowDepth, int dpi = kUnitsDpi);

struct BalloonPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  constexpr bool operator==(const BalloonPoint&) const = default;
};

struct BalloonRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  constexpr std::int32_t Width() const { return right - left; }
  constexpr std::int32_t Height() const { return bottom - top; }
  constexpr bool operator==(const BalloonRect&) const = default;
};

struct BalloonSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  constexpr bool operator==(const BalloonSize&) const = default;
};

// The window's size for a text measured at textWidth x textHeight pixels.
BalloonSize WindowSize(std::int32_t textWidth, std::int32_t textHeight, int shadowDepth,
                       int dpi = kUnitsDpi);

// The window's rectangle on the screen with the corner named by `position` at the cursor.
BalloonRect PlaceAt(TBalloonPosition position, BalloonPoint cursor, BalloonSize size);

struct BalloonPlacement {
  TBalloonPosition position = bpAboveRight;
  BalloonRect window;
};
// The preferred position, each half flipped where the window would leave the screen.
BalloonPlacement PlaceBalloon(TBalloonPosition preferred, BalloonPoint cursor, BalloonSize size,
                              BalloonSize screen);

// The outline of the balloon in window coordinates: body rectangle and tail triangle.
struct BalloonOutline {
  BalloonRect body;
  BalloonPoint tip;
  BalloonPoint base1;
  BalloonPoint base2;
  constexpr bool operator==(const BalloonOutline&) const = default;
};
// The outline for a client area of width x height pixels, at offset 0.
BalloonOutline Outline(TBalloonPosition position, std::int32_t width, std::int32_t height,
                       int shadowDepth, int dpi = kUnitsDpi);
// The same outline moved by (k, k) pixels: the shadow's, at k = ShadowDepth scaled.
BalloonOutline OutlineAt(const BalloonOutline& outline, int k);
// Where the text goes: the body less the margin on every side.
BalloonRect TextRect(const BalloonOutline& outline, int dpi = kUnitsDpi);

// The 8 x 8 pattern that dithers the shadow: black where x + y is even.
constexpr bool ShadowPatternBlack(int x, int y) { return ((x + y) & 1) == 0; }

}  // namespace ostrel
