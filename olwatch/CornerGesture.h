// The mouse gesture OLWATCH.DLL watches for: the cursor resting in the top-left corner of
// the primary screen pops the OstrelMenu up, once per visit to the corner.
//
// The rule, exactly:
// - The corner is the 2 x 2 pixel square 0 <= x <= 1, 0 <= y <= 1 of the primary screen
//   (where the cursor lands, in screen coordinates). Two pixels rather than one, so that a
//   mouse that settles a pixel off the very corner still counts; nothing left of or above
//   the primary screen counts, so the top row of a monitor on its left does not.
// - A visit begins with the first move that lands in the corner and ends with the first
//   move that lands outside it.
// - Once a visit has lasted kDwellMs, the request is sent, once; a longer stay sends no
//   more. Moves inside the corner during the wait do not restart it: a hand never holds
//   a mouse perfectly still.
//
// It is driven by events only: mouse moves and the firing of one one-shot timer. While
// the mouse is still, nothing runs but that timer, and moves outside the corner start no
// timer at all. Times are milliseconds of a wrapping 32-bit tick count.
#pragma once

#include <cstdint>

namespace ostrel {

class CornerGesture {
 public:
  static constexpr std::uint32_t kDwellMs = 300;

  // What the caller does next. kStartTimer (re)arms the one-shot timer to fire after
  // delayMs, replacing any armed one.
  enum class Step { kNothing, kStartTimer, kCancelTimer, kSendRequest };
  struct Action {
    Step step = Step::kNothing;
    std::uint32_t delayMs = 0;
    bool operator==(const Action&) const = default;
  };

  static bool InCorner(int x, int y) { return x >= 0 && x <= 1 && y >= 0 && y <= 1; }

  Action Move(int x, int y, std::uint32_t nowMs);
  Action TimerFired(std::uint32_t nowMs);

  bool TimerArmed() const { return timerArmed_; }

 private:
  bool visiting_ = false;
  bool sent_ = false;
  bool timerArmed_ = false;
  std::uint32_t enteredAt_ = 0;
};

}  // namespace ostrel
