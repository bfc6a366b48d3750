#include "app/win32/OstrelForm.h"

#include <iterator>
#include <optional>

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include "app/OneCopy.h"
#include "app/win32/HelpPage.h"
#include "catalogue/HelpTexts.h"
#include "dialogs/win32/KeyEditorWindow.h"
#include "dialogs/win32/FunctionChooserWindow.h"
#include "toolkit/Application.h"
#include "toolkit/Colours.h"
#include "toolkit/Dialogs.h"

namespace ostrel {

// A toolbar button: its glyph is image `glyph` of the toolbars' image list (the four of
// ToolGlyphs, then HelpGlyph), kNoGlyph for a caption alone; a glyph-only button shows
// its caption nowhere.
struct ToolButton {
  int id;
  const char* caption;
  const char* hint;
  int glyph;
  bool glyphOnly;
};

namespace {

constexpr int kNoGlyph = -1;

constexpr ToolButton kTreeButtons[] = {
    {idAddButton, "&Add", "Add a new Hot Key  and OstrelMenu Command", 0, false},
    {idUpdateButton, "&Update", "Update an existing Hot Key  and OstrelMenu Command", 1, false},
    {idDeleteButton, "&Delete", "Delete and existing Hot Key  and OstrelMenu Command", 2, false},
};

constexpr const char* kHelpHint =
    "This is the Help button... For information about what to do next, click this button. ";

constexpr ToolButton kTopButtons[] = {
    {idShowMenuButton, "&Show OstrelMenu...", "Show OstrelMenu...", 3, false},
    {idExportButton, "&Export...", "Export the selected group, or every definition, to a file",
     kNoGlyph, false},
    {idImportButton, "&Import...", "Import definitions from a file, keeping every one you have",
     kNoGlyph, false},
    {0, nullptr, nullptr, 0, false},  // separator
    {idHelpButton, "?", kHelpHint, 4, true},
};

const ToolButton* FindButton(int id) {
  for (const auto& b : kTreeButtons)
    if (b.id == id) return &b;
  for (const auto& b : kTopButtons)
    if (b.id == id && b.caption) return &b;
  return nullptr;
}

// The start-up option boxes, in their rows from the top: control id, Tag and caption.
constexpr struct {
  int id;
  int tag;
  const char* caption;
} kOptionBoxes[] = {{idAutostart, obAutostart, "Automatically start at &Windows startup"},
                    {idOlTaskBar, obOlTaskBar, "Automatically hide &Configuration Panel"},
                    {idOLMouse, obOLMouse, "Disable OstrelMenu &mouse activation"},
                    {idPasteLong, obPasteLong, "&Paste long text through the clipboard"},
                    {idSendInput, obSendInput, "Type macros as &keyboard input"}};

int OptionBoxId(int tag) {
  for (const auto& box : kOptionBoxes)
    if (box.tag == tag) return box.id;
  return 0;
}

constexpr int kLeftColumn = 240;
constexpr int kStatusHeight = 22;
constexpr int kToolbarHeight = 26;

}  // namespace

TOstrelForm::TOstrelForm(FormPorts ports, Timings timings)
    : ports_(ports), showRequest_(RegisterWindowMessageA(kShowRequestName)) {
  controller_ = std::make_unique<OstrelController>(
      ControllerPorts{*this, ports.files, ports.windows, ports.system, ports.shell,
                      ports.hotKeyWindow, ports.trayWindow, ports.hook, ports.keyboard,
                      ports.codePage, ports.collate, ports.registry, ports.links, ports.programs,
                      &ports.clipboard, &ports.input, &ports.clock},
      timings);
  ports_.hotKeyWindow.Bind(&controller_->SystemHotKeys());
  ports_.trayWindow.Bind(&controller_->TrayIcon());
  HINSTANCE inst = tk::Application::Get().Instance();
  trayIconImage_.Reset(static_cast<HICON>(LoadImageA(inst, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), 0)));
  controller_->TrayIcon().SetIcon(reinterpret_cast<std::uintptr_t>(trayIconImage_.get()));
  AddTimer(kSetupTimer, controller_->Timings().setupDelayMs,
           [this] { controller_->DelayedSetup(); });
  AddTimer(kDispatchTimer, controller_->Timings().handOffMs,
           [this] { controller_->DispatchPendingHotKey(); });
  // The balloons: the buttons' hints as balloons, the defaults but for the fill colour.
  balloonHint_.SetColor(GetSysColor(COLOR_INFOBK));
  Create(tk::FormStyle{"TOstrelForm", "Ostrel", 548, 322, true, 1});
}

