#include "components/win32/Menus97.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "toolkit/Dpi.h"
#include "toolkit/WindowChain.h"

namespace ostrel {

COLORREF ResolveColor97(COLORREF color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
  return color;
}

namespace {

// The instances alive: an owner-drawn item names its instance in its item data, and a
// message for one that has gone is passed on untouched.
std::vector<TPopupMenus97*>& Instances() {
  static std::vector<TPopupMenus97*> instances;
  return instances;
}
bool Alive(const void* p) {
  const auto& all = Instances();
  return std::find(all.begin(), all.end(), p) != all.end();
}

}  // namespace

namespace {

constexpr DWORD kDSPDxax = 0x00E20746;
constexpr UINT kTextFlags = DT_EXPANDTABS | DT_SINGLELINE;

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

// The font at `dpi` (its height is given for 96 DPI).
LOGFONTA LogFontOf(const TFont97& f, bool bold, UINT dpi) {
  LOGFONTA lf{};
  lf.lfHeight = tk::FontHeight(f.height, dpi);
  lf.lfWeight = (f.bold || bold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeOut;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = f.pitch;
  lstrcpynA(lf.lfFaceName, tk::FaceFor(f.name.c_str(), dpi), LF_FACESIZE);
  return lf;
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
  const tk::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, color));
  const tk::Selection selected(dc, pen.get());
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

SIZE BitmapSize(HBITMAP bmp) {
  BITMAP info{};
  if (!bmp || !GetObjectA(bmp, sizeof info, &info)) return SIZE{17, 17};
  return SIZE{info.bmWidth, info.bmHeight};
}

// A mark bitmap with its white left out.
void DrawMark(HDC dc, HBITMAP bmp, int x, int y) {
  if (!bmp) return;
  const SIZE size = BitmapSize(bmp);
  const tk::MemoryDc mem(CreateCompatibleDC(dc));
  const tk::Selection selected(mem.get(), bmp);
  TransparentBlt(dc, x, y, size.cx, size.cy, mem.get(), 0, 0, size.cx, size.cy,
                 RGB(255, 255, 255));
}

}  // namespace

TPopupMenus97::TPopupMenus97(HWND ownerForm, HWND popupOwner)
    : ownerForm_(ownerForm == popupOwner ? nullptr : ownerForm),
      popupOwner_(popupOwner),
      dpi_(tk::ScreenDpi()) {
  Instances().push_back(this);
  tk::ChainWindowProc(ownerForm_, this,
                      [this](HWND wnd, UINT msg, WPARAM wp, LPARAM lp, const tk::PassOn& previous) {
                        return FormWndProc(wnd, msg, wp, lp, previous);
                      });
  // BannerFont: "Arial", 12 points (16 pixels at 96 DPI), as TFont97 starts.
  LoadMenuFont();
  hiliteFont_.color = SysColor97(COLOR_HIGHLIGHTTEXT);
  LoadMarks();
  UpdateMarkSize();
  tk::ChainWindowProc(popupOwner_, this,
                      [this](HWND wnd, UINT msg, WPARAM wp, LPARAM lp, const tk::PassOn& previous) {
                        return PopupWndProc(wnd, msg, wp, lp, previous);
                      });
}

// The GDI objects go with their owners, each context before the bitmap selected into it.
TPopupMenus97::~TPopupMenus97() {
  tk::UnchainWindowProc(popupOwner_, this);
  auto& all = Instances();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  SetPopupMenu(nullptr);
  tk::UnchainWindowProc(ownerForm_, this);
}

int TPopupMenus97::Px(int units) const { return tk::Scale(units, dpi_); }

void TPopupMenus97::SetDpi(UINT dpi) {
  if (!dpi || dpi == dpi_) return;
  const bool otherArt = tk::ArtDpi(dpi) != tk::ArtDpi(dpi_);
  dpi_ = dpi;
  // No font of the list is left selected anywhere: every context had its state restored.
  fonts_.clear();
  ClearImageCache();
  bannerDC_.Reset();  // lets go of the old bitmap first
  bannerBitmap_.Reset();
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
  checkSize_ = BitmapSize(checkMark_.get());
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
  ClearImageCache();
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
  const LOGFONTA lf = LogFontOf(font, bold, dpi_);
  fonts_.push_back({font, bold, tk::GdiObject<HFONT>(CreateFontIndirectA(&lf))});
  return fonts_.back().handle.get();
}

// Attaching ------------------------------------------------------------------------------

namespace {

void ReadItems(HMENU menu, TMenuItem97& parent, const TPopupMenus97* self) {
  const int count = GetMenuItemCount(menu);
  parent.items.reserve(count > 0 ? static_cast<std::size_t>(count) : 0u);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    TMenuItem97 item;
    item.command = info.wID;
    item.menu = reinterpret_cast<std::uintptr_t>(menu);
    if (info.fType & MFT_SEPARATOR) {
      item.caption = "-";
    } else if (!(info.fType & MFT_OWNERDRAW)) {
      std::string caption = text;
      const auto tab = caption.find('\t');
      if (tab != std::string::npos) {
        item.shortcut = caption.substr(tab + 1);
        caption.resize(tab);
      }
      item.caption = std::move(caption);
    }
    // The item data the host gave the item is its Tag (unless another component has
    // taken the item over: then it has none of its own).
    if (!(info.fType & MFT_OWNERDRAW) || info.dwItemData == reinterpret_cast<ULONG_PTR>(self))
      item.tag = static_cast<std::int32_t>(static_cast<LONG_PTR>(info.dwItemData));
    else
      item.tag = -2;
    // A title ("-Title") is drawn disabled; it is made so on the platform too, so the
    // highlight and a click pass it by.
    const bool title = item.caption.size() > 1 && item.caption[0] == '-';
    item.enabled = !(info.fState & MFS_GRAYED) && !title;
    item.checked = (info.fState & MFS_CHECKED) != 0;
    item.isDefault = (info.fState & MFS_DEFAULT) != 0;
    item.radio = (info.fType & MFT_RADIOCHECK) != 0;
    item.breakKind = (info.fType & MFT_MENUBARBREAK) ? mbBarBreak
                     : (info.fType & MFT_MENUBREAK)  ? mbBreak
                                                     : mbNone;
    if (info.hSubMenu) {
      item.subMenu = reinterpret_cast<std::uintptr_t>(info.hSubMenu);
      ReadItems(info.hSubMenu, item, self);
    }
    parent.items.push_back(std::move(item));
  }
}

void IndexItems(TMenuItem97& node, std::map<std::uint32_t, TMenuItem97*>& index,
                std::map<HMENU, TMenuItem97*>& menus) {
  if (node.subMenu) menus.emplace(reinterpret_cast<HMENU>(node.subMenu), &node);
  for (TMenuItem97& child : node.items) {
    if (!KeepsPlatformDrawing(child)) index.emplace(child.command, &child);
    IndexItems(child, index, menus);
  }
}

}  // namespace

