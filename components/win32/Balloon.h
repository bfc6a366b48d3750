// TBalloonHint: while active, every pop-up hint of the application appears as a speech
// balloon pointing at the mouse cursor, with a dithered drop shadow, placed on the side of
// the cursor where it fits; none comes up while a mouse button is held. It makes
// TBalloonHintWindow the application's hint window class; the balloon windows read the
// settings of the most recently made TBalloonHint. The rules that need no window are in
// components/Balloon.h. A balloon takes the DPI of the screen under the cursor as it
// opens, and every size of it, its font included, is made for that DPI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "components/Balloon.h"
#include "toolkit/Gdi.h"
#include "toolkit/HintWindow.h"

namespace ostrel {

class TBalloonHint {
 public:
  TBalloonHint();
  ~TBalloonHint();
  TBalloonHint(const TBalloonHint&) = delete;
  TBalloonHint& operator=(const TBalloonHint&) = delete;

  // The fill; the application's hint colour until set.
  std::uint32_t Color() const { return settings_.Color; }
  void SetColor(std::uint32_t c) { settings_.Color = c; }
  bool Active() const { return active_; }
  // True: the application's hints become balloons; false: the toolkit's plain hints.
  void SetActive(bool active);

 private:
  TBalloonSettings settings_;
  bool active_ = false;
};

// The balloon: its size for a text, its shape and its painting.
class TBalloonWindow : public tk::HintWindow {
 public:
  ~TBalloonWindow() override;
  TBalloonPosition CurrentPosition() const { return position_; }
  COLORREF FillColor() const { return fill_; }
  COLORREF OutlineColor() const { return outline_; }
  HFONT FontInUse() const;
  // The DPI the balloon was last measured and shown for.
  UINT Dpi() const { return dpi_; }

 protected:
  TBalloonWindow();
  // The DPI of the screen that holds a point (a test may put another there).
  virtual UINT DpiAt(POINT screen) const;
  // The colours, as the settings and the contrast mode have them.
  void ApplyStyle();
  // The window's size for the caption with the cursor where it is now, at dpi_.
  SIZE MeasureBalloon(const std::string& text) const;
  // Sets the window's region for its size and position.
  void ApplyRegion();
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  const TBalloonSettings* settings_;
  UINT dpi_ = kUnitsDpi;
  TBalloonPosition position_ = bpAboveRight;
  SIZE size_{};
  // What the screen showed where the window now is, taken just before it was shown.
  tk::GdiObject<HBITMAP> background_;

 private:
  // Draws the balloon off the screen and copies it onto `dc` (the window's, or a
  // WM_PRINTCLIENT's).
  void Paint(HDC dc);
  void DrawShape(HDC dc, int k, COLORREF fill, COLORREF outline) const;
  tk::Region ShapeRegion(int k) const;

  COLORREF fill_ = 0;
  COLORREF outline_ = 0;
  COLORREF text_ = 0;
  bool highContrast_ = false;  // as ApplyStyle found it
};

// The balloon as the application's hint window: it shows itself beside the cursor.
class TBalloonHintWindow : public TBalloonWindow {
 public:
  TBalloonHintWindow();
  RECT CalcHintRect(int maxWidth, const std::string& text) override;
  // The suggested rectangle is not used: the balloon goes where the cursor is.
  void ActivateHint(const RECT& rect, const std::string& text) override;
};

}  // namespace ostrel
