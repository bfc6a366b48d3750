#include "app/win32/OstrelFormMenus.h"

#include <algorithm>

#include "toolkit/Colours.h"
#include "toolkit/Dpi.h"

namespace ostrel {

namespace {

// The settings both banner menus share: "Ostrel" on aqua to teal, teal items with the
// images of ImageList1 and a silver bar on the chosen one.
void SetUpBannerMenu(TPopupMenus97& menus) {
  menus.Banner = true;
  menus.BannerText = "Ostrel";
  menus.BannerWidth = 20;
  menus.BannerJustification = bjCenter;
  TFont97 banner;
  banner.name = "Times New Roman";
  banner.height = -13;
  banner.bold = banner.italic = banner.underline = true;
  banner.color = RGB(0, 0, 0);
  menus.BannerFont = banner;
  menus.BannerColor = tk::kAqua;
  menus.BannerEndColor = tk::kTeal;
  menus.BannerNumColors = 16;
  menus.SetImages(nullptr);
  TFont97 items;
  items.name = "MS Sans Serif";
  items.height = -11;
  items.color = SysColor97(COLOR_WINDOWTEXT);
  menus.SetFont(items);
  menus.SetHiliteFont(items);
  menus.BrushColor = tk::kTeal;
  menus.HiliteBar = RGB(192, 192, 192);
}

constexpr UINT kPopupFlags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON;

// The OstrelMenu's "Hide Menu", hotkey switch, "Show..." and "Terminate" stand together
// in the last column of a menu laid out in columns.
constexpr std::size_t kFixedCommands = 4;

// Where a menu popped up at `at` may stand: the work area of the screen there.
RECT WorkAreaAt(POINT at) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info))
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return info.rcWork;
}

// The size a popup of `menu` takes, its items measured as its drawing measures them: the
// columns side by side, each as wide as its widest item with the room the platform adds
// beside an owner-drawn one, and the frame around.
SIZE MenuSize(HMENU menu, TPopupMenus97& drawing) {
  const UINT dpi = drawing.Dpi();
  const int frame = tk::Metric(SM_CYFIXEDFRAME, dpi);
  const int separator = tk::Metric(SM_CYMENUSIZE, dpi) / 2;
  const int beside = tk::Metric(SM_CXMENUCHECK, dpi);
  int width = 0, height = 0, columnWidth = 0, columnHeight = 0;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fType & MFT_MENUBREAK) && i > 0) {
      width += columnWidth;
      height = std::max(height, columnHeight);
      columnWidth = columnHeight = 0;
    }
    if (info.fType & MFT_SEPARATOR) {
      columnHeight += separator;
      continue;
    }
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = info.wID;
    drawing.HandleMeasureItem(measure);
    columnWidth = std::max(columnWidth, static_cast<int>(measure.itemWidth) + beside);
    columnHeight += static_cast<int>(measure.itemHeight);
  }
  return SIZE{width + columnWidth + 2 * frame, std::max(height, columnHeight) + 2 * frame};
}

}  // namespace

OstrelFormMenus::OstrelFormMenus(HWND owner, CodePagePort& codePage)
    : owner_(owner), ostrelMenuBanner_(codePage), macroMenuBanner_(codePage) {
  // The macro menu holds one placeholder until its first use fills it.
  macroMenu_.Reset(CreatePopupMenu());
  AppendMenuA(macroMenu_.get(), MF_STRING | MF_GRAYED, 0, "Nothing");
  SetUpBannerMenu(ostrelMenuBanner_);
  SetUpBannerMenu(macroMenuBanner_);
  ostrelMenuBanner_.KeepTogetherAtEnd = kFixedCommands;
  FitMenus(POINT{0, 0});
  macroMenuBanner_.SetPopupMenu(macroMenu_.get());
}

// The macro menu's drawing first, then the OstrelMenu's: each passes on what is not its own.
bool OstrelFormMenus::Route(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  return macroMenuBanner_.Route(msg, wp, lp, result) || ostrelMenuBanner_.Route(msg, wp, lp, result);
}

void OstrelFormMenus::FitMenus(POINT at) {
  const UINT dpi = tk::DpiAt(at);
  if (dpi == menuDpi_ && menuImages_) return;
  tk::ImageListOwner images(tk::LoadArtList("IMAGELIST1", 16, dpi, 0, tk::kImageMask));
  for (TPopupMenus97* menus : {&ostrelMenuBanner_, &macroMenuBanner_}) {
    menus->SetDpi(dpi);
    menus->SetImages(images.get());
  }
  menuImages_ = std::move(images);
  menuDpi_ = dpi;
}

