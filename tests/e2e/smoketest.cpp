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
#include "support/win32/OstrelLaunch.h"

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
constexpr const char* kSampleTree = "Smoke(Desktop Minimise Notepad)";

// The tree of another process's window as text: each item's text, its children in
// brackets after it. The item is read through a buffer in that process, where the tree
// control writes it.
class RemoteTree {
 public:
  RemoteTree(HWND tree, HANDLE process) : tree_(tree), process_(process) {
    remote_ = static_cast<char*>(
        VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteTree() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  }
  RemoteTree(const RemoteTree&) = delete;
  RemoteTree& operator=(const RemoteTree&) = delete;

  std::string Outline() {
    if (!tree_) return "(no tree)";
    return remote_ ? Items(Next(nullptr, TVGN_ROOT)) : "(unreadable)";
  }

 private:
  static constexpr SIZE_T kSize = 4096;
  static constexpr int kTextMax = 256;

  HTREEITEM Next(HTREEITEM item, WPARAM how) {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item),
                        SMTO_ABORTIFHUNG, 2000, &r);
    return reinterpret_cast<HTREEITEM>(r);
  }

  std::string Text(HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remote_ + sizeof tv;
    tv.cchTextMax = kTextMax;
    char text[kTextMax + 1] = {};
    DWORD_PTR ok = 0;
    if (!WriteProcessMemory(process_, remote_, &tv, sizeof tv, nullptr) ||
        !SendMessageTimeoutA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_),
                             SMTO_ABORTIFHUNG, 2000, &ok) ||
        !ok || !ReadProcessMemory(process_, remote_ + sizeof tv, text, kTextMax, nullptr))
      return "?";
    return text;
  }

  // The items from `item` on, with their children.
  std::string Items(HTREEITEM item) {
    std::string out;
    for (int n = 0; item && n < 100; item = Next(item, TVGN_NEXT), ++n) {
      if (!out.empty()) out += ' ';
      out += Text(item);
      if (HTREEITEM child = Next(item, TVGN_CHILD)) out += "(" + Items(child) + ")";
    }
    return out;
  }

  HWND tree_;
  HANDLE process_;
  char* remote_ = nullptr;
};

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
  OstrelCopy copy(std::string(temp) + "Ostrel smoke " + std::to_string(GetCurrentProcessId()) +
                  "\\");
  const std::string& dir = copy.Folder();
  const std::string keys = SampleKeysFil();
  if (!copy.Lay(from, true, keys)) return Fail(copy.Error(), dir);
  std::string link;
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs)))
    link = std::string(programs) + "\\Startup\\Ostrel.lnk";
  const std::optional<std::string> linkBefore = link.empty() ? std::nullopt : ReadFile(link);

  if (!copy.Start()) return Fail(copy.Error(), dir);
  const HWND form = copy.WaitForWindow(20000);
  if (!form) return Fail(copy.Error(), dir);
  // The tree is filled by the set-up after the window shows: 10 s at most.
  std::string outline;
  {
    RemoteTree tree(FindWindowExA(form, nullptr, WC_TREEVIEWA, nullptr), copy.Process());
    for (DWORD start = GetTickCount();
         (outline = tree.Outline()) != kSampleTree && GetTickCount() - start < 10000;)
      Sleep(100);
  }
  std::printf("Ostrel's window is up, its tree shows %s\n", outline.c_str());
  const bool ended = copy.End(10000);
  if (linkBefore && ReadFile(link) != linkBefore) WriteFile(link, *linkBefore);

  std::ostringstream faults;
  if (outline != kSampleTree)
    faults << "within 10 s the tree showed \"" << outline << "\", not \"" << kSampleTree
           << "\"; ";
  if (!ended) faults << copy.Error() << "; ";
  if (ReadFile(dir + "Keys.fil") != keys) faults << "Keys.fil changed; ";
  for (const char* left : {"Keys.fil.new", "Keys.fil.bak"})
    if (GetFileAttributesA((dir + left).c_str()) != INVALID_FILE_ATTRIBUTES)
      faults << left << " was left; ";
  if (!faults.str().empty()) return Fail(faults.str(), dir);
  copy.Remove();
  std::printf("smoke test passed: started, showed its definitions, ended on its terminate "
              "message, Keys.fil unchanged\n");
  return 0;
}
