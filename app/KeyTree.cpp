#include "app/KeyTree.h"

#include <algorithm>
#include <cctype>

#include "app/OstrelController.h"
#include "catalogue/FunCatalogue.h"
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

void OstrelController::UpdateKeysList() {
  if (!keys_) return;
  TreeSelection selected = p_.view.SelectedNode();
  PKeyRec keep = selected.any ? selected.data : nullptr;
  keys_->Rekey();
  try {
    keysFile_->Save(*keys_);
  } catch (const EFileError& e) {
    // The definitions stay in memory; the next rebuild tries to save them again.
    p_.view.ShowError(e.what());
    // The box handles messages: "Terminate" from the OstrelMenu may have ended the
    // program and freed the list under it.
    if (!Alive()) return;
  }
  std::vector<TreeNode> tree = BuildTree(*keys_);
  p_.view.RenderTree(tree);
  menu_ = BuildMenu(*keys_);
  p_.view.RenderMenu(menu_);
  if (keep) {
    auto it = std::find_if(tree.begin(), tree.end(),
                           [keep](const TreeNode& n) { return n.data == keep; });
    if (it != tree.end()) p_.view.SelectNode(static_cast<std::size_t>(it - tree.begin()));
  }
  BuildHotKeyList();
}

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

void OstrelController::OLKeyTreeClick() {
  TreeSelection selected = p_.view.SelectedNode();
  if (selected.any && selected.data) p_.view.SetStatusText("  " + FunTypeName(selected.data));
}

void OstrelController::ToolbarButton974Click(int tag) {
  if (!keys_) return;
  TreeSelection selected = p_.view.SelectedNode();
  PKeyRec def = selected.any ? selected.data : nullptr;
  switch (tag) {
    case 1:
      if (!def) {
        p_.view.ShowError("No Item selected for update.");
        return;
      }
      UpdateDefinition(def);
      return;
    case 2: {
      if (!def) return;
      std::ptrdiff_t at = keys_->IndexOf(def);
      if (at == KeysList::npos) return;
      // The node goes first, so the rebuild below remembers no selection.
      p_.view.DeleteSelectedNode();
      keys_->Delete(static_cast<std::size_t>(at));
      UpdateKeysList();
      return;
    }
    default:
      AddDefinition();
      return;
  }
}

// Only OK goes on. A dialog can also end because the program did ("Terminate" chosen
// from the OstrelMenu while it was open): the definitions are gone then, and nothing
// may be stored.
void OstrelController::AddDefinition() {
  if (p_.view.RunFunctionChooser(chosenFunction_, chosenFunctionName_) != mrOk || !keys_) return;
  auto copy = std::make_unique<TKeyRec>(NewKeyRec(chosenFunction_));
  if (p_.view.RunKeyEditor(*copy, 0, *keys_, nullptr) != mrOk || !keys_) return;
  const std::string key = KeyText(*copy);
  keys_->Add(key, std::move(copy));
  UpdateKeysList();
}

void OstrelController::UpdateDefinition(PKeyRec def) {
  TKeyRec copy = NewKeyRec();
  CopyKeyRec(*def, copy);
  if (p_.view.RunKeyEditor(copy, 1, *keys_, def) != mrOk || !keys_) return;
  // The definition stays the same object, in the list and in the tree's data. Delete
  // cannot remove it while the editor is open (the window is disabled), but a stale one
  // is never written.
  if (keys_->IndexOf(def) == KeysList::npos) return;
  CopyKeyRec(copy, *def);
  UpdateKeysList();
}

void OstrelController::ToolbarButton971Click() {
  p_.windows.PostMessageA(p_.view.MainWindow(), MSG_SHOW_MENU, 0, 0);
}

void OstrelController::TrayIcon1MouseClick() {
  p_.windows.PostMessageA(p_.view.MainWindow(), MSG_SHOW_MENU, 0, 0);
}

}  // namespace ostrel
