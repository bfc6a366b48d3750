// The main window's logic: the create step and the delayed set-up, the tree and the
// OstrelMenu, hotkey registration, the dispatcher, the mouse link, and the close and
// teardown rules. The Win32 form forwards its events here and renders what this asks
// of MainView. One class, one file per concern:
//   OstrelController.cpp  set-up, loading, closing, teardown
//   KeyTree.cpp           UpdateKeysList, MenuClick, the tree and its buttons
//   HotKeys.cpp           BuildHotKeyList, HotKeyEvent, switching hotkeys off and on
//   Dispatcher.cpp        Timer3Timer, DoItToPkey
//   MouseLink.cpp         AppMessage, ShowMenuAtCursor, the hook library
//   MacroMenu.cpp         keystroke macros and the macro menu
//   Options.cpp           the start-up options, SetOptions, autostartClick, AppMinimize
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "app/Timings.h"
#include "catalogue/DefinitionFile.h"
#include "catalogue/KeysList.h"
#include "components/ProgLnk1.h"
#include "components/RegFiles.h"
#include "components/SysHot.h"
#include "components/TrayIcon.h"
#include "platform/FilePort.h"
#include "platform/HookLibraryPort.h"
#include "platform/HookLibraryProtocol.h"
#include "platform/KeyboardPort.h"
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

// The display names and ids of the function types, in the chooser's order.
std::vector<FunTypeEntry> FunTypeEntries();

// The window system's modifier set of a definition's modifier index (0..8), or none
// for an index outside the table.
std::optional<THotKeyModifiers> KeyModToModifiers(std::int32_t keyMod);

// The text of the box that tells the hotkeys a rebuild could not register: the first line,
// then one line per refused definition (group, name and key), at most kRefusedLinesShown.
inline constexpr const char* kHotKeyInUseText = "HotKey aready in use.";
inline constexpr std::size_t kRefusedLinesShown = 20;
std::string RefusedHotKeysText(const std::vector<PKeyRec>& refused);

// Type 4's working folder: Dir trimmed, or else the folder part of Target.
std::string RunDirectory(const TKeyRec& def);

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
  CollateFn collate;
  RegistryPort& registry;
  ShellLinkPort& links;
};

// Where the options persist: the registry key of the two values, and the start-up link
// below the user's Programs folder.
inline constexpr const char* kOptionsKey = "Software\\Tessaly\\Ostrel\\1.0";
inline constexpr const char* kStartupLinkName = "Startup\\Ostrel.lnk";

class OstrelController {
 public:
  explicit OstrelController(ControllerPorts ports);

  // Set-up, closing, teardown.
  void FormCreate();
  void Timer2Timer();
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

  // The tree and the OstrelMenu.
  void UpdateKeysList();
  // A menu item chosen: its caption and its parent item's caption ("" at the top level).
  void MenuClick(const std::string& caption, const std::string& parentCaption);
  void OLKeyTreeClick();
  // Tag 0 Add, 1 Update, 2 Delete.
  void ToolbarButton974Click(int tag);
  void ToolbarButton971Click();
  void TrayIcon1MouseClick();

  // Hotkeys.
  void BuildHotKeyList();
  void HotKeyEvent(std::int32_t index);
  void SetHotKeysOn(bool on);

  // The dispatcher.
  void Timer3Timer();
  void DoItToPkey(PKeyRec def);

  // The mouse link and the application-wide message filter.
  // Returns true when the message was handled and goes no further.
  bool AppMessage(std::uint32_t msg);
  void ShowMenuAtCursor();
  void AttachTheDll(bool again);
  void DetachTheDll();

  // Keystroke macros: one typed into `target`, the macro menu of a list file in the
  // program's folder, and a choice from that menu.
  void RunMacro(const std::string& text, WindowHandle target);
  void SendKeysMenu(const std::string& target);
  void SendKeyMenuClick(const std::string& caption);
  // The macro menu of a list file's lines: the named macros in file order, then "-"
  // and "Quit".
  static std::vector<MenuItem> MacroMenuItems(const std::vector<std::string>& lines,
                                              CollateFn same);
  // The start-up options.
  void LoadStartupLink();
  void SetOptionsKey();
  void ReadOptions();
  void SetOptions();
  // The option boxes' shared click handler, by the box's Tag.
  void autostartClick(int tag);
  void AppMinimize();
  // Checked := on: a change runs the box's click handler, as a click would.
  void SetChecked(int tag, bool on);

