// What the controller needs of its main window (the configuration window) and of the
// application object around it. The Win32 form implements it; tests record it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/KeyTree.h"
#include "app/MenuPlace.h"
#include "catalogue/KeysList.h"
#include "platform/ModalResult.h"
#include "platform/WindowPort.h"

namespace ostrel {

// The start-up option check boxes, by their Tags.
enum TOptionBox : int {
  obAutostart = 0,  // "Automatically start at Windows startup"
  obOlTaskBar = 1,  // "Automatically hide Configuration Panel"
  obOLMouse = 3,    // "Disable OstrelMenu mouse activation"
  obPasteLong = 4,  // "Paste long text through the clipboard"
  obSendInput = 5,  // "Type macros as keyboard input"
};

// The tree's selected node: whether there is one, and its definition (none for a group),
// or a group node's name.
struct TreeSelection {
  bool any = false;
  PKeyRec data = nullptr;
  std::string group;
};

class MainView {
 public:
  virtual ~MainView() = default;
  virtual WindowHandle MainWindow() = 0;
  virtual void SetHelpText(const std::string& text) = 0;
  // The application's ShowMainForm: whether the message loop shows the window itself.
  virtual void SetShowMainForm(bool show) = 0;
  // The one-shot timer of the delayed set-up (Timings).
  virtual void SetSetupTimer(bool enabled) = 0;
  // The timer of the hotkey hand-off (Timings). Enabling it while enabled does not
  // restart it.
  virtual void SetDispatchTimer(bool enabled) = 0;
  // Routes every message the loop takes from the queue through AppMessage from now on.
  virtual void InstallMessageFilter() = 0;
  // How long the pointer rests before a hint shows, and how long the hint stays.
  virtual void SetHintTimes(int pauseMs, int hidePauseMs) = 0;
  // Makes the window visible and restores the application window (the caller activates
  // it).
  virtual void RestoreConfigWindow() = 0;
  // The application's Minimize.
  virtual void MinimizeApp() = 0;
  // The application's OnMinimize and OnRestore events both run `handler` from now on.
  virtual void BindMinimizeEvents(std::function<void()> handler) = 0;
  // The start-up option boxes (by Tag). Setting one does not run its click handler:
  // the controller does that itself when the state changes.
  virtual bool OptionChecked(int tag) = 0;
  virtual void SetOptionChecked(int tag, bool checked) = 0;
  // Ends the program through the normal exit path: the window is destroyed, the
  // teardown runs and the message loop ends with exit code 0.
  virtual void EndProgram() = 0;
  // Handles every message waiting in the thread's queue.
  virtual void ProcessMessages() = 0;
  // The toolkit's message boxes (caption "Error" / "Information", one OK button).
  virtual void ShowError(const std::string& text) = 0;
  virtual void ShowInfo(const std::string& text) = 0;
  // The standard save (`save`) or open dialog for a definitions file: filter "Ostrel
  // definitions (*.fil)", default extension "fil", `suggestedName` filled in; it starts in
  // the user's documents the first time, then where the last file was chosen. The full
  // path chosen, or empty when cancelled.
  virtual std::string AskFileName(bool save, const std::string& suggestedName) = 0;
  // Posts the window a message on which it calls the controller's RunLater, after the
  // message being handled now.
  virtual void PostRunLater() = 0;

  // The tree of the definitions.
  virtual void RenderTree(const std::vector<TreeNode>& nodes) = 0;
  virtual TreeSelection SelectedNode() = 0;
  virtual void SelectNode(std::size_t index) = 0;
  virtual void DeleteSelectedNode() = 0;
  // The status line along the bottom.
  virtual void SetStatusText(const std::string& text) = 0;

  // The OstrelMenu: replaced whole, its hotkey switch relabelled, popped up. A
  // choice comes back as MenuClick with the chosen item's MenuChoice.
  virtual void RenderMenu(const std::vector<MenuItem>& items) = 0;
  virtual void SetHotKeysItem(const std::string& caption, int tag) = 0;
  // Modal: returns when the menu has closed; a choice arrives later through the queue.
  virtual void PopupMenu(ScreenPoint at) = 0;

  // The macro menu: replaced whole (an item other than kMacro only closes the
  // menu), and popped up like the OstrelMenu, placed for `anchor` (PlaceMenu). A choice
  // comes back later as SendKeysMenuClick with the item's MenuChoice, which names its
  // line by position. PopupMacroMenu returns whether a line was chosen.
  virtual void RenderMacroMenu(const std::vector<MenuItem>& items) = 0;
  virtual bool PopupMacroMenu(const MenuAnchor& anchor) = 0;

  // The dialogs of Add and Update, each created for one use, shown modally and released;
  // both return the modal result. The function chooser sets the chosen type to -1 when
  // it opens, and on OK to the type chosen, with its display name when there is one.
  virtual int RunFunctionChooser(std::int32_t& chosenFunction, std::string& chosenFunctionName) = 0;
  // The hotkey editor on a working copy of a definition and of its conditions, which it
  // writes only on OK. In update mode, `original` is the definition being edited.
  virtual int RunKeyEditor(TKeyRec& definition, Conditions& conditions, int editMode,
                           const KeysList& keys, const TKeyRec* original) = 0;
};

}  // namespace ostrel
