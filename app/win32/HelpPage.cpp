#include "app/win32/HelpPage.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <memory>
#include <string>

#include "app/HelpPage.h"
#include "toolkit/Dialogs.h"

namespace ostrel {

namespace {

std::string ModulePath() {
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return n > 0 && n < sizeof path ? std::string(path, n) : std::string();
}

// The address is made from the path in UTF-8, as browsers read a file address.
std::string Utf8FromAnsi(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (n <= 0) return text;
  std::unique_ptr<wchar_t[]> wide(new wchar_t[n]);
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.get(), n);
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide.get(), n, nullptr, 0, nullptr, nullptr);
  if (m <= 0) return text;
  std::string out(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.get(), n, out.data(), m, nullptr, nullptr);
  return out;
}

// The command registered to open `kind` (".htm" files, or "http" addresses), with the
// address in place of its "%1" (or "%L"), or after it when it names no place for one. The
// address holds no blank or quote, so it needs no quoting of its own. Empty when no
// program is registered.
std::string BrowserCommand(const char* kind, const std::string& address) {
  char registered[2048];
  DWORD size = sizeof registered;
  if (AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, kind, "open", registered, &size) !=
      S_OK)
    return {};
  char expanded[4096];
  const DWORD n = ExpandEnvironmentStringsA(registered, expanded, sizeof expanded);
  std::string command = n > 0 && n <= sizeof expanded ? expanded : registered;
  bool placed = false;
  for (std::size_t at = 0; (at = command.find('%', at)) != std::string::npos;) {
    const char next = at + 1 < command.size() ? command[at + 1] : '\0';
    if (next == '1' || next == 'L' || next == 'l') {
      command.replace(at, 2, address);
      at += address.size();
      placed = true;
    } else if (next == '*') {
      command.erase(at, 2);
    } else {
      ++at;
    }
  }
  if (!placed) command += " " + address;
  return command;
}

bool Run(std::string command) {
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

void OpenHelpPage(HWND owner, int context) {
  const std::string module = ModulePath();
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
  if (reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr,
                                              SW_SHOWNORMAL)) > 32)
    return;
  tk::ShowMessage(owner, tk::MessageKind::mtError,
                  "Cannot open the help page " + page + ": no program to show it was found.");
}

}  // namespace ostrel
