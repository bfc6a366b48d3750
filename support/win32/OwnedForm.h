// The main window as a test makes it: with a set of the platform's adapters of its own,
// made before the window and gone after it, as WinMain makes them.
#pragma once

#include "app/win32/OstrelForm.h"
#include "components/win32/SysHotKeyWindow.h"
#include "components/win32/TrayIconWindow.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32HookLibrary.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/Win32Programs.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLink.h"
#include "toolkit/Application.h"

namespace ostrel::testing {

struct Win32Adapters {
  Win32FileSystem files;
  Win32Windows windows;
  Win32System system;
  Win32Shell shell;
  SysHotKeyWindow hotKeyWindow;
  TrayIconWindow trayWindow;
  Win32HookLibrary hook;
  Win32Keyboard keyboard{[] { tk::Application::Get().ProcessMessages(); }};
  Win32CodePage codePage;
  Win32Registry registry;
  Win32ShellLink links;
  Win32Clipboard clipboard;
  Win32Programs programs;

  FormPorts AdapterPorts() {
    return {files,    windows,  system,        shell,    hotKeyWindow, trayWindow, hook,
            keyboard, codePage, LocaleCollate, registry, links,        clipboard,  programs};
  }
};

// The adapters are a base named first, so they are made before the window and outlive it.
class OwnedForm : private Win32Adapters, public TOstrelForm {
 public:
  explicit OwnedForm(Timings timings = {})
      : Win32Adapters(), TOstrelForm(AdapterPorts(), timings) {}
};

}  // namespace ostrel::testing
