// What the macro engine needs of the keyboard input state and of the message queues:
// the 256-byte key-state array, key codes and scan codes, the own queue's waiting
// keyboard messages, waiting for another process to become idle, and processing the
// own thread's pending messages, and the ANSI code page's double-byte characters and
// conversion. Operations mirror user32 and kernel32 calls and take the same values.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace ostrel {

// The key-state array of GetKeyboardState and SetKeyboardState, indexed by virtual-key code.
using KeyState = std::array<std::uint8_t, 256>;

inline constexpr std::uint32_t kQsKey = 0x0001;            // QS_KEY
inline constexpr std::uint32_t kMapVkToScanCode = 0;       // MAPVK_VK_TO_VSC
inline constexpr std::uint32_t kInputIdleTimeoutMs = 5000;  // the longest wait for a process

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
  // IsDBCSLeadByte: whether the byte begins a double-byte character of the ANSI code page.
  virtual bool IsDBCSLeadByte(std::uint8_t byte) = 0;
  // WideCharToMultiByte(CP_ACP) of UTF-16 text without a default character: false when
  // some character has none in the ANSI code page.
  virtual bool WideCharToMultiByte(std::u16string_view text, std::string& out) = 0;
  // MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS): false for bytes that are no text
  // of the ANSI code page.
  virtual bool MultiByteToWideChar(std::string_view text, std::u16string& out) = 0;
};

// The ANSI code page's lead bytes, as the system's test gives them.
inline LeadBytes SystemLeadBytes(KeyboardPort& keyboard) {
  return LeadBytes::Of([&keyboard](std::uint8_t b) { return keyboard.IsDBCSLeadByte(b); });
}

}  // namespace ostrel
