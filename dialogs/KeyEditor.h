// The logic of KeyEditorWindow, the hotkey editor: loads a working copy of one definition
// and of its conditions (the programs its hotkey is for, hotkey off, how it starts what it
// names) into the dialog,
// arranges the fields as its function type's catalogue row lays them out, checks the
// entries and writes them back. The dialog itself is a KeyEditorView; it forwards every
// event here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Conditions.h"
#include "catalogue/KeyRec.h"
#include "catalogue/KeysList.h"
// FreeListFileName, which the import shares.
#include "catalogue/Transfer.h"
#include "platform/CodePage.h"
#include "platform/CodePagePort.h"
#include "platform/FilePort.h"
#include "platform/ProgramPort.h"

namespace ostrel {

// The editor's controls. An input control's value is its Tag, which also picks its
// context help (text Tag + 30); the labels have no Tag.
enum EditorControl : int {
  ecName = 0,     // OLKeyName
  ecGroup = 1,    // OLKeyGroup
  ecKeylist = 2,  // Keylist
  ecKm = 3,       // Km
  ecKeystrokes = 4,
  ecTarget = 5,        // FunTarget
  ecTargetButton = 6,  // FunTargetB
  ecParms = 7,         // FunParms
  ecDir = 8,           // FunDir
  ecDirButton = 9,     // FunDirB
  ecTargetLabel = 10,  // FunTargetC
  ecParmsLabel = 11,   // FunParmsC
  ecDirLabel = 12,     // FunDirC
  // The programs row, which says where the hotkey works, and the hotkey's switch: their
  // help is 43 to 46, clear of the macro-menu editor's 40.
  ecHotkeyOff = 13,       // check box: the hotkey is not registered
  ecScope = 14,           // All / Only in / All but
  ecPrograms = 15,        // the program names, separated by ";"
  ecProgramsButton = 16,  // "...": pick from the programs that have windows open
  ecProgramsLabel = 17,
  // How a program or file kind starts what it names (help 48 to 50).
  ecIfRunning = 18,  // Start another / Bring it forward / Bring forward or minimise
  ecShow = 19,       // the window state
  ecElevated = 20,   // check box: run as administrator
  ecIfRunningLabel = 21,
  ecShowLabel = 22,
  // The characters that run it when typed anywhere (help 53 and 54).
  ecAbbreviation = 23,  // up to 40 characters, no blanks
  ecImmediate = 24,     // check box: fires on its last character
  ecAbbreviationLabel = 25,
};

// The Tags of the controls that take the focus and have context help.
constexpr bool IsEditorInput(int tag) {
  return (tag >= ecName && tag <= ecDirButton) || (tag >= ecHotkeyOff && tag <= ecProgramsButton) ||
         (tag >= ecIfRunning && tag <= ecElevated) || tag == ecAbbreviation || tag == ecImmediate;
}

// The scope list's entries, in the order of ProgramScope.
inline constexpr const char* kScopeItems[] = {"All", "Only in", "All but"};
// The launch lists' entries, in the order of IfRunning and of ShowState.
inline constexpr const char* kIfRunningItems[] = {"Start another", "Bring it forward",
                                                  "Bring forward or minimise"};
inline constexpr const char* kShowItems[] = {"As usual", "Normal", "Minimised", "Maximised"};

// The editor's modes: the Tag of the configuration window's Add or Update button.
inline constexpr int kEditAdd = 0;
inline constexpr int kEditUpdate = 1;

class KeyEditorView {
 public:
  virtual ~KeyEditorView() = default;
  virtual void SetCaption(const std::string& text) = 0;
  // The group list's entries (the list shows them sorted).
  virtual void SetGroupItems(const std::vector<std::string>& items) = 0;
  // The text of an edit box, the editable group box or the target label.
  virtual void SetText(EditorControl control, const std::string& text) = 0;
  virtual std::string Text(EditorControl control) = 0;
  // Keylist, Km and the scope list: the selected position, -1 for none.
  virtual void SetSelection(EditorControl control, int index) = 0;
  virtual int Selection(EditorControl control) = 0;
  virtual void SetVisible(EditorControl control, bool visible) = 0;
  virtual bool Visible(EditorControl control) = 0;
  virtual void SetEnabled(EditorControl control, bool enabled) = 0;
  // The hotkey's switch.
  virtual void SetChecked(EditorControl control, bool checked) = 0;
  virtual bool Checked(EditorControl control) = 0;
  virtual void SetInfo(const std::string& text) = 0;
  virtual void ShowError(const std::string& text) = 0;
  // Puts the focus in a control, with its text selected.
  virtual void FocusControl(EditorControl control) = 0;
  // A trial registration of a hotkey (MOD_* flags, virtual-key code), given up at once:
  // false when the system refuses it, because another program or the system has it.
  virtual bool TryHotKey(unsigned modFlags, unsigned vk) = 0;
  // The platform's dialogs; nothing when cancelled.
  virtual std::optional<std::string> BrowseForFolder() = 0;
  virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;
  // A list of program names to pick one from, shown at the programs' "..." button (an
  // empty list says that none has a window open); nothing when none is picked.
  virtual std::optional<std::string> PickProgram(const std::vector<std::string>& programs) = 0;
  // The macro-menu editor on a list file, shown modally; its result is not used.
  virtual void EditMacroList(const std::string& path) = 0;
  virtual void RequestHelp(int context) = 0;
  // Ends the modal dialog with OK.
  virtual void CloseOk() = 0;
};

class KeyEditor {
 public:
  // `dataDir` is the folder the definitions are kept in (ending with "\"); the macro
  // menus' list files live there.
  KeyEditor(KeyEditorView& view, FileSystem& files, std::string dataDir);

