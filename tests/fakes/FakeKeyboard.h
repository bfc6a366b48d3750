// A recording fake of the keyboard port: the current key-state array, a US keyboard's
// key codes and scan codes for the keys the tests use, a scripted queue status, and hooks
// for what message processing would do.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "fakes/RecordingPorts.h"
#include "platform/KeyboardPort.h"

namespace ostrel::testing {

class FakeKeyboard : public KeyboardPort {
 public:
  explicit FakeKeyboard(CallLog& log) : log_(log) { state.fill(0); }

  KeyState state;            // what GetKeyboardState reads and SetKeyboardState writes
  int refuseSets = 0;        // SetKeyboardState fails this many times before it succeeds
  bool refuseAllSets = false;
  bool logSets = true;
  int setCalls = 0;
  bool lastSetTaken = false;  // whether the latest SetKeyboardState was taken
  std::deque<std::uint32_t> queueStatus;  // GetQueueStatus answers in turn, then 0
  // Runs inside ProcessMessages, as handling the queued messages would.
  std::function<void()> onProcess;
  // Characters with VkKeyScanA answers of their own.
  std::map<char, std::int16_t> scans;

  bool GetKeyboardState(KeyState& out) override {
    log_.Add("GetKeyboardState");
    out = state;
    return true;
  }
  bool SetKeyboardState(const KeyState& in) override {
    ++setCalls;
    if (logSets) log_.Add("SetKeyboardState " + Modifiers(in));
    lastSetTaken = false;
    if (refuseAllSets) return false;
    if (refuseSets > 0) {
      --refuseSets;
      return false;
    }
    state = in;
    lastSetTaken = true;
    return true;
  }
  // Keys physically held down now, for GetAsyncKeyState.
  std::map<std::uint8_t, bool> held;
  std::int16_t GetAsyncKeyState(std::uint8_t code) override {
    auto it = held.find(code);
    return it != held.end() && it->second ? std::int16_t(-32768) : std::int16_t(0);
  }
  std::int16_t VkKeyScanA(char ch) override {
    if (auto it = scans.find(ch); it != scans.end()) return it->second;
    if (ch >= 'a' && ch <= 'z') return static_cast<std::int16_t>(ch - 'a' + 'A');
    if (ch >= 'A' && ch <= 'Z') return static_cast<std::int16_t>(0x100 | ch);
    if (ch >= '0' && ch <= '9') return ch;
    switch (ch) {
      case ' ': return 0x20;
      case '\t': return 0x09;
      case '\r': return 0x0D;
      case '{': return 0x1DB;  // Shift + VK_OEM_4
      case '}': return 0x1DD;  // Shift + VK_OEM_6
      case '[': return 0xDB;
      case '@': return 0x132;  // Shift + 2
      case '.': return 0xBE;
    }
    return -1;
  }
  // Scan codes of a US keyboard for the keys the tests use; 0 for others.
  std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t type) override {
    if (type != kMapVkToScanCode) return 0;
    static const std::map<std::uint32_t, std::uint32_t> scan = {
        {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0x12, 0x38}, {0x20, 0x39},
        {0x24, 0x47}, {0x2E, 0x53}, {0x30, 0x0B}, {0x31, 0x02}, {0x32, 0x03},
        {0x41, 0x1E}, {0x42, 0x30}, {0x43, 0x2E}, {0x46, 0x21}, {0x58, 0x2D},
        {0x70, 0x3B}, {0x87, 0x76}, {0xDB, 0x1A}, {0xDD, 0x1B},
    };
    auto it = scan.find(code);
    return it == scan.end() ? 0 : it->second;
  }
  std::uint32_t GetQueueStatus(std::uint32_t flags) override {
    log_.Add("GetQueueStatus " + std::to_string(flags));
    if (queueStatus.empty()) return 0;
    std::uint32_t s = queueStatus.front();
    queueStatus.pop_front();
    return s;
  }
  void WaitForInputIdle(std::uint32_t process, std::uint32_t timeoutMs) override {
    log_.Add("WaitForInputIdle " + std::to_string(process) + " " + std::to_string(timeoutMs));
  }
  void ProcessMessages() override {
    log_.Add("ProcessMessages");
    if (onProcess) onProcess();
  }
  // "S81 C00 A00": the bytes of VK_SHIFT, VK_CONTROL and VK_MENU.
  static std::string Modifiers(const KeyState& s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    const char* names[] = {"S", "C", "A"};
    for (int i = 0; i < 3; ++i) {
      std::uint8_t b = s[0x10 + i];
      if (i) out += ' ';
      out += names[i];
      out += hex[b >> 4];
      out += hex[b & 15];
    }
    return out;
  }

 private:
  CallLog& log_;
};

}  // namespace ostrel::testing
