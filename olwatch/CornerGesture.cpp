#include "olwatch/CornerGesture.h"

namespace ostrel {

CornerGesture::Action CornerGesture::Move(int x, int y, std::uint32_t nowMs) {
  if (InCorner(x, y)) {
    if (visiting_) return {};
    visiting_ = true;
    sent_ = false;
    enteredAt_ = nowMs;
    timerArmed_ = true;
    return {Step::kStartTimer, kDwellMs};
  }
  visiting_ = false;
  if (!timerArmed_) return {};
  timerArmed_ = false;
  return {Step::kCancelTimer};
}

CornerGesture::Action CornerGesture::TimerFired(std::uint32_t nowMs) {
  // A firing can still arrive after the timer was cancelled or re-armed (it was already
  // queued), so only an armed timer in an unfinished visit counts, and only once the
  // visit has really lasted long enough; an early one re-arms for what is left.
  if (!timerArmed_ || !visiting_ || sent_) return {};
  std::uint32_t waited = nowMs - enteredAt_;  // unsigned: right across the tick's wrap
  if (waited < kDwellMs) return {Step::kStartTimer, kDwellMs - waited};
  timerArmed_ = false;
  sent_ = true;
  return {Step::kSendRequest};
}

}  // namespace ostrel
