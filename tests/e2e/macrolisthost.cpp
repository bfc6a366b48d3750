// Opens the macro-menu editor on its own, for the end-to-end tests:
//   macrolisthost.exe <list file> [<help log>]
// The dialog edits the list file; each help request is appended to the help log as
// "help <context>". The exit code is the dialog's modal result.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "macro/win32/MacroListEditorWindow.h"
#include "platform/win32/Win32Files.h"
#include "toolkit/Application.h"

namespace {

std::string FullPath(const char* path) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path, MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(full, n) : std::string(path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 2) {
    MessageBoxA(nullptr, "usage: macrolisthost <list file> [<help log>]", "macrolisthost", MB_OK);
    return 100;
  }
  ostrel::tk::Application::Get().Initialize(instance);
  const std::string list = FullPath(__argv[1]);
  const std::string helpLog = __argc > 2 ? FullPath(__argv[2]) : std::string();
  ostrel::Win32FileSystem files;
  return ostrel::EditMacroList(nullptr, files, list, [&](int context) {
    if (helpLog.empty()) return;
    if (FILE* f = std::fopen(helpLog.c_str(), "ab")) {
      std::fprintf(f, "help %d\r\n", context);
      std::fclose(f);
    }
  });
}
