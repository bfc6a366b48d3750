// How a hotkey's press that no definition is meant for is handed on to the program in
// front (TSysHotKey::PassOn): the steps, the messages, the waits and their order. The
// port's operations are the platform's calls with their values; components/win32/
// SysHotKeyWindow.cpp makes them.
//
// While the combination is registered its key-down would be caught again, so it is let
// go for the replay and taken back once the replay has passed the system's check of
// hotkeys: a low-level keyboard watch, set up before anything is sent, counts our keys
// as they pass, and the last one (a key-up, on which no hotkey fires) having passed means
// the key-down was checked and delivered. The wait has a limit: a program in front with
// higher rights refuses injected keys, which then never pass. Which modifiers are still
// held is asked once the watch is in; from then on the watch holds back the user's own
// keys and they are sent on, in their order, after the replay, so a modifier taken as
// held stays held until the key has gone, and none is lost or left down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/KeyInput.h"

namespace ostrel {

class PassOnPort {
 public:
  // The keyboard watch of one replay, set up by WatchKeys and removed when it goes.
  class KeyWatch {
   public:
    virtual ~KeyWatch() = default;
    // Whether the watch is in: without it nothing is counted.
    virtual bool Watching() const = 0;
    // How many of our keys have passed so far.
    virtual std::size_t Seen() const = 0;
    // The user's keys held back since the last call, in their order.
    virtual std::vector<KeyInput> TakeHeldBack() = 0;
    // From now on the user's keys go straight on.
    virtual void StopHoldingBack() = 0;
  };

  virtual ~PassOnPort() = default;
  virtual std::unique_ptr<KeyWatch> WatchKeys() = 0;
  virtual bool KeyHeld(unsigned vk) = 0;            // GetAsyncKeyState
  virtual std::uint16_t ScanCode(unsigned vk) = 0;  // MapVirtualKeyA, MAPVK_VK_TO_VSC
  virtual bool RegisterHotKey(int id, unsigned modFlags, unsigned vk) = 0;
  virtual bool UnregisterHotKey(int id) = 0;
  // How many of the keys the system took.
  virtual std::size_t SendInput(const std::vector<KeyInput>& keys) = 0;
  virtual std::uint32_t TickCount() = 0;
  // Waits up to `ms` for a message sent to this thread and handles what was sent (the
  // watch's calls are such messages).
  virtual void WaitForSentMessages(std::uint32_t ms) = 0;
};

// Hands the press of hotkey `id` (`vk` with the MOD_* flags `modFlags`) on, waiting at
// most `waitMs` for the replay to pass before the hotkey is taken back regardless.
void PassOnPress(PassOnPort& port, int id, unsigned modFlags, unsigned vk, std::uint32_t waitMs);

}  // namespace ostrel
