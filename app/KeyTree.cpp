#include "app/KeyTree.h"

#include <algorithm>
#include <cctype>

#include "app/OstrelController.h"
#include "catalogue/RecordStream.h"

namespace ostrel {

std::vector<TreeNode> BuildTree(const KeysList& keys) {
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
    nodes.push_back(
        TreeNode{TrimText(d->Name.str()), kImageDefinition, kImageDefinition, parent, d});
  }
  return nodes;
}

std::vector<MenuItem> BuildMenu(const KeysList& keys) {
  std::vector<MenuItem> menu;
  // The position of the current group's submenu; -1 after an ungrouped item.
  std::ptrdiff_t lastGroup = -1;
  for (std::size_t i = 0; i < keys.Count(); ++i) {
    PKeyRec d = keys.At(i);
    if (d->ShowOnMenu == 0) continue;
    std::string g = TrimText(d->Group.str());
    MenuItem item{TrimText(d->Name.str()), kNoImage, true, {}};
    if (g.empty()) {
      lastGroup = -1;
      menu.push_back(std::move(item));
      continue;
    }
    if (lastGroup < 0 || menu[lastGroup].caption != g) {
      lastGroup = static_cast<std::ptrdiff_t>(menu.size());
      menu.push_back(MenuItem{g, kImageGroup, false, {}});
    }
    menu[lastGroup].items.push_back(std::move(item));
  }
  menu.push_back(MenuItem{"-", kNoImage, false, {}});
  menu.push_back(MenuItem{"Hide Menu", kImageHideMenu, true, {}});
  menu.push_back(MenuItem{kHotKeysOffCaption, kImageHotKeysOff, true, {}});
  menu.push_back(MenuItem{"Show...", kImageShow, true, {}});
  menu.push_back(MenuItem{"Terminate", kImageTerminate, true, {}});
  return menu;
}

std::size_t HotKeysItemIndex(const std::vector<MenuItem>& menu) { return menu.size() - 3; }

void OstrelController::MenuClick(const std::string& caption, const std::string& parentCaption) {
  const std::string key = parentCaption + kKeySeparator + caption;
  if (keys_) {
    std::ptrdiff_t at = keys_->Find(key);
    if (at != KeysList::npos) {
      pendingKey_ = keys_->At(static_cast<std::size_t>(at));
      DoItToPkey(pendingKey_);
      return;
    }
  }
  std::string u = key;
  std::transform(u.begin(), u.end(), u.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  // Both tests look at the caption as it was, so one click switches once.
  const bool off = u.find("HOTKEYS OFF") != std::string::npos;
  const bool on = u.find("HOTKEYS ON") != std::string::npos;
  if (off) SetHotKeysOn(false);
  if (on) SetHotKeysOn(true);
  if (u.find("TERMINATE") != std::string::npos) {
    terminating_ = true;
    if (desktopWnd_ && !p_.windows.IsWindowVisible(desktopWnd_))
      p_.windows.ShowWindow(desktopWnd_, kSwShow);
    p_.view.EndProgram();
  } else if (u.find("SHOW...") != std::string::npos) {
    ShowConfiguration(true);
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

void OstrelController::ToolbarButton971Click() {
  p_.windows.PostMessageA(p_.view.MainWindow(), MSG_SHOW_MENU, 0, 0);
}

void OstrelController::TrayIcon1MouseClick() {
  p_.windows.PostMessageA(p_.view.MainWindow(), MSG_SHOW_MENU, 0, 0);
}

}  // namespace ostrel
