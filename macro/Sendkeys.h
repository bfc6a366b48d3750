// The keystroke macro engine: reads a macro token by token and types it into the
// window that has the focus in another program's thread, by posting keyboard messages
// after joining that thread's input state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/KeyboardPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

struct MacroPorts {
  WindowPort& windows;
  SystemPort& system;
  KeyboardPort& keyboard;
};

// What one token of a macro asks for.
enum class MacroTokenKind {
  kNothing,    // empty braces, or a word in neither table
  kCharacter,  // `code` is the character
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
  std::int32_t count = 1;  // the repeat count (or the pause count)
};

// A word a macro may write in braces, as the table holds it (a macro may write it in
// any case). `code` is the virtual-key code of a kNamedKey word.
struct MacroKeyWord {
  std::string_view word;
  MacroTokenKind kind;
  std::uint8_t code;
};
// Every word but the function keys, which are read by their number: {F1} to {F24}.
std::span<const MacroKeyWord> MacroKeyWords();
inline constexpr int kMacroFunctionKeys = 24;

// Reads the token that starts at `pos` in `text` and moves `pos` past it. At the end of
// the text it reads nothing and leaves `pos` as it is.
MacroToken ReadMacroToken(std::string_view text, std::size_t& pos);

// Types the macro into the thread of `target` (0: sends nothing). Never throws.
void Sendkeys(const MacroPorts& ports, const std::string& text, WindowHandle target);
// Lets the own queue and the process that owns `window` settle.
void WaitForIdle(const MacroPorts& ports, WindowHandle window);

}  // namespace ostrel
