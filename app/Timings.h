// The program's delays, in milliseconds, in one place. The controller owns them and
// the main window takes its timers' intervals from there, so the native tests see the
// same values the program runs with.
#pragma once

#include <cstdint>

namespace ostrel {

struct Timings {
  // Timer2: the create step only arms it; the rest of the set-up runs when it fires,
  // once the window and the message loop are up.
  std::uint32_t setupDelayMs = 1000;
  // Timer3: a hotkey press is dispatched this long after it arrives, outside the hotkey
  // message; of several presses within this time only the last one runs.
  std::uint32_t handOffMs = 100;
  // A request for the OstrelMenu within this long of an accepted one is dropped.
  std::uint32_t menuDebounceMs = 1000;
  // A macro menu closed within this long of opening (a click still on its way can
  // close it) is put up again, until it has been shown this many times.
  std::uint32_t macroMenuRepopMs = 500;
  std::uint32_t macroMenuShowsAtMost = 6;
  // A pause that lets the window manager and other programs catch up: after the set-up
  // has loaded and again after it has shown the window, before Show... brings the window
  // forward, after the macro menu is built and after each time it closes.
  std::uint32_t settleMs = 100;
  // After the macro menu hands the foreground back: how long a choice waits for the
  // switch at most, looking this often.
  std::uint32_t foregroundWaitMs = 500;
  std::uint32_t foregroundPollMs = 25;
  // How long a second copy looks for a first copy whose window is not made yet (it
  // starts with its mark), and how often.
  std::uint32_t firstCopyWaitMs = 1500;
  std::uint32_t firstCopyPollMs = 100;
  // How long a second copy waits for the first to answer an import or export request,
  // and how long it asks again while the first is still setting up.
  std::uint32_t requestAnswerMs = 10000;
  std::uint32_t requestSetupWaitMs = 15000;
  // How long the pointer rests before a hint shows, and how long the hint stays.
  std::uint32_t hintPauseMs = 1000;
  std::uint32_t hintHidePauseMs = 10000;
  // A hotkey press handed on to the program in front: how long its keys may take to pass
  // before the hotkey is taken back regardless (components/PassOn.h).
  std::uint32_t replayWaitMs = 250;
};

}  // namespace ostrel
