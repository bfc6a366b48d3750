#include "catalogue/Abbreviation.h"

#include "catalogue/Conditions.h"
#include "platform/CodePagePort.h"
#include "platform/Utf16.h"

namespace ostrel {
namespace {

bool IsBlankOrControl(char16_t c) {
  return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) ||
         c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

}  // namespace

std::string AbbreviationProblem(std::string_view utf8) {
  std::u16string wide;
  if (!DecodeUtf8(utf8, wide)) return "An abbreviation must be text.";
  for (char16_t c : wide)
    if (IsBlankOrControl(c)) return "An abbreviation holds no blanks.";
  // Counted as the typed characters are kept: a character beyond the first plane is two.
  if (wide.size() > kAbbreviationLimit)
    return "An abbreviation holds at most " + std::to_string(kAbbreviationLimit) + " characters.";
  return {};
}

char16_t LowerLetter(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
      (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
    return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  if (c == 0x178) return 0xFF;
  // Latin Extended-A holds its letters in pairs, capital first; the dotted and dotless i
  // have no partner of the same kind and stay.
  const bool evenPairs =
      (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((evenPairs && c % 2 == 0) || (oddPairs && c % 2 == 1)) return static_cast<char16_t>(c + 1);
  return c;
}

char16_t UpperLetter(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
      (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
    return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;  // the final sigma
  const bool evenPairs =
      (c >= 0x101 && c <= 0x12F) || (c >= 0x133 && c <= 0x137) || (c >= 0x14B && c <= 0x177);
  const bool oddPairs = (c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E);
  if ((evenPairs && c % 2 == 1) || (oddPairs && c % 2 == 0)) return static_cast<char16_t>(c - 1);
  return c;
}

bool IsWordCharacter(char16_t c) {
  if (c < 0x80)
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
  if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
  if (c == 0xD7 || c == 0xF7) return false;
  // General punctuation to the miscellaneous symbols and arrows, the ideographic space and
  // marks, the private use area, the vertical and small forms, and the full-width marks.
  if ((c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) ||
      (c >= 0xD800 && c <= 0xF8FF) || (c >= 0xFE10 && c <= 0xFE6F) ||
      (c >= 0xFF00 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) ||
      (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65))
    return false;
  return true;
}

bool SameLetters(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerLetter(a[i]) != LowerLetter(b[i])) return false;
  return true;
}

bool AbbreviationsClash(const Conditions& a, const Conditions& b) {
  if (a.hotkeyOff || b.hotkeyOff || a.abbreviation.text.empty()) return false;
  std::u16string x, y;
  if (!DecodeUtf8(a.abbreviation.text, x) || !DecodeUtf8(b.abbreviation.text, y)) return false;
  return SameLetters(x, y) && Overlap(a, b);
}

std::string ShownAbbreviation(const std::string& utf8, CodePagePort* codePage) {
  std::u16string wide;
  std::string ansi;
  if (!DecodeUtf8(utf8, wide)) return {};
  if (codePage) return codePage->WideCharToMultiByte(wide, ansi) ? ansi : std::string();
  for (char16_t c : wide)
    if (c >= 0x80) return {};
  return utf8;
}

std::string StoredAbbreviation(const std::string& ansi, CodePagePort* codePage) {
  std::u16string wide;
  if (codePage) return codePage->MultiByteToWideChar(ansi, wide) ? EncodeUtf8(wide) : std::string();
  for (char c : ansi)
    if (static_cast<unsigned char>(c) >= 0x80) return {};
  return ansi;
}

}  // namespace ostrel