TOstrelForm::~TOstrelForm() {
  // The application's message filter goes first: it calls the controller, and messages
  // still come after this window has gone.
  if (filterInstalled_) tk::Application::Get().onMessage = nullptr;
  // The controller goes before the window, and its components before the adapters.
  controller_.reset();
  ports_.hotKeyWindow.Bind(nullptr);
  ports_.trayWindow.Bind(nullptr);
}

void TOstrelForm::OnCreate() {
  BuildLayout();
  menus_ = std::make_unique<OstrelFormMenus>(Handle(), ports_.codePage);
  controller_->FormCreate();
}

tk::ToolBar TOstrelForm::BuildToolbar(int id, const ToolButton* buttons, int count) {
  tk::ToolBar bar(AddControl(TOOLBARCLASSNAMEA, "",
                             WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE |
                                 CCS_NODIVIDER | CCS_NOPARENTALIGN,
                             0, 0, 10, kToolbarHeight, id));
  bar.Prepare();
  bar.SetExtendedStyle(TBSTYLE_EX_MIXEDBUTTONS);
  if (toolGlyphs_) bar.SetImageList(toolGlyphs_.get());
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    if (!buttons[i].caption) {
      b.fsStyle = BTNS_SEP;
      b.iBitmap = 6;
    } else {
      b.iBitmap = toolGlyphs_ && buttons[i].glyph != kNoGlyph ? buttons[i].glyph : I_IMAGENONE;
      b.idCommand = buttons[i].id;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
      if (!buttons[i].glyphOnly || !toolGlyphs_) b.fsStyle |= BTNS_SHOWTEXT;
      b.iString = reinterpret_cast<INT_PTR>(buttons[i].caption);
    }
    bar.AddButton(b);
  }
  bar.AutoSize();
  // The buttons' hints come from the application's hint machinery (balloons while
  // balloonHint_ is active), not from the toolbar's own tool-tips.
  tk::Application::Get().SetHintSource(bar.Handle(), [bar](POINT client) {
    tk::Application::HintTarget target;
    if (const ToolButton* button = FindButton(bar.CommandAt(bar.HitTest(client))))
      target = {button->id, button->hint};
    return target;
  });
  return bar;
}

void TOstrelForm::BuildLayout() {
  const SIZE client = ClientUnits();
  const int cw = client.cx, ch = client.cy;
  const int bottom = ch - kStatusHeight;

  // Left column: the list of definitions with its three buttons underneath.
  // Underlined letters: Alt+K reaches the tree, and each button and box has its own.
  tk::Static label(AddControl("STATIC", "  Hot&Key List", WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                              0, 0, kLeftColumn, 18, idHotKeyLabel));
  label.SetFont(BoldFont());
  tree_ = tk::TreeView(AddControl(
      WC_TREEVIEWA, "",
      WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
      2, 18, kLeftColumn - 4, bottom - 18 - kToolbarHeight - 2, idDefinitionTree,
      WS_EX_CLIENTEDGE));
  LoadImages();
  tk::ToolBar treeBar = BuildToolbar(idTreeToolbar, kTreeButtons, 3);
  Place(treeBar.Handle(), 2, bottom - kToolbarHeight, kLeftColumn - 4, kToolbarHeight);

  // Right column: the upper toolbar kept at the right end of its dock, the help text,
  // and the start-up options.
  const int rightX = kLeftColumn + 2, rightW = cw - rightX - 2;
  BuildToolbar(idTopToolbar, kTopButtons, static_cast<int>(std::size(kTopButtons)));
  topToolbarDock_ = RECT{rightX, 1, rightX + rightW, 1 + kToolbarHeight};
  PlaceTopToolbar();

  // The option boxes, a row each below the group's caption.
  constexpr int kOptionRows = static_cast<int>(std::size(kOptionBoxes));
  constexpr int kOptionTop = 16, kOptionRow = 19;
  const int groupH = kOptionTop + kOptionRows * kOptionRow + 5;
  helpPane_ = tk::InfoPane(
      AddControl("EDIT", "",
                 WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                 rightX, kToolbarHeight + 3, rightW, bottom - groupH - kToolbarHeight - 7,
                 idHelpPane, WS_EX_CLIENTEDGE));
  // The help pane shows no label of its own; a screen reader reads this one.
  AddHiddenLabel(helpPane_.Handle(), "Help");

  const int groupY = bottom - groupH - 2;
  AddControl("BUTTON", " Startup Options ", WS_VISIBLE | BS_GROUPBOX, rightX, groupY, rightW,
             groupH, idOptionsGroup);
  for (int i = 0; i < kOptionRows; ++i)
    AddControl("BUTTON", kOptionBoxes[i].caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
               rightX + 3, groupY + kOptionTop + i * kOptionRow, rightW - 4, 18,
               kOptionBoxes[i].id);

  // The status line may name a long folder (where the definitions are kept): its middle
  // gives way to "...", so the end stays in view at any width and scale.
  AddControl("STATIC", "", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_PATHELLIPSIS, 0,
             bottom, cw, kStatusHeight, idStatus, WS_EX_STATICEDGE);
}

