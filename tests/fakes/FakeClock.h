// A fake of the clock port: a fixed moment, and each date or time written as what was
// asked for ("date <flags> <picture> <day>", "time <flags> <picture> <hour>").
#pragma once

#include <string>

#include "platform/ClockPort.h"

namespace ostrel::testing {

class FakeClock : public ClockPort {
 public:
  LocalTime now{2026, 12, 4, 10, 9, 5, 7, 0};
  std::u16string shortTime = u"H.mm";  // empty: the system has none
  int reads = 0;

  LocalTime GetLocalTime() override { return ++reads, now; }
  std::u16string ShortTimePicture() override { return shortTime; }
  std::u16string GetDateFormatEx(std::uint32_t f, const LocalTime& t,
                                 std::u16string_view p) override {
    return Written("date", f, p, t.day);
  }
  std::u16string GetTimeFormatEx(std::uint32_t f, const LocalTime& t,
                                 std::u16string_view p) override {
    return Written("time", f, p, t.hour);
  }

 private:
  static std::u16string Written(const std::string& what, std::uint32_t f, std::u16string_view p,
                                int at) {
    const std::string head = what + " " + std::to_string(f) + " ", tail = " " + std::to_string(at);
    return std::u16string(head.begin(), head.end()) + std::u16string(p) +
           std::u16string(tail.begin(), tail.end());
  }
};

}  // namespace ostrel::testing