void TPopupMenus97::SetPopupMenu(HMENU menu) {
  if (menu == menu_) return;
  if (menu_) SetOwnerDraw(true);
  menu_ = menu;
  root_ = TMenuItem97{};
  ClearImageCache();
  byCommand_.clear();
  bySubMenu_.clear();
  savedData_.clear();
  MarkBannerStale();
  if (!menu_) return;
  root_.subMenu = reinterpret_cast<std::uintptr_t>(menu_);
  ReadItems(menu_, root_, this);
  LinkParents(root_);
  IndexItems(root_, byCommand_, bySubMenu_);
  SetOwnerDraw(false);
}

namespace {
void InitTags(TMenuItem97& item) {
  for (TMenuItem97& child : item.items) {
    if (child.tag == 0) child.tag = -2;
    InitTags(child);
  }
}
}  // namespace

void TPopupMenus97::InitAllTags() {
  InitTags(root_);
  siblingWidths_.clear();
}

void TPopupMenus97::SetOwnerDraw(bool restore) {
  if (menu_) SetOwnerDraw(root_, restore, true);
}

// When a menu opens, only the items about to be shown are looked at again: with a
// thousand items, a pass over all of them at every opening would make the banner menu
// open slower than a plain one.
void TPopupMenus97::SetOwnerDrawShown(HMENU shown) {
  auto node = bySubMenu_.find(shown);
  if (node != bySubMenu_.end()) SetOwnerDraw(*node->second, false, false);
}

