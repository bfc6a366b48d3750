#include "app/win32/HelpPage.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "app/HelpPage.h"
#include "toolkit/Dialogs.h"

namespace ostrel {

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string Narrow(const std::wstring& text, UINT codePage) {
  int n = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

// The command registered to open `kind` (".htm" files, or "http" addresses), with the
// address in place of its "%1" (or "%L"), or after it when it names no place for one. The
// address holds no blank or quote, so it needs no quoting of its own. Empty when no
// program is registered.
std::wstring BrowserCommand(const wchar_t* kind, const std::wstring& address) {
  wchar_t buffer[2048];
  DWORD size = ARRAYSIZE(buffer);
  if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, kind, L"open", buffer, &size) != S_OK)
    return {};
  wchar_t expanded[4096];
  DWORD n = ExpandEnvironmentStringsW(buffer, expanded, ARRAYSIZE(expanded));
  std::wstring command = n > 0 && n <= ARRAYSIZE(expanded) ? expanded : buffer;
  bool placed = false;
  for (std::size_t at = 0; (at = command.find(L'%', at)) != std::wstring::npos;) {
    const wchar_t next = at + 1 < command.size() ? command[at + 1] : L'\0';
    if (next == L'1' || next == L'L' || next == L'l') {
      command.replace(at, 2, address);
      at += address.size();
      placed = true;
    } else if (next == L'*') {
      command.erase(at, 2);
    } else {
      ++at;
    }
  }
  if (!placed) command += L" " + address;
  return command;
}

bool Run(std::wstring command) {
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &start, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

void OpenHelpPage(HWND owner, int context) {
  const std::wstring module = ModulePath();
  const std::wstring pageName(kHelpPageName.begin(), kHelpPageName.end());
  const std::wstring widePage = module.substr(0, module.find_last_of(L"\\/:") + 1) + pageName;
  const std::string page = Narrow(widePage, CP_ACP);
  if (GetFileAttributesW(widePage.c_str()) == INVALID_FILE_ATTRIBUTES) {
    tk::ShowMessage(owner, tk::MessageKind::mtError,
                    "The help page " + page + " is missing. It belongs beside Ostrel.exe.");
    return;
  }
  const std::string address = HelpPageAddress(Narrow(module, CP_UTF8), context);
  const std::wstring wideAddress(address.begin(), address.end());  // plain ASCII
  for (const wchar_t* kind : {L".htm", L"http"}) {
    const std::wstring command = BrowserCommand(kind, wideAddress);
    if (!command.empty() && Run(command)) return;
  }
  if (reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr,
                                              SW_SHOWNORMAL)) > 32)
    return;
  tk::ShowMessage(owner, tk::MessageKind::mtError,
                  "Cannot open the help page " + page + ": no program to show it was found.");
}

}  // namespace ostrel
