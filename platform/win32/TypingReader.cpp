#include "platform/win32/TypingReader.h"

#include <cstdint>
#include <cwchar>
#include <string_view>

#include "platform/KeyInput.h"

namespace ostrel {
namespace {

bool IsModifier(DWORD vk) {
  return (vk >= VK_SHIFT && vk <= VK_MENU) || (vk >= VK_LSHIFT && vk <= VK_RMENU) ||
         vk == VK_LWIN || vk == VK_RWIN || vk == VK_CAPITAL;
}

// Keys that put the caret somewhere else.
bool MovesCaret(DWORD vk) { return vk == VK_ESCAPE || (vk >= VK_PRIOR && vk <= VK_DOWN); }

// A password box: an edit control (of any kind: Edit, RichEdit, a framework's) with
// ES_PASSWORD.
bool IsPasswordBox(HWND focus) {
  if (!focus || (::GetWindowLongW(focus, GWL_STYLE) & ES_PASSWORD) == 0) return false;
  wchar_t name[64] = {};
  ::GetClassNameW(focus, name, 64);
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  return std::wcsstr(name, L"edit") != nullptr;
}

// An input method's layout: an old-style one (its handle's high word E...), or a layout
// for Chinese, Japanese or Korean, where an input method composes what the keys type.
// Whether one is composing cannot be asked of another process without window work, so
// such a layout is passed by whole.
bool IsInputMethod(HKL layout) {
  const auto value = reinterpret_cast<std::uintptr_t>(layout);
  const WORD language = PRIMARYLANGID(LOWORD(value));
  return (HIWORD(value) & 0xF000) == 0xE000 || language == LANG_CHINESE ||
         language == LANG_JAPANESE || language == LANG_KOREAN;
}

// The side-less modifiers some systems report, as the side they stand for.
DWORD Sided(DWORD vk, bool extended) {
  switch (vk) {
    case VK_SHIFT:
      return VK_LSHIFT;
    case VK_CONTROL:
      return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU:
      return extended ? VK_RMENU : VK_LMENU;
    default:
      return vk;
  }
}

}  // namespace

wchar_t ComposeDeadKey(wchar_t dead, wchar_t next) {
  struct Row {
    wchar_t dead;
    std::wstring_view bases, made;
  };
  static constexpr Row kRows[] = {
      {L'`', L"aeiouAEIOU", L"\u00E0\u00E8\u00EC\u00F2\u00F9\u00C0\u00C8\u00CC\u00D2\u00D9"},
      {L'\u00B4', L"aeiouyAEIOUY",
       L"\u00E1\u00E9\u00ED\u00F3\u00FA\u00FD\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD"},
      {L'\'', L"aeiouyAEIOUY",
       L"\u00E1\u00E9\u00ED\u00F3\u00FA\u00FD\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD"},
      {L'^', L"aeiouAEIOU", L"\u00E2\u00EA\u00EE\u00F4\u00FB\u00C2\u00CA\u00CE\u00D4\u00DB"},
      {L'~', L"anoANO", L"\u00E3\u00F1\u00F5\u00C3\u00D1\u00D5"},
      {L'\u00A8', L"aeiouyAEIOU",
       L"\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF\u00C4\u00CB\u00CF\u00D6\u00DC"},
      {L'"', L"aeiouyAEIOU", L"\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF\u00C4\u00CB\u00CF\u00D6\u00DC"},
      {L'\u00B8', L"cC", L"\u00E7\u00C7"},
  };
  if (next == L' ') return dead;  // the accent alone
  for (const Row& row : kRows) {
    if (row.dead != dead) continue;
    const std::size_t at = row.bases.find(next);
    return at == std::wstring_view::npos ? 0 : row.made[at];
  }
  return 0;
}

void TypingReader::Forget() {
  layout_ = nullptr;
  focusKnown_ = false;
}

TypingReader::TypingReader(ToUnicodeFn toUnicode) : toUnicode_(toUnicode) {
  for (int vk :
       {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN})
    state_[vk] = (::GetAsyncKeyState(vk) & 0x8000) ? 0x80 : 0;
  state_[VK_CAPITAL] = (::GetKeyState(VK_CAPITAL) & 1) ? 1 : 0;
}

bool TypingReader::Track(const KBDLLHOOKSTRUCT& key, bool up) {
  const DWORD vk = Sided(key.vkCode & 0xFF, (key.flags & LLKHF_EXTENDED) != 0);
  if (!IsModifier(vk)) return false;
  if (vk == VK_CAPITAL) {
    if (!up) state_[VK_CAPITAL] ^= 1;
  } else {
    state_[vk] = up ? 0 : 0x80;
  }
  auto either = [this](int a, int b) { return static_cast<BYTE>(state_[a] | state_[b]); };
  state_[VK_SHIFT] = either(VK_LSHIFT, VK_RSHIFT);
  state_[VK_CONTROL] = either(VK_LCONTROL, VK_RCONTROL);
  state_[VK_MENU] = either(VK_LMENU, VK_RMENU);
  return true;
}

int TypingReader::Characters(DWORD vk, DWORD scan, HKL layout, wchar_t (&out)[8]) {
  // The modifiers are all the state the layout is handed (the Win keys never get here).
  std::uint32_t modifiers = state_[VK_CAPITAL] & 1;
  int bit = 1;
  for (int m : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU})
    modifiers |= (state_[m] ? 1u : 0u) << bit++;
  // A character sent as itself carries it in the scan code: not worth keeping.
  const bool keep = vk != VK_PACKET && scan <= 0xFFFF;
  const std::uint32_t id = vk | (scan & 0xFFFF) << 8 | modifiers << 24;
  if (layout != answersLayout_ || answers_.size() >= 1024) {
    answers_.clear();
    answersLayout_ = layout;
  }
  if (keep) {
    if (const auto known = answers_.find(id); known != answers_.end()) {
      out[0] = known->second.made[0];
      out[1] = known->second.made[1];
      return known->second.count;
    }
  }
  const int n = toUnicode_(vk, scan, state_, out, 8, kKeepKeyboardState, layout);
  if (keep && n <= 2) answers_[id] = Answer{n, {out[0], out[1]}};
  return n;
}

