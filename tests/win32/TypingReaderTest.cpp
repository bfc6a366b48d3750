// The keyboard hook's reading of the user's keys into characters for the abbreviations,
// through a layout of the test's own with a dead key ("^" on the key right of P): the
// flag that keeps the keyboard state goes with every question, the dead key combines
// with the next key or is typed before it, what moves the caret or is a shortcut resets,
// and the modifiers follow every key event, Ostrel's own too; a layout's answer is kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/KeyInput.h"
#include "platform/win32/TypingReader.h"

namespace ostrel {
namespace {

bool everyFlagKept = true;
int asked = 0;

int WINAPI FakeLayout(UINT vk, UINT, const BYTE* state, LPWSTR out, int size, UINT flags, HKL) {
  if (flags != kKeepKeyboardState || size < 2) everyFlagKept = false;
  ++asked;
  const bool shift = state[VK_SHIFT] & 0x80, altGr = (state[VK_CONTROL] & state[VK_MENU]) & 0x80;
  wchar_t c = 0;
  if (vk == VK_OEM_6) {
    out[0] = L'^';
    return -1;
  }
  if (vk >= 'A' && vk <= 'Z') c = altGr ? L'\u20AC' : static_cast<wchar_t>(shift ? vk : vk + 32);
  if (vk == VK_SPACE || vk == VK_RETURN) c = static_cast<wchar_t>(vk == VK_SPACE ? L' ' : L'\r');
  if (vk == 'C' && state[VK_CONTROL] && !state[VK_MENU]) c = 3;
  out[0] = c;
  return c ? 1 : 0;
}

// Writes each character typed, "B" for Backspace, "|" for a reset; keeps back Enter.
class Recorder : public InputPort::TypingWatch {
 public:
  std::wstring seen;
  bool Typed(char16_t c) override {
    seen += static_cast<wchar_t>(c);
    return c == u'\r';
  }
  void Erased() override { seen += L'B'; }
  void Reset() override { seen += L'|'; }
};

TEST(TypingReader, KeysBecomeCharactersOfTheLayoutWithItsDeadKey) {
  TypingReader reader(FakeLayout);
  Recorder watch;
  auto key = [&](DWORD vk, bool up = false, ULONG_PTR mark = 0) {
    KBDLLHOOKSTRUCT k{};
    k.vkCode = vk;
    k.scanCode = vk;
    k.dwExtraInfo = mark;
    return reader.Key(k, up, watch);
  };
  auto press = [&](DWORD vk) { return key(vk) | key(vk, true); };
  press(VK_LEFT);  // a start from a known state, whatever was in front before
  watch.seen.clear();

  key(VK_LSHIFT);
  press('E');
  key(VK_LSHIFT, true);
  press(VK_OEM_6);
  press('E');  // "^" and "e" make "ê"
  press(VK_OEM_6);
  press('X');  // no such letter: both come
  press(VK_OEM_6);
  press(VK_SPACE);  // the accent alone
  press(VK_BACK);
  key(VK_LCONTROL);
  press('C');  // a shortcut
  key(VK_RMENU);
  press('E');  // AltGr types
  key(VK_RMENU, true);
  key(VK_LCONTROL, true);
  press(VK_HOME);
  key('E', false, kMacroMark);  // Ostrel's own key passes by, its Shift counts
  key(VK_LSHIFT, false, kMacroMark);
  press('X');
  key(VK_LSHIFT, true, kMacroMark);
  press('X');
  EXPECT_TRUE(key(VK_RETURN));  // the watch keeps it back
  EXPECT_EQ(watch.seen, L"E\u00EA^x^B|\u20AC|Xx\r");
  EXPECT_TRUE(everyFlagKept);
  // A key pressed again with the same modifiers: the layout is not asked again.
  const int before = asked;
  press('X');
  EXPECT_EQ(asked, before);
  EXPECT_EQ(watch.seen.back(), L'x');
}

}  // namespace
}  // namespace ostrel
