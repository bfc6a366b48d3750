#include "components/win32/Menus97.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "components/MenuItemNames.h"
#include "toolkit/Colours.h"
#include "toolkit/Dpi.h"

namespace ostrel {

namespace {

constexpr UINT kTextFlags = DT_EXPANDTABS | DT_SINGLELINE;
// Between the columns of a menu laid out in columns the platform leaves a gap (Wine: 4
// pixels), in units of 96 DPI with pixels to spare.
constexpr int kColumnGapUnits = 6;

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

// A mark bitmap with its white left out; in high contrast its shape in `shapeColor`.
void DrawMark(HDC dc, HBITMAP bmp, int x, int y, std::optional<COLORREF> shapeColor) {
  if (!bmp) return;
  const SIZE size = BitmapSize(bmp);
  const tk::MemoryDc mem(CreateCompatibleDC(dc));
  const tk::Selection selected(mem.get(), bmp);
  if (shapeColor) {
    PaintShape97(dc, mem.get(), x, y, size.cx, size.cy, *shapeColor);
    return;
  }
  TransparentBlt(dc, x, y, size.cx, size.cy, mem.get(), 0, 0, size.cx, size.cy,
                 RGB(255, 255, 255));
}

// Puts the column breaks at `breaks` (positions in `node`'s menu, in order) and takes
// away those put anywhere else before; a break the host gave an item itself stays.
void ApplyColumnBreaks(TMenuItem97& node, const std::vector<std::size_t>& breaks) {
  auto next = breaks.begin();
  for (std::size_t i = 0; i < node.items.size(); ++i) {
    const bool wanted = next != breaks.end() && *next == i;
    if (wanted) ++next;
    TMenuItem97& child = node.items[i];
    if (child.columnBreak == wanted) continue;
    child.columnBreak = wanted;
    if (child.breakKind != mbNone) continue;
    HMENU menu = reinterpret_cast<HMENU>(child.menu);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    info.fType = wanted ? (info.fType | MFT_MENUBREAK)
                        : (info.fType & ~static_cast<UINT>(MFT_MENUBREAK));
    SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
  }
}

void ClearColumnBreaks(TMenuItem97& node) {
  ApplyColumnBreaks(node, {});
  for (TMenuItem97& child : node.items)
    if (child.subMenu) ClearColumnBreaks(child);
}

}  // namespace

TPopupMenus97::TPopupMenus97(HWND ownerForm, HWND popupOwner, CodePagePort& codePage,
                             Hooking hooking)
    : ownerForm_(ownerForm == popupOwner ? nullptr : ownerForm),
      popupOwner_(popupOwner),
      dpi_(tk::ScreenDpi()),
      names_(codePage) {
  const bool subclass = hooking == Hooking::kSubclass;
  if (subclass) formSubclass_.Attach<&TPopupMenus97::FormWndProc>(ownerForm_, this);
  // BannerFont: "Arial", 12 points (16 pixels at 96 DPI), as TFont97 starts.
  LoadMenuFont();
  hiliteFont_.color = SysColor97(COLOR_HIGHLIGHTTEXT);
  LoadMarks();
  UpdateMarkSize();
  if (subclass) popupSubclass_.Attach<&TPopupMenus97::PopupWndProc>(popupOwner_, this);
}

// The GDI objects go with their owners, each context before the bitmap selected into it.
TPopupMenus97::~TPopupMenus97() {
  popupSubclass_.Detach();
  SetPopupMenu(nullptr);
  formSubclass_.Detach();
}

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
    if (!(info.fType & MFT_OWNERDRAW) || self->OwnsItemData(info.dwItemData))
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
  if (menu_) {
    ClearColumnBreaks(root_);
    SetOwnerDraw(true);
  }
  names_.Clear();
  menu_ = menu;
  bannerColumnEnd_ = SIZE_MAX;
  root_ = TMenuItem97{};
  drawnImages_.Clear();
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
// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
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
    // The string stays with the owner-drawn item too: it is what the platform's menu
    // offers to assistive technology and to a typed letter.
    std::string text = MenuItemText(child.caption, child.shortcut);
    if (!restore) {
      if (info.fType & MFT_OWNERDRAW) continue;
      savedData_[{menu, static_cast<int>(i)}] = info.dwItemData;
      MENUITEMINFOA set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
      set.fType = MFT_OWNERDRAW | breaks | (child.radio ? MFT_RADIOCHECK : 0);
      set.fState = state;
      set.dwTypeData = text.data();
      set.dwItemData = names_.Name(menu, static_cast<int>(i), text);
      SetMenuItemInfoA(menu, pos, TRUE, &set);
    } else {
      if (!(info.fType & MFT_OWNERDRAW) || !names_.Owns(info.dwItemData)) continue;
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

// The item data is looked up among our own blocks, never followed: an item of another
// instance, or of one that has gone, is another subclass's or the window's own business.
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
      // The popup owner is often the form itself, which then has no procedure of ours.
      if (!ownerForm_ && defaultFont_) LoadMenuFont();
      FollowContrast();
      return false;
    default:
      return false;
  }
}