// Items are addressed by position in their own menu: commands may repeat, and an item
// that opens a submenu keeps it (only its type, state and data change).
// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/ARCHITECTURE.md.
void TPopupMenus97::SetOwnerDraw(TMenuItem97& parent, bool restore, bool deep) {
  for (std::size_t i = 0; i < parent.items.size(); ++i) {
    TMenuItem97& child = parent.items[i];
    if (deep) SetOwnerDraw(child, restore, true);
    if (KeepsPlatformDrawing(child)) continue;
    HMENU menu = reinterpret_cast<HMENU>(child.menu);
    const UINT pos = static_cast<UINT>(i);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu, pos, TRUE, &info)) continue;
    const UINT state = (info.fState & ~static_cast<UINT>(MFS_GRAYED)) | OwnerDrawStateFlags(child);
    const UINT breaks = OwnerDrawBreakFlags(child);
    if (!restore) {
      if (info.fType & MFT_OWNERDRAW) continue;
      savedData_[{menu, static_cast<int>(i)}] = info.dwItemData;
      MENUITEMINFOA set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
      set.fType = MFT_OWNERDRAW | breaks | (child.radio ? MFT_RADIOCHECK : 0);
      set.fState = state;
      set.dwItemData = reinterpret_cast<ULONG_PTR>(this);
      SetMenuItemInfoA(menu, pos, TRUE, &set);
    } else {
      if (!(info.fType & MFT_OWNERDRAW) || info.dwItemData != reinterpret_cast<ULONG_PTR>(this))
        continue;
      std::string text = child.caption;
      if (!child.shortcut.empty()) text += "\t" + child.shortcut;
      auto saved = savedData_.find({menu, static_cast<int>(i)});
      MENUITEMINFOA set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
      set.fType = MFT_STRING | breaks | (child.radio ? MFT_RADIOCHECK : 0);
      set.fState = state;
      set.dwTypeData = text.data();
      set.dwItemData = saved != savedData_.end()
                           ? saved->second
                           : static_cast<ULONG_PTR>(static_cast<LONG_PTR>(child.tag));
      SetMenuItemInfoA(menu, pos, TRUE, &set);
    }
  }
}

// Routing ----------------------------------------------------------------------------------

bool TPopupMenus97::RouteOwnerDraw(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!dis || dis->CtlType != ODT_MENU || !dis->itemData) return false;
    auto* target = reinterpret_cast<TPopupMenus97*>(dis->itemData);
    if (!Alive(target)) return false;
    result = target->HandleDrawItem(*dis);
    return true;
  }
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (wp != 0 || !mis || !mis->itemData) return false;
    auto* target = reinterpret_cast<TPopupMenus97*>(mis->itemData);
    if (!Alive(target)) return false;
    result = target->HandleMeasureItem(*mis);
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

LRESULT TPopupMenus97::PopupWndProc(HWND, UINT msg, WPARAM wp, LPARAM lp,
                                    const std::function<LRESULT()>& previous) {
  if (!menu_) return previous();
  LRESULT result = 0;
  switch (msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (RouteOwnerDraw(msg, wp, lp, result)) return result;
      return previous();
    case WM_INITMENU:
      result = previous();
      ClearImageCache();
      SetOwnerDrawShown(menu_);
      return result;
    case WM_INITMENUPOPUP:
      previous();
      SetOwnerDrawShown(reinterpret_cast<HMENU>(wp));
      MarkBannerStale();
      return 0;
    case WM_MENUCHAR:
      if (AnswerMenuChar(wp, lp, result)) return result;
      return previous();
    case WM_WININICHANGE:
      // The popup owner is often the form itself, which then has no procedure of ours.
      if (!ownerForm_ && defaultFont_) LoadMenuFont();
      return previous();
    default:
      return previous();
  }
}

LRESULT TPopupMenus97::FormWndProc(HWND, UINT msg, WPARAM wp, LPARAM lp,
                                   const std::function<LRESULT()>& previous) {
  LRESULT result = 0;
  switch (msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (RouteOwnerDraw(msg, wp, lp, result)) return result;
      break;
    case WM_MENUCHAR:
      if (menu_ && AnswerMenuChar(wp, lp, result)) return result;
      break;
    case WM_WININICHANGE:
      if (defaultFont_) LoadMenuFont();
      break;
    case WM_INITMENUPOPUP:
      MarkBannerStale();
      break;
    default:
      break;
  }
  return previous();
}

// Measuring --------------------------------------------------------------------------------

