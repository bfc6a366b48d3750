// Inside the macro engine: the two ways a macro's steps reach the target, behind one
// interface, and the loop that walks a plan through either. SendKeys (macro/SendKeys.h)
// is the engine's face; this header is for its own files.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "macro/ClipboardPaste.h"
#include "macro/MacroSteps.h"
#include "macro/SendKeys.h"
#include "macro/UserKeys.h"

namespace ostrel {

// How a macro ends before its text does: thrown from deep inside a key and caught by
// SendKeys, with the delivery's destructor restoring what it changed on the way out.
struct EndOfMacro {
  MacroEnd end;
};

class MacroDelivery {
 public:
  virtual ~MacroDelivery() = default;
  // Before each step: throws EndOfMacro when the macro cannot go on.
  virtual void BeforeStep() = 0;
  // One press of a key or character step. False when nothing of it can be delivered (a
  // character the target's code page lacks): then repeating it is pointless.
  virtual bool Send(const MacroStep& step, std::int32_t repetition) = 0;
  // Types a pasted run by Ctrl+V from `keeper`'s clipboard; false when the clipboard could
  // not be had (the run is typed key by key).
  virtual bool Paste(const MacroPaste& paste, ClipboardKeeper& keeper) = 0;
  // Whether the step about to be sent stands next to pasted text.
  virtual void NextToPaste(bool /*near*/) {}
  // Before a pause, and after the last step: what waits to be sent goes now.
  virtual void Flush() {}
};

// Walks `plan` through `delivery`: pauses, pasted runs (typed when the clipboard cannot
// be had), repeat counts, and Esc from `keys`. Throws EndOfMacro.
void RunPlan(const MacroPorts& ports, const MacroPlan& plan, MacroDelivery& delivery,
             const UserKeys* keys);

// The deliveries. Start() is part of construction: it may throw EndOfMacro.
std::unique_ptr<MacroDelivery> PostedDelivery(const MacroPorts& ports, WindowHandle target);
std::unique_ptr<MacroDelivery> InputDelivery(const MacroPorts& ports, WindowHandle target,
                                             UserKeys& keys, bool hookActive);

// Waits for `window` (of another thread, and visible) to paint a pixel marked for it: it
// paints only once every message and key before has been taken from its queue. True
// when it did within `limitMs`.
bool CatchUp(const MacroPorts& ports, WindowHandle window, std::uint32_t limitMs);
// WaitForIdle without the catch-up: our own queue, then the wait for the process.
void SettleQueues(const MacroPorts& ports, WindowHandle window);

}  // namespace ostrel
