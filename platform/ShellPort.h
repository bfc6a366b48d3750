// The shell's "do this with that file, folder or address" (ShellExecuteExA), the program
// that opens a file, and the system's words for what went wrong.
#pragma once

#include <cstdint>
#include <string>

#include "platform/WindowPort.h"

namespace ostrel {

// ERROR_CANCELLED: the user declined the shell's prompt (the administrator's, above all).
inline constexpr std::uint32_t kErrorCancelled = 1223;

class ShellPort {
 public:
  virtual ~ShellPort() = default;
  // ShellExecuteExA(owner, verb, file, parameters, directory, show) with the shell's own
  // error boxes off (SEE_MASK_FLAG_NO_UI); a null verb is the shell's default verb.
  // Returns 0 when it started, else the system's error code (GetLastError).
  virtual std::uint32_t ShellExecuteA(WindowHandle owner, const char* verb, const std::string& file,
                                      const std::string& parameters, const std::string& directory,
                                      int show) = 0;
  // FindExecutableA(file, directory): the full path of the program that opens `file` (a
  // program opens itself); empty when there is none or the file cannot be found.
  virtual std::string FindExecutableA(const std::string& file, const std::string& directory) = 0;
  // FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, code): the system's sentence for an error
  // code, without the line break it ends with; empty when the system has none.
  virtual std::string ErrorText(std::uint32_t code) = 0;
};

}  // namespace ostrel
