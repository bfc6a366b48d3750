#include "components/win32/Balloon.h"

#include <algorithm>
#include <map>
#include <utility>

#include "toolkit/Application.h"
#include "toolkit/Colours.h"
#include "toolkit/DpiQueries.h"
#include "toolkit/UiFont.h"

namespace ostrel {

namespace {

// The settings of the most recently made TBalloonHint; windows made without one use the
// defaults.
const TBalloonSettings* g_settings = nullptr;
TBalloonSettings& DefaultSettings() {
  static TBalloonSettings s;
  s.Color = tk::Application::Get().hintColor;
  return s;
}

// The default balloon font for each DPI and the shadow's pattern, made on first use, kept
// to the end.
HFONT DefaultBalloonFont(UINT dpi) {
  static std::map<UINT, tk::GdiObject<HFONT>> fonts;
  tk::GdiObject<HFONT>& font = fonts[dpi];
  if (!font) font.Reset(tk::CreateUiFont(8, false, dpi));
  return font.get();
}

HBITMAP ShadowPattern() {
  static tk::GdiObject<HBITMAP> pattern = [] {
    const tk::WindowDc screen;
    tk::GdiObject<HBITMAP> bmp(CreateCompatibleBitmap(screen.get(), 8, 8));
    const tk::BitmapDc dc(screen.get(), bmp.get());
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        SetPixel(dc.get(), x, y, ShadowPatternBlack(x, y) ? RGB(0, 0, 0) : RGB(255, 255, 255));
    return bmp;
  }();
  return pattern.get();
}

bool ButtonDown() {
  return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
}

// The screen a balloon at `point` opens on: its limits and flips are that screen's.
RECT ScreenAt(POINT point) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcMonitor;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

// ---- TBalloonHint

TBalloonHint::TBalloonHint() {
  settings_.Color = tk::Application::Get().hintColor;
  g_settings = &settings_;
  SetActive(true);
}

TBalloonHint::~TBalloonHint() {
  if (g_settings == &settings_) g_settings = nullptr;
  SetActive(false);
}

void TBalloonHint::SetActive(bool active) {
  active_ = active;
  tk::Application& app = tk::Application::Get();
  if (app.Destroying()) return;
  // Hints off and on again: the application makes its hint window anew, of the new class.
  const bool showing = app.ShowHint();
  app.SetShowHint(false);
  if (active)
    app.SetHintWindowClass([] { return std::make_unique<TBalloonHintWindow>(); });
  else
    app.SetHintWindowClass(nullptr);
  app.SetShowHint(showing);
}

// ---- TBalloonWindow

TBalloonWindow::TBalloonWindow() : settings_(g_settings ? g_settings : &DefaultSettings()) {
  CreateHandle("TBalloonHintWindow", WS_POPUP | WS_DISABLED, WS_EX_TOOLWINDOW);
}

TBalloonWindow::~TBalloonWindow() = default;

UINT TBalloonWindow::DpiAt(POINT screen) const { return tk::DpiAt(screen); }

HFONT TBalloonWindow::FontInUse() const { return DefaultBalloonFont(dpi_); }

void TBalloonWindow::ApplyStyle() {
  fill_ = settings_->Color;
  outline_ = GetSysColor(COLOR_WINDOWFRAME);
  text_ = GetSysColor(COLOR_INFOTEXT);  // reads on the hint colour
  highContrast_ = tk::HighContrast();
  if (highContrast_) {
    // The theme's tool-tip colours replace the settings' own, the text's colour rims it.
    const tk::SurfaceColours info = tk::InfoColours({fill_, text_});
    fill_ = info.back;
    outline_ = text_ = info.text;
  }
}

SIZE TBalloonWindow::MeasureBalloon(const std::string& text) const {
  const int d = settings_->ShadowDepth;
  POINT cursor;
  GetCursorPos(&cursor);
  const RECT screen = ScreenAt(cursor);
  const int screenW = screen.right - screen.left;
  cursor.x -= screen.left;
  const int dpi = static_cast<int>(dpi_);
  const std::int32_t limit =
      TextWidthLimit(PixelWidthLimit(settings_->MaxWidth, screenW, dpi), cursor.x, screenW, d, dpi);
  RECT r{0, 0, limit, 0};
  const tk::WindowDc dc;
  const tk::Selection font(dc.get(), FontInUse());
  DrawTextA(dc.get(), text.c_str(), -1, &r, DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
  const BalloonSize s = WindowSize(r.right - r.left, r.bottom - r.top, d, dpi);
  return SIZE{s.width, s.height};
}

tk::Region TBalloonWindow::ShapeRegion(int k) const {
  const BalloonOutline o = OutlineAt(
      Outline(position_, size_.cx, size_.cy, settings_->ShadowDepth, static_cast<int>(dpi_)), k);
  const int corner = tk::Scale(kBalloonCornerEllipse, dpi_);
  tk::Region body(
      CreateRoundRectRgn(o.body.left, o.body.top, o.body.right, o.body.bottom, corner, corner));
  const POINT tail[3] = {{o.tip.x, o.tip.y}, {o.base1.x, o.base1.y}, {o.base2.x, o.base2.y}};
  const tk::Region tailRgn(CreatePolygonRgn(tail, 3, ALTERNATE));
  CombineRgn(body.get(), body.get(), tailRgn.get(), RGN_OR);
  return body;
}

void TBalloonWindow::ApplyRegion() {
  tk::Region rgn = ShapeRegion(0);
  if (settings_->ShadowDepth > 0) {
    const tk::Region shadow = ShapeRegion(tk::Scale(settings_->ShadowDepth, dpi_));
    CombineRgn(rgn.get(), rgn.get(), shadow.get(), RGN_OR);
  }
  tk::SetWindowRegion(Handle(), std::move(rgn), false);
}

void TBalloonWindow::DrawShape(HDC dc, int k, COLORREF fill, COLORREF outline) const {
  const tk::Region rgn = ShapeRegion(k);
  const tk::GdiObject<HBRUSH> fillBrush(CreateSolidBrush(fill));
  const tk::GdiObject<HBRUSH> frameBrush(CreateSolidBrush(outline));
  FillRgn(dc, rgn.get(), fillBrush.get());
  const int line = std::max(1, tk::Scale(1, dpi_));
  FrameRgn(dc, rgn.get(), frameBrush.get(), line, line);
}

LRESULT TBalloonWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel: nothing flashes
    case WM_PAINT: {
      const tk::PaintDc paint(Handle());
      Paint(paint.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    default:
      return tk::HintWindow::WndProc(msg, wp, lp);
  }
}

// Everything is drawn off the screen and copied in one go. Each bitmap is made before the
// context that holds it, so the context lets go of it before it is freed.
void TBalloonWindow::Paint(HDC wdc) {
  const int w = size_.cx, h = size_.cy, d = tk::Scale(settings_->ShadowDepth, dpi_);
  if (w <= 0 || h <= 0) return;
  const tk::GdiObject<HBITMAP> bmpA(CreateCompatibleBitmap(wdc, w, h));
  const tk::BitmapDc a(wdc, bmpA.get());
  // A: the screen underneath.
  if (background_.get()) {
    const tk::BitmapDc src(wdc, background_.get());
    BitBlt(a.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
  } else {
    BitBlt(a.get(), 0, 0, w, h, wdc, 0, 0, SRCCOPY);
  }
  // A high-contrast theme has no shadow colour: the screen underneath shows there as is.
  if (d > 0 && !highContrast_) {
    // B: A with every second pixel black; C: white but for the two shapes; B OR C leaves
    // the dithered copy inside the shapes only, and A AND B darkens A there.
    const tk::GdiObject<HBITMAP> bmpB(CreateCompatibleBitmap(wdc, w, h));
    const tk::BitmapDc b(wdc, bmpB.get());
    BitBlt(b.get(), 0, 0, w, h, a.get(), 0, 0, SRCCOPY);
    {
      const tk::GdiObject<HBRUSH> pattern(CreatePatternBrush(ShadowPattern()));
      const tk::Selection brush(b.get(), pattern.get());
      PatBlt(b.get(), 0, 0, w, h, 0x00A000C9);  // DPa
    }
    const tk::GdiObject<HBITMAP> bmpC(CreateCompatibleBitmap(wdc, w, h));
    const tk::BitmapDc c(wdc, bmpC.get());
    PatBlt(c.get(), 0, 0, w, h, WHITENESS);
    DrawShape(c.get(), 0, RGB(0, 0, 0), RGB(0, 0, 0));
    DrawShape(c.get(), d, RGB(0, 0, 0), RGB(0, 0, 0));
    BitBlt(b.get(), 0, 0, w, h, c.get(), 0, 0, SRCPAINT);
    BitBlt(a.get(), 0, 0, w, h, b.get(), 0, 0, SRCAND);
  }
  DrawShape(a.get(), 0, fill_, outline_);
  const int dpi = static_cast<int>(dpi_);
  const BalloonRect t = TextRect(Outline(position_, w, h, settings_->ShadowDepth, dpi), dpi);
  RECT textRect{t.left, t.top, t.right, t.bottom};
  {
    const tk::Selection font(a.get(), FontInUse());
    SetBkMode(a.get(), TRANSPARENT);
    SetTextColor(a.get(), text_);
    DrawTextA(a.get(), Caption().c_str(), -1, &textRect, DT_NOPREFIX | DT_WORDBREAK);
  }
  BitBlt(wdc, 0, 0, w, h, a.get(), 0, 0, SRCCOPY);
}

// ---- TBalloonHintWindow

TBalloonHintWindow::TBalloonHintWindow() = default;

RECT TBalloonHintWindow::CalcHintRect(int, const std::string& text) {
  POINT cursor;
  GetCursorPos(&cursor);
  dpi_ = DpiAt(cursor);
  ApplyStyle();
  const SIZE s = MeasureBalloon(text);
  return RECT{0, 0, s.cx, s.cy};
}

void TBalloonHintWindow::ActivateHint(const RECT&, const std::string& text) {
  if (ButtonDown()) {
    tk::Application::Get().CancelHint();
    return;
  }
  HWND hwnd = Handle();
  // Going from one hint to the next: the screen must show what is under the old one.
  if (IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_HIDE);
  SetCaption(text);
  // Everything is sized for the screen under the cursor, as it is now.
  POINT cursor;
  GetCursorPos(&cursor);
  dpi_ = DpiAt(cursor);
  ApplyStyle();
  size_ = MeasureBalloon(text);
  const RECT monitor = ScreenAt(cursor);
  BalloonPlacement at = PlaceBalloon(
      settings_->Position, {cursor.x - monitor.left, cursor.y - monitor.top}, {size_.cx, size_.cy},
      {monitor.right - monitor.left, monitor.bottom - monitor.top});
  at.window.left += monitor.left;
  at.window.top += monitor.top;
  at.window.right += monitor.left;
  at.window.bottom += monitor.top;
  position_ = at.position;

  // The screen underneath, for the shadow and for the corners a rectangular window shows.
  {
    const tk::WindowDc screen;
    background_.Reset(CreateCompatibleBitmap(screen.get(), size_.cx, size_.cy));
    const tk::BitmapDc mem(screen.get(), background_.get());
    BitBlt(mem.get(), 0, 0, size_.cx, size_.cy, screen.get(), at.window.left, at.window.top,
           SRCCOPY);
  }

  // The shape is set before the window shows, so it never appears as a rectangle first.
  ApplyRegion();
  SetWindowPos(hwnd, HWND_TOPMOST, at.window.left, at.window.top, size_.cx, size_.cy,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

}  // namespace ostrel
