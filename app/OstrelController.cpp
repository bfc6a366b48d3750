#include "app/OstrelController.h"

#include "app/Home.h"
#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "catalogue/RecordStream.h"
#include "platform/Paths.h"

namespace ostrel {

OstrelController::OstrelController(ControllerPorts ports, ostrel::Timings timings)
    : p_(ports),
      timings_(timings),
      mouseLink_(ports.view, ports.windows, ports.system, ports.hook, timings_),
      options_({ports.view, ports.windows, ports.system, ports.registry, ports.files, ports.links},
               mouseLink_),
      hotKeys_(ports.view, ports.hotkeys, ports.programs, keys_, menu_,
               [this](PKeyRec def) {
                 pendingKey_ = def;
                 // An enabled timer is not restarted: of several presses within 100 ms
                 // the last runs.
                 p_.view.SetDispatchTimer(true);
               }),
      editing_(ports.view, keys_, keysFile_, menu_, hotKeys_, [this] { return Alive(); }),
      abbreviations_(ports.input, ports.programs, keys_),
      trayIcon_(ports.tray) {
  trayIcon_.SetToolTip("Ostrel");
  hotKeys_.SystemHotKeys().ReplayWaitMs = timings_.replayWaitMs;
  hotKeys_.Changed = [this] { RebuildAbbreviations(); };
  trayIcon_.OnMouseClick = [this](TTrayIcon&, TMouseButton, int, int) { TrayIconClick(); };
}

void OstrelController::FormCreate() {
  p_.view.SetHelpText(ExpandParagraphs(HelpText(0)));
  mouseLink_.Reset();
  handOffBusy_ = false;
  dispatchBusy_ = false;
  pendingKey_ = nullptr;
  hiddenWindow_ = 0;
  desktopWnd_ = 0;
  windowList_.clear();
  macroList_.clear();
  p_.view.SetShowMainForm(false);
  uiThreadId_ = p_.system.CurrentThreadId();
  p_.view.SetSetupTimer(true);
}

void OstrelController::DelayedSetup() {
  p_.view.SetSetupTimer(false);
  p_.view.InstallMessageFilter();
  p_.view.BindMinimizeEvents([this] { options_.AppMinimize(); });
  p_.view.SetHintTimes(static_cast<int>(timings_.hintPauseMs),
                       static_cast<int>(timings_.hintHidePauseMs));
  options_.LoadStartupLink();
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  if (WindowHandle progman = p_.windows.FindWindowByClass("Progman")) desktopWnd_ = progman;
  options_.SetOptionsKey();
  options_.ReadOptions();
  options_.ApplyLoaded();
  FormSetup();
  // A box of the set-up may have seen the program end.
  if (!Alive()) return;
  p_.system.Sleep(timings_.settleMs);
  trayIcon_.SetActive(true);
  popupReady_ = true;
  if (p_.view.OptionChecked(obOlTaskBar) && keys_ && !keys_->Empty() && !showRequested_)
    p_.view.MinimizeApp();
  else
    ShowConfiguration(false);
  p_.system.Sleep(timings_.settleMs);
  // The last attach honours "Disable OstrelMenu mouse activation": SetOptions has
  // already attached the library when the option is off.
  if (!p_.view.OptionChecked(obOLMouse)) mouseLink_.AttachTheDll(false);
  // A command line's import or export waited for the definitions.
  if (!requests_.empty()) p_.view.PostRunLater();
}

void OstrelController::ShowConfiguration(bool settleFirst) {
  options_.RestoreConfigWindow();
  if (settleFirst) {
    p_.view.ProcessMessages();
    if (terminating_) return;
    p_.system.Sleep(timings_.settleMs);
  }
  p_.windows.SetForegroundWindow(p_.view.MainWindow());
}

void OstrelController::FormSetup() {
  terminating_ = false;
  appDir_ = FolderOf(p_.system.ModuleFileName());
  const Home home = ChooseHome(p_.files, appDir_, p_.system.AppDataFolder());
  dataDir_ = home.dataDir;
  keysFileName_ = dataDir_ + "Keys.fil";
  // A new user has nothing yet: the help pane begins with how to start from the examples
  // shipped beside the program, where it is seen without scrolling.
  if (!p_.files.Exists(keysFileName_) && p_.files.Exists(appDir_ + "Examples.fil"))
    p_.view.SetHelpText(ExamplesHint(appDir_) + "\r\n\r\n" + ExpandParagraphs(HelpText(0)));
  editing_.SetRestingStatus(WhereKeptText(dataDir_));
  keys_ = std::make_unique<KeysList>(p_.collate);
  keysFile_.emplace(
      p_.files, keysFileName_, [this](std::uint32_t ms) { p_.system.Sleep(ms); }, &p_.codePage);
  LoadKeysList();
  if (!Alive()) return;
  std::string notice = home.notice;
  for (const std::string& failed : CopyMissingListFiles(p_.files, *keys_, appDir_, dataDir_))
    notice += (notice.empty() ? "" : "\n") + failed;
  if (!notice.empty()) {
    if (home.error || notice != home.notice)
      p_.view.ShowError(notice);
    else
      p_.view.ShowInfo(notice);
  }
}

void OstrelController::LoadKeysList() {
  // A file that could not be read whole is reported, and the program goes on with
  // what was read. The rebuild below leaves such a file alone (the definitions file
  // stores nothing until they change); a repaired one is kept as a backup first.
  LoadOutcome outcome = keysFile_->Load(*keys_);
  if (!outcome.error.empty()) p_.view.ShowError(outcome.error);
  if (!outcome.notice.empty()) p_.view.ShowInfo(outcome.notice);
  // Switched off here, these are stored off by the rebuild: named at this start only.
  if (const std::vector<PKeyRec> off = SwitchOffUsersClicks(*keys_); !off.empty())
    p_.view.ShowInfo(UsersClicksText(off));
  UpdateKeysList();
}

bool OstrelController::FormCloseQuery() {
  if (terminating_) return true;
  p_.view.MinimizeApp();
  return false;
}

void OstrelController::FormDestroy() {
  if (desktopWnd_ && !p_.windows.IsWindowVisible(desktopWnd_))
    p_.windows.ShowWindow(desktopWnd_, kSwShow);
  ShowHiddenWindow();
  if (!keys_) return;
  macroList_.clear();
  hotKeys_.Clear();
  pendingKey_ = nullptr;
  windowList_.clear();
  keys_.reset();
  mouseLink_.DetachTheDll();
}

bool OstrelController::AppMessage(std::uint32_t msg) {
  // Only the messages handled here may read any state: the application's filter can
  // still pass others on while the window is being torn down.
  switch (msg) {
    case MSG_REATTACH:
    case MSG_SHOW_MENU:
      return mouseLink_.AppMessage(msg, Session());
    case MSG_TERMINATE:
    case kWmEndSession:
    case kWmQueryEndSession:
      if (terminating_) return false;
      EndSession();
      return true;
    default:
      return false;
  }
}

// Ends the process at once: a window hidden by the program comes back first.
void OstrelController::EndSession() {
  terminating_ = true;
  ShowHiddenWindow();
  p_.system.TerminateProcess(0);
}

void OstrelController::ShowMenuAtCursor() { mouseLink_.ShowMenuAtCursor(Session()); }

}  // namespace ostrel
