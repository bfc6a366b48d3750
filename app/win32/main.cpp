// Program entry, the one place that builds the program: one copy per session, the
// application object, the platform's adapters, the main window, the message loop.
#include <windows.h>

#include <ole2.h>

#include "app/OneCopy.h"
#include "app/win32/OstrelForm.h"
#include "components/win32/SysHotKeyWindow.h"
#include "components/win32/TrayIconWindow.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Contrast.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32HookLibrary.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32OneCopy.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/Win32Programs.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLink.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // Before anything else: a second copy ends here, having handed the first its request
  // (or asked it for its window), and has touched nothing of the first's.
  ostrel::Win32OneCopy oneCopy;
  const ostrel::StartRequest request =
      ostrel::ParseCommandLine(commandLine ? commandLine : "", oneCopy.CurrentFolder());
  {
    ostrel::Win32Windows windows;
    ostrel::Win32System system;
    const ostrel::StartOutcome outcome = ostrel::ClaimOnlyCopy(oneCopy, windows, system, request);
    if (!outcome.goOn) return outcome.exitCode;
  }
  // The start-up link is written through the shell's in-process link object.
  OleInitialize(nullptr);
  auto& app = ostrel::tk::Application::Get();
  app.Initialize(instance);
  // Every surface the program draws itself asks it whether to take the theme's colours.
  const ostrel::Win32Contrast contrast;
  app.SetContrast(&contrast);
  app.title = "Ostrel";
  int code;
  {
    // Made before the window and gone after it: the controller's components unregister
    // through them as the window goes.
    ostrel::Win32FileSystem files;
    ostrel::Win32Windows windows;
    ostrel::Win32System system;
    ostrel::Win32Shell shell;
    ostrel::SysHotKeyWindow hotKeyWindow;
    ostrel::TrayIconWindow trayWindow;
    ostrel::Win32HookLibrary hook;
    ostrel::Win32Keyboard keyboard([] { ostrel::tk::Application::Get().ProcessMessages(); });
    ostrel::Win32CodePage codePage;
    ostrel::Win32Registry registry;
    ostrel::Win32ShellLink links;
    ostrel::Win32Clipboard clipboard;
    ostrel::Win32Programs programs;
    ostrel::TOstrelForm form({files, windows, system, shell, hotKeyWindow, trayWindow, hook,
                              keyboard, codePage, ostrel::LocaleCollate, registry, links, clipboard,
                              programs});
    // The only copy carries out its own command line once its set-up is done.
    form.Controller().QueueStartRequest(request);
    app.SetMainForm(&form);
    code = app.Run();
    app.SetMainForm(nullptr);
  }
  app.SetContrast(nullptr);
  OleUninitialize();
  return code;
}