// The tree's images and the buttons' glyphs (Add, Update, Delete, Show OstrelMenu, then
// the help glyph) for the window's DPI. Without the glyphs the buttons show their
// captions alone.
void TOstrelForm::LoadImages() {
  tk::ImageListOwner images(tk::LoadArtList("IMAGELIST1", 16, Dpi(), 0, tk::kImageMask));
  tree_.SetImageList(images.get());
  treeImages_ = std::move(images);
  tree_.SetIndent(Px(19));

  tk::ImageListOwner glyphs(tk::LoadArtList("TOOLGLYPHS", 16, Dpi(), 1, tk::kImageMask));
  if (glyphs) {
    const tk::BitmapOwner help(tk::LoadArt("HELPGLYPH", 16, Dpi()));
    if (!help.get() || ImageList_AddMasked(glyphs.get(), help.get(), tk::kImageMask) != 4)
      glyphs.Reset();
  }
  // A rebuild for a new DPI keeps the glyphs it had if the new ones cannot be loaded.
  if (glyphs || !toolGlyphs_) {
    for (int bar : {idTreeToolbar, idTopToolbar})
      if (HWND h = GetDlgItem(Handle(), bar)) tk::ToolBar(h).SetImageList(glyphs.get());
    toolGlyphs_ = std::move(glyphs);
  }
}

void TOstrelForm::OnDpiChanged() {
  LoadImages();
  for (int bar : {idTreeToolbar, idTopToolbar}) tk::ToolBar(GetDlgItem(Handle(), bar)).AutoSize();
  PlaceTopToolbar();
}

// The upper toolbar stays at the right end of its dock.
void TOstrelForm::PlaceTopToolbar() {
  const tk::ToolBar bar(GetDlgItem(Handle(), idTopToolbar));
  const SIZE size = bar.MaxSize();
  const int dockRight = Px(topToolbarDock_.right);
  SetWindowPos(bar.Handle(), nullptr, dockRight - size.cx, Px(topToolbarDock_.top), size.cx,
               Px(topToolbarDock_.bottom - topToolbarDock_.top), SWP_NOZORDER);
}

WindowHandle TOstrelForm::MainWindow() { return reinterpret_cast<WindowHandle>(Handle()); }

void TOstrelForm::SetHelpText(const std::string& text) { helpPane_.SetText(text); }

void TOstrelForm::SetShowMainForm(bool show) { tk::Application::Get().showMainForm = show; }

void TOstrelForm::SetSetupTimer(bool enabled) { SetTimerEnabled(kSetupTimer, enabled); }

void TOstrelForm::SetDispatchTimer(bool enabled) { SetTimerEnabled(kDispatchTimer, enabled); }

void TOstrelForm::InstallMessageFilter() {
  tk::Application::Get().onMessage = [this](MSG& msg) {
    return controller_ && controller_->AppMessage(msg.message);
  };
  filterInstalled_ = true;
}

