#include "app/win32/HelpPage.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "app/HelpPage.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Dialogs.h"

namespace ostrel {

namespace {

// The address is made from the path in UTF-8, as browsers read a file address.
std::string Utf8FromAnsi(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (n <= 0) return text;
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), n);
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  if (m <= 0) return text;
  std::string out(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

// The command registered to open `kind` (".htm" files, or "http" addresses) with the
// address placed in it; empty when no program is registered.
std::string BrowserCommand(const char* kind, const std::string& address) {
  char registered[2048];
  DWORD size = sizeof registered;
  if (AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, kind, "open", registered, &size) !=
      S_OK)
    return {};
  char expanded[4096];
  const DWORD n = ExpandEnvironmentStringsA(registered, expanded, sizeof expanded);
  return HelpCommandLine(n > 0 && n <= sizeof expanded ? expanded : registered, address);
}

bool Run(std::string command) {
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                      &process))
    return false;
  // Nothing waits for the browser: both handles go at once.
  const KernelHandle thread(process.hThread), browser(process.hProcess);
  return true;
}

}  // namespace

void OpenHelpPage(HWND owner, int context) {
  const std::string module = ProgramFilePath();
  const std::string page = HelpPagePath(module);
  if (GetFileAttributesA(page.c_str()) == INVALID_FILE_ATTRIBUTES) {
    tk::ShowMessage(owner, tk::MessageKind::mtError,
                    "The help page " + page + " is missing. It belongs beside Ostrel.exe.");
    return;
  }
  const std::string address = HelpPageAddress(Utf8FromAnsi(module), context);
  for (const char* kind : {".htm", "http"}) {
    const std::string command = BrowserCommand(kind, address);
    if (!command.empty() && Run(command)) return;
  }
  if (reinterpret_cast<INT_PTR>(
          ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
    return;
  tk::ShowMessage(owner, tk::MessageKind::mtError,
                  "Cannot open the help page " + page + ": no program to show it was found.");
}

}  // namespace ostrel
