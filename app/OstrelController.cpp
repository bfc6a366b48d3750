#include "app/OstrelController.h"

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "catalogue/RecordStream.h"
#include "platform/Paths.h"

namespace ostrel {

std::vector<FunTypeEntry> FunTypeEntries() {
  std::vector<FunTypeEntry> entries;
  for (std::int32_t id : kChooserOrder)
    entries.push_back({std::string(FindFunType(id)->displayName), id});
  return entries;
}

OstrelController::OstrelController(ControllerPorts ports)
    : p_(ports),
      sysHotKey1_(ports.hotkeys),
      trayIcon1_(ports.tray),
      progLink1_(ports.registry, ports.files, ports.links),
      regFile1_(ports.registry) {
  sysHotKey1_.OnHotKey = [this](TSysHotKey&, std::int32_t index) { HotKeyEvent(index); };
  trayIcon1_.SetToolTip("Ostrel");
  trayIcon1_.OnMouseClick = [this](TTrayIcon&, TMouseButton, int, int) { TrayIcon1MouseClick(); };
}

void OstrelController::FormCreate() {
  p_.view.SetMemoText(ExpandParagraphs(HelpText(0)));
  hookAttached_ = false;
  menuBusy_ = false;
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

void OstrelController::Timer2Timer() {
  p_.view.SetSetupTimer(false);
  p_.view.InstallMessageFilter();
  p_.view.BindMinimizeEvents([this] { AppMinimize(); });
  p_.view.SetHintTimes(static_cast<int>(timings_.hintPauseMs),
                       static_cast<int>(timings_.hintHidePauseMs));
  LoadStartupLink();
  if (WindowHandle progman = p_.windows.FindWindowByClass("Progman")) desktopWnd_ = progman;
  SetOptionsKey();
  ReadOptions();
  optionsBusy_ = false;
  SetOptions();
  FormSetup();
  // A box of the set-up may have seen the program end.
  if (!Alive()) return;
  p_.system.Sleep(100);
  trayIcon1_.SetActive(true);
  popupReady_ = true;
  if (p_.view.OptionChecked(obOlTaskBar) && keys_ && !keys_->Empty() && !showRequested_)
    p_.view.MinimizeApp();
  else
    ShowConfiguration(false);
  p_.system.Sleep(100);
  // The last attach honours "Disable OstrelMenu mouse activation": SetOptions has
  // already attached the library when the option is off.
  if (!p_.view.OptionChecked(obOLMouse)) AttachTheDll(false);
}

void OstrelController::ShowConfiguration(bool settleFirst) {
  showingConfig_ = true;
  p_.view.RestoreConfigWindow();
  showingConfig_ = false;
  if (settleFirst) {
    p_.view.ProcessMessages();
    if (terminating_) return;
    p_.system.Sleep(100);
  }
  p_.windows.SetForegroundWindow(p_.view.MainWindow());
}

void OstrelController::FormSetup() {
  terminating_ = false;
  appDir_ = FolderOf(p_.system.ModuleFileName());
  keysFileName_ = appDir_ + "Keys.fil";
  keys_ = std::make_unique<KeysList>(p_.collate);
  keysFile_.emplace(p_.files, keysFileName_, [this](std::uint32_t ms) { p_.system.Sleep(ms); });
  LoadKeysList();
  p_.view.FillFunTypes(FunTypeEntries());
}

void OstrelController::LoadKeysList() {
  // A file that could not be read whole is reported, and the program goes on with
  // what was read. The rebuild below leaves such a file alone (the definitions file
  // stores nothing until they change); a repaired one is kept as a backup first.
  LoadOutcome outcome = keysFile_->Load(*keys_);
  if (!outcome.error.empty()) p_.view.ShowError(outcome.error);
  if (!outcome.notice.empty()) p_.view.ShowInfo(outcome.notice);
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
  if (hiddenWindow_) {
    p_.windows.ShowWindow(hiddenWindow_, kSwShow);
    p_.windows.SetForegroundWindow(hiddenWindow_);
    hiddenWindow_ = 0;
  }
  if (!keys_) return;
  macroList_.clear();
  sysHotKey1_.SetActive(false);
  sysHotKey1_.Clear();
  pendingKey_ = nullptr;
  hotKeyList_.clear();
  hotKeyDefs_.clear();
  windowList_.clear();
  keys_.reset();
  DetachTheDll();
}

}  // namespace ostrel
