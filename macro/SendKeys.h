// The keystroke macro engine: reads a macro token by token (macro/MacroTokens.h) and
// types it into the window that has the focus in another program's thread, by posting
// keyboard messages after joining that thread's input state. Runs of plain text longer
// than a paragraph are pasted instead (macro/PasteRuns.h, macro/ClipboardPaste.h). Its
// delays are in macro/MacroTimings.h.
#pragma once

#include <string>

#include "platform/ClipboardPort.h"
#include "platform/CodePagePort.h"
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
};

// How a macro ended.
enum class MacroEnd {
  kTyped,    // the text ran out (or there was no target)
  kStopped,  // the target went away, the focus left it, or the key state was refused
  kRefused,  // the target refused a key: posting it failed while the window was there
};

// Types the macro into the thread of `target` (0: sends nothing). Never throws.
MacroEnd SendKeys(const MacroPorts& ports, const std::string& text, WindowHandle target);
// Lets the own queue and the process that owns `window` settle.
void WaitForIdle(const MacroPorts& ports, WindowHandle window);

}  // namespace ostrel
