#include "app/KeyEditing.h"

#include <algorithm>
#include <utility>

#include "catalogue/FunCatalogue.h"
#include "catalogue/RecordStream.h"

namespace ostrel {

KeyEditing::KeyEditing(MainView& view, const std::unique_ptr<KeysList>& keys,
                       std::optional<DefinitionFile>& file, std::vector<MenuItem>& menu,
                       HotKeyRegistry& hotKeys, std::function<bool()> alive)
    : view_(view),
      keys_(keys),
      file_(file),
      menu_(menu),
      hotKeys_(hotKeys),
      alive_(std::move(alive)) {}

bool KeyEditing::UpdateKeysList(const std::function<std::string()>& undo) {
  if (!keys_) return false;
  const PKeyRec keep = SelectedDefinition();
  keys_->Rekey();
  bool saved = true;
  try {
    file_->Save(*keys_);
  } catch (const EFileError& e) {
    // The definitions stay in memory, unless the change can be taken back; the next
    // rebuild tries to save them again.
    saved = false;
    const std::string undone = undo ? undo() : std::string();
    view_.ShowError(e.what() + undone);
    // The box handles messages: "Terminate" from the OstrelMenu may have ended the
    // program and freed the list under it.
    if (!alive_()) return false;
  }
  std::vector<TreeNode> tree = BuildTree(*keys_, file_ ? file_->CodePage() : nullptr);
  view_.RenderTree(tree);
  menu_ = BuildMenu(*keys_);
  view_.RenderMenu(menu_);
  if (keep) {
    auto it = std::find_if(tree.begin(), tree.end(),
                           [keep](const TreeNode& n) { return n.data == keep; });
    if (it != tree.end()) view_.SelectNode(static_cast<std::size_t>(it - tree.begin()));
  }
  hotKeys_.BuildHotKeyList();
  return saved;
}

void KeyEditing::TreeSelectionChanged() {
  if (const PKeyRec def = SelectedDefinition())
    view_.SetStatusText("  " + FunTypeName(def));
  else if (!restingStatus_.empty())
    view_.SetStatusText(restingStatus_);
}

void KeyEditing::SetRestingStatus(std::string text) {
  restingStatus_ = std::move(text);
  view_.SetStatusText(restingStatus_);
}

PKeyRec KeyEditing::SelectedDefinition() {
  const TreeSelection selected = view_.SelectedNode();
  return selected.any ? selected.data : nullptr;
}

// Only OK goes on. A dialog can also end because the program did ("Terminate" chosen
// from the OstrelMenu while it was open): the definitions are gone then, and nothing
// may be stored.
void KeyEditing::AddClick() {
  if (!keys_) return;
  if (view_.RunFunctionChooser(chosenFunction_, chosenFunctionName_) != mrOk || !keys_) return;
  auto copy = std::make_unique<TKeyRec>(NewKeyRec(chosenFunction_));
  Conditions conditions;
  if (view_.RunKeyEditor(*copy, conditions, 0, *keys_, nullptr) != mrOk || !keys_) return;
  const std::string key = KeyText(*copy);
  keys_->Add(key, std::move(copy), std::move(conditions));
  UpdateKeysList();
}

void KeyEditing::UpdateClick() {
  if (!keys_) return;
  const PKeyRec def = SelectedDefinition();
  if (!def) {
    view_.ShowError("No Item selected for update.");
    return;
  }
  TKeyRec copy = NewKeyRec();
  CopyKeyRec(*def, copy);
  Conditions conditions = keys_->ConditionsOf(def);
  if (view_.RunKeyEditor(copy, conditions, 1, *keys_, def) != mrOk || !keys_) return;
  // The definition stays the same object, in the list and in the tree's data. Delete
  // cannot remove it while the editor is open (the window is disabled), but a stale one
  // is never written.
  const std::ptrdiff_t at = keys_->IndexOf(def);
  if (at == KeysList::npos) return;
  CopyKeyRec(copy, *def);
  // The rebuild re-sorts the entry under its new key text; the conditions go with it.
  keys_->SetConditions(static_cast<std::size_t>(at), std::move(conditions));
  UpdateKeysList();
}

void KeyEditing::DeleteClick() {
  if (!keys_) return;
  const PKeyRec def = SelectedDefinition();
  if (!def) return;
  const std::ptrdiff_t at = keys_->IndexOf(def);
  if (at == KeysList::npos) return;
  // The node goes first, so the rebuild below remembers no selection.
  view_.DeleteSelectedNode();
  keys_->Delete(static_cast<std::size_t>(at));
  UpdateKeysList();
}

}  // namespace ostrel
