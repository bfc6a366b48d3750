// The options: "Automatically start at Windows startup" (the link "Startup\Ostrel.lnk"
// below the user's Programs folder), "Automatically hide Configuration Panel", "Disable
// OstrelMenu mouse activation" and "Paste long text through the clipboard" (the string
// values "OLTaskbar", "OLMouse", "OLPasteLong" and "OLSendInput", "1" or "0"), and what the boxes do
// when clicked.
#pragma once

#include "app/MainView.h"
#include "app/MouseLink.h"
#include "components/ProgLink.h"
#include "components/RegFile.h"
#include "platform/FilePort.h"
#include "platform/RegistryPort.h"
#include "platform/ShellLinkPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// Where the options persist: the registry key of the two values, and the start-up link
// below the user's Programs folder.
inline constexpr const char* kOptionsKey = "Software\\Tessaly\\Ostrel\\1.0";
inline constexpr const char* kStartupLinkName = "Startup\\Ostrel.lnk";

struct OptionPorts {
  MainView& view;
  WindowPort& windows;
  SystemPort& system;
  RegistryPort& registry;
  FileSystem& files;
  ShellLinkPort& links;
};

class StartupOptions {
 public:
  // The mouse option attaches and detaches the library through `mouseLink`.
  StartupOptions(OptionPorts ports, MouseLink& mouseLink);
  StartupOptions(const StartupOptions&) = delete;
  StartupOptions& operator=(const StartupOptions&) = delete;

  // Loading, in the set-up's order: the link, the key, the stored values (which leaves
  // OptionsBusy set), then ApplyLoaded.
  void LoadStartupLink();
  void SetOptionsKey();
  void ReadOptions();
  void ApplyLoaded();
  void SetOptions();
  // The option boxes' shared click handler, by the box's Tag.
  void OptionBoxClick(int tag);
  // Ticks or clears the box: a change runs its click handler, as a click would.
  void SetChecked(int tag, bool on);
  // Runs when the application is minimised and when it is restored.
  void AppMinimize();
  // The program restores its own window: no user's restore, which AppMinimize ignores.
  void RestoreConfigWindow();

  bool OptionsBusy() const { return optionsBusy_; }
  // Whether macros paste their long runs of text (the box, on unless switched off).
  bool PasteLong() const;
  // Whether macros are typed as keyboard input rather than posted as messages.
  bool SendInput() const;
  TRegFile& OptionStore() { return optionStore_; }
  TProgLink& StartupLink() { return startupLink_; }

 private:
  // The stored value is "1"; `absent` when neither key has the value.
  bool StoredOption(const char* name, bool absent = false);
  void StoreOption(const char* name, bool on);
  bool UserHasValue(const char* name);

  OptionPorts p_;
  MouseLink& mouseLink_;
  TProgLink startupLink_;
  TRegFile optionStore_;
  // Set while the options load or SetOptions runs: SetOptions then returns at once.
  bool optionsBusy_ = false;
  // Set while the program restores its own window.
  bool showingConfig_ = false;
};

}  // namespace ostrel
