// What the program needs of its own process: where it runs from, the user's own folder,
// its environment, its thread, the clock, waits, and ending at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ostrel {

class SystemPort {
 public:
  virtual ~SystemPort() = default;
  // The executable's full path (GetModuleFileNameA of the program).
  virtual std::string ModuleFileName() = 0;
  // The user's roaming application-data folder (SHGetFolderPathA, CSIDL_APPDATA), without
  // a final "\"; empty when the system names none.
  virtual std::string AppDataFolder() = 0;
  // GetEnvironmentVariableA: the value of a variable of the program's environment; nothing
  // when it has no such variable.
  virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;
  virtual std::uint32_t CurrentThreadId() = 0;
  // A plain wait of the calling thread; no messages are processed meanwhile.
  virtual void Sleep(std::uint32_t ms) = 0;
  // Milliseconds since some fixed point (GetTickCount64); only differences matter.
  virtual std::uint64_t TickCount() = 0;
  // TerminateProcess(GetCurrentProcess(), exitCode): does not return on Windows.
  virtual void TerminateProcess(std::uint32_t exitCode) = 0;
};

}  // namespace ostrel
