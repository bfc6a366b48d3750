// The keystroke macro engine: reads a macro into steps (macro/MacroSteps.h) and types them
// into the program in front, one of two ways: as keyboard input (SendInput, the way a
// keyboard types: macro/InputKeys.cpp), or by posting keyboard messages to the focus
// window of the target's thread after joining its input state (macro/PostedKeys.cpp).
// Runs of plain text longer than a paragraph are pasted instead (macro/ClipboardPaste.h).
// While a macro types, Esc stops it (macro/UserKeys.h). Its delays are in
// macro/MacroTimings.h.
#pragma once

#include <string>

#include "macro/Placeholders.h"
#include "platform/ClipboardPort.h"
#include "platform/CodePagePort.h"
#include "platform/InputPort.h"
#include "platform/KeyboardPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

struct MacroPorts {
  WindowPort& windows;
  SystemPort& system;
  KeyboardPort& keyboard;
  CodePagePort& codePage;
  // Long runs of plain text are pasted through it; none: every macro is typed.
  ClipboardPort* clipboard = nullptr;
  // Keyboard input and the watch of the user's keys; none: posted messages only, and Esc
  // does not stop a macro.
  InputPort* input = nullptr;
  // What {DATE}, {TIME} and {CLIPBOARD} are filled with (macro/Placeholders.h).
  PlaceholderSources placeholders{};
};

// How a macro reaches the target.
enum class MacroWay {
  kPosted,  // keyboard messages posted to the focus window
  kInput,   // keyboard input, as a keyboard types (needs MacroPorts::input)
};

// How a macro ended.
enum class MacroEnd {
  kTyped,    // the text ran out (or there was no target)
  kStopped,  // the target went away, the focus left it, or the key state was refused
  kRefused,  // the target refused a key: posting or sending it failed while it was there
  kSwitched,  // typed as input: the user brought another program in front
  kCancelled,  // the user pressed Esc
};

// Types the macro, its placeholders filled in, into the thread of `target` (0: sends
// nothing). Never throws.
MacroEnd SendKeys(const MacroPorts& ports, const std::string& text, WindowHandle target,
                  MacroWay way = MacroWay::kPosted);
// Lets the own queue and the process that owns `window` settle.
void WaitForIdle(const MacroPorts& ports, WindowHandle window);

}  // namespace ostrel
