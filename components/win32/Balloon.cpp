#include "components/win32/Balloon.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Colours.h"
#include "toolkit/DpiQueries.h"
#include "toolkit/UiFont.h"

namespace ostrel {

namespace {

// The settings of the most recently made TBalloonHint; windows made without one use the
// defaults.
const BalloonSettings* g_settings = nullptr;
BalloonSettings& DefaultSettings() {
  static BalloonSettings s;
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

// The hook of a balloon without regions, and the window it watches.
HHOOK g_hook = nullptr;
HWND g_watched = nullptr;
bool g_moveSeen = false;

bool ButtonDown() {
  return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
}

LRESULT CALLBACK WatchMessages(int code, WPARAM wp, LPARAM lp) {
  bool cancel = false;
  // Each message once, as it is taken from the queue (not when only peeked at).
  if (code >= 0 && wp == PM_REMOVE && g_watched) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lp);
    switch (msg.message) {
      case WM_PAINT: {
        const auto* s = g_settings ? g_settings : &DefaultSettings();
        RECT update;
        if (msg.hwnd != g_watched && s->Behavior.Contains(bbHideOnPaint) &&
            GetUpdateRect(msg.hwnd, &update, FALSE)) {
          ClientToScreen(msg.hwnd, reinterpret_cast<POINT*>(&update.left));
          ClientToScreen(msg.hwnd, reinterpret_cast<POINT*>(&update.right));
          RECT balloon, common;
          GetWindowRect(g_watched, &balloon);
          cancel = IntersectRect(&common, &update, &balloon) != 0;
        }
        break;
      }
      case WM_MOUSEMOVE:
        cancel = g_moveSeen;
        g_moveSeen = true;
        break;
      default:
        cancel = tk::IsButtonDownMessage(msg.message);
        break;
    }
  }
  const LRESULT result = CallNextHookEx(g_hook, code, wp, lp);
  // After the chain: cancelling hides the window, which removes this hook.
  if (cancel) tk::Application::Get().CancelHint();
  return result;
}

void Unhook() {
  g_watched = nullptr;
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

// The "StatusFont" of the window metrics, for a screen of `dpi`; null without one.
HFONT CreateSystemBalloonFont(UINT dpi) {
  HKEY key;
  if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", &key) != ERROR_SUCCESS)
    return nullptr;
  DWORD type = 0, size = 0;
  std::vector<std::uint8_t> value;
  if (RegQueryValueExA(key, "StatusFont", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      size > 0 && size <= 4096) {
    value.resize(size);
    if (RegQueryValueExA(key, "StatusFont", nullptr, &type, value.data(), &size) != ERROR_SUCCESS)
      value.clear();
    value.resize(value.empty() ? 0 : size);
  }
  RegCloseKey(key);
  if (value.empty() || type != REG_BINARY) return nullptr;
  const StoredFont f = ReadStoredFont(value.data(), value.size());
  LOGFONTA lf{};
  lf.lfHeight = SystemFontHeight(f.height, static_cast<int>(dpi));
  lf.lfWidth = f.width;
  lf.lfEscapement = f.escapement;
  lf.lfOrientation = f.orientation;
  lf.lfWeight = f.weight;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeOut;
  lf.lfCharSet = f.charSet;
  lf.lfOutPrecision = f.outPrecision;
  lf.lfClipPrecision = f.clipPrecision;
  lf.lfQuality = f.quality;
  lf.lfPitchAndFamily = f.pitchAndFamily;
  std::memcpy(lf.lfFaceName, f.faceName.c_str(), f.faceName.size() + 1);
  return CreateFontIndirectA(&lf);
}

// The screen a balloon at `point` opens on: its limits and flips are that screen's.
RECT ScreenAt(POINT point) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcMonitor;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

bool BalloonHookInstalled() { return g_hook != nullptr; }

// ---- TBalloonBase, TBalloonHint

TBalloonBase::TBalloonBase() {
  settings_.Color = tk::Application::Get().hintColor;
  LOGFONTA lf{};
  lf.lfHeight = -11;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  SetFont(lf);
  SetMaxWidth(-4);
}

TBalloonBase::~TBalloonBase() = default;

void TBalloonBase::SetFont(const LOGFONTA& font, std::uint32_t color) {
  settings_.Font = font;
  settings_.Font.lfFaceName[LF_FACESIZE - 1] = '\0';
  settings_.FontColor = color;
  font_.Reset(CreateFontIndirectA(&settings_.Font));
  settings_.FontHandle = font_.get();
}

void TBalloonBase::SetMaxWidth(std::int32_t value) {
  settings_.MaxWidth = StoredMaxWidth(value, GetSystemMetrics(SM_CXSCREEN));
}

TBalloonHint::TBalloonHint() {
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

TBalloonWindow::~TBalloonWindow() {
  if (g_watched == Handle()) Unhook();
}

UINT TBalloonWindow::DpiAt(POINT screen) const { return tk::DpiAt(screen); }

void TBalloonWindow::ApplyStyle() {
  const BalloonStyleChoice choice = ChooseStyle(
      *settings_, {tk::Application::Get().hintColor, GetSysColor(COLOR_WINDOWFRAME),
                   GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOTEXT)});
  fill_ = choice.fill;
  outline_ = choice.outline;
  text_ = choice.text;
  highContrast_ = tk::HighContrast();
  if (highContrast_) {
    // The theme's tool-tip colours replace the settings' own, the text's colour rims it.
    const tk::SurfaceColours info = tk::InfoColours({fill_, text_});
    fill_ = info.back;
    outline_ = text_ = info.text;
  }
  switch (choice.font) {
    case BalloonFont::Custom:
      // The font's sizes are for 96 DPI, where the settings' own font serves.
      systemFont_.Reset();
      if (settings_->FontHandle && dpi_ != kUnitsDpi) {
        LOGFONTA lf = settings_->Font;
        lf.lfHeight = tk::FontHeight(lf.lfHeight, dpi_);
        lf.lfWidth = tk::Scale(lf.lfWidth, dpi_);
        lstrcpynA(lf.lfFaceName, tk::FaceFor(lf.lfFaceName, dpi_), LF_FACESIZE);
        systemFont_.Reset(CreateFontIndirectA(&lf));
      }
      font_ = systemFont_.get()       ? systemFont_.get()
              : settings_->FontHandle ? settings_->FontHandle
                                      : DefaultBalloonFont(dpi_);
      break;
    case BalloonFont::System:
      // Without a stored status font, the default balloon font.
      systemFont_.Reset(CreateSystemBalloonFont(dpi_));
      font_ = systemFont_.get() ? systemFont_.get() : DefaultBalloonFont(dpi_);
      break;
    case BalloonFont::Default:
      font_ = DefaultBalloonFont(dpi_);
      break;
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
  const tk::Selection font(dc.get(), font_ ? font_ : DefaultBalloonFont(dpi_));
  DrawTextA(dc.get(), text.c_str(), -1, &r, DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
  const BalloonSize s = WindowSize(r.right - r.left, r.bottom - r.top, d, dpi);
  return SIZE{s.width, s.height};
}

tk::Region TBalloonWindow::ShapeRegion(int k) const {
  const BalloonOutline o = OutlineAt(
      Outline(position_, size_.cx, size_.cy, settings_->ShadowDepth, static_cast<int>(dpi_)), k);
  const int corner = tk::Scale(kBalloonCornerEllipse, dpi_);
  tk::Region body(
      settings_->Shape == bsRoundRect
          ? CreateRoundRectRgn(o.body.left, o.body.top, o.body.right, o.body.bottom, corner, corner)
          : CreateRectRgn(o.body.left, o.body.top, o.body.right, o.body.bottom));
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
    case WM_SHOWWINDOW:
      if (!wp && g_watched == Handle()) Unhook();
      return tk::HintWindow::WndProc(msg, wp, lp);
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
  const bool shadow = d > 0 && !highContrast_;
  if (shadow && settings_->ShadowStyle == ssSolid) {
    DrawShape(a.get(), d, RGB(0, 0, 0), RGB(0, 0, 0));
  } else if (shadow) {
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
    const tk::Selection font(a.get(), font_ ? font_ : DefaultBalloonFont(dpi_));
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
  const TBalloonBehaviors behavior = settings_->Behavior;
  if (behavior.Contains(bbNoShowMouseDown) && ButtonDown()) {
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
  if (behavior.Contains(bbUseRegions)) {
    ApplyRegion();
  } else {
    tk::SetWindowRegion(hwnd, tk::Region(), false);
    if (!g_hook) g_hook = SetWindowsHookExA(WH_GETMESSAGE, WatchMessages, nullptr, GetCurrentThreadId());
    g_watched = hwnd;
    g_moveSeen = false;
  }
  SetWindowPos(hwnd, HWND_TOPMOST, at.window.left, at.window.top, size_.cx, size_.cy,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

}  // namespace ostrel
