// The ANSI code page as the readers of our byte strings need it: which bytes begin a
// double-byte character (IsDBCSLeadByte). Text is stepped through a character at a
// time, so that a trail byte is never taken for a character of its own (in code page
// 932 "ボ" is 0x83 0x7B, and 0x7B alone is "{"), and it is cut only between characters.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

class LeadBytes {
 public:
  // A single-byte code page: every character is one byte.
  LeadBytes() = default;
  // The bytes for which `isLead(byte)` says so: the system's lead-byte test.
  template <class Test>
  static LeadBytes Of(Test&& isLead) {
    LeadBytes out;
    for (unsigned b = 0; b < 256; ++b) out.lead_[b] = isLead(static_cast<std::uint8_t>(b));
    return out;
  }

  bool IsLead(std::uint8_t byte) const { return lead_[byte]; }
  // The bytes of the character at `pos` (which is inside `text`): 2 for a lead byte and
  // the byte that trails it, else 1. No byte below 0x40 trails in any double-byte code
  // page, so a lead byte before a line break, a "=", a digit or the end stays alone.
  std::size_t CharSize(std::string_view text, std::size_t pos) const {
    return IsLead(static_cast<std::uint8_t>(text[pos])) && pos + 1 < text.size() &&
                   static_cast<std::uint8_t>(text[pos + 1]) >= kLowestTrail
               ? 2
               : 1;
  }
  // Whether the character at `pos` is a lead byte with nothing that can trail it.
  bool IsLoneLead(std::string_view text, std::size_t pos) const {
    return IsLead(static_cast<std::uint8_t>(text[pos])) && CharSize(text, pos) == 1;
  }
  // The longest start of `text` of at most `capacity` bytes that parts no character.
  std::size_t Fit(std::string_view text, std::size_t capacity) const {
    std::size_t end = 0;
    while (end < text.size()) {
      std::size_t next = end + CharSize(text, end);
      if (next > capacity) break;
      end = next;
    }
    return end;
  }
  std::string Cut(std::string_view text, std::size_t capacity) const {
    return std::string(text.substr(0, Fit(text, capacity)));
  }

  static constexpr std::uint8_t kLowestTrail = 0x40;

 private:
  std::bitset<256> lead_;
};

}  // namespace ostrel
