// Program entry: one copy per session, the application object, the main window, the
// message loop.
#include <windows.h>

#include <ole2.h>

#include "app/OneCopy.h"
#include "app/win32/OstrelForm.h"
#include "platform/win32/Win32Contrast.h"
#include "platform/win32/Win32OneCopy.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything else: a second copy ends here, having asked the first for its
  // window, and has touched nothing of the first's.
  ostrel::Win32OneCopy oneCopy;
  {
    ostrel::Win32Windows windows;
    ostrel::Win32System system;
    if (!ostrel::ClaimOnlyCopy(oneCopy, windows, system)) return 0;
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
    ostrel::TOstrelForm form;
    app.SetMainForm(&form);
    code = app.Run();
    app.SetMainForm(nullptr);
  }
  app.SetContrast(nullptr);
  OleUninitialize();
  return code;
}
