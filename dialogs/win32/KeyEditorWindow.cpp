#include "dialogs/win32/KeyEditorWindow.h"

#include "components/SysHotKey.h"
#include "components/win32/BrowseFolder.h"
#include "macro/win32/MacroListEditorWindow.h"
#include "toolkit/Accessible.h"
#include "toolkit/Dialogs.h"

namespace ostrel {
namespace {

tk::FormStyle KeyEditorStyle(HWND owner) {
  tk::FormStyle style;
  style.className = kKeyEditorClass;
  style.width = 360;
  style.height = 408;
  style.dialogFrame = true;
  style.clientExtent = true;
  style.owner = owner;
  return style;
}

int InputId(int tag) {
  if (tag >= ecAbbreviation) return kKeyEditorAbbreviation + tag - ecAbbreviation;
  return tag >= ecIfRunning ? kKeyEditorLaunch + tag - ecIfRunning : kKeyEditorInput + tag;
}
// The Tag of an input's id; -1 for the other controls (520 on, which share Tags' numbers).
int TagOf(int id) {
  if (id >= kKeyEditorAbbreviation) return id - kKeyEditorAbbreviation + ecAbbreviation;
  if (id >= kKeyEditorLaunch) return id - kKeyEditorLaunch + ecIfRunning;
  return id - kKeyEditorInput < ecIfRunning ? id - kKeyEditorInput : -1;
}

// The notification an input control sends when it gets the focus; the numbers of the
// three kinds overlap with other notifications of the other kinds.
int FocusNotification(int tag) {
  switch (tag) {
    case ecGroup:
    case ecKeylist:
    case ecKm:
      return CBN_SETFOCUS;
    case ecScope:
    case ecIfRunning:
    case ecShow:
      return CBN_SETFOCUS;
    case ecElevated:
    case ecImmediate:
    case ecTargetButton:
    case ecDirButton:
    case ecHotkeyOff:
    case ecProgramsButton:
      return BN_SETFOCUS;
    default:
      return EN_SETFOCUS;
  }
}

}  // namespace

KeyEditorWindow::KeyEditorWindow(HWND owner, FileSystem& files, const std::string& dataDir,
                                 ProgramPort* programs)
    : files_(files), editor_(*this, files, dataDir) {
  editor_.Programs = programs;
  Create(KeyEditorStyle(owner));
}

KeyEditorWindow::~KeyEditorWindow() {
  // The window goes before the brush it painted with.
  Destroy();
}

void KeyEditorWindow::OnCreate() {
  // The fixed labels carry an underlined letter that leads to their control.
  constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT;
  constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  constexpr DWORD kPick = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
  // The input panel. Controls are created in tab order, each label just before its field,
  // which a screen reader names by it; the function-specific ones start hidden and
  // FormShow shows what the function type needs.
  AddControl("STATIC", "Unique, user friendly &name:", kLabel, 8, 8, 180, 13, idKdNameLabel);
  AddControl("EDIT", "", kEdit, 8, 22, 169, 21, InputId(ecName), WS_EX_CLIENTEDGE);
  AddControl("STATIC", "OstrelMenu &Group (if any):", kLabel, 200, 8, 133, 13, idKdGroupLabel);
  AddControl("COMBOBOX", "",
             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL, 200,
             22, 113, 200, InputId(ecGroup));
  AddControl("STATIC", "Assigned &HotKey:", kLabel, 8, 51, 100, 13, idKdKeyLabel);
  const tk::ComboBox keylist(
      AddControl("COMBOBOX", "", kPick, 8, 68, 100, 300, InputId(ecKeylist)));
  AddControl("STATIC", "Com&bine Hotkey with:", kLabel, 114, 51, 111, 13, idKdModifiersLabel);
  const tk::ComboBox km(AddControl("COMBOBOX", "", kPick, 114, 68, 105, 200, InputId(ecKm)));
  // One label names both the keystrokes and the target, whichever shows: SetVisible
  // moves it before that one.
  AddControl("STATIC", "Function Target:", SS_LEFT | SS_NOPREFIX, 8, 96, 212, 13, idKdFunTargetC);
  // Enter does not break lines in the keystrokes: it presses OK. Keys like Enter are
  // written as {ENTER}.
  AddControl("EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 1, 112, 358, 104,
             InputId(ecKeystrokes), WS_EX_CLIENTEDGE);
  AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 8, 110, 313, 21, InputId(ecTarget),
             WS_EX_CLIENTEDGE);
  // The "..." buttons' captions say nothing to a screen reader: each is named for what it
  // looks for.
  tk::SetAccessibleName(
      AddControl("BUTTON", "...", kButton, 322, 110, 24, 21, InputId(ecTargetButton)),
      "Browse for the target");
  // "Additonal" is the program's own spelling, kept on purpose.
  AddControl("STATIC", "Additonal &parameters:", SS_LEFT, 8, 136, 300, 13, idKdFunParmsC);
  AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 8, 150, 313, 21, InputId(ecParms),
             WS_EX_CLIENTEDGE);
  AddControl("STATIC", "Default &Directory:", SS_LEFT, 8, 175, 300, 13, idKdFunDirC);
  AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 8, 189, 313, 21, InputId(ecDir),
             WS_EX_CLIENTEDGE);
  tk::SetAccessibleName(
      AddControl("BUTTON", "...", kButton, 322, 189, 24, 21, InputId(ecDirButton)),
      "Browse for the default directory");

  // How a program or a file starts (hidden for the other kinds): the running copy, the
  // window state, administrator.
  constexpr DWORD kHiddenPick = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  AddControl("STATIC", "If r&unning:", SS_LEFT, 8, 216, 120, 13, idKdIfRunningLabel);
  const tk::ComboBox running(
      AddControl("COMBOBOX", "", kHiddenPick, 8, 230, 136, 100, InputId(ecIfRunning)));
  AddControl("STATIC", "&Window:", SS_LEFT, 150, 216, 76, 13, idKdShowLabel);
  const tk::ComboBox show(
      AddControl("COMBOBOX", "", kHiddenPick, 150, 230, 76, 100, InputId(ecShow)));
  AddControl("BUTTON", "Run as &administrator", WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 232, 232,
             126, 17, InputId(ecElevated));

  // Where the hotkey works, below the function's fields: the switch on the label's line,
  // then the scope, the names and their "...". Each label comes just before its field.
  AddControl("BUTTON", "Hotkey o&ff", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 200,
             261, 146, 17, InputId(ecHotkeyOff));
  AddControl("STATIC", "P&rograms:", kLabel, 8, 263, 150, 13, idKdProgramsLabel);
  const tk::ComboBox scope(AddControl("COMBOBOX", "", kPick, 8, 277, 80, 100, InputId(ecScope)));
  AddHiddenLabel(
      AddControl("EDIT", "", kEdit, 92, 277, 229, 21, InputId(ecPrograms), WS_EX_CLIENTEDGE),
      "Program names");
  tk::SetAccessibleName(AddControl("BUTTON", "...", WS_VISIBLE | kButton, 322, 277, 24, 21,
                                   InputId(ecProgramsButton)),
                        "Choose from the programs open now");
  // The abbreviation, beside the hotkey: another way to run the same function. Last in
  // the tab order, so that the fields before it keep their places.
  // Its "Immediately" box goes under it, beside the target's label.
  AddControl("STATIC", "Abbre&viation:", kLabel, 226, 51, 120, 13, idKdAbbreviationLabel);
  AddControl("EDIT", "", kEdit, 226, 68, 132, 21, InputId(ecAbbreviation), WS_EX_CLIENTEDGE);
  AddControl("BUTTON", "I&mmediately", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 226,
             92, 132, 17, InputId(ecImmediate));

  // The context help, and the buttons.
  info_ = tk::InfoPane(AddControl("EDIT", "", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                                  0, 302, 360, 72, idKdInfo, WS_EX_CLIENTEDGE));
  AddHiddenLabel(info_.Handle(), "Help");
  HWND ok = AddControl("BUTTON", "&Ok", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON | BS_NOTIFY, 88,
                       381, 75, 25, idKdOk);
  HWND cancel = AddControl("BUTTON", "&Cancel", WS_VISIBLE | kButton, 176, 381, 75, 25, idKdCancel);
  SetDefaultButton(ok);
  SetCancelButton(cancel);
  // The help button: a tool button that is not flat, with the help glyph and its hint.
  helpButton_.Create(*this, 333, 2, 25, 22, idKdHelpBar, idKdHelpButton, false);

  SetLabelFor(Control(idKdNameLabel), ControlOf(ecName));
  SetLabelFor(Control(idKdGroupLabel), ControlOf(ecGroup));
  SetLabelFor(Control(idKdKeyLabel), keylist.Handle());
  SetLabelFor(Control(idKdModifiersLabel), km.Handle());
  SetLabelFor(Control(idKdAbbreviationLabel), ControlOf(ecAbbreviation));
  SetLabelFor(Control(idKdFunParmsC), ControlOf(ecParms));
  SetLabelFor(Control(idKdFunDirC), ControlOf(ecDir));
  SetLabelFor(Control(idKdProgramsLabel), scope.Handle());
  SetLabelFor(Control(idKdIfRunningLabel), running.Handle());
  SetLabelFor(Control(idKdShowLabel), show.Handle());

  for (const KeyEntry& key : kKeyTable) keylist.AddString(std::string(key.name));
  for (const KeyModEntry& mod : kKeyModTable) km.AddString(std::string(mod.text));
  for (const char* item : kScopeItems) scope.AddString(item);
  for (const char* item : kIfRunningItems) running.AddString(item);
  for (const char* item : kShowItems) show.AddString(item);
  running.SetSelection(0);
  show.SetSelection(0);
  keylist.SetSelection(0);
  km.SetSelection(0);
  scope.SetSelection(0);
}

