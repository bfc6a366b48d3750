// The shell's "do this with that file, folder or address" (ShellExecuteA).
#pragma once

#include <string>

#include "platform/WindowPort.h"

namespace ostrel {

class ShellPort {
 public:
  virtual ~ShellPort() = default;
  // ShellExecuteA(owner, verb, file, parameters, directory, show); a null verb is the
  // shell's default verb. The result is not examined by the program.
  virtual void ShellExecuteA(WindowHandle owner, const char* verb, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             int show) = 0;
};

}  // namespace ostrel
