#include "macro/win32/MacroListEditorWindow.h"

#include <commctrl.h>

#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/HelpButton.h"

namespace ostrel {
namespace {

// Shows the reports that came before the dialog was on screen.
constexpr UINT kShowPendingErrors = WM_APP + 40;

tk::FormStyle MacroListStyle(HWND owner) {
  tk::FormStyle style;
  style.className = kMacroListClass;
  style.caption = "SendKeys List Configuration";
  style.width = 399;
  style.height = 308;
  style.dialogFrame = true;
  style.clientExtent = true;
  style.left = 308;
  style.top = 117;
  style.owner = owner;
  return style;
}

}  // namespace

MacroListEditorWindow::MacroListEditorWindow(HWND owner, FileSystem& files)
    : editor_(*this, files, LocaleCollate) {
  Create(MacroListStyle(owner));
}

MacroListEditorWindow::~MacroListEditorWindow() {
  // The window and its tool bar go first, then what they drew with (the pane's brush and
  // the help glyph go with their members afterwards).
  Destroy();
}

void MacroListEditorWindow::OnCreate() {
  constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  // The left panel: its caption over the list of item names.
  AddControl("STATIC", " SendKey &Menu Item", WS_VISIBLE | SS_LEFT, 1, 1, 190, 14,
             idMacroListLabel);
  menuList_ = tk::ListBox(AddControl(
      "LISTBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 1,
      16, 190, 104, idMacroListNames, WS_EX_CLIENTEDGE));
  // The group box first, so its buttons lie above it; they are the form's own children
  // so that their clicks come here.
  AddControl("BUTTON", "Menu Item Options", WS_VISIBLE | BS_GROUPBOX, 200, 16, 109, 97,
             idMacroListGroup);
  HWND add = AddControl("BUTTON", "&Add", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 200 + 14,
                        16 + 24, 75, 25, idMacroListAdd);
  AddControl("BUTTON", "&Delete", kButton, 200 + 14, 16 + 64, 75, 25, idMacroListDelete);
  AddControl("BUTTON", "&Exit", kButton, 312, 40, 75, 25, idMacroListExit);
  AddControl("BUTTON", "&Cancel", kButton, 312, 80, 75, 25, idMacroListCancel);
  SetDefaultButton(add);

  // The help button: a flat tool button with the help glyph and its hint.
  helpButton_.Create(*this, 362, 2, 25, 22, idMacroListHelpBar, idMacroListHelpButton, true);

  AddControl("STATIC", "&Keyboard Macro", WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 121, 399, 16,
             idMacroListPanel, WS_EX_WINDOWEDGE | WS_EX_STATICEDGE);
  // Enter does not break lines here (no ES_WANTRETURN): it presses Add.
  menuKeys_ =
      tk::Edit(AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 0,
                          137, 399, 95, idMacroListKeys, WS_EX_CLIENTEDGE));
  memo_ = tk::InfoPane(AddControl("EDIT", "", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                                  0, 232, 399, 76, idMacroListHelpText, WS_EX_CLIENTEDGE));
  // The help pane shows no label of its own; a screen reader reads this one.
  AddHiddenLabel(memo_.Handle(), "Help");
  editor_.FormCreate();
}

void MacroListEditorWindow::OnShow() { editor_.FormShow(); }

bool MacroListEditorWindow::OnCloseQuery() {
  bool allow = editor_.FormCloseQuery();
  SetModalResult(editor_.ModalResult());
  return allow;
}

void MacroListEditorWindow::OnCommand(int id, int code, HWND control) {
  if (control == menuList_.Handle()) {
    if (code == LBN_SELCHANGE) editor_.MenuListClick();
    return;
  }
  if (control == menuKeys_.Handle()) {
    if (code == EN_CHANGE) editor_.MenuKeysChange();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case idMacroListAdd:
      editor_.AddClick();
      break;
    case idMacroListDelete:
      editor_.DeleteClick();
      break;
    case idMacroListExit:
      editor_.ExitClick();
      break;
    case idMacroListCancel:
      editor_.CancelClick();
      break;
    case idMacroListHelpButton:
      editor_.HelpClick();
      break;
    default:
      break;
  }
}

bool MacroListEditorWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == kShowPendingErrors) {
    std::vector<std::string> errors = std::move(pendingErrors_);
    pendingErrors_.clear();
    for (const std::string& text : errors) ShowError(text);
    result = 0;
    return true;
  }
  return memo_.Colour(msg, wp, lp, result);
}

void MacroListEditorWindow::SetMenuNames(const std::vector<std::string>& names) {
  menuList_.SetRedraw(false);
  menuList_.Clear();
  for (const std::string& name : names) menuList_.AddString(name);
  menuList_.SetRedraw(true);
}

int MacroListEditorWindow::SelectedLine() { return menuList_.SelectedIndex(); }

void MacroListEditorWindow::SelectLine(int index) { menuList_.SetSelection(index); }

void MacroListEditorWindow::SetMacroText(const std::string& text) { menuKeys_.SetText(text); }

std::string MacroListEditorWindow::MacroText() { return menuKeys_.Text(); }

void MacroListEditorWindow::SetMacroReadOnly(bool readOnly) { menuKeys_.SetReadOnly(readOnly); }

void MacroListEditorWindow::FocusMacro() { SetFocus(menuKeys_.Handle()); }

void MacroListEditorWindow::SetHelpText(const std::string& text) { memo_.SetText(text); }

std::string MacroListEditorWindow::InputBox(const std::string& caption, const std::string& prompt,
                                            const std::string& initial) {
  return tk::InputBox(Handle(), caption, prompt, initial);
}

void MacroListEditorWindow::ShowError(const std::string& text) {
  // A report about the file as it opens waits until the list is on screen behind it.
  if (!IsWindowVisible(Handle())) {
    pendingErrors_.push_back(text);
    if (pendingErrors_.size() == 1) PostMessageA(Handle(), kShowPendingErrors, 0, 0);
    return;
  }
  tk::ShowMessage(Handle(), tk::MessageKind::mtError, text);
}

void MacroListEditorWindow::RequestHelp(int context) {
  if (onHelp) onHelp(context);
}

void MacroListEditorWindow::Close() {
  if (Modal() && ModalResult() == tk::mrNone) SetModalResult(editor_.ModalResult());
  tk::Form::Close();
}

int EditMacroList(HWND owner, FileSystem& files, const std::string& path,
                  std::function<void(int context)> onHelp) {
  MacroListEditorWindow form(owner, files);
  if (!form.Handle()) return tk::mrNone;
  form.SetListFileName(path);
  form.onHelp = std::move(onHelp);
  return form.ShowModal();
}

}  // namespace ostrel