int TPopupMenus97::TextWidth(HDC dc, const std::string& text, int* height) {
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | kTextFlags);
  if (height) *height = r.bottom - r.top + Px(2);
  return r.right - r.left;
}

int TPopupMenus97::MeasureWidth(HDC dc, const TMenuItem97& item) {
  int width = 0;
  if (IsBarTag(item.tag)) {
    int iw = 0, ih = 0;
    if (images_) ImageList_GetIconSize(images_, &iw, &ih);
    width = BarItemWidth(TextWidth(dc, item.caption), item.tag, images_ != nullptr, iw,
                         static_cast<int>(dpi_));
  } else {
    const TMenuItem97* parent = item.parent ? item.parent : &item;
    auto cached = siblingWidths_.find(parent);
    if (cached == siblingWidths_.end()) {
      std::vector<SiblingSize> sizes;
      const auto add = [&](const TMenuItem97& s) {
        sizes.push_back({TextWidth(dc, s.caption),
                         s.shortcut.empty() ? 0 : TextWidth(dc, s.shortcut), s.subMenu != 0});
      };
      if (!item.parent) add(item);
      for (const TMenuItem97& s : parent->items) add(s);
      cached = siblingWidths_.emplace(parent, SiblingsWidth(sizes, mark_.width)).first;
    }
    width = cached->second;
  }
  SIZE amp{};
  if (item.caption.find('&') != std::string::npos) GetTextExtentPoint32A(dc, "&", 1, &amp);
  return FinishItemWidth(width, item.caption, amp.cx, IsBannerItem(item), Px(BannerWidth));
}

LRESULT TPopupMenus97::HandleMeasureItem(MEASUREITEMSTRUCT& mis) {
  if (!menu_) return 1;
  auto found = byCommand_.find(mis.itemID);
  if (found == byCommand_.end()) return 1;
  const TMenuItem97& item = *found->second;
  // A memory context of the screen's kind, kept: borrowing the screen's for every item
  // costs more than the measuring.
  if (!measureDC_) measureDC_.Reset(CreateCompatibleDC(nullptr));
  HDC dc = measureDC_.get();
  const int saved = SaveDC(dc);
  SelectObject(dc, FontHandle(font_, false));
  int textHeight = 0;
  TextWidth(dc, item.caption.empty() ? std::string(" ") : item.caption, &textHeight);
  int height = ItemHeight ? Px(ItemHeight)
                          : MeasuredItemHeight(mark_.height, textHeight, static_cast<int>(dpi_));
  int width = ItemWidth ? Px(ItemWidth) : MeasureWidth(dc, item);
  if (OnMeasureItem) OnMeasureItem(menu_, item, height, width);
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  RestoreDC(dc, saved);
  return 1;
}

// Drawing ----------------------------------------------------------------------------------

LRESULT TPopupMenus97::HandleDrawItem(const DRAWITEMSTRUCT& dis) {
  if (!menu_) return 1;
  HDC dc = dis.hDC;
  const int saved = SaveDC(dc);
  SelectObject(dc, FontHandle(font_, false));
  if (dis.itemState & ODS_SELECTED) SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  auto found = byCommand_.find(dis.itemID);
  if (found != byCommand_.end()) DrawItem(dc, *found->second, dis.rcItem, dis.itemState);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dc, &dis.rcItem);
  RestoreDC(dc, saved);
  return 1;
}

void TPopupMenus97::DrawItem(HDC dc, TMenuItem97& item, RECT rect, UINT state) {
  if (item.caption.empty()) item.caption = " ";
  if ((state & ODS_SELECTED) && OnHint) item.hint = OnHint(menu_, item, item.hint);
  if (OnDrawItem && OnDrawItem(menu_, item, rect, state)) return;
  if (bannerStale_ && IsBannerItem(item)) {
    bannerStale_ = false;
    CalcBannerRect(dc);
    // A banner built from the same settings at the same size would come out the same
    // pixels: the one there is kept, and the rotated font is not made again.
    const BannerLook look = CurrentBannerLook();
    if (!(look == bannerLook_)) {
      bannerDC_.Reset();  // lets go of the old bitmap first
      bannerBitmap_.Reset();
      bannerLook_ = look;
    }
  }
  if (Banner && IsBannerItem(item)) DrawBanner(dc, item, rect);
  if (IsBarTag(item.tag)) return;  // menu-bar items: nothing to draw in a popup
  DrawPopupItem(dc, item, rect, state);
}

