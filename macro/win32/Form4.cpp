#include "macro/win32/Form4.h"

#include <commctrl.h>

#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/HelpButton.h"

namespace ostrel {
namespace {

constexpr COLORREF kTeal = RGB(0, 128, 128);
// Shows the reports that came before the dialog was on screen.
constexpr UINT kShowPendingErrors = WM_APP + 40;

tk::FormStyle Form4Style(HWND owner) {
  tk::FormStyle style;
  style.className = kForm4Class;
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

TForm4::TForm4(HWND owner) : editor_(*this, files_, LocaleCollate) {
  Create(Form4Style(owner));
}

TForm4::~TForm4() {
  // The window and its tool bar go first, then what they drew with (the help glyph goes
  // with its member afterwards).
  Destroy();
  if (memoBrush_) DeleteObject(memoBrush_);
}

void TForm4::OnCreate() {
  constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  // The left panel: its caption over the list of item names.
  AddControl("STATIC", " SendKey &Menu Item", WS_VISIBLE | SS_LEFT, 1, 1, 190, 14,
             idForm4Label1);
  menuList_ = AddControl("LISTBOX", "",
                         WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 1, 16, 190,
                         104, idForm4MenuList, WS_EX_CLIENTEDGE);
  // The group box first, so its buttons lie above it; they are the form's own children
  // so that their clicks come here.
  AddControl("BUTTON", "Menu Item Options", WS_VISIBLE | BS_GROUPBOX, 200, 16, 105, 97,
             idForm4GroupBox1);
  HWND add = AddControl("BUTTON", "&Add", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 200 + 14,
                        16 + 24, 75, 25, idForm4Button1);
  AddControl("BUTTON", "&Delete", kButton, 200 + 14, 16 + 64, 75, 25, idForm4Button2);
  AddControl("BUTTON", "&Exit", kButton, 312, 40, 75, 25, idForm4Button3);
  AddControl("BUTTON", "&Cancel", kButton, 312, 80, 75, 25, idForm4Button4);
  SetDefaultButton(add);

  // ToolbarButton977: a flat tool button with the help glyph and its hint.
  helpButton_.Create(Handle(), Font(), 362, 2, 25, 22, idForm4HelpBar, idForm4HelpButton, true);

  AddControl("STATIC", "&Keyboard Macro", WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0,
             121, 399, 16, idForm4Panel3, WS_EX_WINDOWEDGE | WS_EX_STATICEDGE);
  // Enter does not break lines here (no ES_WANTRETURN): it presses Add.
  menuKeys_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 0,
                         137, 399, 95, idForm4MenuKeys, WS_EX_CLIENTEDGE);
  memoBrush_ = CreateSolidBrush(kTeal);
  memo_ = AddControl("EDIT", "", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 232,
                     399, 76, idForm4Memo1, WS_EX_CLIENTEDGE);
  editor_.FormCreate();
}

void TForm4::OnShow() { editor_.FormShow(); }

bool TForm4::OnCloseQuery() {
  bool allow = editor_.FormCloseQuery();
  SetModalResult(editor_.ModalResult());
  return allow;
}

void TForm4::OnCommand(int id, int code, HWND control) {
  if (control == menuList_) {
    if (code == LBN_SELCHANGE) editor_.MenuListClick();
    return;
  }
  if (control == menuKeys_) {
    if (code == EN_CHANGE) editor_.MenuKeysChange();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case idForm4Button1: editor_.Button1Click(); break;
    case idForm4Button2: editor_.Button2Click(); break;
    case idForm4Button3: editor_.Button3Click(); break;
    case idForm4Button4: editor_.Button4Click(); break;
    case idForm4HelpButton: editor_.ToolbarButton977Click(); break;
    default: break;
  }
}

LRESULT TForm4::OnNotify(NMHDR* hdr) {
  if (hdr->code == TTN_GETDISPINFOA && hdr->idFrom == idForm4HelpButton) {
    reinterpret_cast<NMTTDISPINFOA*>(hdr)->lpszText = const_cast<char*>(tk::kHelpButtonHint);
  }
  return 0;
}

bool TForm4::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == kShowPendingErrors) {
    std::vector<std::string> errors = std::move(pendingErrors_);
    pendingErrors_.clear();
    for (const std::string& text : errors) ShowError(text);
    result = 0;
    return true;
  }
  if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == memo_) {
    HDC dc = reinterpret_cast<HDC>(wp);
    SetBkColor(dc, kTeal);
    SetTextColor(dc, RGB(255, 255, 255));
    result = reinterpret_cast<LRESULT>(memoBrush_);
    return true;
  }
  return false;
}

void TForm4::SetMenuNames(const std::vector<std::string>& names) {
  SendMessageA(menuList_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(menuList_, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : names)
    SendMessageA(menuList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageA(menuList_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(menuList_, nullptr, TRUE);
}

int TForm4::SelectedLine() {
  LRESULT sel = SendMessageA(menuList_, LB_GETCURSEL, 0, 0);
  return sel == LB_ERR ? -1 : static_cast<int>(sel);
}

void TForm4::SelectLine(int index) { SendMessageA(menuList_, LB_SETCURSEL, index, 0); }

void TForm4::SetMacroText(const std::string& text) { SetWindowTextA(menuKeys_, text.c_str()); }

std::string TForm4::MacroText() { return tk::ControlText(menuKeys_); }

void TForm4::SetMacroReadOnly(bool readOnly) {
  SendMessageA(menuKeys_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TForm4::FocusMacro() { SetFocus(menuKeys_); }

void TForm4::SetHelpText(const std::string& text) { SetWindowTextA(memo_, text.c_str()); }

std::string TForm4::InputBox(const std::string& caption, const std::string& prompt,
                             const std::string& initial) {
  return tk::InputBox(Handle(), caption, prompt, initial);
}

void TForm4::ShowError(const std::string& text) {
  // A report about the file as it opens waits until the list is on screen behind it.
  if (!IsWindowVisible(Handle())) {
    pendingErrors_.push_back(text);
    if (pendingErrors_.size() == 1) PostMessageA(Handle(), kShowPendingErrors, 0, 0);
    return;
  }
  tk::ShowMessage(Handle(), tk::MessageKind::mtError, text);
}

void TForm4::RequestHelp(int context) {
  if (onHelp) onHelp(context);
}

void TForm4::Close() {
  if (Modal() && ModalResult() == tk::mrNone) SetModalResult(editor_.ModalResult());
  tk::Form::Close();
}

int EditMacroList(HWND owner, const std::string& path, std::function<void(int context)> onHelp) {
  TForm4 form(owner);
  if (!form.Handle()) return tk::mrNone;
  form.SetListFileName(path);
  form.onHelp = std::move(onHelp);
  return form.ShowModal();
}

}  // namespace ostrel
