#include "app/KeyTree.h"

#include <algorithm>

#include "app/OstrelController.h"
#include "catalogue/RecordStream.h"

namespace ostrel {

std::string TreeText(const std::string& name, const Conditions& c, CodePagePort* codePage) {
  std::string notes = ScopeText(c);
  // The abbreviation first: it is what the user types.
  if (const std::string typed = ShownAbbreviation(c.abbreviation.text, codePage); !typed.empty())
    notes = typed + (notes.empty() ? "" : ", " + notes);
  if (c.hotkeyOff) notes += notes.empty() ? "off" : ", off";
  if (const std::string launch = LaunchText(c.launch); !launch.empty())
    notes += (notes.empty() ? "" : ", ") + launch;
  return notes.empty() ? name : name + " (" + notes + ")";
}

std::vector<TreeNode> BuildTree(const KeysList& keys, CodePagePort* codePage) {
  std::vector<TreeNode> nodes;
  int lastGroup = -1;
  for (std::size_t i = 0; i < keys.Count(); ++i) {
    PKeyRec d = keys.At(i);
    std::string g = TrimText(d->Group.str());
    int parent = -1;
    if (!g.empty()) {
      if (lastGroup < 0 || nodes[lastGroup].text != g) {
        lastGroup = static_cast<int>(nodes.size());
        nodes.push_back(TreeNode{g, kImageGroup, kImageGroup, -1, nullptr});
      }
      parent = lastGroup;
    }
    nodes.push_back(TreeNode{TreeText(TrimText(d->Name.str()), keys.ConditionsAt(i), codePage),
                             kImageDefinition, kImageDefinition, parent, d});
  }
  return nodes;
}

MenuItem CommandItem(std::string caption, int tag, MenuChoice choice) {
  MenuItem item{std::move(caption), tag, choice, {}, false};
  if (item.caption == "-") {
    item.choice = MenuChoice{};
    item.separator = true;
  }
  return item;
}

std::vector<MenuItem> BuildMenu(const KeysList& keys) {
  std::vector<MenuItem> menu;
  // The position of the current group's submenu; -1 after an ungrouped item.
  std::ptrdiff_t lastGroup = -1;
  for (std::size_t i = 0; i < keys.Count(); ++i) {
    PKeyRec d = keys.At(i);
    if (d->ShowOnMenu == 0) continue;
    std::string g = TrimText(d->Group.str());
    MenuItem item = CommandItem(TrimText(d->Name.str()), kNoImage, {MenuCommand::kDefinition, d});
    if (g.empty()) {
      lastGroup = -1;
      menu.push_back(std::move(item));
      continue;
    }
    if (lastGroup < 0 || menu[lastGroup].caption != g) {
      lastGroup = static_cast<std::ptrdiff_t>(menu.size());
      menu.push_back(MenuItem{g, kImageGroup, {}, {}, false});
    }
    menu[lastGroup].items.push_back(std::move(item));
  }
  menu.push_back(CommandItem("-", kNoImage, {}));
  menu.push_back(CommandItem("Hide Menu", kImageHideMenu, {MenuCommand::kHideMenu}));
  menu.push_back(CommandItem(kHotKeysOffCaption, kImageHotKeysOff, {MenuCommand::kHotKeysSwitch}));
  menu.push_back(CommandItem("Show...", kImageShow, {MenuCommand::kShow}));
  menu.push_back(CommandItem("Terminate", kImageTerminate, {MenuCommand::kTerminate}));
  return menu;
}

MenuItem* FindCommandItem(std::vector<MenuItem>& menu, MenuCommand command) {
  auto it = std::find_if(menu.begin(), menu.end(),
                         [command](const MenuItem& m) { return m.choice.command == command; });
  return it == menu.end() ? nullptr : &*it;
}

void OstrelController::MenuClick(const MenuChoice& choice) {
  switch (choice.command) {
    case MenuCommand::kDefinition:
      // Dispatched at once, whatever programs its hotkey is for; a definition deleted
      // since the menu was built does nothing. A macro types into the window the menu
      // was opened over, even if the foreground has not gone back to it yet.
      pendingKey_ = choice.definition;
      menuTarget_ = mouseLink_.MenuForeground() != desktopWnd_ ? mouseLink_.MenuForeground() : 0;
      RunDefinition(pendingKey_);
      menuTarget_ = 0;
      return;
    case MenuCommand::kHotKeysSwitch:
      // The switch reads what it will do: "HotKeys Off" while they are on.
      SetHotKeysOn(!hotKeys_.SystemHotKeys().Active());
      return;
    case MenuCommand::kShow:
      ShowConfiguration(true);
      return;
    case MenuCommand::kTerminate:
      terminating_ = true;
      if (desktopWnd_ && !p_.windows.IsWindowVisible(desktopWnd_))
        p_.windows.ShowWindow(desktopWnd_, kSwShow);
      p_.view.EndProgram();
      return;
    case MenuCommand::kHideMenu:  // choosing it has closed the menu; nothing more
    case MenuCommand::kMacro:
    case MenuCommand::kNone:
      return;
  }
}

void OstrelController::AnotherCopyStarted() {
  if (terminating_) return;
  if (!popupReady_) {
    showRequested_ = true;
    return;
  }
  ShowConfiguration(false);
}

void OstrelController::ShowMenuClick() {
  p_.windows.PostMessageA(p_.view.MainWindow(), MSG_SHOW_MENU, 0, 0);
}

void OstrelController::TrayIconClick() {
  p_.windows.PostMessageA(p_.view.MainWindow(), MSG_SHOW_MENU, 0, 0);
}

}  // namespace ostrel
