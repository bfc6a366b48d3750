#include "macro/MacroTokens.h"

#include <limits>
#include <string>

#include "platform/Utf16.h"
#include "platform/VirtualKeys.h"

namespace ostrel {

namespace {

using K = MacroTokenKind;
constexpr MacroKeyWord kKeyWords[] = {
    // The switches.
    {"CTRL", K::kCtrl, 0},
    {"ALT", K::kAlt, 0},
    {"SHIFT", K::kShift, 0},
    {"@", K::kAltNext, 0},
    {"PAUSE", K::kPause, 0},
    {"WAIT", K::kPause, 0},
    // The named keys.
    {"BACKSPACE", K::kNamedKey, vk::kBack},
    {"BS", K::kNamedKey, vk::kBack},
    {"BKSP", K::kNamedKey, vk::kBack},
    {"BREAK", K::kNamedKey, vk::kPause},
    {"CAPSLOCK", K::kNamedKey, vk::kCapital},
    {"CLEAR", K::kNamedKey, vk::kClear},
    {"DEL", K::kNamedKey, vk::kDelete},
    {"DELETE", K::kNamedKey, vk::kDelete},
    {"DOWN", K::kNamedKey, vk::kDown},
    {"END", K::kNamedKey, vk::kEnd},
    {"ENTER", K::kNamedKey, vk::kReturn},
    {"ESC", K::kNamedKey, vk::kEscape},
    {"ESCAPE", K::kNamedKey, vk::kEscape},
    {"HELP", K::kNamedKey, vk::kHelp},
    {"HOME", K::kNamedKey, vk::kHome},
    {"INSERT", K::kNamedKey, vk::kInsert},
    {"LEFT", K::kNamedKey, vk::kLeft},
    {"NUMLOCK", K::kNamedKey, vk::kNumLock},
    {"PGDN", K::kNamedKey, vk::kNext},
    {"PGUP", K::kNamedKey, vk::kPrior},
    {"PRTSC", K::kNamedKey, vk::kSnapshot},
    {"RIGHT", K::kNamedKey, vk::kRight},
    {"SCROLLLOCK", K::kNamedKey, vk::kScroll},
    {"TAB", K::kNamedKey, vk::kTab},
    {"UP", K::kNamedKey, vk::kUp},
};

bool IsBlank(char c) { return static_cast<unsigned char>(c) < 33; }

static_assert(vk::kF1 + kMacroFunctionKeys - 1 == vk::kF24);

// F1 to F24 as their keys; 0 for anything else ("F0", "F01", "F25").
std::uint8_t FunctionKey(std::string_view word) {
  if (word.size() < 2 || word.size() > 3 || word[0] != 'F' || word[1] == '0') return 0;
  int n = 0;
  for (char c : word.substr(1)) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= kMacroFunctionKeys ? static_cast<std::uint8_t>(vk::kF1 + n - 1) : 0;
}

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  return v < base ? v : -1;
}

// A whole number: leading spaces, an optional sign, then decimal digits or "$" and hex
// digits, and nothing after them. Anything else, or a value outside the 32-bit signed
// range, gives 1.
std::int32_t ParseCount(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  }
  if (i == s.size()) return 1;
  std::int64_t value = 0;
  for (; i < s.size(); ++i) {
    int d = DigitValue(s[i], base);
    if (d < 0) return 1;
    value = value * base + d;
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return 1;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return 1;
  return static_cast<std::int32_t>(value);
}

// {U+XXXX}: the character of 1 to 6 hex digits, up to 10FFFF and not a surrogate; 0 for
// anything else (a number that names no character types nothing, as an unknown word).
char32_t UnicodeWord(std::string_view word) {
  if (word.substr(0, kMacroUnicodePrefix.size()) != kMacroUnicodePrefix) return 0;
  std::string_view digits = word.substr(kMacroUnicodePrefix.size());
  if (digits.empty() || digits.size() > 6) return 0;
  char32_t value = 0;
  for (char c : digits) {
    int d = DigitValue(c, 16);
    if (d < 0) return 0;
    value = value * 16 + static_cast<char32_t>(d);
  }
  return IsUnicodeScalar(value) ? value : 0;
}

// The token of one character of the text: a double-byte one whole, a lead byte with
// nothing to trail it as nothing (posted alone it would wait for a trail byte in the
// target and spoil the next character).
MacroToken CharacterToken(std::string_view ch, const LeadBytes& lead) {
  MacroToken token;
  if (ch.size() == 2) {
    token.kind = MacroTokenKind::kDoubleByte;
    token.trail = static_cast<std::uint8_t>(ch[1]);
  } else if (!lead.IsLead(static_cast<std::uint8_t>(ch[0]))) {
    token.kind = MacroTokenKind::kCharacter;
  }
  if (token.kind != MacroTokenKind::kNothing) token.code = static_cast<std::uint8_t>(ch[0]);
  return token;
}

}  // namespace

std::span<const MacroKeyWord> MacroKeyWords() { return kKeyWords; }

MacroToken ReadMacroToken(std::string_view text, std::size_t& pos, const LeadBytes& lead) {
  if (pos >= text.size()) return {};
  if (text[pos] != '{') {
    std::size_t size = lead.CharSize(text, pos);
    pos += size;
    return CharacterToken(text.substr(pos - size, size), lead);
  }
  // The first single-byte "}": a trail byte of the same value is part of its character.
  std::size_t close = pos + 1;
  while (close < text.size() && text[close] != '}') close += lead.CharSize(text, close);
  std::string content(text.substr(pos + 1, close - pos - 1));
  pos = close < text.size() ? close + 1 : text.size();

  // Only single-byte a to z are upper-cased: a trail byte in that range stays as it is.
  for (std::size_t i = 0; i < content.size(); i += lead.CharSize(content, i))
    if (content[i] >= 'a' && content[i] <= 'z') content[i] = static_cast<char>(content[i] - 'a' + 'A');
  // Blanks and the space below never trail: bytes below 0x40 stand for themselves.
  std::size_t first = 0, last = content.size();
  while (first < last && IsBlank(content[first])) ++first;
  while (last > first && IsBlank(content[last - 1])) --last;
  std::string_view word = std::string_view(content).substr(first, last - first);

  MacroToken token;
  if (std::size_t space = word.find(' '); space != std::string_view::npos) {
    token.count = ParseCount(word.substr(space + 1));
    word = word.substr(0, space);
  }

  if (std::uint8_t f = FunctionKey(word)) {
    token.kind = MacroTokenKind::kNamedKey;
    token.code = f;
    return token;
  }
  if (char32_t u = UnicodeWord(word)) {
    token.kind = MacroTokenKind::kUnicode;
    token.unicode = u;
    return token;
  }
  for (const MacroKeyWord& k : kKeyWords)
    if (k.word == word) {
      token.kind = k.kind;
      token.code = k.code;
      return token;
    }
  if (!word.empty() && lead.CharSize(word, 0) == word.size()) {
    MacroToken ch = CharacterToken(word, lead);
    ch.count = token.count;
    return ch;
  }
  return token;
}

}  // namespace ostrel