void OstrelFormMenus::AppendItems(HMENU menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.dwItemData = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(item.tag));
    if (item.separator) {
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask |= MIIM_STRING | MIIM_ID;
      info.fType = MFT_STRING;
      info.dwTypeData = const_cast<char*>(item.caption.c_str());
      info.wID = nextMenuCommand_++;
      if (item.choice.command != MenuCommand::kNone) menuCommands_[info.wID] = item.choice;
      if (item.choice.command == MenuCommand::kHotKeysSwitch) hotKeysCommand_ = info.wID;
    }
    // A submenu is the menu's once inserted; until then it is ours to free.
    MenuOwner sub;
    if (!item.separator && item.choice.command == MenuCommand::kNone) {
      sub.Reset(CreatePopupMenu());
      AppendItems(sub.get(), item.items);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub.get();
    }
    if (InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info)) sub.Release();
  }
}

void OstrelFormMenus::Render(const std::vector<MenuItem>& items) {
  ostrelMenuBanner_.SetPopupMenu(nullptr);
  ostrelMenu_.Reset(CreatePopupMenu());
  menuCommands_.clear();
  nextMenuCommand_ = kFirstMenuCommand;
  hotKeysCommand_ = 0;
  AppendItems(ostrelMenu_.get(), items);
  ostrelMenuBanner_.SetPopupMenu(ostrelMenu_.get());
}

void OstrelFormMenus::SetHotKeysItem(const std::string& caption, int tag) {
  if (!hotKeysCommand_) return;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_DATA;
  info.dwTypeData = const_cast<char*>(caption.c_str());
  info.dwItemData = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(tag));
  // The banner menu reads the item again with its new caption and image.
  ostrelMenuBanner_.SetPopupMenu(nullptr);
  SetMenuItemInfoA(ostrelMenu_.get(), hotKeysCommand_, FALSE, &info);
  ostrelMenuBanner_.SetPopupMenu(ostrelMenu_.get());
}

void OstrelFormMenus::Popup(ScreenPoint at) {
  FitMenus(POINT{at.x, at.y});
  ostrelMenuBanner_.FitColumns(WorkAreaAt(POINT{at.x, at.y}));
  // The choice is posted as WM_COMMAND and handled once the menu has closed.
  TrackPopupMenuEx(ostrelMenu_.get(), kPopupFlags, at.x, at.y, owner_, nullptr);
  // Lets the next click outside close a menu that the program reopens.
  PostMessageA(owner_, WM_NULL, 0, 0);
}

std::optional<MenuChoice> OstrelFormMenus::Chosen(UINT id) const {
  const auto chosen = menuCommands_.find(id);
  if (chosen == menuCommands_.end()) return std::nullopt;
  return chosen->second;
}

void OstrelFormMenus::RenderMacros(const std::vector<MenuItem>& items) {
  macroMenuBanner_.SetPopupMenu(nullptr);
  macroMenu_.Reset(CreatePopupMenu());
  macroCommands_.clear();
  UINT id = kFirstMacroCommand;
  for (const MenuItem& item : items) {
    if (item.separator) {
      AppendMenuA(macroMenu_.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    // A list of thousands of macros is cut where the command ids run out.
    if (id > kLastMacroCommand) continue;
    if (item.choice.command == MenuCommand::kMacro) macroCommands_[id] = item.choice;
    AppendMenuA(macroMenu_.get(), MF_STRING, id++, item.caption.c_str());
  }
  macroMenuBanner_.SetPopupMenu(macroMenu_.get());
}

bool OstrelFormMenus::PopupMacros(const MenuAnchor& anchor) {
  const POINT point{anchor.at.x, anchor.at.y};
  FitMenus(point);
  const RECT work = WorkAreaAt(point);
  macroMenuBanner_.FitColumns(work);
  // The platform keeps a menu on its screen, but not off the task bar nor clear of the
  // line the user writes on: the place is worked out here, for the menu's own size.
  const SIZE size = MenuSize(macroMenu_.get(), macroMenuBanner_);
  const ScreenPoint at =
      PlaceMenu(anchor, size.cx, size.cy, ScreenRect{work.left, work.top, work.right, work.bottom});
  // The command id is read here, while it still means this menu's item: the ids are
  // given out again by the next rebuild, which may come before a posted WM_COMMAND.
  const UINT id = static_cast<UINT>(TrackPopupMenuEx(
      macroMenu_.get(), kPopupFlags | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, owner_, nullptr));
  const auto chosen = macroCommands_.find(id);
  if (chosen != macroCommands_.end())
    PostMessageA(owner_, kMacroChosenMessage, static_cast<WPARAM>(chosen->second.line),
                 static_cast<LPARAM>(chosen->second.list));
  PostMessageA(owner_, WM_NULL, 0, 0);
  return chosen != macroCommands_.end();
}

std::optional<MenuChoice> OstrelFormMenus::MacroChosen(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kMacroChosenMessage) return std::nullopt;
  return MenuChoice{MenuCommand::kMacro, nullptr, static_cast<std::size_t>(wp),
                    static_cast<std::uint32_t>(lp)};
}

}  // namespace ostrel
