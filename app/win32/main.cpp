// Program entry: the application object, the main window, the message loop.
#include <windows.h>

#include <ole2.h>

#include "app/win32/OstrelForm.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The start-up link is written through the shell's in-process link object.
  OleInitialize(nullptr);
  auto& app = ostrel::tk::Application::Get();
  app.Initialize(instance);
  app.title = "Ostrel";
  int code;
  {
    ostrel::TOstrelForm form;
    app.SetMainForm(&form);
    code = app.Run();
    app.SetMainForm(nullptr);
  }
  OleUninitialize();
  return code;
}
