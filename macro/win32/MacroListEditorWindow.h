// MacroListEditorWindow, the modal dialog "SendKeys List Configuration" that edits one macro list
// file. A thin view: it builds the window and forwards every event to MacroListEditor.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "macro/MacroListEditor.h"
#include "platform/FilePort.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/HelpButton.h"

namespace ostrel {

// Control ids of MacroListEditorWindow (none is IDOK or IDCANCEL).
enum MacroListControl : int {
  idMacroListLabel = 401,
  idMacroListNames,
  idMacroListGroup,
  idMacroListAdd,      // Add, the default button
  idMacroListDelete,   // Delete
  idMacroListExit,     // Exit
  idMacroListCancel,   // Cancel
  idMacroListHelpBar,  // the tool bar that holds the help button
  idMacroListHelpButton,
  idMacroListPanel,
  idMacroListKeys,
  idMacroListHelpText,
};

inline constexpr const char* kMacroListClass = "MacroListEditorWindow";

class MacroListEditorWindow : public tk::Form, private MacroListView {
 public:
  // `owner` is disabled while the dialog is shown modally; it may be null. The list
  // file is read and written through `files`.
  MacroListEditorWindow(HWND owner, FileSystem& files);
  ~MacroListEditorWindow() override;

  void SetListFileName(const std::string& path) { editor_.ListFileName = path; }
  // The help button asks this to open the program's help at a context (40).
  std::function<void(int context)> onHelp;

  MacroListEditor& Editor() { return editor_; }
  HWND Control(int id) const { return GetDlgItem(Handle(), id); }

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnDpiChanged() override { helpButton_.FitDpi(*this); }
  bool OnCloseQuery() override;
  void OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  // MacroListView
  void SetMenuNames(const std::vector<std::string>& names) override;
  int SelectedLine() override;
  void SelectLine(int index) override;
  void SetMacroText(const std::string& text) override;
  std::string MacroText() override;
  void SetMacroReadOnly(bool readOnly) override;
  void FocusMacro() override;
  void SetHelpText(const std::string& text) override;
  std::string InputBox(const std::string& caption, const std::string& prompt,
                       const std::string& initial) override;
  void ShowError(const std::string& text) override;
  void RequestHelp(int context) override;
  void Close() override;

  MacroListEditor editor_;
  tk::ListBox menuList_;
  tk::Edit menuKeys_;
  tk::InfoPane memo_;
  tk::HelpButton helpButton_;
  std::vector<std::string> pendingErrors_;
};

// What the hotkey editor does with a macro-menu definition's list file: create the
// dialog, set the file, show it modally, release it. Returns the modal result, which
// callers may ignore; the file holds the edited list once this returns.
int EditMacroList(HWND owner, FileSystem& files, const std::string& path,
                  std::function<void(int context)> onHelp = {});

}  // namespace ostrel
