#include "dialogs/win32/FunctionChooserWindow.h"

#include "toolkit/Application.h"
#include "toolkit/Art.h"
#include "toolkit/Colours.h"

namespace ostrel {
namespace {

tk::FormStyle FunctionChooserStyle(HWND owner) {
  tk::FormStyle style;
  style.className = kFunctionChooserClass;
  style.caption = "Add a new Hotkey";
  style.width = 321;
  style.height = 252;
  style.dialogFrame = true;
  style.clientExtent = true;  // centred on the screen
  style.owner = owner;
  return style;
}

// A raised bevel `width` pixels thick just inside `r`; `r` is left inside it.
void RaisedBevel(HDC dc, RECT& r, int width) {
  for (int k = 0; k < width; ++k) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
}

}  // namespace

FunctionChooserWindow::FunctionChooserWindow(HWND owner, std::int32_t& chosenFunction,
                                             std::string& chosenFunctionName)
    : chooser_(chosenFunction, chosenFunctionName) {
  Create(FunctionChooserStyle(owner));
}

FunctionChooserWindow::~FunctionChooserWindow() {
  // The window goes first, then what it drew with.
  Destroy();
}

void FunctionChooserWindow::OnCreate() {
  // The panels are drawn here (WM_DRAWITEM) and lie below the controls on them: they
  // go to the bottom of the z-order at the end and clip the controls out.
  constexpr DWORD kPanel = WS_VISIBLE | SS_OWNERDRAW | WS_CLIPSIBLINGS;
  HWND listPanel = AddControl("STATIC", "", kPanel, 0, 0, 65, 252, idChooserListPanel);
  HWND mainPanel = AddControl("STATIC", "", kPanel, 65, 0, 256, 252, idChooserMainPanel);

  // The list panel: the caption over the list of icons, which is the first tab stop.
  AddControl("STATIC", "&Functions", WS_VISIBLE | SS_CENTER, 3, 3, 59, 13, idChooserListLabel);
  list_ = tk::ListBox(AddControl("LISTBOX", "",
                                 WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                                     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                 3, 16, 59, 233, idChooserList, WS_EX_CLIENTEDGE));

  // The main panel: the heading with its picture, the description pane and the buttons.
  HWND heading = AddControl("STATIC", "Select a function", kPanel | WS_CLIPCHILDREN, 68, 3, 250, 26,
                            idChooserHeading);
  pictureControl_ = tk::Static(
      AddControl("STATIC", "", WS_VISIBLE | SS_ICON, 3, 3, 20, 20, idChooserPicture, 0, heading));
  memo_ = tk::InfoPane(
      AddControl("EDIT", "", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                 68, 29, 250, 190, idChooserDescription, WS_EX_CLIENTEDGE));
  // The description shows no label of its own; a screen reader reads this one.
  AddHiddenLabel(memo_.Handle(), "Description");
  HWND buttonPanel = AddControl("STATIC", "", WS_VISIBLE | WS_CLIPSIBLINGS, 68, 219, 250, 30,
                                idChooserButtonPanel);
  // OK stays disabled until a function is selected: an OK that adds a hotkey of no
  // type at all would only puzzle the user.
  ok_ = AddControl("BUTTON", "&Ok", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_DEFPUSHBUTTON,
                   68 + 8, 219 + 3, 75, 25, idChooserOk);
  HWND cancel = AddControl("BUTTON", "&Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 68 + 104,
                           219 + 3, 75, 25, idChooserCancel);
  SetDefaultButton(ok_);
  SetCancelButton(cancel);

  // Bottom-most last: the list and main panels under the button panel and the heading.
  for (HWND panel : {heading, buttonPanel, mainPanel, listPanel})
    SetWindowPos(panel, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  OnDpiChanged();
  for (const std::string& item : chooser_.FormCreate()) list_.AddString(item);
}

// The icons, the items' height and the heading's picture for the form's DPI.
void FunctionChooserWindow::OnDpiChanged() {
  icons_.Reset(tk::LoadArtList("FUNICONS", 32, Dpi(), 0, tk::kImageMask));
  list_.SetItemHeight(Px(kChooserItemHeight));
  // The largest drawing of the program's icon (make_icon.py's SIZES) that fits the
  // heading's 20 units.
  int size = 16;
  for (int drawn : {20, 24, 32, 40, 48, 64})
    if (drawn <= Px(20)) size = drawn;
  tk::IconOwner picture(static_cast<HICON>(LoadImageA(
      tk::Application::Get().Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)));
  if (picture) pictureControl_.SetIcon(picture.get());
  picture_ = std::move(picture);
  InvalidateRect(list_.Handle(), nullptr, TRUE);
}

void FunctionChooserWindow::OnCommand(int id, int code, HWND control) {
  if (control == list_.Handle()) {
    if (code == LBN_SELCHANGE) {
      const int sel = list_.SelectedIndex();
      if (sel >= 0) SelectionAt(sel);
    }
    return;
  }
  if (code != BN_CLICKED) return;
  if (id == idChooserOk) SetModalResult(chooser_.OkClick());
  if (id == idChooserCancel) SetModalResult(chooser_.CancelClick());
}

bool FunctionChooserWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (m->CtlID != idChooserList) return false;
      m->itemHeight = static_cast<UINT>(Px(kChooserItemHeight));
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d.hwndItem == list_.Handle())
        DrawItem(d);
      else
        DrawPanel(d);
      result = TRUE;
      return true;
    }
    case WM_CTLCOLORSTATIC:
      return memo_.Colour(msg, wp, lp, result);
    default:
      return false;
  }
}

