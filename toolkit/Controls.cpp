#include "toolkit/Controls.h"

#include "toolkit/HelpButton.h"

namespace ostrel::tk {

std::string Control::Text() const { return ControlText(hwnd_); }

void Control::SetFont(HFONT font, bool redraw) const {
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

void Control::SetRedraw(bool on) const {
  Send(WM_SETREDRAW, on ? TRUE : FALSE);
  if (on) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::FocusAndSelect() const {
  SetFocus(hwnd_);
  if (Send(WM_GETDLGCODE) & DLGC_HASSETSEL) Send(EM_SETSEL, 0, -1);
}

void Edit::SetReadOnly(bool readOnly) const { Send(EM_SETREADONLY, readOnly ? TRUE : FALSE); }

void Static::SetIcon(HICON icon) const { Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)); }

void ComboBox::Clear() const { Send(CB_RESETCONTENT); }

int ComboBox::AddString(const std::string& text) const {
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ComboBox::SetItemData(int index, LPARAM data) const {
  Send(CB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

void ComboBox::SetSelection(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

int ComboBox::SelectedIndex() const {
  const LRESULT sel = Send(CB_GETCURSEL);
  return sel == CB_ERR ? -1 : static_cast<int>(sel);
}

void ListBox::Clear() const { Send(LB_RESETCONTENT); }

int ListBox::AddString(const std::string& text) const {
  return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ListBox::SetItemHeight(int height) const { Send(LB_SETITEMHEIGHT, 0, height); }

void ListBox::SetSelection(int index) const { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }

int ListBox::SelectedIndex() const {
  const LRESULT sel = Send(LB_GETCURSEL);
  return sel == LB_ERR ? -1 : static_cast<int>(sel);
}

void TreeView::SetIndent(int pixels) const { Send(TVM_SETINDENT, static_cast<WPARAM>(pixels)); }

void TreeView::SetImageList(HIMAGELIST images) const {
  Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

HTREEITEM TreeView::InsertItem(HTREEITEM parent, const std::string& text, int image,
                               int selectedImage, LPARAM data) const {
  TVINSERTSTRUCTA ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  ins.item.pszText = const_cast<char*>(text.c_str());
  ins.item.iImage = image;
  ins.item.iSelectedImage = selectedImage;
  ins.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

HTREEITEM TreeView::Selected() const {
  return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET));
}

void TreeView::Select(HTREEITEM item) const {
  Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

std::optional<LPARAM> TreeView::ItemData(HTREEITEM item) const {
  TVITEMA it{};
  it.mask = TVIF_PARAM | TVIF_HANDLE;
  it.hItem = item;
  if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return std::nullopt;
  return it.lParam;
}

void TreeView::DeleteItem(HTREEITEM item) const {
  Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void ToolBar::Prepare() const { Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON)); }

void ToolBar::SetExtendedStyle(DWORD style) const { Send(TB_SETEXTENDEDSTYLE, 0, style); }

void ToolBar::SetImageList(HIMAGELIST images) const {
  Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}

void ToolBar::SetBitmapSize(int w, int h) const { Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(w, h)); }

void ToolBar::SetButtonSize(int w, int h) const { Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(w, h)); }

void ToolBar::AddButton(const TBBUTTON& button) const {
  Send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
}

void ToolBar::AutoSize() const { Send(TB_AUTOSIZE); }

SIZE ToolBar::MaxSize() const {
  SIZE size{};
  Send(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  return size;
}

int ToolBar::HitTest(POINT client) const {
  const LRESULT at = Send(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client));
  return at >= 0 ? static_cast<int>(at) : -1;
}

bool ToolBar::Is(HWND window) {
  char cls[32] = "";
  return window && GetClassNameA(window, cls, sizeof cls) &&
         lstrcmpiA(cls, TOOLBARCLASSNAMEA) == 0;
}

int ToolBar::HotItem() const { return static_cast<int>(Send(TB_GETHOTITEM)); }

void ToolBar::SetHotItem(int position) const {
  Send(TB_SETHOTITEM, static_cast<WPARAM>(position));
}

bool ToolBar::Clickable(int position, TBBUTTON& button) const {
  button = TBBUTTON{};
  return position >= 0 &&
         Send(TB_GETBUTTON, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&button)) &&
         !(button.fsStyle & BTNS_SEP) && (button.fsState & TBSTATE_ENABLED) &&
         !(button.fsState & TBSTATE_HIDDEN);
}

int ToolBar::StepHotItem(int step) const {
  const int count = static_cast<int>(Send(TB_BUTTONCOUNT));
  int at = HotItem();
  if (at < 0 || at >= count) at = step > 0 ? -1 : count;
  TBBUTTON b;
  for (int i = at + step; i >= 0 && i < count; i += step) {
    if (!Clickable(i, b)) continue;
    SetHotItem(i);
    return i;
  }
  return at < count ? at : -1;
}

bool ToolBar::HandleKey(WPARAM key) const {
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      StepHotItem(-1);
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      StepHotItem(1);
      return true;
    case VK_RETURN:
    case VK_SPACE: {
      int at = HotItem();
      if (at < 0) at = StepHotItem(1);
      TBBUTTON b;
      if (Clickable(at, b))
        SendMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(b.idCommand, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Handle()));
      return true;
    }
    default:
      return false;
  }
}

int ToolBar::CommandAt(int position) const {
  TBBUTTON b{};
  if (position < 0 ||
      !Send(TB_GETBUTTON, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&b)))
    return 0;
  return b.idCommand;
}

InfoPane::InfoPane(HWND edit) : Edit(edit), brush_(CreateSolidBrush(kBackground)) {}

bool InfoPane::Colour(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const {
  if (msg != WM_CTLCOLORSTATIC || !Handle() || reinterpret_cast<HWND>(lp) != Handle()) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  const SurfaceColours colours = PaneColours({kBackground, kForeground});
  SetBkColor(dc, colours.back);
  SetTextColor(dc, colours.text);
  // The system's brush follows its colour scheme; it is the system's, never freed.
  result = reinterpret_cast<LRESULT>(HighContrast() ? GetSysColorBrush(COLOR_WINDOW) : brush_.get());
  return true;
}

}  // namespace ostrel::tk
