// The corner gesture of OLWATCH.DLL, driven as the library drives it: moves, and a
// one-shot timer that fires when its time comes.
#include <gtest/gtest.h>

#include <optional>

#include "olwatch/CornerGesture.h"

namespace ostrel {
namespace {

using Step = CornerGesture::Step;
using Action = CornerGesture::Action;

// Plays the library's part: keeps the clock and the one timer, and counts requests.
struct Watcher {
  CornerGesture gesture;
  std::uint32_t now = 1000;
  std::optional<std::uint32_t> due;  // when the armed timer fires
  int timersStarted = 0;
  int requests = 0;

  void Apply(Action a) {
    switch (a.step) {
      case Step::kStartTimer:
        due = now + a.delayMs;
        ++timersStarted;
        break;
      case Step::kCancelTimer:
        due.reset();
        break;
      case Step::kSendRequest:
        ++requests;
        break;
      case Step::kNothing:
        break;
    }
    EXPECT_EQ(gesture.TimerArmed(), due.has_value());
  }
  void MoveTo(int x, int y) { Apply(gesture.Move(x, y, now)); }
  // Lets time pass, firing the timer (one-shot) whenever it is due.
  void Wait(std::uint32_t ms) {
    std::uint32_t end = now + ms;
    while (due && *due - now <= end - now) {
      now = *due;
      due.reset();
      Apply(gesture.TimerFired(now));
    }
    now = end;
  }
};

TEST(CornerGesture, RestingInTheCornerSendsOnceAfterTheDwell) {
  Watcher w;
  w.MoveTo(0, 0);
  EXPECT_EQ(w.due, 1300u);
  w.Wait(299);
  EXPECT_EQ(w.requests, 0);
  w.Wait(1);
  EXPECT_EQ(w.requests, 1);
  // Staying on, and moving about inside the corner, sends nothing more.
  w.Wait(5000);
  w.MoveTo(1, 1);
  w.MoveTo(0, 1);
  w.Wait(5000);
  EXPECT_EQ(w.requests, 1);
  EXPECT_FALSE(w.due);
}

TEST(CornerGesture, EachVisitSendsOnce) {
  Watcher w;
  for (int visit = 1; visit <= 3; ++visit) {
    w.MoveTo(1, 0);
    w.Wait(400);
    w.MoveTo(300, 200);
    w.Wait(50);
    EXPECT_EQ(w.requests, visit);
  }
}

TEST(CornerGesture, LeavingBeforeTheDwellCancels) {
  Watcher w;
  w.MoveTo(0, 0);
  w.Wait(200);
  EXPECT_EQ(w.gesture.Move(2, 0, w.now), (Action{Step::kCancelTimer}));
  w.due.reset();
  w.Wait(1000);
  EXPECT_EQ(w.requests, 0);
  // A firing that was already queued when the timer was cancelled sends nothing.
  EXPECT_EQ(w.gesture.TimerFired(w.now), Action{});
}

TEST(CornerGesture, MovesInsideTheCornerDoNotPutTheRequestOff) {
  Watcher w;
  w.MoveTo(0, 0);
  for (int i = 0; i < 14; ++i) {
    w.Wait(20);
    w.MoveTo(i % 2, (i / 2) % 2);
  }
  EXPECT_EQ(w.timersStarted, 1);
  w.Wait(20);  // 300 ms after entering
  EXPECT_EQ(w.requests, 1);
}

TEST(CornerGesture, MovesElsewhereStartNothing) {
  Watcher w;
  // Just outside the corner on every side, including off the primary screen's
  // top-left (a monitor left of or above it).
  const int points[][2] = {{2, 0},   {0, 2},    {2, 2},    {-1, 0},    {0, -1},
                           {-5, -5}, {-800, 0}, {0, -600}, {512, 384}, {1, 1000}};
  for (auto& p : points) {
    EXPECT_EQ(w.gesture.Move(p[0], p[1], w.now), Action{}) << p[0] << "," << p[1];
    w.Wait(500);
  }
  EXPECT_EQ(w.timersStarted, 0);
  EXPECT_EQ(w.requests, 0);
}

TEST(CornerGesture, AnEarlyFiringWaitsOutTheRestOfTheDwell) {
  Watcher w;
  w.MoveTo(0, 0);
  w.Wait(100);
  w.MoveTo(10, 10);
  w.Wait(150);
  w.MoveTo(0, 0);  // re-entered at 1250
  // The first visit's firing, queued before it was cancelled, arrives at 1300.
  w.now = 1300;
  EXPECT_EQ(w.gesture.TimerFired(w.now), (Action{Step::kStartTimer, 250}));
  w.due = 1550;
  w.Wait(249);
  EXPECT_EQ(w.requests, 0);
  w.Wait(1);
  EXPECT_EQ(w.requests, 1);
}

TEST(CornerGesture, TheDwellIsMeasuredAcrossTheTickCountsWrap) {
  Watcher w;
  w.now = 0xFFFFFF00u;
  w.MoveTo(0, 0);
  w.now = 0x0000002Bu;  // 299 ms later
  EXPECT_EQ(w.gesture.TimerFired(w.now), (Action{Step::kStartTimer, 1}));
  w.now = 0x0000002Cu;
  EXPECT_EQ(w.gesture.TimerFired(w.now), (Action{Step::kSendRequest}));
}

}  // namespace
}  // namespace ostrel
