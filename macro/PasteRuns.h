// Which stretches of a macro go to the target by the clipboard: a run of plain text
// longer than kPasteAboveCharacters arrives at once by a paste instead of key by key.
// Pure but for the code page's conversions, which the port makes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePagePort.h"

namespace ostrel {

// A run of more characters than this is pasted; a run of this many or fewer is typed.
inline constexpr std::size_t kPasteAboveCharacters = 100;

// A stretch of the macro's text to paste: its bytes [begin, end) and the text it types,
// as UTF-16 without a terminating NUL.
struct PasteRun {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::u16string text;
};

// The runs of `macro` to paste, in order; everything outside them is typed as before.
// Plain text is characters outside braces (a double-byte one counts once) and {U+XXXX}
// words, which name a character and not a key, typed while no modifier word ({CTRL},
// {ALT}, {SHIFT}, {@}) is in force. Control characters (a Tab or a line break is a key
// press), key words, braced characters and pauses end a run; so does text the code page
// cannot convert, which is then typed as it always was.
std::vector<PasteRun> FindPasteRuns(std::string_view macro, CodePagePort& codePage,
                                    std::size_t above = kPasteAboveCharacters);

}  // namespace ostrel
