// Performs the action of one definition, as its function type's catalogue row names it:
// a launch through the shell (its rules in Launch.*), a window operation, a message to
// the program itself, or a keystroke macro. An abbreviation typed runs its definition
// here too, as its hotkey would.
#include <exception>
#include <utility>

#include "app/BusyMark.h"
#include "app/Launch.h"
#include "app/OstrelController.h"
#include "catalogue/FunCatalogue.h"
#include "macro/SendKeys.h"
#include "platform/Paths.h"
#include "platform/VirtualKeys.h"

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
  menuEnding_ = 0;
  if (!def) return;
  // The messages just handled may have deleted the definition.
  if (!keys_ || keys_->IndexOf(def) == KeysList::npos) return;
  BusyMark busy(dispatchBusy_);
  // The action works on a copy: it may pump messages, and a change to the definitions
  // made meanwhile must not pull the record from under it.
  const TKeyRec work = *def;
  const LaunchOptions launch = keys_->ConditionsOf(def).launch;
  try {
    Perform(work, launch);
  } catch (const std::exception& e) {
    p_.view.ShowError(e.what());
  }
}

void OstrelController::RebuildAbbreviations() {
  const WindowHandle main = p_.view.MainWindow();
  WindowPort& windows = p_.windows;
  abbreviations_.Rebuild(Alive() && hotKeys_.SystemHotKeys().Active(), [&windows, main] {
    windows.PostMessageA(main, kAbbreviationTypedMessage, 0, 0);
  });
}

void OstrelController::AbbreviationTyped() {
  while (std::optional<AbbreviationFiring> firing = abbreviations_.Next()) {
    if (!Alive()) return;
    if (firing->def)
      RunAbbreviation(*firing);
    else
      TypeAgain(u"", firing->ending);
  }
}

void OstrelController::TypeAgain(std::u16string_view typed, char16_t ending) {
  const std::vector<KeyInput> keys = RetypeKeys(typed, ending);
  if (p_.input && !keys.empty()) p_.input->SendInput(keys, kReplayMark);
}

void OstrelController::RunAbbreviation(const AbbreviationFiring& firing) {
  // While an action runs (a macro typing) another waits for nothing: the word's end the
  // hook kept back is given back, and the letters stay.
  if (dispatchBusy_) {
    TypeAgain(u"", firing.ending);
    return;
  }
  BusyMark busy(dispatchBusy_);
  const TKeyRec work = *firing.def;
  const FunTypeInfo* type = FindFunType(work.FunType);
  const bool types = type && (type->action == FunAction::kSendKeys ||
                              type->action == FunAction::kSendKeysMenu);
  std::vector<KeyInput> keys;
  for (std::size_t i = 0; i < firing.typed.size(); ++i) {
    keys.push_back({vk::kBack, 0, 0});
    keys.push_back({vk::kBack, 0, kKeyEventUp});
  }
  // An action that types nothing may bring another window in front: the ending character
  // goes first, where it was typed.
  if (!types)
    for (const KeyInput& key : RetypeKeys(u"", firing.ending)) keys.push_back(key);
  p_.input->SendInput(keys, kReplayMark);
  // The window takes the keys before anything else: text posted to it would otherwise
  // overtake them.
  const WindowHandle target = p_.windows.GetForegroundWindow();
  WaitForIdle(MacroPorts{p_.windows, p_.system, p_.keyboard, p_.codePage}, target);
  try {
    if (type && type->action == FunAction::kSendKeys) {
      // The text in the typed letters' case, and the ending character as part of it, so
      // that the caret's place in the text counts it.
      const std::string text = FollowCase(work.Target.str(), firing.follow, p_.codePage);
      RunMacro(text + EndingMacro(firing.ending), target);
    } else if (type && type->action == FunAction::kSendKeysMenu) {
      menuEnding_ = firing.ending;
      // The menu closed with no line chosen (or none to show): what was typed comes back.
      if (!SendKeysMenu(work.Target.str())) {
        menuEnding_ = 0;
        TypeAgain(firing.typed, firing.ending);
      }
    } else {
      Perform(work, keys_->ConditionsOf(firing.def).launch);
    }
  } catch (const std::exception& e) {
    p_.view.ShowError(e.what());
    // The macro or its menu did not come to its end: the ending character still follows.
    if (types) {
      menuEnding_ = 0;
      TypeAgain(u"", firing.ending);
    }
  }
}

void OstrelController::MacroMenuChosen(const MenuChoice& choice) {
  const char16_t ending = std::exchange(menuEnding_, 0);
  SendKeysMenuClick(choice);
  TypeAgain(u"", ending);
}

void OstrelController::Perform(const TKeyRec& def, const LaunchOptions& launch) {
  // A type outside the catalogue (only a damaged file has one) does nothing.
  const FunTypeInfo* type = FindFunType(def.FunType);
  if (!type) return;
  const std::string target = def.Target.str();
  // One case per action and no default: an action without its case does not compile.
  switch (type->action) {
    case FunAction::kShellExecute:
    case FunAction::kRunProgram:
      Launch(def, *type, TakesLaunchOptions(def.FunType) ? launch : LaunchOptions{});
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

void OstrelController::Launch(const TKeyRec& def, const FunTypeInfo& type,
                              const LaunchOptions& launch) {
  const VariableLookup lookup = [this](const std::string& name) {
    return p_.system.EnvironmentVariable(name);
  };
  const bool variables = TakesVariables(def.FunType);
  auto text = [&](const std::string& stored) {
    return variables ? ExpandVariables(stored, lookup) : stored;
  };
  std::string file = text(def.Target.str()), parameters, directory;
  if (type.action == FunAction::kRunProgram) {
    parameters = TrimText(text(def.Parms.str()));
    directory = TrimText(text(def.Dir.str()));
    if (directory.empty()) directory = FolderOf(file);
  }

  const bool isFile = def.FunType == ftOpenFile;
  if (launch.ifRunning != IfRunning::kStart) {
    const std::string program = p_.shell.FindExecutableA(file, directory);
    const WindowHandle running =
        RunningWindow(p_.programs, p_.windows, program, isFile ? FileStem(file) : std::string());
    if (running) {
      BringForward(p_.programs, p_.windows, running, launch.ifRunning == IfRunning::kToggle);
      return;
    }
  }

  const char* verb = type.verb;
  if (launch.elevated) {
    verb = "runas";
    // A document has no "runas" of its own: its program is run so, and opens it.
    if (isFile) {
      if (std::string program = p_.shell.FindExecutableA(file, directory); !program.empty()) {
        parameters = "\"" + file + "\"";
        directory = FolderOf(file);
        file = std::move(program);
      }
    }
  }
  const std::uint32_t error =
      p_.shell.ShellExecuteA(p_.windows.GetDesktopWindow(), verb, file, parameters, directory,
                             ShowCommand(launch.show, type.show));
  // Declining the administrator's prompt is the user's own answer, not a failure.
  if (error == 0 || error == kErrorCancelled) return;
  std::string reason = p_.shell.ErrorText(error);
  if (reason.empty()) reason = "error " + std::to_string(error) + ".";
  trayIcon_.ShowBalloon(LaunchFailureText(def, reason, SystemLeadBytes(p_.codePage)));
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
