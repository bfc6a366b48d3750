#include "platform/win32/Win32Keyboard.h"

#include <windows.h>

#include <utility>

#include "platform/win32/Handles.h"

namespace ostrel {

static_assert(kQsKey == QS_KEY && kMapVkToScanCode == MAPVK_VK_TO_VSC);

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
std::int16_t Win32Keyboard::GetAsyncKeyState(std::uint8_t code) { return ::GetAsyncKeyState(code); }
std::int16_t Win32Keyboard::VkKeyScanA(char ch) { return ::VkKeyScanA(ch); }
std::uint32_t Win32Keyboard::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
  return ::MapVirtualKeyA(code, mapType);
}
std::uint32_t Win32Keyboard::GetQueueStatus(std::uint32_t flags) { return ::GetQueueStatus(flags); }
void Win32Keyboard::WaitForInputIdle(std::uint32_t processId, std::uint32_t timeoutMs) {
  const KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (process) ::WaitForInputIdle(process.get(), timeoutMs);
}
void Win32Keyboard::ProcessMessages() {
  if (processMessages_) processMessages_();
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
