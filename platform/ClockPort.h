// What macros need of the clock: the local time, and the date and time as the user's
// locale writes them. Operations mirror the kernel32 calls and take their flags.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

// A moment as SYSTEMTIME holds it.
struct LocalTime {
  std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
  std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

inline constexpr std::uint32_t kDateShortDate = 0x00000001;  // DATE_SHORTDATE
inline constexpr std::uint32_t kTimeNoSeconds = 0x00000002;  // TIME_NOSECONDS

class ClockPort {
 public:
  virtual ~ClockPort() = default;
  // GetLocalTime.
  virtual LocalTime GetLocalTime() = 0;
  // GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTTIME): the user's short time
  // picture; empty where the system has none.
  virtual std::u16string ShortTimePicture() = 0;
  // GetDateFormatEx and GetTimeFormatEx for the user's locale, with `picture` as the
  // format (empty: none, the flags choose); empty on failure.
  virtual std::u16string GetDateFormatEx(std::uint32_t flags, const LocalTime& time,
                                         std::u16string_view picture) = 0;
  virtual std::u16string GetTimeFormatEx(std::uint32_t flags, const LocalTime& time,
                                         std::u16string_view picture) = 0;
};

}  // namespace ostrel
