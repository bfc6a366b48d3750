// The platform's adapters the main window runs on, one of each, listed once: WinMain makes
// them for the program, and the tests and the bench for the windows they build. Make them
// before the window and let them go after it: the controller's components unregister
// through them as the window goes.
#pragma once

#include "app/win32/OstrelForm.h"
#include "components/win32/SysHotKeyWindow.h"
#include "components/win32/TrayIconWindow.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32HookLibrary.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/Win32Programs.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLink.h"
#include "toolkit/Application.h"

namespace ostrel {

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
  Win32Input input;
  Win32Clock clock;

  // The window's ports, with the user's locale as the key-text order.
  FormPorts Ports() {
    return {files,    windows,       system,   shell, hotKeyWindow, trayWindow, hook,  keyboard,
            codePage, LocaleCollate, registry, links, clipboard,    programs,   input, clock};
  }
};

}  // namespace ostrel
