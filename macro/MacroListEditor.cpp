#include "macro/MacroListEditor.h"

#include "catalogue/HelpTexts.h"
#include "catalogue/KeyRec.h"
#include "macro/ListFile.h"

namespace ostrel {

MacroListEditor::MacroListEditor(MacroListView& view, FileSystem& files, CollateFn same)
    : view_(view), files_(files), same_(same) {}

void MacroListEditor::ClearMacro() {
  SetMacro("");
  view_.SetMacroReadOnly(true);
  currentItem_.clear();
}

void MacroListEditor::SetMacro(const std::string& text) {
  settingMacro_ = true;
  view_.SetMacroText(text);
  settingMacro_ = false;
}

void MacroListEditor::FormCreate() {
  itemList_.clear();
  ClearMacro();
}

void MacroListEditor::FormShow() {
  ListFileLoad load = LoadListFile(files_, ListFileName);
  itemList_ = load.lines;
  loaded_ = load.lines;
  existed_ = load.exists;
  partial_ = !load.error.empty() || !load.untaken.empty();
  view_.SetHelpText(ExpandParagraphs(HelpText(kMacroListHelpContext)));
  UpdateMenuList();
  const std::string kept =
      "The file is left as it is unless you change the list; then it is "
      "first kept as " +
      FreeBackupName(files_, ListFileName) + ".";
  if (!load.error.empty())
    view_.ShowError(load.error + "\r\n\r\nThe list shows the " + std::to_string(load.lines.size()) +
                    " items read before the error. " + kept);
  else if (!load.untaken.empty())
    view_.ShowError(ListFileName + " holds " + load.untaken +
                    ", which this editor cannot read as text.\r\n\r\nThe list shows what "
                    "could be read. " +
                    kept);
}

void MacroListEditor::UpdateMenuList() {
  ClearMacro();
  std::vector<std::string> names;
  names.reserve(itemList_.size());
  for (const std::string& line : itemList_) names.push_back(ListItemName(line));
  view_.SetMenuNames(names);
}

void MacroListEditor::AddClick() {
  std::string name = TrimText(view_.InputBox("Enter Menu Name", "Menu Name", ""));
  if (name.empty()) return;
  for (const std::string& line : itemList_) {
    if (same_(ListItemName(line), name) == 0) {
      view_.ShowError("Cannot add, that name is already used");
      return;
    }
  }
  itemList_.push_back(name + "=");
  UpdateMenuList();
  view_.SelectLine(static_cast<int>(itemList_.size()) - 1);
  MenuListClick();
}

void MacroListEditor::DeleteClick() {
  int line = view_.SelectedLine();
  if (line < 0 || static_cast<std::size_t>(line) >= itemList_.size()) return;
  itemList_.erase(itemList_.begin() + line);
  UpdateMenuList();
}

void MacroListEditor::ExitClick() {
  // The close writes the list (FormCloseQuery), so Exit writes it once, there.
  modalResult_ = mrOk;
  view_.Close();
}

void MacroListEditor::CancelClick() {
  modalResult_ = mrCancel;
  view_.Close();
}

void MacroListEditor::MenuListClick() {
  ClearMacro();
  int line = view_.SelectedLine();
  if (line < 0 || static_cast<std::size_t>(line) >= itemList_.size()) return;
  view_.SetMacroReadOnly(false);
  currentItem_ = ListItemName(itemList_[static_cast<std::size_t>(line)]);
  std::string macro = ListItemValue(itemList_, currentItem_, same_);
  if (!macro.empty()) {  // MenuKeys was empty, so this changes its text
    SetMacro(macro);
    MenuKeysChange();
  }
  view_.FocusMacro();
}

void MacroListEditor::MenuKeysChange() {
  if (settingMacro_) return;
  int line = view_.SelectedLine();
  if (line < 0 || static_cast<std::size_t>(line) >= itemList_.size()) return;
  itemList_[static_cast<std::size_t>(line)] = currentItem_ + "=" + view_.MacroText();
}

bool MacroListEditor::FormCloseQuery() {
  modalResult_ = mrOk;
  if (existed_ && itemList_ == loaded_) return true;  // nothing to add to what is there
  if (partial_ && files_.Exists(ListFileName)) {
    const std::string failed = CopyToFreeBackup(files_, ListFileName);
    if (!failed.empty()) {
      view_.ShowError("Cannot create file " + failed + "\r\n\r\n" + ListFileName +
                      " is left as it was; the changes are lost.");
      return true;
    }
    partial_ = false;
  }
  std::string error = SaveListFile(files_, ListFileName, itemList_);
  // The old file stays as it was; the dialog still closes, and its changes are lost.
  if (!error.empty()) {
    view_.ShowError(error);
  } else {
    existed_ = true;
    loaded_ = itemList_;
  }
  return true;
}

void MacroListEditor::HelpClick() { view_.RequestHelp(kMacroListHelpContext); }

}  // namespace ostrel
