// optprobe: looks at the start-up options of a running Ostrel from another process.
//   optprobe check <id>     the check box <id> of the configuration window: "checked=0|1"
//   optprobe where <id>     the screen point at the middle of the box's square: "x y"
//   optprobe link <path>    a shell link read through IShellLinkA: its target, working
//                           folder, arguments and description, and the show command the
//                           file's header holds; exits 1 when the file is not there
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND Control(const char* id) {
  HWND form = FindWindowA("TOstrelForm", nullptr);
  return form ? GetDlgItem(form, std::atoi(id)) : nullptr;
}

int Link(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 1;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return 2;
  IPersistFile* file = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  if (!file || FAILED(file->Load(wide, STGM_READ))) return 2;
  char target[MAX_PATH] = {}, dir[MAX_PATH] = {}, args[MAX_PATH] = {}, desc[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, 0);
  link->GetWorkingDirectory(dir, MAX_PATH);
  link->GetArguments(args, MAX_PATH);
  link->GetDescription(desc, MAX_PATH);
  file->Release();
  link->Release();
  // Wine's link object does not report the show command it loaded: read the header.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  BYTE header[0x4C] = {};
  DWORD got = 0;
  HANDLE h =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ReadFile(h, header, sizeof header, &got, nullptr);
  CloseHandle(h);
  std::printf("target=%s\ndir=%s\nargs=[%s]\ndesc=%s\nshow=%d\n", target, dir, args, desc,
              got == sizeof header ? header[0x3C] : -1);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: optprobe check|where <id> | link <path>\n");
    return 2;
  }
  const std::string cmd = argv[1];
  if (cmd == "link") return Link(argv[2]);
  HWND box = Control(argv[2]);
  if (!box) return 1;
  if (cmd == "check") {
    std::printf("checked=%d\n", SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    return 0;
  }
  if (cmd == "where") {
    RECT r;
    GetWindowRect(box, &r);
    // The square sits at the left end of the box.
    std::printf("%ld %ld\n", r.left + 7, (r.top + r.bottom) / 2);
    return 0;
  }
  return 2;
}