void TOstrelForm::SetHintTimes(int pauseMs, int hidePauseMs) {
  tk::Application::Get().hintPause = pauseMs;
  tk::Application::Get().hintHidePause = hidePauseMs;
}

void TOstrelForm::RestoreConfigWindow() {
  Show();
  tk::Application::Get().Restore();
}

void TOstrelForm::MinimizeApp() { tk::Application::Get().Minimize(); }

void TOstrelForm::BindMinimizeEvents(std::function<void()> handler) {
  tk::Application::Get().onMinimize = handler;
  tk::Application::Get().onRestore = std::move(handler);
}

bool TOstrelForm::OptionChecked(int tag) {
  const int id = OptionBoxId(tag);
  return id && IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

// BM_SETCHECK sends no click notification.
void TOstrelForm::SetOptionChecked(int tag, bool checked) {
  if (const int id = OptionBoxId(tag))
    CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void TOstrelForm::EndProgram() { Destroy(); }

void TOstrelForm::ProcessMessages() { tk::Application::Get().ProcessMessages(); }

void TOstrelForm::RenderTree(const std::vector<TreeNode>& nodes) {
  tree_.SetRedraw(false);
  tree_.Clear();
  nodes_ = nodes;
  treeItems_.assign(nodes.size(), nullptr);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const TreeNode& n = nodes[i];
    HTREEITEM parent = n.parent >= 0 ? treeItems_[static_cast<std::size_t>(n.parent)] : TVI_ROOT;
    treeItems_[i] =
        tree_.InsertItem(parent, n.text, n.imageIndex, n.selectedIndex, static_cast<LPARAM>(i));
  }
  tree_.SetRedraw(true);
}

TreeSelection TOstrelForm::SelectedNode() {
  HTREEITEM item = tree_.Selected();
  if (!item) return {};
  const std::optional<LPARAM> data = tree_.ItemData(item);
  if (!data) return {};
  auto at = static_cast<std::size_t>(*data);
  if (at >= nodes_.size()) return {true, nullptr, {}};
  return {true, nodes_[at].data, nodes_[at].data ? std::string() : nodes_[at].text};
}

void TOstrelForm::SelectNode(std::size_t index) {
  if (index < treeItems_.size()) tree_.Select(treeItems_[index]);
}

void TOstrelForm::DeleteSelectedNode() {
  if (HTREEITEM item = tree_.Selected()) tree_.DeleteItem(item);
}

void TOstrelForm::SetStatusText(const std::string& text) {
  SetWindowTextA(GetDlgItem(Handle(), idStatus), text.c_str());
}

void TOstrelForm::RenderMenu(const std::vector<MenuItem>& items) { menus_->Render(items); }

void TOstrelForm::SetHotKeysItem(const std::string& caption, int tag) {
  menus_->SetHotKeysItem(caption, tag);
}

void TOstrelForm::PopupMenu(ScreenPoint at) { menus_->Popup(at); }

void TOstrelForm::RenderMacroMenu(const std::vector<MenuItem>& items) {
  menus_->RenderMacros(items);
}

bool TOstrelForm::PopupMacroMenu(const MenuAnchor& anchor) { return menus_->PopupMacros(anchor); }

// A program that has ended (its window is gone) tells nothing more: such a box would
// stand alone on the desktop, with nothing behind it.
void TOstrelForm::ShowError(const std::string& text) {
  if (Handle()) tk::ShowMessage(Handle(), tk::MessageKind::mtError, text);
}

void TOstrelForm::ShowInfo(const std::string& text) {
  if (Handle()) tk::ShowMessage(Handle(), tk::MessageKind::mtInformation, text);
}

std::string TOstrelForm::AskFileName(bool save, const std::string& suggestedName) {
  if (!Handle()) return {};
  if (fileFolder_.empty()) {
    char documents[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents)))
      fileFolder_ = documents;
  }
  static constexpr char kFilter[] = "Ostrel definitions (*.fil)\0*.fil\0";
  char file[MAX_PATH] = {};
  suggestedName.copy(file, sizeof file - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = fileFolder_.empty() ? nullptr : fileFolder_.c_str();
  ofn.lpstrDefExt = "fil";
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn))) return {};
  fileFolder_.assign(file, ofn.nFileOffset);
  return file;
}

