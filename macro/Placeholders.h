// The placeholders of a macro, filled in before it is read into steps: {DATE} and {TIME}
// (the user's short date and time), {DATE:picture} and {TIME:picture} (Windows' date and
// time pictures, "yyyy-MM-dd", "HH:mm"), {CLIPBOARD} (the clipboard's text) and {CURSOR}
// (where the caret goes back to once the macro has typed). What they stand for is text:
// it goes into the macro as the language writes characters literally, so a "{ENTER}" on
// the clipboard types those seven characters, and a character the code page lacks goes
// by its number. A placeholder without its closing brace is typed as it stands; one with
// an empty picture is left for the reader (which types nothing for it, as for any unknown
// word).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macro/MacroSteps.h"
#include "platform/ClipboardPort.h"
#include "platform/ClockPort.h"
#include "platform/CodePagePort.h"
#include "platform/SystemPort.h"

namespace ostrel {

inline constexpr std::size_t kNoCursor = std::string::npos;

// Where placeholders take their text from; without one, its placeholders are empty.
struct PlaceholderSources {
  ClockPort* clock = nullptr;
  // Read as Unicode text; `system` paces the wait for a clipboard another program holds.
  ClipboardPort* clipboard = nullptr;
  SystemPort* system = nullptr;
};

struct FilledMacro {
  std::string text;
  // The byte of `text` where the first {CURSOR} stood; kNoCursor without one. Later ones
  // are dropped.
  std::size_t cursor = kNoCursor;
};

// `macro` (in the ANSI code page) with its placeholders filled in. The clock and the
// clipboard are read once, and only when a placeholder asks for them.
FilledMacro FillPlaceholders(std::string_view macro, CodePagePort& codePage,
                             const PlaceholderSources& sources);

// Appends UTF-16 `text` to a macro as the language writes it literally: ASCII as itself,
// "{", "}" and every character beyond ASCII as {U+XXXX}, a Tab as itself, each line break
// (CR LF, CR or LF) as one CR, and other control characters not at all.
void AppendLiteral(std::string& macro, std::u16string_view text);

// How many times Left takes the caret back over what `steps` type from byte `cursor` on:
// once per character and per Tab or Enter, a CR and the LF right after it once; keys that
// type nothing, and anything typed with {CTRL}, {ALT} or {@} in force, not at all.
std::int32_t CharactersTypedAfter(const std::vector<MacroStep>& steps, std::size_t cursor);

// A plan with the caret taken back to `cursor` when it has typed: Left pressed as many
// times as it typed characters after it, with no modifier word in force.
void ReturnToCursor(MacroPlan& plan, std::size_t cursor);

}  // namespace ostrel
