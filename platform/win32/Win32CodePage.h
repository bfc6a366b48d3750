// The kernel32 calls behind CodePagePort.
#pragma once

#include "platform/CodePagePort.h"

namespace ostrel {

class Win32CodePage : public CodePagePort {
 public:
  bool IsDBCSLeadByte(std::uint8_t byte) override;
  bool WideCharToMultiByte(std::u16string_view text, std::string& out) override;
  bool MultiByteToWideChar(std::string_view text, std::u16string& out) override;
};

}  // namespace ostrel