// The window's own handling of a menu's opening comes first, then ours.
LRESULT TPopupMenus97::PopupWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (msg == WM_INITMENU || msg == WM_INITMENUPOPUP) {
    const LRESULT previous = tk::Subclass::Next(wnd, msg, wp, lp);
    Route(msg, wp, lp, result);
    return msg == WM_INITMENU ? previous : 0;
  }
  if (Route(msg, wp, lp, result)) return result;
  return tk::Subclass::Next(wnd, msg, wp, lp);
}

LRESULT TPopupMenus97::FormWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
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
  return tk::Subclass::Next(wnd, msg, wp, lp);
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

HDC TPopupMenus97::MeasureDc() {
  // A memory context of the screen's kind, kept: borrowing the screen's for every item
  // costs more than the measuring.
  if (!measureDC_) measureDC_.Reset(CreateCompatibleDC(nullptr));
  return measureDC_.get();
}

LRESULT TPopupMenus97::HandleMeasureItem(MEASUREITEMSTRUCT& mis) {
  if (!menu_) return 1;
  auto found = byCommand_.find(mis.itemID);
  if (found == byCommand_.end()) return 1;
  const TMenuItem97& item = *found->second;
  HDC dc = MeasureDc();
  tk::SavedDc saved(dc);
  SelectObject(dc, FontHandle(font_, false));
  int textHeight = 0;
  TextWidth(dc, item.caption.empty() ? std::string(" ") : item.caption, &textHeight);
  int height = ItemHeight ? Px(ItemHeight)
                          : MeasuredItemHeight(mark_.height, textHeight, static_cast<int>(dpi_));
  int width = ItemWidth ? Px(ItemWidth) : MeasureWidth(dc, item);
  if (OnMeasureItem) OnMeasureItem(menu_, item, height, width);
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  return 1;
}

// Columns ----------------------------------------------------------------------------------

void TPopupMenus97::FitColumns(const RECT& workArea) {
  if (!menu_) return;
  HDC dc = MeasureDc();
  tk::SavedDc saved(dc);
  SelectObject(dc, FontHandle(font_, false));
  // A single line is as high whatever its text: one measure serves every item.
  int textHeight = 0;
  TextWidth(dc, " ", &textHeight);
  // Around its items a popup has its frame (Wine: a margin of the same size).
  const int frame = tk::Metric(SM_CYFIXEDFRAME, dpi_);
  FitColumnsOf(root_, ColumnRoom{workArea.bottom - workArea.top - 2 * frame,
                                 workArea.right - workArea.left, frame, textHeight});
  std::size_t end = SIZE_MAX;
  for (std::size_t i = 0; i < root_.items.size() && end == SIZE_MAX; ++i)
    if (root_.items[i].columnBreak) end = i;
  if (end != bannerColumnEnd_) {
    bannerColumnEnd_ = end;
    MarkBannerStale();  // the banner's place and the items' widths follow the first column
  }
}

