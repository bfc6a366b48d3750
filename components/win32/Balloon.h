// TBalloonHint: while active, every pop-up hint of the application appears as a speech
// balloon pointing at the mouse cursor, with a drop shadow, placed on the side of the
// cursor where it fits. It makes TBalloonHintWindow the application's hint window class;
// the balloon windows read the settings of the most recently made TBalloonHint. The rules
// that need no window are in components/Balloon.h. A balloon takes the DPI of the screen
// under the cursor as it opens, and every size of it, its fonts included, is made for
// that DPI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "components/Balloon.h"
#include "toolkit/Gdi.h"
#include "toolkit/HintWindow.h"

namespace ostrel {

// The settings record the balloon windows read: the portable settings and the font.
struct BalloonSettings : TBalloonSettings {
  LOGFONTA Font{};
  HFONT FontHandle = nullptr;  // made from Font by the component that owns the record
};

class TBalloonBase {
 public:
  TBalloonBase();
  virtual ~TBalloonBase();
  TBalloonBase(const TBalloonBase&) = delete;
  TBalloonBase& operator=(const TBalloonBase&) = delete;

  std::uint32_t BorderColor() const { return settings_.BorderColor; }
  void SetBorderColor(std::uint32_t c) { settings_.BorderColor = c; }
  std::uint32_t Color() const { return settings_.Color; }
  void SetColor(std::uint32_t c) { settings_.Color = c; }
  const LOGFONTA& Font() const { return settings_.Font; }
  std::uint32_t FontColor() const { return settings_.FontColor; }
  // Copies the font.
  void SetFont(const LOGFONTA& font, std::uint32_t color = kBlack);
  std::int32_t MaxWidth() const { return settings_.MaxWidth; }
  void SetMaxWidth(std::int32_t value);
  TBalloonBehaviors Behavior() const { return settings_.Behavior; }
  void SetBehavior(TBalloonBehaviors b) { settings_.Behavior = b; }
  TBalloonPosition Position() const { return settings_.Position; }
  void SetPosition(TBalloonPosition p) { settings_.Position = p; }
  int ShadowDepth() const { return settings_.ShadowDepth; }
  void SetShadowDepth(int d) { settings_.ShadowDepth = StoredShadowDepth(d); }
  TBalloonShadowStyle ShadowStyle() const { return settings_.ShadowStyle; }
  void SetShadowStyle(TBalloonShadowStyle s) { settings_.ShadowStyle = s; }
  TBalloonShape Shape() const { return settings_.Shape; }
  void SetShape(TBalloonShape s) { settings_.Shape = s; }
  THintStyle Style() const { return settings_.Style; }
  void SetStyle(THintStyle s) { settings_.Style = s; }

 protected:
  BalloonSettings settings_;

 private:
  tk::GdiObject<HFONT> font_;
};

class TBalloonHint : public TBalloonBase {
 public:
  TBalloonHint();
  ~TBalloonHint() override;

  bool Active() const { return active_; }
  // True: the application's hints become balloons; false: the toolkit's plain hints.
  void SetActive(bool active);

 private:
  bool active_ = false;
};

// The balloon: its size for a text, its shape and its painting.
class TBalloonWindow : public tk::HintWindow {
 public:
  ~TBalloonWindow() override;
  TBalloonPosition CurrentPosition() const { return position_; }
  COLORREF FillColor() const { return fill_; }
  COLORREF OutlineColor() const { return outline_; }
  HFONT FontInUse() const { return font_; }
  // The DPI the balloon was last measured and shown for.
  UINT Dpi() const { return dpi_; }

 protected:
  TBalloonWindow();
  // The DPI of the screen that holds a point (a test may put another there).
  virtual UINT DpiAt(POINT screen) const;
  // Colours and font for the settings' style, at dpi_.
  void ApplyStyle();
  // The window's size for the caption with the cursor where it is now, at dpi_.
  SIZE MeasureBalloon(const std::string& text) const;
  // Sets the window's region for its size and position.
  void ApplyRegion();
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  const BalloonSettings* settings_;
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
  HFONT font_ = nullptr;
  tk::GdiObject<HFONT> systemFont_;  // or the custom font made for dpi_
};

// The balloon as the application's hint window: it shows itself beside the cursor.
class TBalloonHintWindow : public TBalloonWindow {
 public:
  TBalloonHintWindow();
  RECT CalcHintRect(int maxWidth, const std::string& text) override;
  // The suggested rectangle is not used: the balloon goes where the cursor is.
  void ActivateHint(const RECT& rect, const std::string& text) override;
};

// The hook that hides a balloon without regions when the mouse moves or something under
// it repaints; installed while such a balloon shows.
bool BalloonHookInstalled();

}  // namespace ostrel
