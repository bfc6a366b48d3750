#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace ostrel {

namespace {

SYSTEMTIME ToSystemTime(const LocalTime& t) {
  return SYSTEMTIME{t.year, t.month,  t.dayOfWeek, t.day,
                    t.hour, t.minute, t.second,    t.milliseconds};
}

// A call that writes text of the length it returned when asked with no buffer.
template <class Call>
std::u16string TextOf(Call call) {
  const int size = call(nullptr, 0);
  if (size <= 0) return {};
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  const int got = call(text.data(), size);
  if (got <= 0) return {};
  text.resize(static_cast<std::size_t>(got - 1));  // less the terminating NUL
  return std::u16string(text.begin(), text.end());
}

// The picture as a NUL-terminated string, or none for an empty one.
struct Picture {
  explicit Picture(std::u16string_view p) : text(p.begin(), p.end()) {}
  LPCWSTR get() const { return text.empty() ? nullptr : text.c_str(); }
  std::wstring text;
};

}  // namespace

LocalTime Win32Clock::GetLocalTime() {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                   t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

std::u16string Win32Clock::ShortTimePicture() {
  return TextOf([](LPWSTR buffer, int size) {
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTTIME, buffer, size);
  });
}

std::u16string Win32Clock::GetDateFormatEx(std::uint32_t flags, const LocalTime& time,
                                           std::u16string_view picture) {
  const SYSTEMTIME t = ToSystemTime(time);
  const Picture p(picture);
  return TextOf([&](LPWSTR buffer, int size) {
    return ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &t, p.get(), buffer, size, nullptr);
  });
}

std::u16string Win32Clock::GetTimeFormatEx(std::uint32_t flags, const LocalTime& time,
                                           std::u16string_view picture) {
  const SYSTEMTIME t = ToSystemTime(time);
  const Picture p(picture);
  return TextOf([&](LPWSTR buffer, int size) {
    return ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &t, p.get(), buffer, size);
  });
}

}  // namespace ostrel