// The banner runs down the left of the items, from the top of the first to the bottom of
// the lowest. Some platforms lay a popup's items out from its client area's corner,
// others leave a margin there (Wine: 3 pixels): the banner starts where the items do, so
// the first item's left edge is the banner's.
TPopupMenus97::BannerLook TPopupMenus97::CurrentBannerLook() const {
  return {dpi_,
          bannerRect_.right - bannerRect_.left,
          bannerRect_.bottom - bannerRect_.top,
          ResolveColor97(BannerColor),
          ResolveColor97(BannerEndColor),
          BannerNumColors,
          BannerImage,
          BannerJustification,
          BannerText,
          BannerFont};
}

void TPopupMenus97::CalcBannerRect(HDC dc) {
  const int count = GetMenuItemCount(menu_);
  std::vector<RECT> rects(count > 0 ? static_cast<std::size_t>(count) : 0u);
  for (int i = 0; i < count; ++i)
    if (!GetMenuItemRect(nullptr, menu_, static_cast<UINT>(i), &rects[static_cast<std::size_t>(i)]))
      rects[static_cast<std::size_t>(i)] = RECT{};
  const RECT first = rects.empty() ? RECT{} : rects[0];
  LONG bottom = first.bottom;
  for (const RECT& r : rects) bottom = std::max(bottom, r.bottom);
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/ARCHITECTURE.md.
  POINT origin{first.left, first.top};
  if (HWND window = WindowFromDC(dc); window && (first.right > first.left))
    ScreenToClient(window, &origin);
  else
    origin = POINT{0, 0};
  bannerRect_ = RECT{origin.x, origin.y, origin.x + Px(BannerWidth), origin.y + bottom - first.top};
  // Where each top-level item's part of the banner starts, from the banner's top; none
  // when the items are not on screen or stand in several columns.
  bannerSlices_.clear();
  bool oneColumn = first.right > first.left;
  for (const TMenuItem97& item : root_.items) oneColumn = oneColumn && item.breakKind == mbNone;
  if (oneColumn && rects.size() == root_.items.size())
    for (const RECT& r : rects) bannerSlices_.push_back(r.top - first.top);
}

// Every top-level item copies the banner beside itself and beside the separators around
// it (the platform draws a separator across the banner's place: the item after it puts
// the banner back); the first one from the banner's top, the last one to its bottom.
// Where the items' places are not known, each copies the whole banner.
void TPopupMenus97::DrawBanner(HDC dc, const TMenuItem97& item, RECT& rect) {
  const int w = bannerRect_.right - bannerRect_.left, h = bannerRect_.bottom - bannerRect_.top;
  if (rect.left == bannerRect_.left) rect.left += Px(BannerWidth) + Px(2);
  if (w <= 0 || h <= 0) return;
  if (!bannerDC_) bannerDC_.Reset(CreateCompatibleDC(dc));
  if (!bannerBitmap_) {
    BuildBanner(dc);
    SelectObject(bannerDC_.get(), bannerBitmap_.get());
  }
  int y0 = 0, y1 = h;
  const std::size_t pos = static_cast<std::size_t>(&item - root_.items.data());
  if (pos < bannerSlices_.size()) {
    std::size_t from = pos;
    while (from > 0 && KeepsPlatformDrawing(root_.items[from - 1])) --from;
    y0 = from == 0 ? 0 : std::clamp(bannerSlices_[from], 0, h);
    for (std::size_t next = pos + 1; next < root_.items.size(); ++next)
      if (!KeepsPlatformDrawing(root_.items[next])) {
        y1 = std::clamp(bannerSlices_[next], y0, h);
        break;
      }
  }
  BitBlt(dc, bannerRect_.left, bannerRect_.top + y0, w, y1 - y0, bannerDC_.get(), 0, y0,
         SRCCOPY);
}

