#include "platform/win32/Win32CodePage.h"

#include <windows.h>

namespace ostrel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is handed over as it is");

bool Win32CodePage::IsDBCSLeadByte(std::uint8_t byte) { return ::IsDBCSLeadByte(byte) != 0; }
bool Win32CodePage::WideCharToMultiByte(std::u16string_view text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int n = static_cast<int>(text.size());
  // No best fit either: a character the code page lacks is not typed as a look-alike.
  BOOL defaulted = FALSE;
  int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, n, nullptr, 0, nullptr,
                                   &defaulted);
  if (size <= 0 || defaulted) return false;
  out.resize(static_cast<std::size_t>(size));
  size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, n, out.data(), size, nullptr,
                               &defaulted);
  if (size <= 0 || defaulted) {
    out.clear();
    return false;
  }
  out.resize(static_cast<std::size_t>(size));
  return true;
}

bool Win32CodePage::MultiByteToWideChar(std::string_view text, std::u16string& out) {
  out.clear();
  if (text.empty()) return true;
  const int n = static_cast<int>(text.size());
  int size = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), n, nullptr, 0);
  if (size <= 0) return false;
  out.resize(static_cast<std::size_t>(size));
  size = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), n,
                               reinterpret_cast<wchar_t*>(out.data()), size);
  out.resize(static_cast<std::size_t>(size > 0 ? size : 0));
  return size > 0;
}

}  // namespace ostrel
