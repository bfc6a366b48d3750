// A fake of the clock port: a fixed moment, and the date and time written as what was
// asked for ("date <flags> <picture> <day>", "time <flags> <picture> <hour>"), so a test
// sees which call a placeholder made, with which picture, at which moment.
#pragma once

#include <string>

#include "platform/ClockPort.h"

namespace ostrel::testing {

class FakeClock : public ClockPort {
 public:
  LocalTime now{2026, 12, 4, 10, 9, 5, 7, 0};
  std::u16string shortTime = u"H.mm";  // empty: the system has no short time picture
  int reads = 0;                       // how often the time was read

  LocalTime GetLocalTime() override {
    ++reads;
    return now;
  }
  std::u16string ShortTimePicture() override { return shortTime; }
  std::u16string GetDateFormatEx(std::uint32_t flags, const LocalTime& t,
                                 std::u16string_view picture) override {
    return Written(u"date", flags, picture, t.day);
  }
  std::u16string GetTimeFormatEx(std::uint32_t flags, const LocalTime& t,
                                 std::u16string_view picture) override {
    return Written(u"time", flags, picture, t.hour);
  }

 private:
  static std::u16string Written(std::u16string_view what, std::uint32_t flags,
                                std::u16string_view picture, int at) {
    const auto ascii = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
    return std::u16string(what) + ascii(" " + std::to_string(flags) + " ") +
           std::u16string(picture) + ascii(" " + std::to_string(at));
  }
};

}  // namespace ostrel::testing
