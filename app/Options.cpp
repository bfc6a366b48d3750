// The values live under HKEY_LOCAL_MACHINE, which an ordinary user may not write. Each
// value that cannot be written there goes to the same path under HKEY_CURRENT_USER, and
// each value is read from the user's key first, then from the machine's: a key that
// cannot be opened counts as a missing value. The options are therefore per-user.
#include "app/Options.h"

namespace ostrel {

StartupOptions::StartupOptions(OptionPorts ports, MouseLink& mouseLink)
    : p_(ports),
      mouseLink_(mouseLink),
      startupLink_(ports.registry, ports.files, ports.links),
      optionStore_(ports.registry) {}

void StartupOptions::SetChecked(int tag, bool on) {
  if (p_.view.OptionChecked(tag) == on) return;
  p_.view.SetOptionChecked(tag, on);
  OptionBoxClick(tag);
}

// With the link present the box is ticked, and its click handler re-creates the link
// to point at the executable that runs now.
void StartupOptions::LoadStartupLink() {
  startupLink_.SourceName = p_.system.ModuleFileName();
  startupLink_.LinkName = kStartupLinkName;
  SetChecked(obAutostart, startupLink_.LinkExists());
}

void StartupOptions::SetOptionsKey() {
  optionStore_.RootKey = hkLocalMachine;
  optionStore_.Key = kOptionsKey;
}

// The click handlers that ticking the boxes runs find OptionsBusy set and store nothing.
void StartupOptions::ReadOptions() {
  optionsBusy_ = true;
  SetChecked(obOlTaskBar, false);
  SetChecked(obOLMouse, false);
  if (StoredOption("OLTaskbar")) SetChecked(obOlTaskBar, true);
  if (StoredOption("OLMouse")) SetChecked(obOLMouse, true);
  // Pasting is on for a user who has never seen the box.
  SetChecked(obPasteLong, StoredOption("OLPasteLong", true));
  // So is typing as keyboard input: it reaches the programs posted keys do not.
  SetChecked(obSendInput, StoredOption("OLSendInput", true));
}

bool StartupOptions::PasteLong() const { return p_.view.OptionChecked(obPasteLong); }
bool StartupOptions::SendInput() const { return p_.view.OptionChecked(obSendInput); }

bool StartupOptions::StoredOption(const char* name, bool absent) {
  bool on = absent;
  for (TRootKey root : {hkCurrentUser, hkLocalMachine}) {
    optionStore_.RootKey = root;
    std::optional<std::string> value;
    try {
      value = optionStore_.ReadValue(name);
    } catch (const ERegFileError&) {
      continue;  // the key cannot be opened here: no value here
    }
    if (!value) continue;
    on = *value == "1";
    break;
  }
  optionStore_.RootKey = hkLocalMachine;
  return on;
}

void StartupOptions::SetOptions() {
  if (optionsBusy_) return;
  optionsBusy_ = true;
  if (p_.view.OptionChecked(obOLMouse))
    mouseLink_.DetachTheDll();
  else
    mouseLink_.AttachTheDll(false);
  StoreOption("OLTaskbar", p_.view.OptionChecked(obOlTaskBar));
  StoreOption("OLMouse", p_.view.OptionChecked(obOLMouse));
  StoreOption("OLPasteLong", p_.view.OptionChecked(obPasteLong));
  StoreOption("OLSendInput", p_.view.OptionChecked(obSendInput));
  optionsBusy_ = false;
}

void StartupOptions::ApplyLoaded() {
  optionsBusy_ = false;
  SetOptions();
}

// Failures are not reported: the boxes keep their state for this run.
void StartupOptions::StoreOption(const char* name, bool on) {
  const std::string value = on ? "1" : "0";
  bool machine = true;
  optionStore_.RootKey = hkLocalMachine;
  try {
    optionStore_.WriteValue(name, value);
  } catch (const ERegFileError&) {
    machine = false;
  }
  // A value of the user's own would hide the machine's at the next start, so it is kept
  // in step; and when the machine's key refused it, the user's key takes it.
  if (!machine || UserHasValue(name)) {
    optionStore_.RootKey = hkCurrentUser;
    try {
      optionStore_.WriteValue(name, value);
    } catch (const ERegFileError&) {
    }
  }
  optionStore_.RootKey = hkLocalMachine;
}

bool StartupOptions::UserHasValue(const char* name) {
  optionStore_.RootKey = hkCurrentUser;
  bool has = false;
  try {
    if (!optionStore_.OpenKey(optionStore_.Key, true)) return false;
    std::uint32_t type = 0;
    has = optionStore_.GetDataSize(name, type) >= 0;
    optionStore_.CloseKey();
  } catch (const ERegFileError&) {
  }
  return has;
}

void StartupOptions::OptionBoxClick(int tag) {
  switch (tag) {
    case obAutostart:
      startupLink_.SourceName = p_.system.ModuleFileName();
      startupLink_.LinkName = kStartupLinkName;
      if (p_.view.OptionChecked(obAutostart)) {
        // A link that was not saved does not start the program: the box says so too.
        if (!startupLink_.CreateLink()) {
          p_.view.SetOptionChecked(obAutostart, false);
          p_.view.ShowError("Cannot create file " +
                            startupLink_.LinkPath().value_or(kStartupLinkName));
        }
      } else
        startupLink_.DeleteLink();
      return;
    case 1:
    case 2:
    case 3:
    case obPasteLong:
    case obSendInput:
      SetOptions();
      return;
    default:
      return;
  }
}

// Runs when the application is minimised and when it is restored. Here the main window
// is the application's window too, so hiding it also removes the taskbar button. A
// restore that the program makes itself (Show..., the start-up) is left alone.
void StartupOptions::AppMinimize() {
  if (showingConfig_) return;
  if (!p_.view.OptionChecked(obOlTaskBar)) return;
  p_.windows.ShowWindow(p_.view.MainWindow(), kSwHide);
}

void StartupOptions::RestoreConfigWindow() {
  showingConfig_ = true;
  p_.view.RestoreConfigWindow();
  showingConfig_ = false;
}

}  // namespace ostrel