void KeyEditorWindow::OnShow() { editor_.FormShow(); }

void KeyEditorWindow::OnCommand(int id, int code, HWND control) {
  if (!control) return;
  const int tag = TagOf(id);
  if (IsEditorInput(tag)) {
    if (code == FocusNotification(tag)) {
      editor_.OLKeyNameEnter(tag);
      return;
    }
    if ((tag == ecTargetButton || tag == ecDirButton) && code == BN_CLICKED)
      editor_.BrowseClick(tag);
    if (((tag == ecKeylist || tag == ecKm) && code == CBN_SELCHANGE) ||
        (tag == ecAbbreviation && code == EN_CHANGE))
      editor_.HotKeyChanged();
    if ((tag == ecScope && code == CBN_SELCHANGE) || (tag == ecPrograms && code == EN_CHANGE) ||
        (tag == ecHotkeyOff && code == BN_CLICKED))
      editor_.ProgramsChanged();
    if (tag == ecProgramsButton && code == BN_CLICKED) editor_.ProgramsButtonClick();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case idKdOk:
      editor_.OkClick();
      break;
    case idKdCancel:
      SetModalResult(tk::mrCancel);
      Close();
      break;
    case idKdHelpButton:
      editor_.HelpClick();
      break;
    default:
      break;
  }
}