// Each item as high as HandleMeasureItem makes it (a separator as the platform draws it).
void TPopupMenus97::FitColumnsOf(TMenuItem97& node, const ColumnRoom& room) {
  const int separator = tk::Metric(SM_CYMENUSIZE, dpi_) / 2;
  const int itemHeight = ItemHeight ? Px(ItemHeight)
                                    : MeasuredItemHeight(mark_.height, room.textHeight,
                                                         static_cast<int>(dpi_));
  std::vector<ColumnItem97> heights;
  heights.reserve(node.items.size());
  for (TMenuItem97& child : node.items) {
    if (child.subMenu) FitColumnsOf(child, room);
    if (KeepsPlatformDrawing(child)) {
      heights.push_back({separator, true});
      continue;
    }
    int height = itemHeight;
    if (OnMeasureItem) {
      int width = ItemWidth ? Px(ItemWidth) : 0;
      OnMeasureItem(menu_, child, height, width);
    }
    heights.push_back({height, false});
  }
  const bool top = &node == &root_;
  std::vector<std::size_t> breaks =
      ColumnBreaks(heights, room.height, top ? KeepTogetherAtEnd : 0);
  if (!breaks.empty()) {
    // Every column as wide as the widest item (the banner aside), with the room the
    // platform adds beside an owner-drawn item (Windows: a check mark's width; Wine: two
    // average characters, about as much) and its gap between columns.
    const int banner = top ? Px(BannerWidth) : 0;  // the top level keeps its place
    int widest = ItemWidth ? Px(ItemWidth) : 0;
    for (const TMenuItem97& child : node.items)
      if (!ItemWidth && !KeepsPlatformDrawing(child))
        widest = std::max(widest, MeasureWidth(MeasureDc(), child) -
                                      (IsBannerItem(child) ? Px(BannerWidth) : 0));
    widest += tk::Metric(SM_CXMENUCHECK, dpi_) + Px(kColumnGapUnits);
    if (breaks.size() >= ColumnsAcross(room.width, widest,
                                       banner + 2 * room.frame))
      breaks.clear();
  }
  ApplyColumnBreaks(node, breaks);
}

// Drawing ----------------------------------------------------------------------------------

LRESULT TPopupMenus97::HandleDrawItem(const DRAWITEMSTRUCT& dis) {
  if (!menu_) return 1;
  HDC dc = dis.hDC;
  tk::SavedDc saved(dc);  // the fonts and colours set below go back with it
  SelectObject(dc, FontHandle(font_, false));
  if (dis.itemState & ODS_SELECTED) SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  auto found = byCommand_.find(dis.itemID);
  if (found != byCommand_.end()) DrawItem(dc, *found->second, dis.rcItem, dis.itemState);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dc, &dis.rcItem);
  return 1;
}

void TPopupMenus97::DrawItem(HDC dc, TMenuItem97& item, RECT rect, UINT state) {
  if (item.caption.empty()) item.caption = " ";
  if ((state & ODS_SELECTED) && OnHint) item.hint = OnHint(menu_, item, item.hint);
  if (OnDrawItem && OnDrawItem(menu_, item, rect, state)) return;
  if (bannerStale_ && IsBannerItem(item)) {
    bannerStale_ = false;
    banner_.Place(dc, menu_, root_, Px(BannerWidth));
    banner_.SetLook(CurrentBannerLook());
  }
  if (Banner && IsBannerItem(item)) {
    // The banner's first item's left edge is the banner's.
    if (rect.left == banner_.Rect().left) rect.left += Px(BannerWidth) + Px(2);
    banner_.Draw(dc, root_, item);
  }
  if (IsBarTag(item.tag)) return;  // menu-bar items: nothing to draw in a popup
  DrawPopupItem(dc, item, rect, state);
}

TBannerLook97 TPopupMenus97::CurrentBannerLook() const {
  const RECT& r = banner_.Rect();
  if (highContrast_) {
    // The theme's menu colours the other way round: a plain strip, set apart from the
    // items, with nothing behind its text.
    TFont97 font = BannerFont;
    font.color = GetSysColor(COLOR_MENU);
    const COLORREF back = GetSysColor(COLOR_MENUTEXT);
    return {dpi_, r.right - r.left, r.bottom - r.top, back, back, 1, BannerImage,
            BannerJustification, BannerText, font};
  }
  return {dpi_,
          r.right - r.left,
          r.bottom - r.top,
          ResolveColor97(BannerColor),
          ResolveColor97(BannerEndColor),
          BannerNumColors,
          BannerImage,
          BannerJustification,
          BannerText,
          BannerFont};
}

