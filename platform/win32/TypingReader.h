// The user's key events, as the low-level keyboard hook sees them, read into the
// characters they type in the window in front, for the abbreviations' watch. The layout
// is the window's own; ToUnicodeEx is asked with the flag that leaves the keyboard state
// alone, so a dead key the user pressed still combines with the next key in the program,
// and the reader combines the two itself. Ostrel's own keys, a password box, an input
// method's layout and Ostrel's own windows are passed by; what leaves the caret somewhere
// else resets the watch. Only cheap calls: it runs inside the hook.
#pragma once

#include <windows.h>

#include <cstdint>
#include <unordered_map>

#include "platform/InputPort.h"

namespace ostrel {

// ToUnicodeEx's shape: the Wine ring hands a layout of its own.
using ToUnicodeFn = int(WINAPI*)(UINT vk, UINT scan, const BYTE* state, LPWSTR buffer, int size,
                                 UINT flags, HKL layout);

// ToUnicodeEx's flag that keeps the keyboard state (a dead key stays pending for the program).
inline constexpr UINT kKeepKeyboardState = 0x4;

// The character a dead key and the next one make: "^" and "e" make "ê"; 0 for a pair that
// makes none (both are then typed).
wchar_t ComposeDeadKey(wchar_t dead, wchar_t next);

class TypingReader {
 public:
  explicit TypingReader(ToUnicodeFn toUnicode = ::ToUnicodeEx);
  // One key event: true keeps it from going on.
  bool Key(const KBDLLHOOKSTRUCT& key, bool up, InputPort::TypingWatch& watch);
  // A click: the focus and the layout are asked for again at the next key.
  void Forget();
  // A key event that goes on to the system (also while a macro holds the keyboard, when
  // Key is not asked): a modifier's press or release, or Caps Lock, is followed. True
  // for a modifier.
  bool Track(const KBDLLHOOKSTRUCT& key, bool up);

 private:
  // ToUnicodeEx for this key with the modifiers as they are, answered from what the layout
  // said before when it can be: under Wine each question is a round trip to the display.
  int Characters(DWORD vk, DWORD scan, HKL layout, wchar_t (&out)[8]);

  ToUnicodeFn toUnicode_;
  BYTE state_[256] = {};  // the modifiers and Caps Lock, followed from the events
  HWND front_ = nullptr;  // the window in front at the last key
  wchar_t dead_ = 0;      // a dead key pressed, waiting for the next
  // Kept while the same window stays in front: its process and thread, its layout (asked
  // again after a shortcut), and whether its focus is a password box (asked again after a
  // shortcut, Tab, Enter or a click).
  DWORD process_ = 0, thread_ = 0;
  HKL layout_ = nullptr;
  bool focusKnown_ = false;
  bool password_ = false;
  // The layout's answers (the count, and up to two characters), by key, scan code and
  // modifiers; forgotten when another layout is asked.
  struct Answer {
    int count;
    wchar_t made[2];
  };
  std::unordered_map<std::uint32_t, Answer> answers_;
  HKL answersLayout_ = nullptr;
};

}  // namespace ostrel
