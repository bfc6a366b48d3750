// The macro language: the words a macro may write in braces, and the reader that takes
// a macro apart token by token. Pure: it reads bytes and asks nothing of the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/CodePage.h"

namespace ostrel {

// What one token of a macro asks for.
enum class MacroTokenKind {
  kNothing,    // empty braces, or a word in neither table
  kCharacter,  // `code` is the character
  kDoubleByte,  // `code` and `trail` are a double-byte character of the ANSI code page
  kUnicode,     // {U+XXXX}: `unicode` is the character, typed as itself
  kNamedKey,   // `code` is a virtual-key code named by a word
  kCtrl,       // switches CtrlOn
  kAlt,        // switches AltOn
  kShift,      // switches ShiftOn
  kAltNext,    // {@}: the next key that is sent goes with Alt
  kPause,      // {PAUSE n} or {WAIT n}
};

struct MacroToken {
  MacroTokenKind kind = MacroTokenKind::kNothing;
  std::uint8_t code = 0;
  std::uint8_t trail = 0;
  char32_t unicode = 0;
  std::int32_t count = 1;  // the repeat count (or the pause count)
};

// A word a macro may write in braces, as the table holds it (a macro may write it in
// any case). `code` is the virtual-key code of a kNamedKey word.
struct MacroKeyWord {
  std::string_view word;
  MacroTokenKind kind;
  std::uint8_t code;
};
// Every word but those read by their number: the function keys {F1} to {F24}, and
// {U+XXXX}, a character by its Unicode number (1 to 6 hex digits, up to 10FFFF, not a
// surrogate; any other number names nothing).
std::span<const MacroKeyWord> MacroKeyWords();
inline constexpr int kMacroFunctionKeys = 24;
inline constexpr std::string_view kMacroUnicodePrefix = "U+";

// Reads the token that starts at `pos` in `text` and moves `pos` past it. At the end of
// the text it reads nothing and leaves `pos` as it is. The text is read a character at
// a time in the code page of `lead`: only a single-byte "{" or "}" is a brace, and a
// lead byte with nothing to trail it is a token that types nothing.
MacroToken ReadMacroToken(std::string_view text, std::size_t& pos, const LeadBytes& lead = {});

}  // namespace ostrel
