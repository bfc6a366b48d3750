// What the program needs of its own process: where it runs from, its thread, waits.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel {

class SystemPort {
 public:
  virtual ~SystemPort() = default;
  // The executable's full path (GetModuleFileNameA of the program).
  virtual std::string ModuleFileName() = 0;
  virtual std::uint32_t CurrentThreadId() = 0;
  // A plain wait of the calling thread; no messages are processed meanwhile.
  virtual void Sleep(std::uint32_t ms) = 0;
};

}  // namespace ostrel