  // Set by the caller before the dialog is shown.
  PKeyRec Definition = nullptr;  // the working copy; written only by a successful OK
  // The working copy of the definition's conditions, beside it and written alike; none
  // leaves the programs row global and on, and stores nothing.
  Conditions* DefinitionConditions = nullptr;
  // Which programs have windows open, for the programs' "..." list; none lists nothing.
  ProgramPort* Programs = nullptr;
  int EditMode = kEditAdd;
  const KeysList* Keys = nullptr;
  // In update mode, the definition being edited: the uniqueness test leaves it out.
  const TKeyRec* Original = nullptr;
  // The ANSI code page: a text cut to its field's width is cut between characters.
  LeadBytes Lead;
  // The abbreviation is kept in UTF-8 and shown in the code page; without one only ASCII
  // goes both ways.
  CodePagePort* CodePage = nullptr;

  const std::string& DataDir() const { return dataDir_; }

  void FormShow();
  // Focus entered the input control with this Tag.
  void OLKeyNameEnter(int tag);
  // The key, the modifiers, the programs, the switch or the abbreviation changed: a hotkey
  // or an abbreviation that another definition switched on has for some of the same
  // programs, or a hotkey the system refuses, is named on the info line at once, above the
  // help text.
  void HotKeyChanged();
  // The scope, the program names or the hotkey's switch changed. The names and their
  // "..." are usable only when the scope lists programs.
  void ProgramsChanged();
  // The programs' "..." button: a program picked from those with windows open is added
  // to the names, unless they name it already.
  void ProgramsButtonClick();
  // The conditions as the programs row and the switch now say.
  Conditions EnteredConditions();
  // What the info line says about the chosen hotkey; empty when it is free.
  const std::string& Clash() const { return clash_; }
  // The first failing check is shown; true when the entries may be stored.
  bool Validate(int editMode);
  void OkClick();
  // Either "..." button, told apart by its Tag (6 target, 9 directory).
  void BrowseClick(int tag);
  void HelpClick();

 private:
  void ShowInfo();
  // The clash message of an abbreviation another definition switched on has for some of
  // the same programs; empty when none has.
  std::string AbbreviationClash(const Conditions& mine) const;

  KeyEditorView& view_;
  FileSystem& files_;
  bool showing_ = false;  // FormShow is filling the controls
  std::string dataDir_;
  int infoTag_ = -1;  // the control whose help the info line shows
  std::string clash_;
  std::string shownAbbreviation_;  // what FormShow put in the field
};

// The key text the entries will have once stored: group and name trimmed, cut to the
// record's widths (10, 40 bytes; never inside a double-byte character) and trimmed again.
std::string EnteredKeyText(const std::string& group, const std::string& name,
                           const LeadBytes& lead = {});

}  // namespace ostrel