bool KeyEditorWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  return info_.Colour(msg, wp, lp, result);
}

HWND KeyEditorWindow::ControlOf(EditorControl control) const {
  switch (control) {
    case ecTargetLabel:
      return Control(idKdFunTargetC);
    case ecParmsLabel:
      return Control(idKdFunParmsC);
    case ecDirLabel:
      return Control(idKdFunDirC);
    case ecProgramsLabel:
      return Control(idKdProgramsLabel);
    case ecIfRunningLabel:
      return Control(idKdIfRunningLabel);
    case ecShowLabel:
      return Control(idKdShowLabel);
    case ecAbbreviationLabel:
      return Control(idKdAbbreviationLabel);
    default:
      return Control(InputId(control));
  }
}

void KeyEditorWindow::SetCaption(const std::string& text) {
  SetWindowTextA(Handle(), text.c_str());
}

void KeyEditorWindow::SetGroupItems(const std::vector<std::string>& items) {
  const tk::ComboBox group(ControlOf(ecGroup));
  group.Clear();
  for (const std::string& item : items) group.AddString(item);
}

void KeyEditorWindow::SetText(EditorControl control, const std::string& text) {
  SetWindowTextA(ControlOf(control), text.c_str());
}

std::string KeyEditorWindow::Text(EditorControl control) {
  return tk::ControlText(ControlOf(control));
}

void KeyEditorWindow::SetSelection(EditorControl control, int index) {
  // An index outside the list selects nothing.
  tk::ComboBox(ControlOf(control)).SetSelection(index);
}

int KeyEditorWindow::Selection(EditorControl control) {
  return tk::ComboBox(ControlOf(control)).SelectedIndex();
}

