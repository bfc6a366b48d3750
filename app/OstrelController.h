// The main window's logic: the create step and the delayed set-up, loading, the close
// and teardown rules, the OstrelMenu's clicks, the dispatcher and the keystroke macros.
// The Win32 form forwards its events here and renders what this asks of MainView. The
// other concerns are small parts the controller owns, each handed only the ports and
// state it needs:
//   MouseLink       (MouseLink.*)   the mouse-watch library and the menu at the cursor
//   StartupOptions  (Options.*)     the start-up options and their boxes
//   HotKeyRegistry  (HotKeys.*)     BuildHotKeyList, HotKeyEvent, hotkeys off and on
//   KeyEditing      (KeyEditing.*)  Add / Update / Delete and UpdateKeysList
// The controller's own members, one file per concern:
//   OstrelController.cpp  set-up, loading, closing, teardown, the message filter
//   KeyTree.cpp           MenuClick and the buttons that ask for the menu
//   Dispatcher.cpp        DispatchPendingHotKey, RunDefinition
//   MacroMenu.cpp         keystroke macros and the macro menu
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Abbreviations.h"
#include "app/HotKeys.h"
#include "app/KeyEditing.h"
#include "app/MainView.h"
#include "app/MouseLink.h"
#include "app/OneCopy.h"
#include "app/Options.h"
#include "app/Timings.h"
#include "catalogue/DefinitionFile.h"
#include "catalogue/FunCatalogue.h"
#include "catalogue/KeysList.h"
#include "components/TrayIcon.h"
#include "platform/ClipboardPort.h"
#include "platform/ClockPort.h"
#include "platform/CodePagePort.h"
#include "platform/FilePort.h"
#include "platform/HookLibraryPort.h"
#include "platform/HookLibraryProtocol.h"
#include "platform/InputPort.h"
#include "platform/KeyboardPort.h"
#include "platform/ProgramPort.h"
#include "platform/RegistryPort.h"
#include "platform/ShellLinkPort.h"
#include "platform/ShellPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// The program's private messages (MSG_SHOW_MENU...) are in platform/HookLibraryProtocol.h.
// The end-of-session messages, which end the program as MSG_TERMINATE does.
inline constexpr std::uint32_t kWmQueryEndSession = 0x0011;
inline constexpr std::uint32_t kWmEndSession = 0x0016;
// Posted to the main window from the keyboard hook's thread: an abbreviation was typed
// (WM_APP + 3).
inline constexpr std::uint32_t kAbbreviationTypedMessage = 0x8003;

// Type 4's working folder: Dir trimmed, or else the folder part of Target.
std::string RunDirectory(const TKeyRec& def);

// The balloon's text when a window refuses a macro's keys: Ostrel could not type into
// "<title>"., the title cut between characters to keep it within the balloon's limit.
std::string RefusedTargetText(const std::string& title, const LeadBytes& lead);
// The balloon's text when the user brought another program in front of a macro's target.
std::string SwitchedTargetText(const std::string& title, const LeadBytes& lead);

struct ControllerPorts {
  MainView& view;
  FileSystem& files;
  WindowPort& windows;
  SystemPort& system;
  ShellPort& shell;
  HotKeyPort& hotkeys;
  NotifyIconPort& tray;
  HookLibraryPort& hook;
  KeyboardPort& keyboard;
  CodePagePort& codePage;
  CollateFn collate;
  RegistryPort& registry;
  ShellLinkPort& links;
  ProgramPort& programs;
  // Where macros paste long text; none: every macro is typed.
  ClipboardPort* clipboard = nullptr;
  // Macros typed as keyboard input, and Esc to stop one; none: posted keys only.
  InputPort* input = nullptr;
  // The date and time of {DATE} and {TIME}; none: they are empty.
  ClockPort* clock = nullptr;
};

class OstrelController {
 public:
  // `timings` are the program's delays; the tests may shorten or stretch them.
  explicit OstrelController(ControllerPorts ports, ostrel::Timings timings = {});

  // Set-up, closing, teardown.
  void FormCreate();
  void DelayedSetup();
  void FormSetup();
  void LoadKeysList();
  // True when the window may close: only once the program is terminating.
  bool FormCloseQuery();
  void FormDestroy();
  // Show..., and function type 6: visible, restored and in front.
  void ShowConfiguration(bool settleFirst);
  // Another copy of the program was started in this session and asks for the window:
  // shown now, or at the end of the set-up when it is still to come.
  void AnotherCopyStarted();
  // False once the program has ended (Terminate, or the teardown ran). Every path that
  // handled messages on the way (a box, a menu, a dialog) asks this before going on.
  bool Alive() const { return !terminating_ && keys_ != nullptr; }
  // The application-wide message filter. Returns true when the message was handled and
  // goes no further.
  bool AppMessage(std::uint32_t msg);

