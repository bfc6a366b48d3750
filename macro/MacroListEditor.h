// MacroListEditorWindow, the macro-menu editor "SendKeys List Configuration": the list of named macros
// of one list file, Add / Delete, the selected item's macro edited in place, and the
// file written when the dialog closes with a changed list. The Win32 dialog
// (macro/win32/MacroListEditorWindow.*) forwards its events here and shows what this asks of
// MacroListView.
#pragma once

#include <string>
#include <vector>

#include "catalogue/Collation.h"
#include "platform/FilePort.h"
#include "platform/ModalResult.h"

namespace ostrel {

inline constexpr int kMacroListHelpContext = 40;  // help context and help text number

class MacroListView {
 public:
  virtual ~MacroListView() = default;
  // MenuList: replaced whole by these lines, with no line selected afterwards.
  virtual void SetMenuNames(const std::vector<std::string>& names) = 0;
  virtual int SelectedLine() = 0;  // -1 when none is selected
  virtual void SelectLine(int index) = 0;
  // MenuKeys. Setting the text may report a change back; the editor ignores it.
  virtual void SetMacroText(const std::string& text) = 0;
  virtual std::string MacroText() = 0;
  virtual void SetMacroReadOnly(bool readOnly) = 0;
  virtual void FocusMacro() = 0;
  // memo1.
  virtual void SetHelpText(const std::string& text) = 0;
  // The toolkit's input box; Cancel gives "".
  virtual std::string InputBox(const std::string& caption, const std::string& prompt,
                               const std::string& initial) = 0;
  // The toolkit's error box (caption "Error", one OK button).
  virtual void ShowError(const std::string& text) = 0;
  // The help button: the owner opens the program's help at this context.
  virtual void RequestHelp(int context) = 0;
  // Closes the dialog; the close runs FormCloseQuery.
  virtual void Close() = 0;
};

class MacroListEditor {
 public:
  MacroListEditor(MacroListView& view, FileSystem& files, CollateFn same);

  std::string ListFileName;  // full path; set before the dialog is shown

  void FormCreate();
  void FormShow();
  void UpdateMenuList();
  void AddClick();     // Add
  void DeleteClick();  // Delete
  void ExitClick();    // Exit
  void CancelClick();  // Cancel
  void MenuListClick();
  void MenuKeysChange();
  // Every close: writes the list if it changed (or the file is new) and allows the close,
  // even when the write failed.
  bool FormCloseQuery();
  void HelpClick();

  int ModalResult() const { return modalResult_; }
  const std::vector<std::string>& ItemList() const { return itemList_; }
  const std::string& CurrentItem() const { return currentItem_; }

 private:
  void ClearMacro();
  void SetMacro(const std::string& text);

  MacroListView& view_;
  FileSystem& files_;
  CollateFn same_;
  std::vector<std::string> itemList_;
  std::string currentItem_;
  int modalResult_ = 0;
  bool settingMacro_ = false;  // the editor itself is changing MenuKeys
  // What the file held as read; an existing file is rewritten only when the list differs.
  bool existed_ = false;
  std::vector<std::string> loaded_;
  // The file could not be read whole: it is kept as a backup before it is rewritten.
  bool partial_ = false;
};

}  // namespace ostrel
