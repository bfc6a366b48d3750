// Opens the function chooser on its own, to look at it in the Wine desktop:
//   chooserhost.exe
// The exit code is the modal result (1 OK, 2 Cancel) times 100 plus the chosen
// function type (0 when none was chosen).
#include <windows.h>

#include <cstdint>
#include <string>

#include "dialogs/win32/FunctionChooserWindow.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ostrel::tk::Application::Get().Initialize(instance);
  std::int32_t chosen = -1;
  std::string name;
  const int result = ostrel::ShowFunctionChooser(nullptr, chosen, name);
  return result * 100 + (chosen > 0 ? chosen : 0);
}