  // The program's delays; the view's timers take their intervals from here.
  const ostrel::Timings& Timings() const { return timings_; }

  TSysHotKey& SysHotKey1() { return sysHotKey1_; }
  TProgLink& ProgLink1() { return progLink1_; }
  TRegFile& RegFile1() { return regFile1_; }
  bool OptionsBusy() const { return optionsBusy_; }
  TTrayIcon& TrayIcon1() { return trayIcon1_; }

  const std::string& AppDir() const { return appDir_; }
  const std::string& KeysFileName() const { return keysFileName_; }
  KeysList* Keys() { return keys_.get(); }
  const std::vector<MenuItem>& Menu() const { return menu_; }
  const std::vector<std::string>& HotKeyList() const { return hotKeyList_; }
  bool Terminating() const { return terminating_; }
  void SetTerminating(bool on) { terminating_ = on; }
  bool PopupReady() const { return popupReady_; }
  PKeyRec PendingKey() const { return pendingKey_; }
  WindowHandle DesktopWnd() const { return desktopWnd_; }
  WindowHandle HiddenWindow() const { return hiddenWindow_; }
  void SetHiddenWindow(WindowHandle wnd) { hiddenWindow_ = wnd; }
  const std::vector<WindowHandle>& WindowList() const { return windowList_; }
  std::uint32_t UiThreadId() const { return uiThreadId_; }
  bool HookAttached() const { return hookAttached_; }
  ScreenPoint MenuPoint() const { return menuPoint_; }
  WindowHandle MenuFocus() const { return menuFocus_; }
  const std::vector<std::string>& MacroList() const { return macroList_; }
  // What the function chooser last handed over: the type (-1 for none) and its name.
  std::int32_t ChosenFunction() const { return chosenFunction_; }
  const std::string& ChosenFunctionName() const { return chosenFunctionName_; }

 private:
  void Perform(const TKeyRec& def);
  void MinimizeAll();
  void HideShowWindow();
  void EndSession();
  void BringMainToFront(WindowHandle previous);
  bool CollectTopWindows(WindowHandle wnd);
  bool StoredOption(const char* name);
  void StoreOption(const char* name, bool on);
  bool UserHasValue(const char* name);
  void AddDefinition();
  void UpdateDefinition(PKeyRec def);

  ControllerPorts p_;
  ostrel::Timings timings_;
  TSysHotKey sysHotKey1_;
  TTrayIcon trayIcon1_;
  TProgLink progLink1_;
  TRegFile regFile1_;
  std::string appDir_;
  std::string keysFileName_;
  std::unique_ptr<KeysList> keys_;
  std::optional<DefinitionFile> keysFile_;
  // Parallel to the hotkey component's entries: entry n is the definition of id n.
  std::vector<std::string> hotKeyList_;
  std::vector<PKeyRec> hotKeyDefs_;
  std::vector<MenuItem> menu_;
  std::vector<WindowHandle> windowList_;
  std::vector<std::string> macroList_;
  PKeyRec pendingKey_ = nullptr;
  std::int32_t chosenFunction_ = -1;
  std::string chosenFunctionName_;
  WindowHandle desktopWnd_ = 0;
  WindowHandle hiddenWindow_ = 0;
  std::uint32_t uiThreadId_ = 0;
  bool terminating_ = false;
  bool popupReady_ = false;
  // Set while the options load or SetOptions runs: SetOptions then returns at once.
  bool optionsBusy_ = false;
  // Set while the program restores its own window, which is no user's restore.
  bool showingConfig_ = false;
  // Set by another copy's request that came before the set-up was done.
  bool showRequested_ = false;
  // Set while the box of refused hotkeys is up.
  bool hotKeyBoxOpen_ = false;
  // Busy marks: a request that meets one is dropped, not queued.
  bool handOffBusy_ = false;
  bool dispatchBusy_ = false;
  // Mouse link.
  bool hookAttached_ = false;
  bool sharedMapped_ = false;
  bool menuBusy_ = false;
  std::uint64_t nextMenuTime_ = 0;
  ScreenPoint menuPoint_{};
  // Set once the OstrelMenu has been popped up: the macro menu appears at its place.
  bool menuPointTaken_ = false;
  WindowHandle menuForeground_ = 0;
  WindowHandle menuFocus_ = 0;
};

}  // namespace ostrel