  // The owned parts.
  MouseLink& Mouse() { return mouseLink_; }
  StartupOptions& Options() { return options_; }
  HotKeyRegistry& HotKeys() { return hotKeys_; }
  KeyEditing& Editing() { return editing_; }

  // The OstrelMenu and the tree. A menu item chosen: what the item does.
  void MenuClick(const MenuChoice& choice);
  void ShowMenuClick();
  void TrayIconClick();
  void ShowMenuAtCursor();
  void UpdateKeysList() { editing_.UpdateKeysList(); }
  void TreeSelectionChanged() { editing_.TreeSelectionChanged(); }
  void AddClick() { editing_.AddClick(); }
  void UpdateClick() { editing_.UpdateClick(); }
  void DeleteClick() { editing_.DeleteClick(); }
  void HotKeyEvent(std::int32_t index) { hotKeys_.HotKeyEvent(index); }
  void SetHotKeysOn(bool on) { hotKeys_.SetHotKeysOn(on); }
  void OptionBoxClick(int tag) { options_.OptionBoxClick(tag); }
  bool HookAttached() const { return mouseLink_.HookAttached(); }

  // The dispatcher.
  void DispatchPendingHotKey();
  void RunDefinition(PKeyRec def);
  // The answer to kAbbreviationTypedMessage: each abbreviation typed since is erased with
  // Backspace, its definition runs (a macro with the case of the typed letters and the
  // word's ending character after its text), then the ending character follows. One with
  // no definition meant for the program in front only gives back its ending character.
  void AbbreviationTyped();
  // A choice from the macro menu: typed, then the ending character of the abbreviation
  // that opened the menu, if one did.
  void MacroMenuChosen(const MenuChoice& choice);
  bool WatchingTyping() const { return abbreviations_.Watching(); }

  // Keystroke macros: one typed into `target` (a target that refuses the keys is told
  // in a balloon at the notification icon), the macro menu of a list file in the
  // program's folder, and a choice from that menu.
  void RunMacro(const std::string& text, WindowHandle target);
  // The one way the macro menu of a list file is shown: from its hotkey, from the
  // OstrelMenu, from any other way a definition runs. It opens at the caret of the window
  // in front (or the one the OstrelMenu opened over), below its line, or at the pointer
  // where no caret can be found, and its choice types into that window.
  // True when a line was chosen.
  bool SendKeysMenu(const std::string& target);
  void SendKeysMenuClick(const MenuChoice& choice);
  // The macro menu of a list file's lines, the `list`-th loaded: an item for each line
  // with a macro, in file order, named as its line and choosing it by position; then
  // "-" and "Quit".
  static std::vector<MenuItem> MacroMenuItems(const std::vector<std::string>& lines,
                                              std::uint32_t list);

  // Sets of definitions that travel (Transfer.cpp). Export writes the definitions of
  // `group` (every one when empty) to the definitions file `path`, with its companion when
  // any has conditions and the macro list files its macro menus name beside it; false,
  // after a box that says why, when it could not. Import merges the definitions file
  // `path` (with its companion and list files from beside it) into the set in one save
  // and shows the box of what came in; false, after a box that says why, when the file
  // was refused or could not be stored, and then nothing has changed.
  bool ExportDefinitions(const std::string& path, const std::string& group);
  bool ImportDefinitions(const std::string& path);
  // The window's "Export..." and "Import..." (TransferCommands.cpp): the file asked for,
  // then the above. Export takes the selected group (a group node, or a definition's
  // group), every definition when nothing, or a definition of no group, is selected.
  void ExportClick();
  void ImportClick();
  // An import or export asked for on a command line: this start's own (carried out once
  // the set-up is done) or a later start's, handed over. An export answers kRequestDone
  // once written, kRequestFailed when it could not be, kRequestNotReady before the set-up
  // is done; an import is taken at once (kRequestDone) and carried out after the answer,
  // so the caller never waits on its box.
  std::uintptr_t StartRequestArrived(const StartRequest& request);
  void QueueStartRequest(const StartRequest& request);
  // The view's answer to PostRunLater: the waiting requests, one after another.
  void RunLater();

