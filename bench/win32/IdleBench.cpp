// idle: CPU time the real Ostrel.exe spends over a quiet window, without and with
// OLWATCH.DLL beside it. Target: nothing, as it never polls.
#include "bench/win32/BenchSupport.h"

#include <tlhelp32.h>

#include <cstdio>

#include "support/win32/OstrelLaunch.h"

namespace ostrel::bench {
namespace {

double FileTimeMs(const FILETIME& t) {
  ULARGE_INTEGER u;
  u.LowPart = t.dwLowDateTime;
  u.HighPart = t.dwHighDateTime;
  return static_cast<double>(u.QuadPart) / 10000.0;
}

// Kernel and user time of every thread of a process. Under Wine, GetProcessTimes on
// another process answers with the caller's own times, while each thread's times are
// read from the system, so the threads are summed (the same sum on Windows).
// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
bool ProcessCpuMs(DWORD pid, double& ms, int& threads) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return false;
  ms = 0;
  threads = 0;
  THREADENTRY32 te{};
  te.dwSize = sizeof te;
  for (BOOL more = Thread32First(snap, &te); more; more = Thread32Next(snap, &te)) {
    if (te.th32OwnerProcessID != pid) continue;
    HANDLE th = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, te.th32ThreadID);
    if (!th) continue;
    FILETIME c, e, k, u;
    if (GetThreadTimes(th, &c, &e, &k, &u)) {
      ms += FileTimeMs(k) + FileTimeMs(u);
      ++threads;
    }
    CloseHandle(th);
  }
  CloseHandle(snap);
  return threads > 0;
}

bool ModuleLoaded(DWORD pid, const char* name) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snap == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32 me{};
  me.dwSize = sizeof me;
  bool found = false;
  for (BOOL more = Module32First(snap, &me); more && !found; more = Module32Next(snap, &me))
    found = lstrcmpiA(me.szModule, name) == 0;
  CloseHandle(snap);
  return found;
}

// Runs Ostrel.exe from a fresh folder, lets it settle, and samples its CPU time in 500 ms
// slices over `seconds`.
bool IdleRun(double seconds, bool withLibrary, double settleMs) {
  const std::string bin = ExeFolder();
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  OstrelCopy copy(std::string(temp) + "ostrel-bench-idle-" + std::to_string(GetCurrentProcessId()) +
                  (withLibrary ? "-lib\\" : "\\"));
  const char* label = withLibrary ? "idle CPU per 500 ms, OLWATCH.DLL attached"
                                  : "idle CPU per 500 ms, no hook library";
  // A few definitions, no keys: nothing at start-up can ask for a click.
  if (!copy.Lay(bin, withLibrary,
                KeysFileBytes({Definition(6, "Configuration", ""), Definition(7, "Menu", "Tools"),
                               Definition(1, "Windows", "Tools")}))) {
    copy.Remove();
    return Fail(copy.Error());
  }
  if (withLibrary && !copy.HasLibrary()) {
    copy.Remove();
    std::printf("%-52s  (no OLWATCH.DLL in %s: not measured)\n", label, bin.c_str());
    return true;
  }
  if (!copy.Start()) {
    copy.Remove();
    return Fail(copy.Error());
  }
  bool ok = true;
  const double started = NowMs();
  const DWORD pid = copy.Pid();
  const HWND window = copy.WaitForWindow(15000);
  std::vector<double> slices;
  double total = 0, startUp = 0;
  int threads = 0;
  bool libraryIn = false;
  if (!window) {
    ok = Fail(copy.Error());
  } else {
    const double shownAfter = NowMs() - started;
    Sleep(static_cast<DWORD>(settleMs));
    libraryIn = ModuleLoaded(pid, "OLWATCH.DLL");
    if (withLibrary && !libraryIn) ok = Fail("Ostrel.exe did not load OLWATCH.DLL");
    double first = 0, last = 0;
    if (!ProcessCpuMs(pid, first, threads)) ok = Fail("cannot read Ostrel.exe's CPU");
    last = first;
    const double t0 = NowMs();
    for (int s = 1; ok && s <= static_cast<int>(seconds * 2 + 0.5); ++s) {
      const double due = t0 + s * 500.0;
      while (NowMs() < due) Sleep(static_cast<DWORD>(due - NowMs()) + 1);
      double now = 0;
      int n = 0;
      if (!ProcessCpuMs(pid, now, n)) {
        ok = Fail("Ostrel.exe ended during the idle measure");
        break;
      }
      slices.push_back(now - last);
      last = now;
    }
    total = last - first;
    startUp = first;
    std::printf("%-52s  window visible after %.0f ms, then %.0f ms to settle\n",
                withLibrary ? "start-up (with OLWATCH.DLL)" : "start-up", shownAfter, settleMs);
  }
  // Message 0x2262 ends the program as the end of a session does.
  if (!copy.End(5000)) ok = Fail(copy.Error());
  copy.Remove();

  PrintRow(label, slices, "0");
  char line[160];
  std::snprintf(line, sizeof line,
                "total over %.1f s: %.1f ms CPU (start-up before it: %.1f ms), %d threads, "
                "OLWATCH.DLL %s",
                seconds, total, startUp, threads, libraryIn ? "loaded" : "not loaded");
  Note(line);
  return ok;
}

}  // namespace

bool BenchIdle(double seconds, double settleMs) {
  const bool plain = IdleRun(seconds, false, settleMs);
  const bool hooked = IdleRun(seconds, true, settleMs);
  return plain && hooked;
}

}  // namespace ostrel::bench
