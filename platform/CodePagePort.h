// What the program needs of the ANSI code page: which bytes begin a double-byte
// character, and text to and from UTF-16. Operations mirror the kernel32 calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace ostrel {

class CodePagePort {
 public:
  virtual ~CodePagePort() = default;
  // IsDBCSLeadByte: whether the byte begins a double-byte character of the ANSI code page.
  virtual bool IsDBCSLeadByte(std::uint8_t byte) = 0;
  // WideCharToMultiByte(CP_ACP) of UTF-16 text without a default character: false when
  // some character has none in the ANSI code page.
  virtual bool WideCharToMultiByte(std::u16string_view text, std::string& out) = 0;
  // MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS): false for bytes that are no text
  // of the ANSI code page.
  virtual bool MultiByteToWideChar(std::string_view text, std::u16string& out) = 0;
};

// The ANSI code page's lead bytes, as the system's test gives them.
inline LeadBytes SystemLeadBytes(CodePagePort& codePage) {
  return LeadBytes::Of([&codePage](std::uint8_t b) { return codePage.IsDBCSLeadByte(b); });
}

}  // namespace ostrel
