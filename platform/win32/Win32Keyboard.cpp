#include "platform/win32/Win32Keyboard.h"

#include <windows.h>

#include <utility>

namespace ostrel {

static_assert(kQsKey == QS_KEY && kMapVkToScanCode == MAPVK_VK_TO_VSC);
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is handed over as it is");

Win32Keyboard::Win32Keyboard(std::function<void()> processMessages)
    : processMessages_(std::move(processMessages)) {}

bool Win32Keyboard::GetKeyboardState(KeyState& state) {
  return ::GetKeyboardState(state.data()) != 0;
}
bool Win32Keyboard::SetKeyboardState(const KeyState& state) {
  // The call does not change the array; its parameter is just not declared const.
  KeyState copy = state;
  return ::SetKeyboardState(copy.data()) != 0;
}
std::int16_t Win32Keyboard::GetAsyncKeyState(std::uint8_t code) {
  return ::GetAsyncKeyState(code);
}
std::int16_t Win32Keyboard::VkKeyScanA(char ch) { return ::VkKeyScanA(ch); }
std::uint32_t Win32Keyboard::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
  return ::MapVirtualKeyA(code, mapType);
}
std::uint32_t Win32Keyboard::GetQueueStatus(std::uint32_t flags) {
  return ::GetQueueStatus(flags);
}
void Win32Keyboard::WaitForInputIdle(std::uint32_t processId, std::uint32_t timeoutMs) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!process) return;
  ::WaitForInputIdle(process, timeoutMs);
  ::CloseHandle(process);
}
void Win32Keyboard::ProcessMessages() {
  if (processMessages_) processMessages_();
}

bool Win32Keyboard::IsDBCSLeadByte(std::uint8_t byte) { return ::IsDBCSLeadByte(byte) != 0; }
bool Win32Keyboard::WideCharToMultiByte(std::u16string_view text, std::string& out) {
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

bool Win32Keyboard::MultiByteToWideChar(std::string_view text, std::u16string& out) {
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

void Win32Keyboard::PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

}  // namespace ostrel
