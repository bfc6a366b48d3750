// TPopupMenus97: draws the items of a popup menu itself, with a vertical banner (rotated
// text on a colour gradient) down the left edge of the top level, item images from an
// image list, a background and highlight bar of its own, marks, title separators
// ("-Title") and embossed disabled items. The host builds and pops the menu up as
// usual, and hands each message of the window that owns the menu while open to Route
// before its own handling (several instances may share the window). The menu's items are
// read into
// TMenuItem97 when the menu is attached (Tag: the item data the host gave each item) and
// made owner-drawn, keeping their strings; each item's data is its name for assistive
// technology, a block the instance owns (Menus97Names.h): an instance measures and draws
// only items whose data is one of its blocks, and passes every other item on untouched.
// Detaching turns them back into the string items they were, item data and all. Sizes
// are set in units of a 96-DPI screen; the owner names the DPI of the screen a menu opens
// on (SetDpi), and the component measures and draws everything for it. The banner and
// the images are kept between openings (Menus97Banner.h, Menus97Images.h). The work is
// spread by concern: settings and routing (Menus97.cpp), attaching (Menus97Attach.cpp),
// measuring and columns (Menus97Measure.cpp) and drawing (Menus97Draw.cpp).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "components/Menus97.h"
#include "components/win32/Menus97Banner.h"
#include "components/win32/Menus97Images.h"
#include "components/win32/Menus97Names.h"
#include "components/win32/Menus97Paint.h"
#include "platform/CodePagePort.h"
#include "toolkit/Gdi.h"

namespace ostrel {

class TPopupMenus97 {
 public:
  // `codePage`: the one the captions are in, through which the items' names are handed
  // over in UTF-16. The host routes its window's messages rather than subclassing it:
  // Wine keeps a subclass chain in a window property that it looks up through its server
  // at each message, and a tree of a thousand definitions filled eight times slower in a
  // window subclassed twice.
  explicit TPopupMenus97(CodePagePort& codePage);
  ~TPopupMenus97();
  TPopupMenus97(const TPopupMenus97&) = delete;
  TPopupMenus97& operator=(const TPopupMenus97&) = delete;