void TPopupMenus97::BuildBanner(HDC dc) {
  const int w = bannerRect_.right - bannerRect_.left, h = bannerRect_.bottom - bannerRect_.top;
  bannerBitmap_.Reset(CreateCompatibleBitmap(dc, w, h));
  const tk::MemoryDc memory(CreateCompatibleDC(dc));
  HDC mem = memory.get();
  const tk::Selection bitmap(mem, bannerBitmap_.get());
  const COLORREF start = ResolveColor97(BannerColor), end = ResolveColor97(BannerEndColor);
  if (start == end) {
    FillSolid(mem, RECT{0, 0, w, h}, start);
  } else {
    for (const GradientBand& band : GradientBands(h, BannerNumColors, start, end)) {
      const tk::GdiObject<HBRUSH> brush(CreateSolidBrush(band.color));
      const tk::Selection selected(mem, brush.get());
      PatBlt(mem, 0, band.y0, w, band.y1 - band.y0, PATCOPY);
    }
  }
  if (BannerText.empty()) return;
  SetTextColor(mem, ResolveColor97(BannerFont.color));
  LOGFONTA lf = LogFontOf(BannerFont, false, dpi_);
  lf.lfEscapement = lf.lfOrientation = 900;
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  const tk::GdiObject<HFONT> rotated(CreateFontIndirectA(&lf));
  const tk::Selection font(mem, rotated.get());
  Rect97 area{0, 0, w, h};
  if (BannerImage >= 0) area.bottom -= Px(BannerWidth) + Px(4);
  SetBkMode(mem, TRANSPARENT);
  SIZE extent{};
  GetTextExtentPoint32A(mem, BannerText.c_str(), static_cast<int>(BannerText.size()), &extent);
  const Point97 at = BannerTextOrigin(area, extent.cx, extent.cy + Px(2), BannerJustification,
                                      static_cast<int>(dpi_));
  TextOutA(mem, at.x, at.y, BannerText.c_str(), static_cast<int>(BannerText.size()));
}

