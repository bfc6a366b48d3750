// A fake of the code-page port: a Western (1252) or Japanese (932) code page, with
// what a test adds beyond the first 256 characters.
#pragma once

#include <algorithm>
#include <map>
#include <string>

#include "platform/CodePagePort.h"

namespace ostrel::testing {

// The lead bytes of code page 932 (Japanese).
inline bool IsLead932(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

class FakeCodePage : public CodePagePort {
 public:
  // Code page 932's lead bytes, instead of none.
  bool codePage932 = false;
  // What the code page has beyond the first 256 characters, which it maps to themselves.
  std::map<char16_t, std::string> ansi;

  bool IsDBCSLeadByte(std::uint8_t b) override { return codePage932 && IsLead932(b); }
  bool WideCharToMultiByte(std::u16string_view text, std::string& out) override {
    out.clear();
    for (char16_t u : text) {
      if (auto it = ansi.find(u); it != ansi.end())
        out += it->second;
      else if (u < 0x100)
        out += static_cast<char>(u);
      else
        return false;
    }
    return true;
  }
  // The reverse of the above; a lead byte without its pair in `ansi` is no text.
  bool MultiByteToWideChar(std::string_view text, std::u16string& out) override {
    out.clear();
    for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
      n = SystemLeadBytes(*this).CharSize(text, i);
      auto it = std::find_if(ansi.begin(), ansi.end(), [&](auto& a) { return a.second == text.substr(i, n); });
      if (it != ansi.end())
        out += it->first;
      else if (IsDBCSLeadByte(static_cast<std::uint8_t>(text[i])))
        return false;
      else
        out += static_cast<char16_t>(static_cast<std::uint8_t>(text[i]));
    }
    return true;
  }
};

}  // namespace ostrel::testing