  // The host's message, before its own handling: true, with `result` set, when it was
  // the menu's to answer; false to let the host handle it (the component may have looked
  // at it too, as at WM_INITMENUPOPUP).
  bool Route(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // The settings a host may change at any time, with their defaults after construction.
  // Sizes are in units of 96 DPI.
  TBannerJustification BannerJustification = bjCenter;
  int BannerWidth = 20;
  std::string BannerText;
  TFont97 BannerFont;  // "Arial", 12 points
  COLORREF BannerColor = SysColor97(COLOR_ACTIVECAPTION);
  COLORREF BannerEndColor = RGB(0, 0, 0);
  int BannerNumColors = 16;
  bool Banner = false;
  int ItemHeight = 0;
  int ItemWidth = 0;
  COLORREF BrushColor = SysColor97(COLOR_BTNFACE);
  COLORREF HiliteBar = SysColor97(COLOR_HIGHLIGHT);

  // The DPI of the screen the menu is about to open on, set by the owner just before it
  // pops the menu up (the screen's DPI until then). What was made for another DPI (the
  // banner, fonts, drawn images, marks) is made anew; the same DPI keeps it all.
  void SetDpi(UINT dpi);
  // Lays each menu of the attached tree out for the work area of the screen it opens on,
  // at the DPI set: one taller than that in columns (with MFT_MENUBREAK) when they fit
  // across it, any other in one column, as the host built it. The owner calls it just
  // before it pops the menu up: a menu popped up with TPM_NONOTIFY sends no
  // WM_INITMENUPOPUP in which the component could do it itself.
  void FitColumns(const RECT& workArea);
  // How many items at the top level's end stay in one column (the OstrelMenu's fixed
  // commands).
  std::size_t KeepTogetherAtEnd = 0;
  UINT Dpi() const { return dpi_; }
  HMENU PopupMenu() const { return menu_; }
  // Attaches (none: detaches). A host that changes the attached menu's items detaches
  // first and attaches again afterwards.
  void SetPopupMenu(HMENU menu);
  HIMAGELIST Images() const { return images_; }
  // The images as drawn for the DPI set: their size is the list's own.
  void SetImages(HIMAGELIST images);
  const TFont97& Font() const { return font_; }
  void SetFont(const TFont97& font);
  const TFont97& HiliteFont() const { return hiliteFont_; }
  void SetHiliteFont(const TFont97& font);
  bool DefaultFont() const { return defaultFont_; }
  void SetDefaultFont(bool value);
  // The mark and image box at the DPI set, in pixels.
  int MarkWidth() const { return mark_.width; }
  int MarkHeight() const { return mark_.height; }
  const TMenuItem97& Items() const { return root_; }
  // Whether an item's data is one of this instance's (its item is drawn here).
  bool OwnsItemData(ULONG_PTR data) const { return names_.Owns(data); }

  // The handlers the routing calls; each answers 1.
  LRESULT HandleMeasureItem(MEASUREITEMSTRUCT& mis);
  LRESULT HandleDrawItem(const DRAWITEMSTRUCT& dis);
  void MarkBannerStale() {
    bannerStale_ = true;
    siblingWidths_.clear();
  }

 private:
  bool RouteOwnerDraw(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool AnswerMenuChar(WPARAM wp, LPARAM lp, LRESULT& result);

  void ReadMenu();
  void SetOwnerDraw(bool restore);
  void SetOwnerDraw(TMenuItem97& item, bool restore, bool deep);
  void SetOwnerDrawShown(HMENU shown);
  // Takes away the column breaks FitColumns put in `node`'s menu and those below it.
  static void ClearColumnBreaks(TMenuItem97& node);
  void LoadMenuFont();
  void LoadMarks();
  void UpdateMarkSize();
  // How captions and shortcuts are measured and drawn.
  static constexpr UINT kTextFlags = DT_EXPANDTABS | DT_SINGLELINE;
  // Units of 96 DPI in pixels at the DPI set; a stroke is at least one pixel.
  int Px(int units) const;
  int Stroke(int units) const { return std::max(1, Px(units)); }
  HFONT FontHandle(const TFont97& font, bool bold);
  int TextWidth(HDC dc, const std::string& text, int* height = nullptr);
  int MeasureWidth(HDC dc, const TMenuItem97& item);
  // The items the banner stands beside: the top level, or its first column when the
  // menu was laid out in columns.
  bool IsBannerItem(const TMenuItem97& item) const {
    return item.parent == &root_ &&
           static_cast<std::size_t>(&item - root_.items.data()) < bannerColumnEnd_;
  }
  HDC MeasureDc();
  struct ColumnRoom {
    int height, width, frame, textHeight;
  };
  void FitColumnsOf(TMenuItem97& node, const ColumnRoom& room);
  TBannerLook97 CurrentBannerLook() const;
  // High contrast: asked at each menu session and change of settings; what was drawn
  // for the other mode goes. The colours below follow it.
  void FollowContrast();
  COLORREF ItemBack(bool bar) const;
  COLORREF ItemText(const TFont97& font, bool selected) const;
  COLORREF Shade(int sysColor) const;
  void DrawItem(HDC dc, TMenuItem97& item, RECT rect, UINT state);
  void DrawPopupItem(HDC dc, TMenuItem97& item, RECT rect, UINT state);
  void DrawMarkBox(HDC dc, const RECT& rect, int w, bool raised);

  UINT dpi_;
  HMENU menu_ = nullptr;
  TMenuItem97 root_;
  // The item data of each item before it was made owner-drawn, put back on detach.
  std::map<std::pair<HMENU, int>, ULONG_PTR> savedData_;
  // The item data of each owner-drawn item: its name, freed when the items are let go.
  TMenuItemNames97 names_;
  HIMAGELIST images_ = nullptr;
  bool imagesGiven_ = false;  // SetImages has changed the list (to none, too)
  TFont97 font_, hiliteFont_;
  bool defaultFont_ = true;
  tk::GdiObject<HBITMAP> checkMark_, radioMark_;
  SIZE checkSize_{17, 17};
  MarkSize mark_{20, 20};
  TMenuBanner97 banner_;
  bool bannerStale_ = true;
  bool highContrast_ = false;
  // The first top-level item right of the banner's column (none: every item is beside it).
  std::size_t bannerColumnEnd_ = SIZE_MAX;
  // Measuring a menu asks for every item in turn, and each needs all its siblings:
  // their shared width is kept for one opening.
  std::map<const TMenuItem97*, int> siblingWidths_;
  std::map<std::uint32_t, TMenuItem97*> byCommand_;
  std::map<HMENU, TMenuItem97*> bySubMenu_;
  tk::MemoryDc measureDC_;
  TMenuImages97 drawnImages_;
  struct FontKey {
    TFont97 font;
    bool bold;
    tk::GdiObject<HFONT> handle;
  };
  std::vector<FontKey> fonts_;
};

}  // namespace ostrel
