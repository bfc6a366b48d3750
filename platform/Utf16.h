// A Unicode character as the UTF-16 units Windows takes: the one place that knows how a
// character beyond the first plane becomes a surrogate pair. The macro engine, the paste
// rule and the reader of Keys.ini all build their wide text through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// Strict UTF-8 to UTF-16: no overlong forms, no surrogates, nothing above 10FFFF. Keys.ini
// is read through it, and its abbreviations are kept in UTF-8 and matched in UTF-16.
inline bool DecodeUtf8(std::string_view in, std::u16string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size();) {
    const auto b = static_cast<std::uint8_t>(in[i]);
    std::uint32_t cp = 0;
    std::size_t more = 0;
    if (b < 0x80) {
      cp = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
      cp = b & 0x1Fu, more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      cp = b & 0x0Fu, more = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      cp = b & 0x07u, more = 3;
    } else {
      return false;
    }
    if (in.size() - i <= more) return false;
    for (std::size_t k = 1; k <= more; ++k) {
      const auto t = static_cast<std::uint8_t>(in[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3Fu);
    }
    const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[more] || !IsUnicodeScalar(cp)) return false;
    AppendUtf16(out, cp);
    i += more + 1;
  }
  return true;
}

inline std::string EncodeUtf8(std::u16string_view in) {
  std::string out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    std::uint32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[++i] - 0xDC00);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace ostrel
