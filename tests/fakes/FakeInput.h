// A recording fake of the input port: every key SendInput takes, with its mark, a US
// keyboard layout with AltGr for "@" (as on a German keyboard), keys held down now, and a
// keyboard hook the test types into as the user would.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/InputPort.h"
#include "platform/VirtualKeys.h"

namespace ostrel::testing {

class FakeInput : public InputPort {
 public:
  struct Sent {
    KeyInput key;
    std::uintptr_t mark;
  };
  std::vector<Sent> sent;          // every key the system took, in order
  std::vector<std::size_t> calls;  // how many keys each SendInput was given
  std::size_t acceptAtMost = SIZE_MAX;  // SendInput takes this many keys in all, then none
  std::set<std::uint8_t> down;          // keys held down now
  bool hookWorks = true;
  // Runs after each SendInput, as the system and the user go on meanwhile.
  std::function<void()> afterSend;
  // The filter of the hook in place, while it is.
  KeyFilter* hook = nullptr;

  std::size_t SendInput(const std::vector<KeyInput>& keys, std::uintptr_t mark) override {
    calls.push_back(keys.size());
    std::size_t taken = 0;
    for (const KeyInput& k : keys) {
      if (sent.size() >= acceptAtMost) break;
      sent.push_back({k, mark});
      ++taken;
      // Our keys pass the hook as the system hands them on.
      if (hook) (*hook)(k, mark);
    }
    if (afterSend) afterSend();
    return taken;
  }
  std::int16_t CharacterKey(char16_t ch, std::uint32_t) override {
    if (ch >= u'a' && ch <= u'z') return static_cast<std::int16_t>(ch - u'a' + 'A');
    if (ch >= u'A' && ch <= u'Z') return static_cast<std::int16_t>(0x100 | ch);
    if ((ch >= u'0' && ch <= u'9') || ch == u' ') return static_cast<std::int16_t>(ch);
    if (ch == u'!') return 0x131;
    if (ch == u'@') return 0x651;  // Ctrl+Alt (AltGr) and Q
    if (ch == u'[') return 0xDB;
    return -1;
  }
  std::uint16_t ScanCode(std::uint8_t vk, std::uint32_t) override { return vk; }
  bool KeyDown(std::uint8_t vk) override { return down.count(vk) != 0; }

  class FakeHold : public Hold {
   public:
    FakeHold(FakeInput& input, KeyFilter filter) : input_(input), filter_(std::move(filter)) {
      if (input_.hookWorks) input_.hook = &filter_;
    }
    ~FakeHold() override { input_.hook = nullptr; }
    bool Active() const override { return input_.hookWorks; }

   private:
    FakeInput& input_;
    KeyFilter filter_;
  };
  std::unique_ptr<Hold> HoldKeyboard(KeyFilter filter) override {
    return std::make_unique<FakeHold>(*this, std::move(filter));
  }
  // The watch of typing, while one is set.
  std::shared_ptr<TypingWatch> watch;
  void WatchTyping(std::shared_ptr<TypingWatch> w) override { watch = std::move(w); }

  // The user presses or lets go of a key: true when the hook took it from the system.
  bool User(std::uint8_t vk, bool up) {
    const KeyInput key{vk, vk, up ? kKeyEventUp : 0u};
    if (!up) down.insert(vk); else down.erase(vk);
    return hook && (*hook)(key, 0);
  }

  // The keys sent with `mark`, as "+A -A +LShift ..." (extended keys end in "/e").
  std::string Keys(std::uintptr_t mark) const {
    std::string out;
    for (const Sent& s : sent) {
      if (s.mark != mark) continue;
      if (!out.empty()) out += ' ';
      out += s.key.Up() ? '-' : '+';
      out += Name(s.key);
    }
    return out;
  }
  static std::string Name(const KeyInput& k) {
    char buf[16];
    if (k.flags & kKeyEventUnicode) {
      std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(k.scan));
      return buf;
    }
    std::string name;
    switch (k.vk) {
      case vk::kLShift: name = "LShift"; break;
      case vk::kLControl: name = "LCtrl"; break;
      case vk::kLMenu: name = "LAlt"; break;
      case vk::kRMenu: name = "RAlt"; break;
      case vk::kLWin: name = "LWin"; break;
      case vk::kReturn: name = "Enter"; break;
      case vk::kTab: name = "Tab"; break;
      case vk::kUnassigned: name = "Mask"; break;
      case vk::kEscape: name = "Esc"; break;
      default:
        if ((k.vk >= 'A' && k.vk <= 'Z') || (k.vk >= '0' && k.vk <= '9')) {
          name = std::string(1, static_cast<char>(k.vk));
        } else {
          std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(k.vk));
          name = buf;
        }
    }
    if (k.flags & kKeyEventExtended) name += "/e";
    return name;
  }
};

}  // namespace ostrel::testing
