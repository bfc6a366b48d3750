// What a macro means, apart from how it reaches the target: the steps it takes (a key
// with the modifier words in force, a character, a pause) and the runs of plain text that
// go by the clipboard. The one reader of the modifier words ({CTRL}, {ALT}, {SHIFT} and
// {@}): both ways of typing (macro/SendKeys.h) and the choice of pasted runs
// (macro/PasteRuns.h) go by it. Pure but for the code page's conversions, which the port
// makes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "macro/MacroTokens.h"
#include "platform/CodePagePort.h"

namespace ostrel {

// The modifier words in force for one step. {CTRL}, {ALT} and {SHIFT} switch theirs for
// every key after them until written again; {@} holds for the next key or character only.
struct MacroModifiers {
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  bool altNext = false;
  bool Any() const { return ctrl || alt || shift || altNext; }
  bool operator==(const MacroModifiers&) const = default;
};

enum class MacroStepKind {
  kKey,        // a key named by a word: token.code is its virtual key
  kCharacter,  // a character of the text, braced or not, or a {U+XXXX}
  kPause,      // {PAUSE n} or {WAIT n}: token.count hundreds of milliseconds
};

struct MacroStep {
  MacroStepKind kind = MacroStepKind::kKey;
  MacroToken token;  // as read: the key or character, and its repeat count
  MacroModifiers modifiers;
  std::size_t begin = 0;  // its bytes [begin, end) in the macro
  std::size_t end = 0;
  bool braced = false;  // written in braces
};

// The steps of `macro`, in order. Words that send nothing leave no step; a key or
// character with a repeat count below 1 is a step that sends nothing but still uses up
// a pending {@}.
std::vector<MacroStep> ReadMacroSteps(std::string_view macro, const LeadBytes& lead = {});

// A run of plain text that goes by the clipboard: its steps [first, last) and its text,
// as UTF-16 without a terminating NUL.
struct MacroPaste {
  std::size_t first = 0;
  std::size_t last = 0;
  std::u16string text;
};

struct MacroPlan {
  std::vector<MacroStep> steps;
  std::vector<MacroPaste> pastes;  // in order, none overlapping
};

// The runs of plain text longer than `above` characters in `steps`. Plain text is
// characters outside braces (a double-byte one counts once) and {U+XXXX} words without a
// repeat count, typed while no modifier word is in force. Control characters (a Tab or
// a line break is a key press), key words, braced characters and pauses end a run; so
// does text the code page cannot convert, which is then typed.
std::vector<MacroPaste> FindPastes(std::string_view macro, const std::vector<MacroStep>& steps,
                                   CodePagePort& codePage, std::size_t above);

// The steps of `macro` read in the ANSI code page, and its pasted runs when `paste`.
MacroPlan PlanMacro(std::string_view macro, CodePagePort& codePage, bool paste,
                    std::size_t above);

}  // namespace ostrel
