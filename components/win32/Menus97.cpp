#include "components/win32/Menus97.h"

#include <cstddef>

#include "toolkit/Dpi.h"

namespace ostrel {

namespace {

// The size of NONCLIENTMETRICSA without the padded border, which every version reads.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);

TFont97 FontFromLogFont(const LOGFONTA& lf, COLORREF color) {
  TFont97 f;
  f.name = lf.lfFaceName;
  f.height = lf.lfHeight;
  f.bold = lf.lfWeight > 500;
  f.italic = lf.lfItalic != 0;
  f.underline = lf.lfUnderline != 0;
  f.strikeOut = lf.lfStrikeOut != 0;
  f.pitch = static_cast<BYTE>(lf.lfPitchAndFamily & 3);
  f.color = color;
  return f;
}

}  // namespace

TPopupMenus97::TPopupMenus97(CodePagePort& codePage) : dpi_(tk::ScreenDpi()), names_(codePage) {
  // BannerFont: "Arial", 12 points (16 pixels at 96 DPI), as TFont97 starts.
  LoadMenuFont();
  hiliteFont_.color = SysColor97(COLOR_HIGHLIGHTTEXT);
  LoadMarks();
  UpdateMarkSize();
}

// The GDI objects go with their owners, each context before the bitmap selected into it.
TPopupMenus97::~TPopupMenus97() { SetPopupMenu(nullptr); }

int TPopupMenus97::Px(int units) const { return tk::Scale(units, dpi_); }

void TPopupMenus97::SetDpi(UINT dpi) {
  if (!dpi || dpi == dpi_) return;
  const bool otherArt = tk::ArtDpi(dpi) != tk::ArtDpi(dpi_);
  dpi_ = dpi;
  // No font of the list is left selected anywhere: every context had its state restored.
  fonts_.clear();
  drawnImages_.Clear();
  banner_.Drop();
  MarkBannerStale();
  if (otherArt) LoadMarks();
  UpdateMarkSize();
}

// The marks drawn for the DPI set; the 96-DPI ones where there is no such drawing.
void TPopupMenus97::LoadMarks() {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  const auto load = [&](const char* name) {
    HBITMAP art = tk::ArtDpi(dpi_) == tk::kBaseDpi ? nullptr : tk::LoadArt(name, 17, dpi_);
    return art ? art : LoadBitmapA(inst, name);
  };
  checkMark_.Reset(load("CheckMark"));
  radioMark_.Reset(load("RadioMark"));
  checkSize_ = BitmapSize97(checkMark_.get());
}

// The box takes the images' size once a list is given (or none: then the marks'), and
// before that the platform's check-mark size.
void TPopupMenus97::UpdateMarkSize() {
  const int dpi = static_cast<int>(dpi_);
  if (!imagesGiven_) {
    mark_ = InitialMarkSize(tk::Metric(SM_CXMENUCHECK, dpi_), tk::Metric(SM_CYMENUCHECK, dpi_),
                            checkSize_.cx, checkSize_.cy, dpi);
    return;
  }
  int w = 0, h = 0;
  if (images_) ImageList_GetIconSize(images_, &w, &h);
  mark_ = MarkSizeFor(w, h, checkSize_.cx, checkSize_.cy, dpi);
}

// The system's menu font is given for the screen's DPI; it is kept in units, as the
// fonts a host sets are.
void TPopupMenus97::LoadMenuFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = kNonClientMetricsSize;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0)) {
    font_ = FontFromLogFont(metrics.lfMenuFont, font_.color);
    font_.height =
        MulDiv(font_.height, static_cast<int>(tk::kBaseDpi), static_cast<int>(tk::ScreenDpi()));
  }
  // The selected item keeps its own colour, so it stays readable on the highlight bar.
  const COLORREF hiliteColor = hiliteFont_.color;
  hiliteFont_ = font_;
  hiliteFont_.color = hiliteColor;
}

void TPopupMenus97::SetFont(const TFont97& font) {
  defaultFont_ = false;
  font_ = font;
}

void TPopupMenus97::SetHiliteFont(const TFont97& font) {
  defaultFont_ = false;
  hiliteFont_ = font;
}

void TPopupMenus97::SetDefaultFont(bool value) {
  defaultFont_ = value;
  if (value) LoadMenuFont();
}

void TPopupMenus97::SetImages(HIMAGELIST images) {
  if (images == images_) return;
  drawnImages_.Clear();
  images_ = images;
  imagesGiven_ = true;
  UpdateMarkSize();
  siblingWidths_.clear();
}

HFONT TPopupMenus97::FontHandle(const TFont97& font, bool bold) {
  for (const FontKey& f : fonts_)
    if (f.bold == bold && f.font == font) return f.handle.get();
  // Fonts of earlier settings are let go, so changing fonts often keeps few alive.
  if (fonts_.size() >= 8) fonts_.clear();
  const LOGFONTA lf = LogFont97(font, bold, dpi_);
  fonts_.push_back({font, bold, tk::GdiObject<HFONT>(CreateFontIndirectA(&lf))});
  return fonts_.back().handle.get();
}

// Routing ----------------------------------------------------------------------------------

// The item data is looked up among our own blocks, never followed: an item of another
// instance, or of one that has gone, is another instance's or the window's own business.
bool TPopupMenus97::RouteOwnerDraw(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!dis || dis->CtlType != ODT_MENU || !names_.Owns(dis->itemData)) return false;
    result = HandleDrawItem(*dis);
    return true;
  }
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (wp != 0 || !mis || !names_.Owns(mis->itemData)) return false;
    result = HandleMeasureItem(*mis);
    return true;
  }
  return false;
}

bool TPopupMenus97::AnswerMenuChar(WPARAM wp, LPARAM lp, LRESULT& result) {
  const int index =
      FindAccelerator(root_, static_cast<std::uintptr_t>(lp), static_cast<char>(LOWORD(wp) & 0xFF));
  if (index < 0) return false;
  result = MAKELRESULT(index, MNC_EXECUTE);
  return true;
}

bool TPopupMenus97::Route(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!menu_) return false;
  switch (msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return RouteOwnerDraw(msg, wp, lp, result);
    case WM_INITMENU:
      drawnImages_.Clear();
      FollowContrast();
      SetOwnerDrawShown(menu_);
      return false;
    case WM_SYSCOLORCHANGE:
      // Everything drawn in the old colours goes; the next opening draws in the new.
      drawnImages_.Clear();
      banner_.Drop();
      return false;
    case WM_INITMENUPOPUP:
      SetOwnerDrawShown(reinterpret_cast<HMENU>(wp));
      MarkBannerStale();
      return false;
    case WM_MENUCHAR:
      return AnswerMenuChar(wp, lp, result);
    case WM_WININICHANGE:
      if (defaultFont_) LoadMenuFont();
      FollowContrast();
      return false;
    default:
      return false;
  }
}

}  // namespace ostrel
