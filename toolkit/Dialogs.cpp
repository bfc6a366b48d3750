#include "toolkit/Dialogs.h"

#include <commdlg.h>

#include "toolkit/Form.h"

namespace ostrel::tk {

void ShowMessage(HWND owner, MessageKind kind, const std::string& text) {
  const bool error = kind == MessageKind::mtError;
  HWND focus = GetFocus();
  MessageBoxA(owner, text.c_str(), error ? "Error" : "Information",
              MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
  // The control that had the focus before gets it back.
  if (owner && focus && IsWindow(focus) && IsChild(owner, focus) && GetActiveWindow() == owner)
    SetFocus(focus);
}

namespace {

class InputForm : public Form {
 public:
  InputForm(HWND owner, const std::string& caption, std::string prompt, std::string initial)
      : prompt_(std::move(prompt)), text_(std::move(initial)) {
    FormStyle style;
    style.className = kInputBoxClass;
    style.caption = caption;
    style.width = 270;
    style.height = 96;
    style.dialogFrame = true;
    style.clientExtent = true;
    style.owner = owner;
    Create(style);
  }
  const std::string& Text() const { return text_; }

 protected:
  void OnCreate() override {
    AddControl("STATIC", prompt_, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 8, 8, 254, 14, 100);
    edit_ = AddControl("EDIT", text_, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 8, 26, 254, 21,
                       kInputBoxEdit, WS_EX_CLIENTEDGE);
    HWND ok = AddControl("BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 52, 60, 75,
                         25, kInputBoxOk);
    HWND cancel = AddControl("BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 142, 60,
                             75, 25, kInputBoxCancel);
    SetDefaultButton(ok);
    SetCancelButton(cancel);
  }
  void OnShow() override {
    SetFocus(edit_);
    SendMessageA(edit_, EM_SETSEL, 0, -1);
  }
  void OnCommand(int id, int code, HWND) override {
    if (code != BN_CLICKED) return;
    if (id == kInputBoxOk) {
      int n = GetWindowTextLengthA(edit_);
      std::string text(static_cast<std::size_t>(n) + 1, '\0');
      n = GetWindowTextA(edit_, text.data(), n + 1);
      text_.assign(text.data(), static_cast<std::size_t>(n > 0 ? n : 0));
      SetModalResult(mrOk);
    } else if (id == kInputBoxCancel) {
      SetModalResult(mrCancel);
    }
  }

 private:
  std::string prompt_;
  std::string text_;
  HWND edit_ = nullptr;
};

}  // namespace

std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                     const std::string& initial) {
  InputForm form(owner, caption, prompt, initial);
  if (!form.Handle()) return {};
  return form.ShowModal() == mrOk ? form.Text() : std::string();
}

std::optional<std::string> OpenFileDialog(HWND owner, const std::string& filter) {
  std::string pairs = filter;
  for (char& c : pairs)
    if (c == '|') c = '\0';
  pairs.append(2, '\0');
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(file);
}

}  // namespace ostrel::tk