void TOstrelForm::PostRunLater() { PostMessageA(Handle(), kRunLaterMessage, 0, 0); }

bool TOstrelForm::OnCloseQuery() { return controller_->FormCloseQuery(); }

void TOstrelForm::OnDestroy() {
  for (int bar : {idTreeToolbar, idTopToolbar})
    tk::Application::Get().RemoveHintSource(GetDlgItem(Handle(), bar));
  controller_->FormDestroy();
}

void TOstrelForm::OnCommand(int id, int code, HWND control) {
  if (control && code == BN_CLICKED) {
    for (const auto& box : kOptionBoxes)
      if (box.id == id) {
        controller_->OptionBoxClick(box.tag);
        return;
      }
  }
  if (!control) {
    // A copy: the click may rebuild the menu.
    if (const std::optional<MenuChoice> choice = menus_->Chosen(static_cast<UINT>(id))) {
      controller_->MenuClick(*choice);
      return;
    }
  }
  switch (id) {
    case idAddButton:
      controller_->AddClick();
      return;
    case idUpdateButton:
      controller_->UpdateClick();
      return;
    case idDeleteButton:
      controller_->DeleteClick();
      return;
    case idShowMenuButton:
      controller_->ShowMenuClick();
      return;
    case idExportButton:
      controller_->ExportClick();
      return;
    case idImportButton:
      controller_->ImportClick();
      return;
    case idHelpButton:
      OpenHelp(kMainHelpContext);
      return;
    default:
      return;
  }
}

LRESULT TOstrelForm::OnNotify(NMHDR* hdr) {
  if (hdr->hwndFrom == tree_.Handle() &&
      (hdr->code == NM_CLICK || hdr->code == TVN_SELCHANGEDA || hdr->code == TVN_SELCHANGEDW)) {
    controller_->TreeSelectionChanged();
    return 0;
  }
  return 0;
}

bool TOstrelForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (menus_ && menus_->Route(msg, wp, lp, result)) return true;
  if (const std::optional<MenuChoice> macro = OstrelFormMenus::MacroChosen(msg, wp, lp)) {
    controller_->MacroMenuChosen(*macro);
    result = 0;
    return true;
  }
  if (msg == WM_COPYDATA) {
    // A later start's import or export: refused unless it reads as one.
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    const std::optional<StartRequest> request =
        data ? ReadStartRequest(data->dwData, data->lpData, data->cbData) : std::nullopt;
    result =
        static_cast<LRESULT>(request ? controller_->StartRequestArrived(*request) : kRequestFailed);
    return true;
  }
  if (msg == kAbbreviationTypedMessage) {
    controller_->AbbreviationTyped();
    result = 0;
    return true;
  }
  if (msg == kRunLaterMessage) {
    controller_->RunLater();
    result = 0;
    return true;
  }
  if (msg == showRequest_ && showRequest_ != 0) {
    controller_->AnotherCopyStarted();
    result = 0;
    return true;
  }
  switch (msg) {
    // Sent to the window rather than posted, or dispatched by a modal loop that the
    // message filter does not see: the same handling as the filter's.
    case MSG_SHOW_MENU:
    case MSG_TERMINATE:
    case MSG_REATTACH:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      if (controller_->AppMessage(msg)) {
        result = 0;
        return true;
      }
      return false;
    default:
      break;
  }
  return helpPane_.Colour(msg, wp, lp, result);
}

int TOstrelForm::RunFunctionChooser(std::int32_t& chosenFunction, std::string& chosenFunctionName) {
  return ShowFunctionChooser(Handle(), chosenFunction, chosenFunctionName);
}

int TOstrelForm::RunKeyEditor(TKeyRec& definition, Conditions& conditions, int editMode,
                              const KeysList& keys, const TKeyRec* original) {
  return EditDefinition(Handle(), definition, conditions, editMode, keys, original,
                        {ports_.files, controller_->DataDir(), SystemLeadBytes(ports_.codePage),
                         ports_.programs, &ports_.codePage},
                        [this](int context) { OpenHelp(context); });
}

// The help page at the section of `context` (the configuration window's, or a dialog's).
void TOstrelForm::OpenHelp(int context) { OpenHelpPage(Handle(), context); }

}  // namespace ostrel
