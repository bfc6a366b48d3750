// The real Ostrel.exe started as a user would, for the smoke test and the bench: a copy
// of the program (and OLWATCH.DLL, when asked for and there) in a fresh folder beside a
// Keys.fil, started there, its configuration window found, and ended by its terminate
// message. Every wait has a limit; a step that fails says in Error() what it did not get.
#pragma once

#include <windows.h>

#include <string>

namespace ostrel {

// The first visible top-level window of that class (any case) that the process owns.
HWND VisibleWindowOf(DWORD pid, const char* className);

class OstrelCopy {
 public:
  // `folder` ends in a backslash; it is made here if it is not there.
  explicit OstrelCopy(std::string folder);
  // A copy still running is killed; the folder stays until Remove.
  ~OstrelCopy();
  OstrelCopy(const OstrelCopy&) = delete;
  OstrelCopy& operator=(const OstrelCopy&) = delete;

  // Copies Ostrel.exe from `from` (a folder ending in a backslash) and, with `library`,
  // OLWATCH.DLL where `from` has one; then writes `keysFil` as Keys.fil.
  bool Lay(const std::string& from, bool library, const std::string& keysFil);
  bool HasLibrary() const { return library_; }

  bool Start();
  // Waits until the copy shows its configuration window, `limitMs` at most, and fails
  // at once when the copy ends first.
  HWND WaitForWindow(DWORD limitMs);
  // Posts the terminate message to the window and waits `limitMs` at most for the
  // process to end; one that does not is killed, and the answer is false.
  bool End(DWORD limitMs);

  DWORD Pid() const { return pi_.dwProcessId; }
  HANDLE Process() const { return pi_.hProcess; }
  const std::string& Folder() const { return folder_; }
  const std::string& Error() const { return error_; }

  // Deletes what was laid and what the program leaves beside it, then the folder
  // (retried for 2 s while the ended process lets go of its files).
  void Remove();

 private:
  bool Failed(std::string why);
  void Kill();

  std::string folder_;
  std::string error_;
  bool library_ = false;
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

}  // namespace ostrel
