#include "macro/SendKeys.h"

#include <algorithm>

#include "macro/MacroDelivery.h"
#include "macro/MacroTimings.h"
#include "macro/PasteRuns.h"

namespace ostrel {

// A program that is busy takes our keys later, and a key it has yet to translate into
// a character would then land behind the characters posted after it. The wait for an
// idle process does not always see that (Wine reports a process idle at once), so the
// window itself is asked to catch up: a window paints only once every message posted to
// its thread before has been taken from the queue. One pixel is marked for repainting,
// and we wait until it has been painted; not for a hidden window or one of our own
// thread, which cannot paint while we wait, and never longer than `limitMs`. True when
// the window was seen painted.
// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
bool CatchUp(const MacroPorts& ports, WindowHandle window, std::uint32_t limitMs) {
  if (!window || !ports.windows.IsWindowVisible(window) ||
      ports.windows.GetWindowThread(window) == ports.system.CurrentThreadId())
    return false;
  if (!ports.windows.InvalidateRect(window, 0, 0, 1, 1)) return false;
  const std::uint64_t start = ports.system.TickCount();
  while (ports.windows.GetUpdateRect(window)) {
    if (ports.system.TickCount() - start >= limitMs) return false;
    ports.system.Sleep(kYieldMs);
  }
  return true;
}

void SettleQueues(const MacroPorts& ports, WindowHandle window) {
  // Keyboard messages of our own queue first. Bounded, in case something keeps putting
  // them there faster than they are handled.
  std::uint64_t start = ports.system.TickCount();
  while (ports.keyboard.GetQueueStatus(kQsKey) > 0 &&
         ports.system.TickCount() - start < kDrainLimitMs)
    ports.keyboard.ProcessMessages();
  ports.keyboard.ProcessMessages();
  ports.system.Sleep(kYieldMs);
  ports.keyboard.WaitForInputIdle(ports.windows.GetWindowProcess(window), kInputIdleTimeoutMs);
  ports.keyboard.ProcessMessages();
}

void WaitForIdle(const MacroPorts& ports, WindowHandle window) {
  SettleQueues(ports, window);
  CatchUp(ports, window, kCatchUpLimitMs);
}

namespace {

// The user's keys, watched while a macro types: Esc stops it, and typed as input it holds
// the others back until it is through. The keys held back to the last moment, after the
// delivery has sent the rest, go once the hook is out.
class KeyWatch {
 public:
  KeyWatch(InputPort* input, bool holdAll) : input_(input), keys_(holdAll), holdAll_(holdAll) {
    if (input_)
      hold_ = input_->HoldKeyboard(
          [this](const KeyInput& key, std::uintptr_t mark) { return keys_.Take(key, mark); });
  }
  ~KeyWatch() {
    try {
      hold_.reset();
      if (!holdAll_) return;
      const std::vector<KeyInput> last = keys_.TakeHeld();
      if (!last.empty()) input_->SendInput(last, kHeldKeysMark);
    } catch (...) {
    }
  }
  KeyWatch(const KeyWatch&) = delete;
  KeyWatch& operator=(const KeyWatch&) = delete;

  bool Watching() const { return hold_ && hold_->Active(); }
  UserKeys& Keys() { return keys_; }

 private:
  InputPort* input_;
  UserKeys keys_;
  bool holdAll_;
  std::unique_ptr<InputPort::Hold> hold_;
};

void StopIfAsked(const UserKeys* keys) {
  if (keys && keys->StopAsked()) throw EndOfMacro{MacroEnd::kCancelled};
}

// A PAUSE or WAIT count below 1 sleeps as a count of 1 would. The time is slept in
// pieces, so that a huge count never reaches Sleep's "forever" value, and so that Esc
// ends a long pause too.
void Pause(const MacroPorts& ports, std::int32_t count, const UserKeys* keys) {
  std::uint64_t ms = std::uint64_t(std::max<std::int32_t>(count, 1)) * kPauseUnitMs;
  const std::uint64_t most = keys ? kPauseUnitMs : 0x7FFFFFFF;
  while (ms > 0) {
    StopIfAsked(keys);
    const auto piece = static_cast<std::uint32_t>(std::min(ms, most));
    ports.system.Sleep(piece);
    ms -= piece;
  }
}

}  // namespace

void RunPlan(const MacroPorts& ports, const MacroPlan& plan, MacroDelivery& delivery,
             const UserKeys* keys) {
  // Made at the first paste; it puts the user's clipboard back after the last one, and
  // at the latest as the macro ends, whichever way.
  std::optional<ClipboardKeeper> keeper;
  std::size_t nextPaste = 0;
  bool afterPaste = false;
  for (std::size_t i = 0; i < plan.steps.size();) {
    StopIfAsked(keys);
    delivery.BeforeStep();
    if (nextPaste < plan.pastes.size() && i == plan.pastes[nextPaste].first) {
      const MacroPaste& run = plan.pastes[nextPaste++];
      if (ports.clipboard) {
        if (!keeper) keeper.emplace(*ports.clipboard, ports.system, ports.keyboard);
        if (delivery.Paste(run, *keeper)) {
          i = run.last;
          afterPaste = true;
          // The user's clipboard comes back after the last paste, not at the end of a
          // macro that still has keys to type.
          if (nextPaste == plan.pastes.size()) keeper->Restore();
          continue;
        }
      }
      // The clipboard was busy: the run is typed key by key.
    }
    const MacroStep& step = plan.steps[i++];
    const bool beforePaste = nextPaste < plan.pastes.size() && i == plan.pastes[nextPaste].first;
    delivery.NextToPaste(afterPaste || beforePaste);
    afterPaste = false;
    if (step.kind == MacroStepKind::kPause) {
      delivery.Flush();
      Pause(ports, step.token.count, keys);
      continue;
    }
    // A character that cannot be delivered ends its repetitions at once: repeating it
    // would only repeat nothing.
    for (std::int32_t r = 0; r < step.token.count; ++r) {
      if (r > 0) StopIfAsked(keys);
      if (!delivery.Send(step, r)) break;
    }
  }
  delivery.Flush();
}

MacroEnd SendKeys(const MacroPorts& ports, const std::string& text, WindowHandle target,
                  MacroWay way) {
  if (target == 0) return MacroEnd::kTyped;
  // A failure inside ends the macro; the delivery has restored what it changed on its
  // way out.
  try {
    // Filled in before the plan, whichever way the macro goes, so what they stand for
    // may be pasted as any text is.
    const FilledMacro filled = FillPlaceholders(text, ports.codePage, ports.placeholders);
    MacroPlan plan =
        PlanMacro(filled.text, ports.codePage, ports.clipboard != nullptr, kPasteAboveCharacters);
    ReturnToCursor(plan, filled.cursor);
    const bool asInput = way == MacroWay::kInput && ports.input;
    KeyWatch watch(ports.input, asInput);
    std::unique_ptr<MacroDelivery> delivery =
        asInput ? InputDelivery(ports, target, watch.Keys(), watch.Watching())
                : PostedDelivery(ports, target);
    RunPlan(ports, plan, *delivery, watch.Watching() ? &watch.Keys() : nullptr);
    return MacroEnd::kTyped;
  } catch (const EndOfMacro& e) {
    return e.end;
  } catch (...) {
    return MacroEnd::kStopped;
  }
}

}  // namespace ostrel
