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
#include "components/win32/SysHotWindow.h"
#include "components/win32/TrayIconWindow.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32HookLibrary.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/Win32Programs.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLink.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace ostrel {

// Control ids of the configuration window.
enum OstrelControlId : int {
  idHotKeyLabel = 100,
  idOLKeyTree = 101,
  idTreeToolbar = 102,
  idTopToolbar = 103,
  idMemo1 = 104,
  idOptionsGroup = 105,
  idAutostart = 106,
  idOlTaskBar = 107,
  idOLMouse = 108,
  idFuntype = 109,
  idShowOnMenu = 110,
  idStatus = 111,
  idPasteLong = 112,
  idAddButton = 200,     // Tag 0
  idUpdateButton = 201,  // Tag 1
  idDeleteButton = 202,  // Tag 2
  idShowMenuButton = 210,
  idHelpButton = 211,  // Tag kMainHelpContext
  idExportButton = 212,
  idImportButton = 213,
};

// Posted by PostRunLater.
inline constexpr UINT kRunLaterMessage = WM_APP + 2;

inline constexpr UINT kTimer2 = 2;
inline constexpr UINT kTimer3 = 3;

class TOstrelForm : public tk::Form, public MainView {
 public:
  // `timings`: the controller's delays, which the window's timers run at.
  explicit TOstrelForm(Timings timings = {});
  ~TOstrelForm() override;

  OstrelController& Controller() { return *controller_; }
  TBalloonHint& BalloonHint() { return BalloonHint1; }

  // The OstrelMenu as built, for inspection.
  HMENU Pop1() const { return menus_->Pop1(); }
  HMENU SendKeyPop() const { return menus_->SendKeyPop(); }
  TPopupMenus97& PopupMenus971() { return menus_->PopupMenus971(); }
  TPopupMenus97& PopupMenus972() { return menus_->PopupMenus972(); }

  // MainView
  WindowHandle MainWindow() override;
  void SetMemoText(const std::string& text) override;
  void SetShowMainForm(bool show) override;
  void SetSetupTimer(bool enabled) override;
  void SetDispatchTimer(bool enabled) override;
  void InstallMessageFilter() override;
  void SetHintTimes(int pauseMs, int hidePauseMs) override;
  void FillFunTypes(const std::vector<FunTypeEntry>& entries) override;
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
  void PopupMacroMenu(ScreenPoint at) override;
  int RunFunctionChooser(std::int32_t& chosenFunction, std::string& chosenFunctionName) override;
  int RunKeyEditor(TKeyRec& definition, Conditions& conditions, int editMode,
                   const KeysList& keys, const TKeyRec* original) override;

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
  void Dock972Resize();
  std::uintptr_t CopyDataRequest(const COPYDATASTRUCT* data);
  void ToolbarButton971Click();
  void ToolbarButton974Click(int tag);
  void ToolbarButton975Click(int tag);

  // The adapters outlive the controller, whose components unregister through them.
  Win32FileSystem files_;
  Win32Windows windows_;
  Win32System system_;
  Win32Shell shell_;
  SysHotWindow hotKeyWindow_;
  TrayIconWindow trayWindow_;
  Win32HookLibrary hook_;
  Win32Keyboard keyboard_{[] { tk::Application::Get().ProcessMessages(); }};
  Win32CodePage codePage_;
  Win32Registry registry_;
  Win32ShellLink shellLinks_;
  Win32Clipboard clipboard_;
  Win32Programs programs_;
  tk::IconOwner trayIcon_;
  std::unique_ptr<OstrelController> controller_;
  bool filterInstalled_ = false;  // the application's message filter calls our controller
  // ImageList1 for the tree, at the window's DPI.
  tk::ImageListOwner imageList1_;
  // The toolbars' glyphs (ToolGlyphs and HelpGlyph), shared by both toolbars.
  tk::ImageListOwner toolGlyphs_;
  tk::InfoPane memo_;
  tk::TreeView tree_;
  RECT dock972_{};  // the dock of the upper toolbar, in 96-DPI units of the client area
  // The tree's nodes as rendered, by position; each item's lParam is its position.
  std::vector<TreeNode> nodes_;
  std::vector<HTREEITEM> treeItems_;
  TBalloonHint BalloonHint1;
  // The OstrelMenu and the macro menu, made with the window; they go before it.
  std::unique_ptr<OstrelFormMenus> menus_;
  // The registered message by which a second start of the program asks for the window.
  UINT showRequest_ = 0;
  // Where the file dialogs open: the user's documents at first, then the last folder.
  std::string fileFolder_;
};

}  // namespace ostrel
