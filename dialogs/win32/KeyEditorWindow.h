// KeyEditorWindow, the modal hotkey editor "Configure: <function>". A thin view: it builds
// the window and forwards every event to KeyEditor.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "dialogs/KeyEditor.h"
#include "platform/CodePage.h"
#include "platform/FilePort.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/HelpButton.h"

namespace ostrel {

// Control ids: an input control's id is kKeyEditorInput + its Tag (500 OLKeyName to 509
// FunDirB, 513 the hotkey's switch to 516 the programs' "..."); the others follow. The
// launch row's inputs, whose Tags would meet those, are kKeyEditorLaunch + (Tag - 18), and
// the abbreviation's kKeyEditorAbbreviation + (Tag - 23).
inline constexpr int kKeyEditorInput = 500;
inline constexpr int kKeyEditorLaunch = 540;
inline constexpr int kKeyEditorAbbreviation = 550;
enum KeyEditorControl : int {
  idKdNameLabel = 520,
  idKdGroupLabel,
  idKdKeyLabel,
  idKdModifiersLabel,
  idKdFunTargetC,
  idKdFunParmsC,
  idKdFunDirC,
  idKdInfo,
  idKdOk,      // "&Ok"
  idKdCancel,  // "&Cancel"
  idKdHelpBar,
  idKdHelpButton,
  idKdProgramsLabel,  // "P&rograms:"
  idKdIfRunningLabel,
  idKdShowLabel,
  idKdAbbreviationLabel,  // "Abbre&viation:"
};

inline constexpr const char* kKeyEditorClass = "KeyEditorWindow";

class KeyEditorWindow : public tk::Form, private KeyEditorView {
 public:
  // `owner` is disabled while the dialog is shown modally; it may be null. Files are
  // looked at and macro lists edited through `files`; the lists lie in `dataDir`, the
  // folder the definitions are kept in. The programs' "..." lists the programs with
  // windows open as `programs` names them (none: an empty list).
  KeyEditorWindow(HWND owner, FileSystem& files, const std::string& dataDir,
                  ProgramPort* programs = nullptr);
  ~KeyEditorWindow() override;

  KeyEditor& Editor() { return editor_; }
  HWND Control(int id) const { return GetDlgItem(Handle(), id); }
  // The help button and the macro-menu editor's help ask this to open the help.
  std::function<void(int context)> onHelp;

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnDpiChanged() override { helpButton_.FitDpi(*this); }
  void OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  HWND ControlOf(EditorControl control) const;

  // KeyEditorView
  void SetCaption(const std::string& text) override;
  void SetGroupItems(const std::vector<std::string>& items) override;
  void SetText(EditorControl control, const std::string& text) override;
  std::string Text(EditorControl control) override;
  void SetSelection(EditorControl control, int index) override;
  int Selection(EditorControl control) override;
  void SetVisible(EditorControl control, bool visible) override;
  bool Visible(EditorControl control) override;
  void SetEnabled(EditorControl control, bool enabled) override;
  void SetChecked(EditorControl control, bool checked) override;
  bool Checked(EditorControl control) override;
  void SetInfo(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void FocusControl(EditorControl control) override;
  bool TryHotKey(unsigned modFlags, unsigned vk) override;
  std::optional<std::string> BrowseForFolder() override;
  std::optional<std::string> OpenFile(const std::string& filter) override;
  std::optional<std::string> PickProgram(const std::vector<std::string>& programs) override;
  void EditMacroList(const std::string& path) override;
  void RequestHelp(int context) override;
  void CloseOk() override;

  FileSystem& files_;
  KeyEditor editor_;
  tk::InfoPane info_;
  tk::HelpButton helpButton_;
};

// What the editor is handed of the platform by the main window, which owns the adapters:
// the files, the definitions' folder, the system's ANSI code page, between whose characters
// names are cut, and the other programs' windows, for the programs' "..." list.
struct KeyEditorPorts {
  FileSystem& files;
  std::string dataDir;
  LeadBytes codePage;
  ProgramPort& programs;
  // The abbreviation is shown in the code page and kept in UTF-8.
  CodePagePort* codePagePort = nullptr;
};

// What Add and Update do with the editor: create it on the working copies of a
// definition and its conditions, show it modally, release it. Returns the modal result;
// the copies are written only on OK.
int EditDefinition(HWND owner, TKeyRec& definition, Conditions& conditions, int editMode,
                   const KeysList& keys, const TKeyRec* original, const KeyEditorPorts& ports,
                   std::function<void(int context)> onHelp = {});

}  // namespace ostrel
