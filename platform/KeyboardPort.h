// What the macro engine needs of the keyboard input state and of the message queues:
// the 256-byte key-state array, key codes and scan codes, the own queue's waiting
// keyboard messages, waiting for another process to become idle, and processing the
// own thread's pending messages. Operations mirror user32 and kernel32 calls and take
// the same values. The ANSI code page is CodePagePort's.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

// The key-state array of GetKeyboardState and SetKeyboardState, indexed by virtual-key code.
using KeyState = std::array<std::uint8_t, 256>;

inline constexpr std::uint32_t kQsKey = 0x0001;            // QS_KEY
inline constexpr std::uint32_t kMapVkToScanCode = 0;       // MAPVK_VK_TO_VSC

class KeyboardPort {
 public:
  virtual ~KeyboardPort() = default;
  // GetKeyboardState of the calling thread's (possibly joined) input state.
  virtual bool GetKeyboardState(KeyState& state) = 0;
  // SetKeyboardState; false when the system refused it.
  virtual bool SetKeyboardState(const KeyState& state) = 0;
  // GetAsyncKeyState(code): negative while the key is physically held down.
  virtual std::int16_t GetAsyncKeyState(std::uint8_t code) = 0;
  // VkKeyScanA: shift state in the high byte, virtual-key code in the low byte, or -1.
  virtual std::int16_t VkKeyScanA(char ch) = 0;
  // MapVirtualKeyA(code, mapType).
  virtual std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) = 0;
  // GetQueueStatus(flags) of the calling thread's queue.
  virtual std::uint32_t GetQueueStatus(std::uint32_t flags) = 0;
  // OpenProcess(SYNCHRONIZE, process), WaitForInputIdle(timeoutMs), CloseHandle. Returns
  // at once when the process cannot be opened or has no input queue.
  virtual void WaitForInputIdle(std::uint32_t processId, std::uint32_t timeoutMs) = 0;
  // The toolkit's "process all pending messages" of the calling thread.
  virtual void ProcessMessages() = 0;
};

}  // namespace ostrel
