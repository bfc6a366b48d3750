// Attaching a menu: its items read into the tree, made owner-drawn with their names, and
// made the string items they were again on detach.
#include "components/MenuItemNames.h"
#include "components/win32/Menus97.h"

namespace ostrel {

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

}  // namespace ostrel
