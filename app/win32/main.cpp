// Program entry, the one place that builds the program: one copy per session, the
// application object, the platform's adapters, the main window, the message loop.
#include <windows.h>

#include <ole2.h>

#include "app/OneCopy.h"
#include "app/win32/Adapters.h"
#include "app/win32/OstrelForm.h"
#include "platform/win32/Win32Contrast.h"
#include "platform/win32/Win32OneCopy.h"
#include "platform/win32/Win32Ports.h"
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
    // Made before the window and gone after it (see Adapters.h).
    ostrel::Win32Adapters adapters;
    ostrel::TOstrelForm form(adapters.Ports());
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
