#include "support/win32/OstrelLaunch.h"

#include <fstream>
#include <utility>

#include "platform/HookLibraryProtocol.h"

namespace ostrel {
namespace {

struct Search {
  DWORD pid;
  const char* className;
  HWND found;
};

BOOL CALLBACK Match(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (owner != s->pid || !IsWindowVisible(h) || lstrcmpiA(cls, s->className) != 0) return TRUE;
  s->found = h;
  return FALSE;
}

std::string Seconds(DWORD ms) { return std::to_string(ms / 1000) + " s"; }

}  // namespace

HWND VisibleWindowOf(DWORD pid, const char* className) {
  Search s{pid, className, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

OstrelCopy::OstrelCopy(std::string folder) : folder_(std::move(folder)) {
  CreateDirectoryA(folder_.c_str(), nullptr);
}

OstrelCopy::~OstrelCopy() { Kill(); }

bool OstrelCopy::Failed(std::string why) {
  error_ = std::move(why);
  return false;
}

bool OstrelCopy::Lay(const std::string& from, bool library, const std::string& keysFil) {
  if (!CopyFileA((from + "Ostrel.exe").c_str(), (folder_ + "Ostrel.exe").c_str(), FALSE))
    return Failed("no Ostrel.exe in " + from + " to copy into " + folder_);
  library_ = library &&
             CopyFileA((from + "OLWATCH.DLL").c_str(), (folder_ + "OLWATCH.DLL").c_str(), FALSE);
  std::ofstream out(folder_ + "Keys.fil", std::ios::binary | std::ios::trunc);
  if (!out.write(keysFil.data(), static_cast<std::streamsize>(keysFil.size())) || !out.flush())
    return Failed("cannot write " + folder_ + "Keys.fil");
  return true;
}

bool OstrelCopy::Start() {
  std::string command = "\"" + folder_ + "Ostrel.exe\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                      &si, &pi_)) {
    pi_ = {};
    return Failed("cannot start " + folder_ + "Ostrel.exe");
  }
  return true;
}

HWND OstrelCopy::WaitForWindow(DWORD limitMs) {
  if (!pi_.hProcess) {
    Failed("Ostrel.exe was not started");
    return nullptr;
  }
  const DWORD start = GetTickCount();
  while (!(window_ = VisibleWindowOf(pi_.dwProcessId, "TOstrelForm"))) {
    if (WaitForSingleObject(pi_.hProcess, 100) == WAIT_OBJECT_0) {
      Failed(
          "Ostrel.exe ended by itself before it showed its window (another Ostrel runs in "
          "this session?)");
      return nullptr;
    }
    if (GetTickCount() - start >= limitMs) {
      Failed("Ostrel.exe showed no configuration window within " + Seconds(limitMs));
      return nullptr;
    }
  }
  return window_;
}

bool OstrelCopy::End(DWORD limitMs) {
  if (!pi_.hProcess) return true;
  if (!window_) {
    Kill();
    return Failed("Ostrel.exe had no window to take its terminate message; it was killed");
  }
  PostMessageA(window_, MSG_TERMINATE, 0, 0);
  if (WaitForSingleObject(pi_.hProcess, limitMs) != WAIT_OBJECT_0) {
    Kill();
    return Failed("Ostrel.exe did not end on message 0x2262 within " + Seconds(limitMs) +
                  "; it was killed");
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
  pi_ = {};
  return true;
}

void OstrelCopy::Kill() {
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
  pi_ = {};
}

void OstrelCopy::Remove() {
  Kill();
  for (int attempt = 0; attempt < 20; ++attempt) {
    for (const char* name :
         {"Ostrel.exe", "OLWATCH.DLL", "Keys.fil", "Keys.fil.bak", "Keys.fil.new"})
      DeleteFileA((folder_ + name).c_str());
    if (RemoveDirectoryA(folder_.c_str())) return;
    Sleep(100);
  }
}

}  // namespace ostrel
