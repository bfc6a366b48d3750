// The editing commands: Add, Update and Delete on the tree's selection, and the rebuild
// that every change ends with (the list re-sorted and saved, the tree, the OstrelMenu
// and the hotkeys made afresh).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/HotKeys.h"
#include "app/KeyTree.h"
#include "app/MainView.h"
#include "catalogue/DefinitionFile.h"
#include "catalogue/KeysList.h"

namespace ostrel {

class KeyEditing {
 public:
  // `keys` and `file` are the controller's (none once the program has ended); `menu` is
  // the OstrelMenu this rebuilds; `alive` tells whether the program is still running
  // after a box that handled messages.
  KeyEditing(MainView& view, const std::unique_ptr<KeysList>& keys,
             std::optional<DefinitionFile>& file, std::vector<MenuItem>& menu,
             HotKeyRegistry& hotKeys, std::function<bool()> alive);
  KeyEditing(const KeyEditing&) = delete;
  KeyEditing& operator=(const KeyEditing&) = delete;

  // Re-sorts and saves the list, then makes tree, OstrelMenu and hotkeys afresh. When the
  // save fails, `undo` (if given) first puts the list back as it was and returns what the
  // box says after the error. False when the save failed.
  bool UpdateKeysList(const std::function<std::string()>& undo = {});
  // The status line names the selected definition's function type; with a group or
  // nothing selected, it says where the definitions are kept (`SetRestingStatus`).
  void TreeSelectionChanged();
  void SetRestingStatus(std::string text);
  // The tree's buttons. Add asks for a function type, then edits a new definition;
  // Update edits the selected definition (a box says when none is selected); Delete
  // removes it.
  void AddClick();
  void UpdateClick();
  void DeleteClick();

  // What the function chooser last handed over: the type (-1 for none) and its name.
  std::int32_t ChosenFunction() const { return chosenFunction_; }
  const std::string& ChosenFunctionName() const { return chosenFunctionName_; }

 private:
  // The selected definition; none for a group node or no selection.
  PKeyRec SelectedDefinition();

  MainView& view_;
  const std::unique_ptr<KeysList>& keys_;
  std::optional<DefinitionFile>& file_;
  std::vector<MenuItem>& menu_;
  HotKeyRegistry& hotKeys_;
  std::function<bool()> alive_;
  std::int32_t chosenFunction_ = -1;
  std::string chosenFunctionName_;
  std::string restingStatus_;
};

}  // namespace ostrel
