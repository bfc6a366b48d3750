// The keystroke macro engine's delays and limits, in milliseconds, in one place. The
// engine sits below the controller and includes nothing of app/, so it keeps its own
// table beside app/Timings.h.
#pragma once

#include <cstdint>

namespace ostrel {

// The longest wait for the target's process to become idle (WaitForInputIdle).
inline constexpr std::uint32_t kInputIdleTimeoutMs = 5000;
// The longest stretch WaitForIdle spends draining keyboard messages of its own queue.
inline constexpr std::uint32_t kDrainLimitMs = 5000;
// The longest wait for a window to paint, so that it has taken the keys posted to it.
inline constexpr std::uint32_t kCatchUpLimitMs = 500;
// The same before a paste: a key not yet taken by then would land behind the text.
inline constexpr std::uint32_t kPasteCatchUpLimitMs = 3000;
// How long SetKeyboardState may keep refusing before the macro ends.
inline constexpr std::uint32_t kSetStateRetryMs = 1000;
// A sleep that only gives the rest of the time slice away: between two looks of a wait
// that polls, and once our own queue is drained.
inline constexpr std::uint32_t kYieldMs = 1;
// How long a key posted down stays down before its key-up: a Tab or Enter that moves
// the focus, or a key with Ctrl, is acted on before the key-up arrives.
inline constexpr std::uint32_t kKeyHoldMs = 100;
// {PAUSE n} and {WAIT n} sleep n times this.
inline constexpr std::uint32_t kPauseUnitMs = 100;

// Typing as keyboard input. Keys go to the system in batches of this many presses; before
// each, the program in front must still be the macro's.
inline constexpr int kInputBatchKeys = 20;
// The longest wait for the system to hand a batch on to the program in front (our hook
// sees each key pass), before the wait for the program to take it.
inline constexpr std::uint32_t kInputPassLimitMs = 1000;
// While windows change places nothing is in front for a moment: how long that may last.
inline constexpr std::uint32_t kNoForegroundLimitMs = 500;

// Pasting long text. How long another program may hold the clipboard before a run is
// typed instead, and how often it is tried meanwhile.
inline constexpr std::uint32_t kClipboardOpenRetryMs = 1000;
inline constexpr std::uint32_t kClipboardOpenPollMs = 10;
// Putting the user's clipboard back is worth a longer wait: given up, it would keep the
// macro's text.
inline constexpr std::uint32_t kClipboardRestoreRetryMs = 5000;
// The longest wait for the target to ask for the pasted text after Ctrl+V: a target that
// has not pasted by then ends the macro, as a refused key does.
inline constexpr std::uint32_t kPasteTakenLimitMs = 3000;

}  // namespace ostrel
