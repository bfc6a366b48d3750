// Performs the action of one definition, as its function type's catalogue row names it:
// a shell execution, a window operation, a message to the program itself, or a
// keystroke macro.
#include <exception>

#include "app/BusyMark.h"
#include "app/OstrelController.h"
#include "catalogue/FunCatalogue.h"
#include "platform/Paths.h"

namespace ostrel {

std::string RunDirectory(const TKeyRec& def) {
  std::string dir = TrimText(def.Dir.str());
  if (!dir.empty()) return dir;
  return FolderOf(def.Target.str());
}

void OstrelController::DispatchPendingHotKey() {
  p_.view.SetDispatchTimer(false);
  if (handOffBusy_) return;
  BusyMark busy(handOffBusy_);
  RunDefinition(pendingKey_);
}

void OstrelController::RunDefinition(PKeyRec def) {
  if (dispatchBusy_) return;
  p_.view.ProcessMessages();
  pendingKey_ = nullptr;
  if (!def) return;
  // The messages just handled may have deleted the definition.
  if (!keys_ || keys_->IndexOf(def) == KeysList::npos) return;
  BusyMark busy(dispatchBusy_);
  // The action works on a copy: it may pump messages, and a change to the definitions
  // made meanwhile must not pull the record from under it.
  const TKeyRec work = *def;
  try {
    Perform(work);
  } catch (const std::exception& e) {
    p_.view.ShowError(e.what());
  }
}

void OstrelController::Perform(const TKeyRec& def) {
  // A type outside the catalogue (only a damaged file has one) does nothing.
  const FunTypeInfo* type = FindFunType(def.FunType);
  if (!type) return;
  const std::string target = def.Target.str();
  const WindowHandle owner = p_.windows.GetDesktopWindow();
  // One case per action and no default: an action without its case does not compile.
  switch (type->action) {
    case FunAction::kShellExecute:
      p_.shell.ShellExecuteA(owner, type->verb, target, "", "", type->show);
      return;
    case FunAction::kRunProgram:
      p_.shell.ShellExecuteA(owner, type->verb, target, TrimText(def.Parms.str()),
                             RunDirectory(def), type->show);
      return;
    case FunAction::kHideShowWindow:
      HideShowWindow();
      return;
    case FunAction::kShowConfiguration:
      ShowConfiguration(false);
      return;
    case FunAction::kShowMenu:
      p_.windows.PostMessageA(p_.view.MainWindow(), MSG_SHOW_MENU, 0, 0);
      return;
    case FunAction::kSendKeys:
      RunMacro(target, menuTarget_ ? menuTarget_ : p_.windows.GetForegroundWindow());
      return;
    case FunAction::kSendKeysMenu:
      SendKeysMenu(target);
      return;
    case FunAction::kMinimizeAll:
      MinimizeAll();
      return;
    case FunAction::kHideShowDesktop:
      if (!desktopWnd_) return;
      p_.windows.ShowWindow(desktopWnd_,
                            p_.windows.IsWindowVisible(desktopWnd_) ? kSwHide : kSwShow);
      return;
    case FunAction::kDisableHotKeys:
      SetHotKeysOn(false);
      return;
  }
}

// One slot: the window hidden last is shown by the next use, whatever is in front then.
void OstrelController::HideShowWindow() {
  if (hiddenWindow_) {
    ShowHiddenWindow();
    return;
  }
  hiddenWindow_ = p_.windows.GetForegroundWindow();
  if (hiddenWindow_ == p_.view.MainWindow()) hiddenWindow_ = 0;
  if (hiddenWindow_) p_.windows.ShowWindow(hiddenWindow_, kSwHide);
}

// The window the program hid comes back, in front: at the next use, and when the program
// ends.
void OstrelController::ShowHiddenWindow() {
  if (!hiddenWindow_) return;
  p_.windows.ShowWindow(hiddenWindow_, kSwShow);
  p_.windows.SetForegroundWindow(hiddenWindow_);
  hiddenWindow_ = 0;
}

// Unowned, visible windows with a system menu: what a user sees as program windows.
bool OstrelController::CollectTopWindows(WindowHandle wnd) {
  if (!wnd) return false;
  if (p_.windows.GetWindowOwner(wnd) == 0 && p_.windows.IsWindowVisible(wnd) &&
      (p_.windows.GetWindowStyle(wnd) & kWsSysMenu) != 0)
    windowList_.push_back(wnd);
  return true;
}

void OstrelController::MinimizeAll() {
  windowList_.clear();
  p_.windows.EnumWindows([this](WindowHandle wnd) { return CollectTopWindows(wnd); });
  for (WindowHandle wnd : windowList_) p_.windows.ShowWindow(wnd, kSwMinimize);
}

}  // namespace ostrel