  // The program's delays; the view's timers take their intervals from here.
  const ostrel::Timings& Timings() const { return timings_; }

  // The components the view binds to its windows.
  TSysHotKey& SystemHotKeys() { return hotKeys_.SystemHotKeys(); }
  TTrayIcon& TrayIcon() { return trayIcon_; }

  const std::string& AppDir() const { return appDir_; }
  // Where the definitions are kept: Keys.fil, Keys.ini and the macro list files.
  const std::string& DataDir() const { return dataDir_; }
  const std::string& KeysFileName() const { return keysFileName_; }
  KeysList* Keys() { return keys_.get(); }
  const std::vector<MenuItem>& Menu() const { return menu_; }
  bool Terminating() const { return terminating_; }
  void SetTerminating(bool on) { terminating_ = on; }
  bool PopupReady() const { return popupReady_; }
  PKeyRec PendingKey() const { return pendingKey_; }
  WindowHandle DesktopWnd() const { return desktopWnd_; }
  WindowHandle HiddenWindow() const { return hiddenWindow_; }
  void SetHiddenWindow(WindowHandle wnd) { hiddenWindow_ = wnd; }
  const std::vector<WindowHandle>& WindowList() const { return windowList_; }
  std::uint32_t UiThreadId() const { return uiThreadId_; }
  const std::vector<std::string>& MacroList() const { return macroList_; }

 private:
  void Perform(const TKeyRec& def, const LaunchOptions& launch);
  // The abbreviations follow every rebuild and the hotkey switch.
  void RebuildAbbreviations();
  void RunAbbreviation(const AbbreviationFiring& firing);
  // Characters the hook kept back or an abbreviation erased, typed again as they were.
  void TypeAgain(std::u16string_view typed, char16_t ending);
  // The shell's kinds: started, or a running copy brought forward; a refusal is told in
  // a balloon at the notification icon.
  void Launch(const TKeyRec& def, const FunTypeInfo& type, const LaunchOptions& launch);
  void MinimizeAll();
  void HideShowWindow();
  void ShowHiddenWindow();
  void EndSession();
  MenuAnchor MacroMenuAnchor(WindowHandle front);
  bool CollectTopWindows(WindowHandle wnd);
  MenuSession Session() const { return {popupReady_, desktopWnd_, uiThreadId_}; }

  ControllerPorts p_;
  ostrel::Timings timings_;
  // The definitions, created by the set-up and gone after the teardown.
  std::string appDir_;
  std::string dataDir_;
  std::string keysFileName_;
  std::unique_ptr<KeysList> keys_;
  std::optional<DefinitionFile> keysFile_;
  std::vector<MenuItem> menu_;
  // The parts, in the order they need each other.
  MouseLink mouseLink_;
  StartupOptions options_;
  HotKeyRegistry hotKeys_;
  KeyEditing editing_;
  Abbreviations abbreviations_;
  // The ending character of the abbreviation that opened the macro menu, typed after
  // the choice.
  char16_t menuEnding_ = 0;
  // Declared after the hotkeys: at destruction the icon is removed before the hotkeys
  // are unregistered.
  TTrayIcon trayIcon_;
  // The session as the set-up found it.
  WindowHandle desktopWnd_ = 0;
  std::uint32_t uiThreadId_ = 0;
  bool terminating_ = false;
  bool popupReady_ = false;
  // Set by another copy's request that came before the set-up was done.
  bool showRequested_ = false;
  // Imports and exports from command lines still to carry out, and whether RunLater is
  // carrying one out (its box may let the next request in).
  std::vector<StartRequest> requests_;
  bool requestsBusy_ = false;
  // The dispatcher's state. Busy marks: a request that meets one is dropped, not queued.
  PKeyRec pendingKey_ = nullptr;
  bool handOffBusy_ = false;
  bool dispatchBusy_ = false;
  WindowHandle hiddenWindow_ = 0;
  // While a definition chosen from the OstrelMenu runs: the window the menu opened over.
  WindowHandle menuTarget_ = 0;
  std::vector<WindowHandle> windowList_;
  // The lines the macro menu was built from, and how many lists have been loaded so far.
  std::vector<std::string> macroList_;
  std::uint32_t macroListNumber_ = 0;
  // The window the macro menu was last shown for (0: none to hand the foreground back to).
  WindowHandle macroMenuTarget_ = 0;
};

}  // namespace ostrel
