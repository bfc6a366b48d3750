// The main window's two popup menus: the OstrelMenu (OstrelMenu) and the macro menu
// (MacroMenu). They are built from the items the controller renders, drawn with the
// banner by TPopupMenus97 for the screen they open on, and popped up with the window as
// their owner. A choice reaches the window later through its queue; the window asks
// this class which item it was and hands that to the controller.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/KeyTree.h"
#include "app/MenuPlace.h"
#include "components/win32/Menus97.h"
#include "platform/CodePagePort.h"
#include "platform/WindowPort.h"
#include "toolkit/Controls.h"

namespace ostrel {

// Command ids of the OstrelMenu's items, given out afresh by every rebuild.
inline constexpr UINT kFirstMenuCommand = 1000;
// Command ids of the macro menu's items, above any the OstrelMenu reaches.
inline constexpr UINT kFirstMacroCommand = 60000;
inline constexpr UINT kLastMacroCommand = 65000;
// Posted to the window for a choice from the macro menu: wParam is the item's line,
// lParam the number of its list (MenuChoice).
inline constexpr UINT kMacroChosenMessage = WM_APP + 1;

class OstrelFormMenus {
 public:
  // `owner`: the window the menus pop up with; it receives their drawing messages.
  // `codePage`: the one the captions are in, for the items' names.
  OstrelFormMenus(HWND owner, CodePagePort& codePage);
  OstrelFormMenus(const OstrelFormMenus&) = delete;
  OstrelFormMenus& operator=(const OstrelFormMenus&) = delete;

  // The OstrelMenu: replaced whole, its hotkey switch relabelled, popped up. A choice is
  // posted as WM_COMMAND with the item's command id.
  void Render(const std::vector<MenuItem>& items);
  void SetHotKeysItem(const std::string& caption, int tag);
  void Popup(ScreenPoint at);
  // The OstrelMenu's item of this command id; none for an id it did not give out.
  std::optional<MenuChoice> Chosen(UINT id) const;

  // The macro menu: replaced whole and popped up. A choice is posted as
  // kMacroChosenMessage, made when the menu closes: an item of a menu rebuilt before the
  // message arrives still names its own line and list.
  void RenderMacros(const std::vector<MenuItem>& items);
  // True when a line was chosen (its choice is posted to the owner).
  bool PopupMacros(const MenuAnchor& anchor);
  // The macro menu's item that a message to the window carries; none for another message.
  static std::optional<MenuChoice> MacroChosen(UINT msg, WPARAM wp, LPARAM lp);
  // The owner's message, handed to the banner drawing before the owner's own handling
  // (see TPopupMenus97::Route): true, with `result` set, when it was the menus' to answer.
  bool Route(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  HMENU OstrelMenu() const { return ostrelMenu_.get(); }
  HMENU MacroMenu() const { return macroMenu_.get(); }
  TPopupMenus97& OstrelMenuBanner() { return ostrelMenuBanner_; }
  TPopupMenus97& MacroMenuBanner() { return macroMenuBanner_; }

 private:
  // The banner menus drawn for the screen at `at`, before they pop up there.
  void FitMenus(POINT at);
  void AppendItems(HMENU menu, const std::vector<MenuItem>& items);

  HWND owner_;
  // ImageList1 for the menus, at the DPI of the screen they last opened on.
  tk::ImageListOwner menuImages_;
  UINT menuDpi_ = 0;
  // OstrelMenu and, per command id, what its item does.
  tk::MenuOwner ostrelMenu_;
  std::map<UINT, MenuChoice> menuCommands_;
  UINT nextMenuCommand_ = kFirstMenuCommand;
  UINT hotKeysCommand_ = 0;
  // MacroMenu and, per command id, the line its item types.
  tk::MenuOwner macroMenu_;
  std::map<UINT, MenuChoice> macroCommands_;
  // The banner drawing of OstrelMenu and MacroMenu; declared after the menus, so they go first.
  TPopupMenus97 ostrelMenuBanner_;
  TPopupMenus97 macroMenuBanner_;
};

}  // namespace ostrel
