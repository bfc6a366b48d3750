// menunames.dll: reads a running program's menus inside its process, as a screen reader
// does, for the end-to-end tests. olprobe's "hook" sets it on the program's thread as a
// WH_CALLWNDPROC hook, which loads it there. At an owner-drawn menu's first drawn item
// it appends that menu, submenus included, to menunames.txt beside itself: a line
// "menu", then per item (indented by depth) "<its string> [<its MSAAMENUINFO text>]",
// "[no MSAAMENUINFO]" or "-" for a separator. Item data is read with ReadProcessMemory,
// so data that is no such block fails the test, not the program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "components/win32/Menus97Names.h"

namespace {

HMODULE g_self = nullptr;
std::set<HMENU> g_written;

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(static_cast<std::size_t>(std::max(
      0, WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                             static_cast<int>(out.size()), nullptr, nullptr))));
  return out;
}

bool ReadOwn(const void* at, void* into, std::size_t size) {
  SIZE_T got = 0;
  return ReadProcessMemory(GetCurrentProcess(), at, into, size, &got) && got == size;
}

std::string MsaaName(ULONG_PTR data) {
  MSAAMENUINFO info{};
  std::wstring name;
  if (data && ReadOwn(reinterpret_cast<const void*>(data), &info, sizeof info) &&
      info.dwMSAASignature == MSAA_MENU_SIG && info.cchWText <= 4096) {
    name.assign(info.cchWText + 1, L'?');
    // The text must end where its length says.
    if (ReadOwn(info.pszWText, name.data(), name.size() * sizeof(wchar_t)) && !name.back()) {
      name.pop_back();
      return "[" + Utf8(name) + "]";
    }
  }
  return "[no MSAAMENUINFO]";
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
    out += info.fType & MFT_SEPARATOR ? "-\n" : Utf8(text) + " " + MsaaName(info.dwItemData) + "\n";
    if (info.hSubMenu) Write(info.hSubMenu, depth + 1, out);
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK CallWndProc(int code, WPARAM wp, LPARAM lp) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
  const auto* dis = sent && sent->message == WM_DRAWITEM
                        ? reinterpret_cast<const DRAWITEMSTRUCT*>(sent->lParam)
                        : nullptr;
  const auto menu =
      dis && dis->CtlType == ODT_MENU ? reinterpret_cast<HMENU>(dis->hwndItem) : nullptr;
  if (code == HC_ACTION && IsMenu(menu) && g_written.insert(menu).second) {
    std::string out = "menu\n";
    Write(menu, 0, out);
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(g_self, path, MAX_PATH);
    FILE* f = n > 4 && n < MAX_PATH ? std::fopen((std::string(path, n - 4) + ".txt").c_str(), "ab")
                                    : nullptr;
    if (f) {
      std::fwrite(out.data(), 1, out.size(), f);
      std::fclose(f);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  return TRUE;
}