void TPopupMenus97::FollowContrast() {
  const bool on = tk::HighContrast();
  if (on == highContrast_) return;
  highContrast_ = on;
  drawnImages_.Clear();
  banner_.Drop();
}

COLORREF TPopupMenus97::ItemBack(bool bar) const {
  if (highContrast_) return GetSysColor(bar ? COLOR_HIGHLIGHT : COLOR_MENU);
  return ResolveColor97(bar ? HiliteBar : BrushColor);
}

COLORREF TPopupMenus97::ItemText(const TFont97& font, bool selected) const {
  if (highContrast_) return GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  return ResolveColor97(font.color);
}

// The etched lines and embossed text of titles and disabled items: the theme has one
// colour for what cannot be chosen.
COLORREF TPopupMenus97::Shade(int sysColor) const {
  return GetSysColor(highContrast_ ? COLOR_GRAYTEXT : sysColor);
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
  FillSolid97(dc, RECT{box.left, box.top, box.right + Stroke(1), box.bottom}, ItemBack(false));
  if (highContrast_) {
    const tk::GdiObject<HBRUSH> frame(CreateSolidBrush(ItemText(font_, false)));
    FrameRect(dc, &box, frame.get());
    return;
  }
  DrawEdge(dc, &box, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

void TPopupMenus97::DrawPopupItem(HDC dc, TMenuItem97& item, RECT rect, UINT state) {
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool title = item.caption[0] == '-';
  const int stroke = Stroke(1);
  if (title) {
    item.enabled = false;
    const int m = rect.top + (rect.bottom - rect.top) / 2, inset = Px(1);
    for (int i = 0; i < stroke; ++i) {
      Line(dc, rect.left + inset, m + i, rect.right - inset, m + i, Shade(COLOR_BTNSHADOW));
      Line(dc, rect.left + inset, m + stroke + i, rect.right - inset, m + stroke + i,
           Shade(COLOR_BTNHIGHLIGHT));
    }
  }
  if (item.breakKind == mbBarBreak) {
    const int x = rect.left - Px(3);
    const RECT& banner = banner_.Rect();
    for (int i = 0; i < stroke; ++i) {
      Line(dc, x + i, banner.top, x + i, banner.bottom, Shade(COLOR_BTNSHADOW));
      Line(dc, x + stroke + i, banner.top, x + stroke + i, banner.bottom,
           Shade(COLOR_BTNHIGHLIGHT));
    }
  }
  if (item.enabled) FillSolid97(dc, rect, ItemBack(selected && !title));

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
    // In high contrast the pictures keep their shapes in the item's text colour.
    const std::optional<COLORREF> shape =
        highContrast_ ? std::optional(ItemText(font_, selected)) : std::nullopt;
    if (hasImage && shape)
      TMenuImages97::DrawShape(dc, images_, item.tag, rect.left + Px(2), rect.top + Px(2), *shape);
    else if (hasImage)
      drawnImages_.Draw(dc, images_, item.tag, rect.left + Px(2), rect.top + Px(2),
                        ItemBack(selected && Menus97Look == mlIE4Look));
    else if (item.checked)
      DrawMark(dc, (item.radio ? radioMark_ : checkMark_).get(), rect.left + Px(1),
               rect.top + Px(1), shape);
  } else if (hasImage && highContrast_) {
    TMenuImages97::DrawShape(dc, images_, item.tag, rect.left, rect.top, Shade(COLOR_GRAYTEXT));
  } else if (hasImage) {
    TMenuImages97::DrawEmbossed(dc, images_, item.tag, rect.left, rect.top, Stroke(1));
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
    drawText(rect, ItemText(font, selected));
    return;
  }
  if (!highContrast_)
    drawText(RECT{rect.left + stroke, rect.top + stroke, rect.right + stroke, rect.bottom + stroke},
             GetSysColor(COLOR_BTNHIGHLIGHT));
  drawText(rect, Shade(COLOR_BTNSHADOW));
}

}  // namespace ostrel
