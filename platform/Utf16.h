// A Unicode character as the UTF-16 units Windows takes: the one place that knows how a
// character beyond the first plane becomes a surrogate pair. The macro engine, the paste
// rule and the reader of Keys.ini all build their wide text through it.
#pragma once

#include <string>

namespace ostrel {

// Whether `c` is a character at all: at most 10FFFF and no surrogate (half a pair is no
// character of its own).
constexpr bool IsUnicodeScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Appends `c` as one unit or, beyond FFFF, as its surrogate pair. What is no character
// appends U+FFFD, the replacement character, so no caller ever writes half a pair.
inline void AppendUtf16(std::u16string& out, char32_t c) {
  if (!IsUnicodeScalar(c)) c = 0xFFFD;
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
    return;
  }
  c -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (c >> 10));
  out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

}  // namespace ostrel
