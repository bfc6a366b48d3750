// Program entry: the application object, the main window, the message loop.
#include <windows.h>

#include "app/win32/OstrelForm.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  auto& app = ostrel::tk::Application::Get();
  app.Initialize(instance);
  app.title = "Ostrel";
  ostrel::TOstrelForm form;
  app.SetMainForm(&form);
  return app.Run();
}
