// smoketest: starts the real Ostrel.exe on a Windows desktop, as a user would, and ends it.
// A copy of the program (and OLWATCH.DLL) goes into a fresh folder under %TEMP% beside a
// Keys.fil of three definitions; the copy must show them in its tree (one group and its
// three names), end on its terminate message within 10 s and leave Keys.fil byte for byte
// as it was. A start-up link that the copy renewed for itself is put back as it was.
//   smoketest [<folder of Ostrel.exe>]     (this program's own folder by default)
// Exits 0 when all of that held; otherwise says what did not, and keeps the folder.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "catalogue/FunCatalogue.h"
#include "catalogue/KeyRec.h"
#include "platform/HookLibraryProtocol.h"

namespace {

using namespace ostrel;

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

// The group and names in the order the program keeps them, so its own save at start-up
// writes the same bytes again.
std::string SampleKeysFil() {
  std::string bytes;
  const std::pair<const char*, std::int32_t> defs[] = {
      {"Desktop", ftHideShowDesktop}, {"Minimise", ftMinimizeAll}, {"Notepad", ftRunProgram}};
  for (const auto& [name, type] : defs) {
    TKeyRec rec = NewKeyRec(type);
    rec.Name.assign(name);
    rec.Group.assign("Smoke");
    if (type == ftRunProgram) rec.Target.assign("notepad.exe");
    bytes.append(reinterpret_cast<const char*>(&rec), sizeof rec);
  }
  return bytes;
}

int Fail(const std::string& what, const std::string& dir) {
  std::printf("FAIL: %s (the copy is in %s)\n", what.c_str(), dir.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH] = {}, temp[MAX_PATH] = {}, programs[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string from = argc > 1 ? std::string(argv[1]) + "\\" : std::string(self);
  from.erase(from.find_last_of("\\/") + 1);
  GetTempPathA(MAX_PATH, temp);
  const std::string dir =
      std::string(temp) + "Ostrel smoke " + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  if (!CopyFileA((from + "Ostrel.exe").c_str(), (dir + "Ostrel.exe").c_str(), FALSE))
    return Fail("no Ostrel.exe in " + from, dir);
  CopyFileA((from + "OLWATCH.DLL").c_str(), (dir + "OLWATCH.DLL").c_str(), FALSE);
  const std::string keys = SampleKeysFil();
  if (!WriteFile(dir + "Keys.fil", keys)) return Fail("cannot write Keys.fil", dir);
  std::string link;
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs)))
    link = std::string(programs) + "\\Startup\\Ostrel.lnk";
  const std::optional<std::string> linkBefore = link.empty() ? std::nullopt : ReadFile(link);

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + dir + "Ostrel.exe\"";
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi))
    return Fail("Ostrel.exe did not start", dir);
  HWND form = nullptr;
  LRESULT nodes = 0;
  for (DWORD start = GetTickCount(); nodes != 4 && GetTickCount() - start < 20000; Sleep(100)) {
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
      return Fail("Ostrel.exe ended by itself (another Ostrel runs in this session?)", dir);
    DWORD pid = 0;
    form = nullptr;
    do form = FindWindowExA(nullptr, form, "TOstrelForm", nullptr);
    while (form && (GetWindowThreadProcessId(form, &pid), pid != pi.dwProcessId));
    HWND tree = form ? FindWindowExA(form, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
    DWORD_PTR count = 0;
    if (tree && SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count))
      nodes = static_cast<LRESULT>(count);
  }
  if (!form) return Fail("Ostrel.exe showed no window within 20 s", dir);
  std::printf("Ostrel's window is up, its tree holds %ld nodes\n", static_cast<long>(nodes));
  PostMessageA(form, MSG_TERMINATE, 0, 0);
  const bool ended = WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (linkBefore && ReadFile(link) != linkBefore) WriteFile(link, *linkBefore);

  std::ostringstream faults;
  if (nodes != 4)
    faults << "the tree held " << nodes << " nodes, not the group and its three names; ";
  if (!ended) faults << "Ostrel.exe did not end on message 0x2262 within 10 s; ";
  if (ReadFile(dir + "Keys.fil") != keys) faults << "Keys.fil changed; ";
  for (const char* left : {"Keys.fil.new", "Keys.fil.bak"})
    if (GetFileAttributesA((dir + left).c_str()) != INVALID_FILE_ATTRIBUTES)
      faults << left << " was left; ";
  if (!faults.str().empty()) return Fail(faults.str(), dir);
  for (const char* f : {"Ostrel.exe", "OLWATCH.DLL", "Keys.fil"}) DeleteFileA((dir + f).c_str());
  RemoveDirectoryA(dir.c_str());
  std::printf("smoke test passed: started, ended on its terminate message, Keys.fil unchanged\n");
  return 0;
}