void KeyEditorWindow::SetVisible(EditorControl control, bool visible) {
  HWND window = ControlOf(control);
  ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
  if (!visible || (control != ecKeystrokes && control != ecTarget)) return;
  // The shared label goes just before the field it now names.
  HWND label = ControlOf(ecTargetLabel);
  HWND before = GetWindow(window, GW_HWNDPREV);
  if (before != label)
    SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool KeyEditorWindow::Visible(EditorControl control) {
  return (GetWindowLongPtrA(ControlOf(control), GWL_STYLE) & WS_VISIBLE) != 0;
}

void KeyEditorWindow::SetEnabled(EditorControl control, bool enabled) {
  EnableWindow(ControlOf(control), enabled ? TRUE : FALSE);
}

void KeyEditorWindow::SetChecked(EditorControl control, bool checked) {
  // BM_SETCHECK sends no click notification.
  SendMessageA(ControlOf(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool KeyEditorWindow::Checked(EditorControl control) {
  return SendMessageA(ControlOf(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void KeyEditorWindow::SetInfo(const std::string& text) { info_.SetText(text); }

void KeyEditorWindow::ShowError(const std::string& text) {
  tk::ShowMessage(Handle(), tk::MessageKind::mtError, text);
}

void KeyEditorWindow::FocusControl(EditorControl control) {
  tk::Control(ControlOf(control)).FocusAndSelect();
}

bool KeyEditorWindow::TryHotKey(unsigned modFlags, unsigned vk) {
  // An id of the application range that the program's own hotkeys never use.
  constexpr int kTrialId = 0xBFFE;
  if (!RegisterHotKey(Handle(), kTrialId, modFlags, vk)) return false;
  UnregisterHotKey(Handle(), kTrialId);
  return true;
}

std::optional<std::string> KeyEditorWindow::BrowseForFolder() {
  TBrowseFolder bfolder(Handle());
  bfolder.SetFlags(TBrowseInfoFlagSet{bfFileSysDirsOnly});
  bfolder.SetShowPathInStatusArea(true);
  bfolder.SetRootFolder(foDesktop);
  bfolder.SetSyncCustomButton(false);
  if (!bfolder.Execute()) return std::nullopt;
  return bfolder.Directory();
}

std::optional<std::string> KeyEditorWindow::OpenFile(const std::string& filter) {
  return tk::OpenFileDialog(Handle(), filter);
}

std::optional<std::string> KeyEditorWindow::PickProgram(const std::vector<std::string>& programs) {
  tk::MenuOwner menu(CreatePopupMenu());
  if (!menu.get()) return std::nullopt;
  // Item ids from 1: TrackPopupMenuEx answers 0 for no choice.
  UINT id = 1;
  for (const std::string& name : programs) AppendMenuA(menu.get(), MF_STRING, id++, name.c_str());
  if (programs.empty())
    AppendMenuA(menu.get(), MF_STRING | MF_GRAYED, 0, "No program has a window open.");
  RECT button;
  GetWindowRect(ControlOf(ecProgramsButton), &button);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenuEx(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                       button.left, button.bottom, Handle(), nullptr));
  if (chosen == 0 || chosen > programs.size()) return std::nullopt;
  return programs[chosen - 1];
}

void KeyEditorWindow::EditMacroList(const std::string& path) {
  ostrel::EditMacroList(Handle(), files_, path, onHelp);
}

void KeyEditorWindow::RequestHelp(int context) {
  if (onHelp) onHelp(context);
}

void KeyEditorWindow::CloseOk() {
  SetModalResult(tk::mrOk);
  Close();
}

int EditDefinition(HWND owner, TKeyRec& definition, Conditions& conditions, int editMode,
                   const KeysList& keys, const TKeyRec* original, const KeyEditorPorts& ports,
                   std::function<void(int context)> onHelp) {
  KeyEditorWindow form(owner, ports.files, ports.dataDir, &ports.programs);
  if (!form.Handle()) return tk::mrCancel;
  KeyEditor& editor = form.Editor();
  editor.Definition = &definition;
  editor.DefinitionConditions = &conditions;
  editor.EditMode = editMode;
  editor.Keys = &keys;
  editor.Original = original;
  editor.Lead = ports.codePage;
  editor.CodePage = ports.codePagePort;
  form.onHelp = std::move(onHelp);
  return form.ShowModal();
}

}  // namespace ostrel