void TPopupMenus97::DrawMarkBox(HDC dc, const RECT& rect, int w, bool raised) {
  if (Menus97Look == mlIE4Look) return;
  int height = Px(ItemHeight);
  if (!height) {
    int textHeight = 0;
    TextWidth(dc, "Ag", &textHeight);
    height = MeasuredItemHeight(mark_.height, textHeight, static_cast<int>(dpi_));
  }
  RECT box{rect.left, rect.top, rect.left + w + Px(4), rect.top + height};
  FillSolid(dc, RECT{box.left, box.top, box.right + Stroke(1), box.bottom},
            ResolveColor97(BrushColor));
  DrawEdge(dc, &box, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

// An image on its item's background. Drawing from the image list with its mask costs
// more than the rest of an item together, so each image is drawn once on each background
// per menu session and copied from there.
void TPopupMenus97::DrawImage(HDC dc, int index, int x, int y, COLORREF background) {
  int w = 0, h = 0;
  ImageList_GetIconSize(images_, &w, &h);
  if (!imageDC_) imageDC_.Reset(CreateCompatibleDC(dc));
  HDC mem = imageDC_.get();
  tk::GdiObject<HBITMAP>& cached = imageCache_[{index, background}];
  if (!cached) {
    cached.Reset(CreateCompatibleBitmap(dc, w, h));
    SelectObject(mem, cached.get());
    FillSolid(mem, RECT{0, 0, w, h}, background);
    ImageList_Draw(images_, index, mem, 0, 0, ILD_TRANSPARENT);
  } else {
    SelectObject(mem, cached.get());
  }
  BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
}

void TPopupMenus97::ClearImageCache() {
  imageDC_.Reset();  // lets go of the bitmap selected last
  imageCache_.clear();
}

// A disabled item's image: its shape pressed into the background, a highlight one pixel
// (one unit) down and right under a shadow. No background of its own is filled.
void TPopupMenus97::DrawEmbossed(HDC dc, int index, int x, int y) {
  int w = 0, h = 0;
  ImageList_GetIconSize(images_, &w, &h);
  const tk::GdiObject<HBITMAP> colourBmp(CreateCompatibleBitmap(dc, w, h));
  const tk::MemoryDc colourDc(CreateCompatibleDC(dc));
  HDC colour = colourDc.get();
  const tk::Selection colourSelected(colour, colourBmp.get());
  PatBlt(colour, 0, 0, w, h, WHITENESS);
  ImageList_Draw(images_, index, colour, 0, 0, ILD_TRANSPARENT);
  const tk::GdiObject<HBITMAP> monoBmp(CreateBitmap(w, h, 1, 1, nullptr));
  const tk::MemoryDc monoDc(CreateCompatibleDC(dc));
  HDC mono = monoDc.get();
  const tk::Selection monoSelected(mono, monoBmp.get());
  // The image's pixels become 1, what it leaves white 0.
  SetBkColor(colour, RGB(255, 255, 255));
  BitBlt(mono, 0, 0, w, h, colour, 0, 0, NOTSRCCOPY);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  const std::pair<int, int> passes[] = {{COLOR_BTNHIGHLIGHT, Stroke(1)}, {COLOR_BTNSHADOW, 0}};
  for (const auto& [color, offset] : passes) {
    const tk::GdiObject<HBRUSH> brush(CreateSolidBrush(GetSysColor(color)));
    const tk::Selection selected(dc, brush.get());
    BitBlt(dc, x + offset, y + offset, w, h, mono, 0, 0, kDSPDxax);
  }
}

void TPopupMenus97::DrawPopupItem(HDC dc, TMenuItem97& item, RECT rect, UINT state) {
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool title = item.caption[0] == '-';
  const int stroke = Stroke(1);
  if (title) {
    item.enabled = false;
    const int m = rect.top + (rect.bottom - rect.top) / 2, inset = Px(1);
    for (int i = 0; i < stroke; ++i) {
      Line(dc, rect.left + inset, m + i, rect.right - inset, m + i, GetSysColor(COLOR_BTNSHADOW));
      Line(dc, rect.left + inset, m + stroke + i, rect.right - inset, m + stroke + i,
           GetSysColor(COLOR_BTNHIGHLIGHT));
    }
  }
  if (item.breakKind == mbBarBreak) {
    const int x = rect.left - Px(3);
    for (int i = 0; i < stroke; ++i) {
      Line(dc, x + i, bannerRect_.top, x + i, bannerRect_.bottom, GetSysColor(COLOR_BTNSHADOW));
      Line(dc, x + stroke + i, bannerRect_.top, x + stroke + i, bannerRect_.bottom,
           GetSysColor(COLOR_BTNHIGHLIGHT));
    }
  }
  if (item.enabled)
    FillSolid(dc, rect, ResolveColor97(selected && !title ? HiliteBar : BrushColor));

  int imageW = 0, imageH = 0;
  if (images_) ImageList_GetIconSize(images_, &imageW, &imageH);
  const bool hasImage = images_ && item.tag >= 0;
  if (item.enabled) {
    if (selected && (item.checked || hasImage)) {
      DrawMarkBox(dc, rect, hasImage ? imageW : static_cast<int>(checkSize_.cx), true);
    } else if (!selected && item.checked) {
      const SIZE markSize = item.radio ? BitmapSize(radioMark_.get()) : checkSize_;
      DrawMarkBox(dc, rect, hasImage ? imageW : static_cast<int>(markSize.cx), false);
    }
    if (hasImage)
      DrawImage(dc, item.tag, rect.left + Px(2), rect.top + Px(2),
                ResolveColor97(selected && Menus97Look == mlIE4Look ? HiliteBar : BrushColor));
    else if (item.checked)
      DrawMark(dc, (item.radio ? radioMark_ : checkMark_).get(), rect.left + Px(1),
               rect.top + Px(1));
  } else if (hasImage) {
    DrawEmbossed(dc, item.tag, rect.left, rect.top);
  }

  const TFont97& font = selected ? hiliteFont_ : font_;
  SelectObject(dc, FontHandle(font, item.isDefault));
  rect.left += (images_ ? imageW : static_cast<int>(checkSize_.cx)) + Px(7);
  const std::string text = title ? item.caption.substr(1) : item.caption;
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = kTextFlags | DT_VCENTER;
  const auto drawText = [&](RECT r, COLORREF color) {
    SetTextColor(dc, color);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    if (item.shortcut.empty()) return;
    r.right -= mark_.width;
    DrawTextA(dc, item.shortcut.c_str(), static_cast<int>(item.shortcut.size()), &r,
              flags | DT_RIGHT);
  };
  if (item.enabled) {
    drawText(rect, ResolveColor97(font.color));
    return;
  }
  drawText(RECT{rect.left + stroke, rect.top + stroke, rect.right + stroke, rect.bottom + stroke},
           GetSysColor(COLOR_BTNHIGHLIGHT));
  drawText(rect, GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace ostrel
