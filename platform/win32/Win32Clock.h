// The kernel32 calls behind ClockPort.
#pragma once

#include "platform/ClockPort.h"

namespace ostrel {

class Win32Clock : public ClockPort {
 public:
  LocalTime GetLocalTime() override;
  std::u16string ShortTimePicture() override;
  std::u16string GetDateFormatEx(std::uint32_t flags, const LocalTime& time,
                                 std::u16string_view picture) override;
  std::u16string GetTimeFormatEx(std::uint32_t flags, const LocalTime& time,
                                 std::u16string_view picture) override;
};

}  // namespace ostrel
