// menunames.dll: a test hook library that reads a running program's menus from inside
// its process, as a screen reader would, for the end-to-end tests (another process
// cannot read a popup's items). olprobe's "hook" command sets it on the program's thread
// as a WH_CALLWNDPROC hook, which loads it there. The first time an owner-drawn menu
// draws an item, the library writes that menu, its submenus included, to a file beside
// itself (menunames.dll -> menunames.txt), one item a line, indented by depth:
//   <string of the item> [<text of its MSAAMENUINFO>]   or [no MSAAMENUINFO]
// and "-" for a separator; each menu starts with a line "menu". The item data is read
// with ReadProcessMemory, so data that is no such block fails a check, not the program.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "components/win32/Menus97Names.h"

namespace {

HMODULE g_self = nullptr;
std::set<HMENU> g_written;

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0u, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

bool ReadOwn(const void* at, void* into, std::size_t size) {
  SIZE_T got = 0;
  return ReadProcessMemory(GetCurrentProcess(), at, into, size, &got) && got == size;
}

// The text of the MSAAMENUINFO that `data` points to; false when it is none.
bool MsaaName(ULONG_PTR data, std::wstring& name) {
  MSAAMENUINFO info{};
  if (!data || !ReadOwn(reinterpret_cast<const void*>(data), &info, sizeof info)) return false;
  if (info.dwMSAASignature != MSAA_MENU_SIG || info.cchWText > 4096 || !info.pszWText)
    return false;
  name.assign(info.cchWText + 1, L'\0');
  if (!ReadOwn(info.pszWText, name.data(), name.size() * sizeof(wchar_t))) return false;
  if (name.back() != L'\0') return false;  // the text must end where its length says
  name.pop_back();
  return true;
}

void Write(HMENU menu, int depth, std::string& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[512] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 511;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    if (info.fType & MFT_SEPARATOR) {
      out += "-\n";
      continue;
    }
    std::wstring name;
    out += Utf8(text) + (MsaaName(info.dwItemData, name) ? " [" + Utf8(name) + "]\n"
                                                          : std::string(" [no MSAAMENUINFO]\n"));
    if (info.hSubMenu) Write(info.hSubMenu, depth + 1, out);
  }
}

void WriteMenu(HMENU menu) {
  if (!IsMenu(menu) || !g_written.insert(menu).second) return;
  std::string out = "menu\n";
  Write(menu, 0, out);
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(g_self, path, MAX_PATH);
  if (n < 4 || n >= MAX_PATH) return;
  std::string file(path, n - 4);
  file += ".txt";
  if (FILE* f = std::fopen(file.c_str(), "ab")) {
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK CallWndProc(int code, WPARAM wp, LPARAM lp) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && sent && sent->message == WM_DRAWITEM) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(sent->lParam);
    if (dis && dis->CtlType == ODT_MENU) WriteMenu(reinterpret_cast<HMENU>(dis->hwndItem));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  return TRUE;
}
