// The user32 and kernel32 calls behind KeyboardPort.
#pragma once

#include <functional>

#include "platform/KeyboardPort.h"

namespace ostrel {

class Win32Keyboard : public KeyboardPort {
 public:
  // Pending messages are processed by `processMessages`: in the program, the application
  // object's loop with its message filter; PumpMessages where there is none.
  explicit Win32Keyboard(std::function<void()> processMessages);

  bool GetKeyboardState(KeyState& state) override;
  bool SetKeyboardState(const KeyState& state) override;
  std::int16_t GetAsyncKeyState(std::uint8_t code) override;
  std::int16_t VkKeyScanA(char ch) override;
  std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override;
  std::uint32_t GetQueueStatus(std::uint32_t flags) override;
  void WaitForInputIdle(std::uint32_t processId, std::uint32_t timeoutMs) override;
  void ProcessMessages() override;

  // A plain PeekMessage / TranslateMessage / DispatchMessage loop over every waiting
  // message of the calling thread.
  static void PumpMessages();

 private:
  std::function<void()> processMessages_;
};

}  // namespace ostrel
