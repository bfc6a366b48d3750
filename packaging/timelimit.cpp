// timelimit.exe <seconds> <program> [arguments...]: runs the program with this console
// and its standard handles, and ends it (with every process it started) when it is still
// running after that many seconds. The self-test's runner starts each test program
// through it, so a program that hangs counts as failed and the runner still prints its
// summary. Exit code: the program's; 1 when it was ended (or could not be started), and
// the console says why. Plain Win32 (a job object), so the same on Windows and Wine.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/Handles.h"

namespace {

// The rest of a command line after its first `count` arguments, as Windows splits them
// (an argument in double quotes may hold blanks).
const char* SkipArguments(const char* line, int count) {
  for (int i = 0; i < count; ++i) {
    while (*line == ' ' || *line == '\t') ++line;
    bool quoted = false;
    while (*line && (quoted || (*line != ' ' && *line != '\t'))) {
      if (*line == '"') quoted = !quoted;
      ++line;
    }
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

int Fail(const char* what, const std::string& command) {
  std::printf("timelimit: %s: %s\n", what, command.c_str());
  std::fflush(stdout);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const long seconds = argc >= 3 ? std::strtol(argv[1], nullptr, 10) : 0;
  if (seconds <= 0) {
    std::printf("usage: timelimit <seconds> <program> [arguments...]\n");
    return 1;
  }
  std::string command = SkipArguments(GetCommandLineA(), 2);

  // Every process the program starts is in the job too (savehost, Ostrel.exe), and goes
  // with it; so does the job if this program itself is ended.
  const ostrel::KernelHandle job(CreateJobObjectA(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job) {
    SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }

  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi)) {
    return Fail("cannot start", command);
  }
  const ostrel::KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (job) AssignProcessToJobObject(job.get(), pi.hProcess);
  ResumeThread(pi.hThread);

  DWORD code = 1;
  if (WaitForSingleObject(pi.hProcess, static_cast<DWORD>(seconds) * 1000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &code);
  } else {
    if (!job || !TerminateJobObject(job.get(), 1)) TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 10000);
    std::printf("timelimit: still running after %ld s, ended: %s\n", seconds, command.c_str());
    std::fflush(stdout);
    code = 1;
  }
  return static_cast<int>(code);
}
