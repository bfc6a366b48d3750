// The main window's logic: the create step, the delayed set-up, loading and saving the
// definitions, and the close and teardown rules. The Win32 form forwards its events
// here and renders what this asks of MainView.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "catalogue/DefinitionFile.h"
#include "catalogue/KeysList.h"
#include "platform/FilePort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// The folder of an executable path, up to and including its last "\" or ":".
std::string ProgramFolder(const std::string& exePath);

// The display names and ids of the function types, in the chooser's order.
std::vector<FunTypeEntry> FunTypeEntries();

struct ControllerPorts {
  MainView& view;
  FileSystem& files;
  WindowPort& windows;
  SystemPort& system;
  CollateFn collate;
};

class OstrelController {
 public:
  explicit OstrelController(ControllerPorts ports);

  void FormCreate();
  void Timer2Timer();
  void FormSetup();
  void LoadKeysList();
  void UpdateKeysList();
  // True when the window may close: only once the program is terminating.
  bool FormCloseQuery();
  void FormDestroy();

  const std::string& AppDir() const { return appDir_; }
  const std::string& KeysFileName() const { return keysFileName_; }
  KeysList* Keys() { return keys_.get(); }
  bool Terminating() const { return terminating_; }
  void SetTerminating(bool on) { terminating_ = on; }
  bool PopupReady() const { return popupReady_; }
  WindowHandle DesktopWnd() const { return desktopWnd_; }
  WindowHandle HiddenWindow() const { return hiddenWindow_; }
  void SetHiddenWindow(WindowHandle wnd) { hiddenWindow_ = wnd; }
  std::uint32_t UiThreadId() const { return uiThreadId_; }
  // The "Automatically hide Configuration Panel" option as loaded at set-up.
  void SetHideAtStartup(bool on) { hideAtStartup_ = on; }

 private:
  ControllerPorts p_;
  std::string appDir_;
  std::string keysFileName_;
  std::unique_ptr<KeysList> keys_;
  std::optional<DefinitionFile> keysFile_;
  std::vector<std::string> windowList_;
  std::vector<std::string> macroList_;
  PKeyRec pendingKey_ = nullptr;
  WindowHandle desktopWnd_ = 0;
  WindowHandle hiddenWindow_ = 0;
  std::uint32_t uiThreadId_ = 0;
  bool terminating_ = false;
  bool popupReady_ = false;
  bool hideAtStartup_ = false;
};

}  // namespace ostrel
