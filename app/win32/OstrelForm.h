// TOstrelForm: the main window, which is also the configuration window. It builds the
// layout, forwards its events to OstrelController and renders what that asks for.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <utility>

#include "app/MainView.h"
#include "app/OstrelController.h"
#include "app/win32/OstrelFormMenus.h"
#include "components/win32/Balloon.h"
#include "components/win32/SysHotKeyWindow.h"
#include "components/win32/TrayIconWindow.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace ostrel {

// Control ids of the configuration window.
enum OstrelControlId : int {
  idHotKeyLabel = 100,
  idDefinitionTree = 101,
  idTreeToolbar = 102,
  idTopToolbar = 103,
  idHelpPane = 104,
  idOptionsGroup = 105,
  idAutostart = 106,
  idOlTaskBar = 107,
  idOLMouse = 108,
  idStatus = 111,
  idPasteLong = 112,
  idSendInput = 113,
  idAddButton = 200,
  idUpdateButton = 201,
  idDeleteButton = 202,
  idShowMenuButton = 210,
  idHelpButton = 211,  // opens the help page at kMainHelpContext
  idExportButton = 212,
  idImportButton = 213,
};

// Posted by PostRunLater.
inline constexpr UINT kRunLaterMessage = WM_APP + 2;

// The window's timers: the delayed set-up and the hand-off of a pressed hotkey.
inline constexpr UINT kSetupTimer = 2;
inline constexpr UINT kDispatchTimer = 3;

// What the window and its controller work through. WinMain makes the adapters, and they
// outlive the window: the controller's components unregister through them when it goes.
struct FormPorts {
  FileSystem& files;
  WindowPort& windows;
  SystemPort& system;
  ShellPort& shell;
  // The hidden windows of the hotkeys and the notification icon, bound to the
  // controller's components while the window lives.
  SysHotKeyWindow& hotKeyWindow;
  TrayIconWindow& trayWindow;
  HookLibraryPort& hook;
  KeyboardPort& keyboard;
  CodePagePort& codePage;
  // The key-text order of the definitions.
  CollateFn collate;
  RegistryPort& registry;
  ShellLinkPort& links;
  ClipboardPort& clipboard;
  ProgramPort& programs;
  InputPort& input;
  ClockPort& clock;
};

class TOstrelForm : public tk::Form, public MainView {
 public:
  // `timings`: the controller's delays, which the window's timers run at.
  explicit TOstrelForm(FormPorts ports, Timings timings = {});
  ~TOstrelForm() override;

  OstrelController& Controller() { return *controller_; }
  TBalloonHint& BalloonHint() { return balloonHint_; }

  // The OstrelMenu and the macro menu as built, and their banner drawing, for inspection.
  HMENU OstrelMenu() const { return menus_->OstrelMenu(); }
  HMENU MacroMenu() const { return menus_->MacroMenu(); }
  TPopupMenus97& OstrelMenuBanner() { return menus_->OstrelMenuBanner(); }
  TPopupMenus97& MacroMenuBanner() { return menus_->MacroMenuBanner(); }

  // MainView
  WindowHandle MainWindow() override;
  void SetHelpText(const std::string& text) override;
  void SetShowMainForm(bool show) override;
  void SetSetupTimer(bool enabled) override;
  void SetDispatchTimer(bool enabled) override;
  void InstallMessageFilter() override;
  void SetHintTimes(int pauseMs, int hidePauseMs) override;
  void RestoreConfigWindow() override;
  void MinimizeApp() override;
  void BindMinimizeEvents(std::function<void()> handler) override;
  bool OptionChecked(int tag) override;
  void SetOptionChecked(int tag, bool checked) override;
  void EndProgram() override;
  void ProcessMessages() override;
  void ShowError(const std::string& text) override;
  void ShowInfo(const std::string& text) override;
  std::string AskFileName(bool save, const std::string& suggestedName) override;
  void PostRunLater() override;
  void RenderTree(const std::vector<TreeNode>& nodes) override;
  TreeSelection SelectedNode() override;
  void SelectNode(std::size_t index) override;
  void DeleteSelectedNode() override;
  void SetStatusText(const std::string& text) override;
  void RenderMenu(const std::vector<MenuItem>& items) override;
  void SetHotKeysItem(const std::string& caption, int tag) override;
  void PopupMenu(ScreenPoint at) override;
  void RenderMacroMenu(const std::vector<MenuItem>& items) override;
  bool PopupMacroMenu(const MenuAnchor& anchor) override;
  int RunFunctionChooser(std::int32_t& chosenFunction, std::string& chosenFunctionName) override;
  int RunKeyEditor(TKeyRec& definition, Conditions& conditions, int editMode, const KeysList& keys,
                   const TKeyRec* original) override;

 protected:
  void OnCreate() override;
  bool OnCloseQuery() override;
  void OnDestroy() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* hdr) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnDpiChanged() override;

 private:
  void BuildLayout();
  void LoadImages();
  tk::ToolBar BuildToolbar(int id, const struct ToolButton* buttons, int count);
  void PlaceTopToolbar();
  // The help page at the section of `context`.
  void OpenHelp(int context);

  FormPorts ports_;
  tk::IconOwner trayIconImage_;
  std::unique_ptr<OstrelController> controller_;
  bool filterInstalled_ = false;  // the application's message filter calls our controller
  // The tree's images, at the window's DPI.
  tk::ImageListOwner treeImages_;
  // The toolbars' glyphs (ToolGlyphs and HelpGlyph), shared by both toolbars.
  tk::ImageListOwner toolGlyphs_;
  tk::InfoPane helpPane_;
  tk::TreeView tree_;
  RECT topToolbarDock_{};  // the dock of the upper toolbar, in 96-DPI units of the client area
  // The tree's nodes as rendered, by position; each item's lParam is its position.
  std::vector<TreeNode> nodes_;
  std::vector<HTREEITEM> treeItems_;
  TBalloonHint balloonHint_;
  // The OstrelMenu and the macro menu, made with the window; they go before it.
  std::unique_ptr<OstrelFormMenus> menus_;
  // The registered message by which a second start of the program asks for the window.
  UINT showRequest_ = 0;
  // Where the file dialogs open: the user's documents at first, then the last folder.
  std::string fileFolder_;
};

}  // namespace ostrel