bool TypingReader::Key(const KBDLLHOOKSTRUCT& key, bool up, InputPort::TypingWatch& watch) {
  // Every modifier that goes on counts, Ostrel's own too: the system's key state follows them.
  if (Track(key, up) || up || IsOstrelMark(key.dwExtraInfo)) return false;
  const DWORD vk = Sided(key.vkCode & 0xFF, (key.flags & LLKHF_EXTENDED) != 0);

  // What is asked of the window in front is kept while it stays in front: each question
  // is a round trip to the system, and the hook must be quick.
  const HWND front = ::GetForegroundWindow();
  if (front != front_) {
    front_ = front;
    dead_ = 0;
    watch.Reset();
    process_ = 0;
    thread_ = ::GetWindowThreadProcessId(front, &process_);
    Forget();
  }
  const bool ctrl = state_[VK_CONTROL] != 0, alt = state_[VK_MENU] != 0;
  // Ostrel's own windows, a shortcut (Ctrl or Alt alone: AltGr is both), the Win key, a
  // key that moves the caret and an input method's key: what was typed no longer leads up
  // to the caret. A shortcut may also switch the layout: it is asked for again.
  if (process_ == ::GetCurrentProcessId() || ctrl != alt || state_[VK_LWIN] || state_[VK_RWIN] ||
      MovesCaret(vk) || vk == VK_PROCESSKEY) {
    dead_ = 0;
    Forget();
    watch.Reset();
    return false;
  }
  if (vk == VK_BACK) {
    dead_ = 0;
    watch.Erased();
    return false;
  }
  if (!focusKnown_) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    password_ = ::GetGUIThreadInfo(thread_, &gui) && IsPasswordBox(gui.hwndFocus);
    focusKnown_ = true;
  }
  if (!layout_) layout_ = ::GetKeyboardLayout(thread_);
  const HKL layout = layout_;
  if (password_ || IsInputMethod(layout)) {
    dead_ = 0;
    watch.Reset();
    return false;
  }

  wchar_t out[8] = {};
  const int n = Characters(vk, key.scanCode, layout, out);
  if (n < 0) {
    dead_ = out[0];  // waits for the next key, as the program's own dead key does
    return false;
  }
  if (n == 0) return false;  // a key that types nothing: F1, Delete, ...
  std::wstring typed(out, static_cast<std::size_t>(n < 8 ? n : 8));
  // A layout that has already combined them (a character beyond ASCII) is taken as it says.
  if (dead_) {
    const wchar_t made = ComposeDeadKey(dead_, typed[0]);
    if (made)
      typed[0] = made;
    else if (typed[0] < 0x80)
      typed.insert(typed.begin(), dead_);
    dead_ = 0;
  }
  // Tab and Enter may take the focus to another control (a password box, say).
  if (vk == VK_TAB || vk == VK_RETURN) focusKnown_ = false;
  bool take = false;
  for (wchar_t c : typed) {
    if (c < 0x20 && c != L'\r' && c != L'\t') {
      watch.Reset();
      return false;
    }
    take = watch.Typed(static_cast<char16_t>(c));
  }
  return take;
}

}  // namespace ostrel