void FunctionChooserWindow::DrawItem(const DRAWITEMSTRUCT& d) {
  if (d.itemID == static_cast<UINT>(-1)) return;  // an empty list
  const int position = static_cast<int>(d.itemID);
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  FillRect(d.hDC, &d.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const std::int32_t type = FunctionChooser::TypeAt(position);
  if (icons_ && type > 0)
    ImageList_Draw(icons_.get(), type, d.hDC, d.rcItem.left + Px(2), d.rcItem.top, ILD_TRANSPARENT);
  if (d.itemState & ODS_FOCUS) DrawFocusRect(d.hDC, &d.rcItem);
  // The list paints the newly selected item whenever the selection moves, by mouse, by
  // keyboard or by program, so this is where the choice follows it.
  if (selected) SelectionAt(position);
}

void FunctionChooserWindow::DrawPanel(const DRAWITEMSTRUCT& d) {
  RECT r = d.rcItem;
  HDC dc = d.hDC;
  switch (d.CtlID) {
    case idChooserListPanel:
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      RaisedBevel(dc, r, Px(3));
      break;
    case idChooserMainPanel:
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      RaisedBevel(dc, r, Px(1));
      break;
    case idChooserHeading: {
      const tk::SurfaceColours colours = tk::PaneColours({tk::kAqua, RGB(0, 0, 0)});
      if (tk::HighContrast()) {
        // The theme's text colour frames it where the raised edge's shades would be.
        const tk::BrushOwner frame(CreateSolidBrush(colours.text));
        FrameRect(dc, &r, frame.get());
        InflateRect(&r, -1, -1);
      } else {
        DrawEdge(dc, &r, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      }
      const tk::BrushOwner back(CreateSolidBrush(colours.back));
      FillRect(dc, &r, back.get());
      char text[64] = "";
      GetWindowTextA(d.hwndItem, text, sizeof text);
      HGDIOBJ old = SelectObject(dc, BoldFont());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, colours.text);
      DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, old);
      break;
    }
    default:
      break;
  }
}

void FunctionChooserWindow::SelectionAt(int position) {
  if (chooser_.HasChoice() && chooser_.ChosenPosition() == position) return;
  if (!chooser_.Select(position)) return;
  memo_.SetText(FunctionChooser::Description(position));
  EnableWindow(ok_, TRUE);
}

int ShowFunctionChooser(HWND owner, std::int32_t& chosenFunction, std::string& chosenFunctionName) {
  FunctionChooserWindow form(owner, chosenFunction, chosenFunctionName);
  if (!form.Handle()) {
    chosenFunction = -1;
    return tk::mrCancel;
  }
  return form.ShowModal() == tk::mrOk ? tk::mrOk : tk::mrCancel;
}

}  // namespace ostrel
