// typing: SendKeys typing 1,000 plain characters into an EDIT control that another
// thread owns, and into Notepad (another process), with every idle wait in place.
// Target: into Notepad, 0.9 x Notepad's own pace for the same characters posted at
// once; into the edit control no slower than the 370 characters/s measured before the
// catch-up was limited to the keys that need it. The time is split by where it went.
// Then 1,000 accented and {U+...} characters into Notepad, against Notepad's own pace
// for the same characters: 0.9 x at least.
#include "bench/win32/BenchSupport.h"

#include <cstdio>

#include "macro/MacroTimings.h"
#include "macro/SendKeys.h"
#include "platform/Utf16.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Ports.h"
#include "support/win32/EditThread.h"
#include "toolkit/Application.h"

namespace ostrel::bench {
namespace {

template <typename F>
auto Time(double& total, F f) {
  const double t0 = NowMs();
  auto r = f();
  total += NowMs() - t0;
  return r;
}

// The keyboard and code-page adapters, with the time spent in each kind of call added up.
class TimedKeyboard : public KeyboardPort, public CodePagePort {
 public:
  double idleMs = 0, processMs = 0, stateMs = 0, otherMs = 0;
  void Reset() { idleMs = processMs = stateMs = otherMs = 0; }

  bool GetKeyboardState(KeyState& s) override {
    return Time(stateMs, [&] { return real_.GetKeyboardState(s); });
  }
  bool SetKeyboardState(const KeyState& s) override {
    return Time(stateMs, [&] { return real_.SetKeyboardState(s); });
  }
  std::int16_t GetAsyncKeyState(std::uint8_t c) override {
    return Time(stateMs, [&] { return real_.GetAsyncKeyState(c); });
  }
  std::int16_t VkKeyScanA(char c) override {
    return Time(otherMs, [&] { return real_.VkKeyScanA(c); });
  }
  std::uint32_t MapVirtualKeyA(std::uint32_t c, std::uint32_t t) override {
    return Time(otherMs, [&] { return real_.MapVirtualKeyA(c, t); });
  }
  std::uint32_t GetQueueStatus(std::uint32_t f) override {
    return Time(processMs, [&] { return real_.GetQueueStatus(f); });
  }
  void WaitForInputIdle(std::uint32_t pid, std::uint32_t ms) override {
    Time(idleMs, [&] {
      real_.WaitForInputIdle(pid, ms);
      return 0;
    });
  }
  void ProcessMessages() override {
    Time(processMs, [&] {
      real_.ProcessMessages();
      return 0;
    });
  }
  bool IsDBCSLeadByte(std::uint8_t b) override { return codePage_.IsDBCSLeadByte(b); }
  bool WideCharToMultiByte(std::u16string_view text, std::string& out) override {
    return Time(otherMs, [&] { return codePage_.WideCharToMultiByte(text, out); });
  }
  bool MultiByteToWideChar(std::string_view text, std::u16string& out) override {
    return Time(otherMs, [&] { return codePage_.MultiByteToWideChar(text, out); });
  }

  std::string Breakdown() const {
    char line[200];
    std::snprintf(line, sizeof line,
                  "of which: waits for input idle %.0f ms, message processing %.0f ms, key state "
                  "%.0f ms, key codes %.0f ms",
                  idleMs, processMs, stateMs, otherMs);
    return line;
  }

 private:
  // The application object's message processing, as in the program.
  Win32Keyboard real_{[] { tk::Application::Get().ProcessMessages(); }};
  Win32CodePage codePage_;
};

// The window and system adapters, with the time spent letting the target catch up (the
// repaint it is asked for, polled a millisecond apart) and in the other sleeps.
class TimedWindows : public Win32Windows {
 public:
  double catchUpMs = 0;
  bool InvalidateRect(WindowHandle w, int l, int t, int r, int b) override {
    return Time(catchUpMs, [&] { return Win32Windows::InvalidateRect(w, l, t, r, b); });
  }
  bool GetUpdateRect(WindowHandle w) override {
    return Time(catchUpMs, [&] { return Win32Windows::GetUpdateRect(w); });
  }
};

class TimedSystem : public Win32System {
 public:
  double sleepMs = 0;
  void Sleep(std::uint32_t ms) override {
    Time(sleepMs, [&] {
      Win32System::Sleep(ms);
      return 0;
    });
  }
};

std::string Breakdown(const TimedKeyboard& k, const TimedWindows& w, const TimedSystem& s) {
  char line[120];
  std::snprintf(line, sizeof line, ", sleeps %.0f ms (of them catching up: polls %.0f ms)",
                s.sleepMs, w.catchUpMs);
  return k.Breakdown() + line;
}

// What a macro types, as Notepad will hold it.
struct TypingText {
  std::string macro;
  std::wstring typed;
  std::size_t characters = 0;
};

TypingText PlainText(const std::string& macro) {
  return {macro, std::wstring(macro.begin(), macro.end()), macro.size()};
}

// `chars` characters of accented text in the code page and characters by number, some
// beyond the code page and one beyond the first plane.
TypingText AccentedText(std::size_t chars) {
  const char kAccented[] = "caf\xE9 \xF1 \xFC \xDF \xE0 \xE7 ";
  const char32_t kByNumber[] = {0x2192, 0x03A9, 0x20AC, 0x1F600, 0x00E9};
  wchar_t wide[sizeof kAccented];
  const int n = MultiByteToWideChar(CP_ACP, 0, kAccented, -1, wide, sizeof kAccented);
  TypingText t;
  for (std::size_t i = 0; t.characters < chars; ++i) {
    if (i % 3 == 2) {
      const char32_t c = kByNumber[(i / 3) % std::size(kByNumber)];
      char word[16];
      std::snprintf(word, sizeof word, "{U+%X}", static_cast<unsigned>(c));
      t.macro += word;
      std::u16string units;
      AppendUtf16(units, c);
      for (char16_t u : units) t.typed += static_cast<wchar_t>(u);
    } else {
      const std::size_t at = i % (sizeof kAccented - 1);
      t.macro += kAccented[at];
      t.typed += at < static_cast<std::size_t>(n > 0 ? n : 0) ? wide[at] : L'?';
    }
    ++t.characters;
  }
  return t;
}

// Notepad's own pace, the most any typing into it can reach: the same characters posted
// at once, straight to its edit control, in characters per second.
double PostedAtOnce(Notepad& notepad, const TypingText& text) {
  notepad.Clear();
  const double t0 = NowMs();
  for (wchar_t c : text.typed) PostMessageW(notepad.edit, WM_CHAR, c, 1);
  return static_cast<double>(text.characters) * 1000.0 / notepad.Until(text.typed.size(), t0);
}

// Notepad's own pace for the keys that type the same characters, sent at once with
// SendInput, Notepad in front: the most any typing as keyboard input can reach, since a
// key press costs the target more than a posted character.
double KeysAtOnce(Notepad& notepad, const TypingText& text) {
  notepad.Clear();
  std::vector<INPUT> keys;
  const auto add = [&](WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(in);
  };
  for (wchar_t c : text.typed) {
    const SHORT scan = VkKeyScanW(c);
    if (scan & 0x100) add(VK_LSHIFT, false);
    add(static_cast<WORD>(scan & 0xFF), false);
    add(static_cast<WORD>(scan & 0xFF), true);
    if (scan & 0x100) add(VK_LSHIFT, true);
  }
  const double t0 = NowMs();
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  return static_cast<double>(text.characters) * 1000.0 / notepad.Until(text.typed.size(), t0);
}

// The same into Notepad: the target is another process, so the waits for it to become
// idle are real ones. The time runs until the whole text is in Notepad's edit control.
bool BenchTypingNotepad(int reps, const TypingText& text) {
  Notepad notepad;
  if (!notepad.edit) return Fail("no Notepad window with an edit control");
  bool ok = true;
  std::vector<double> ms, rate, returned, own, hidden;
  TimedWindows windows;
  TimedSystem system;
  TimedKeyboard keyboard;
  const MacroPorts ports{windows, system, keyboard, keyboard};
  for (int i = 0; i < reps && ok; ++i) {
    keyboard.Reset();
    windows.catchUpMs = system.sleepMs = 0;
    notepad.Clear();
    const double t0 = NowMs();
    SendKeys(ports, text.macro, reinterpret_cast<WindowHandle>(notepad.window));
    returned.push_back(NowMs() - t0);
    const double spent = notepad.Until(text.typed.size(), t0);
    if (EditText(notepad.edit) != text.typed)
      ok = Fail("Notepad holds other characters than the " + std::to_string(text.characters) +
                " of the macro");
    ms.push_back(spent);
    rate.push_back(static_cast<double>(text.characters) * 1000.0 / spent);
  }
  const std::string breakdown = Breakdown(keyboard, windows, system);
  // Typed as keyboard input, the program's default way: Notepad in front, as the user's
  // window is when a hotkey types into it.
  Win32Input input;
  const MacroPorts asInput{windows, system, keyboard, keyboard, nullptr, &input};
  // Each run is paired with Notepad's own pace taken right after it, so that a machine
  // busy with other work slows both alike.
  std::vector<double> inputRate, ratio, ownKeys, keysRatio;
  for (int i = 0; i < reps && ok; ++i) {
    notepad.Clear();
    SetForegroundWindow(notepad.window);
    if (!PumpUntil([&] { return GetForegroundWindow() == notepad.window; }, 2000)) {
      ok = Fail("Notepad did not come in front");
      break;
    }
    const double t0 = NowMs();
    SendKeys(asInput, text.macro, reinterpret_cast<WindowHandle>(notepad.window), MacroWay::kInput);
    const double spent = notepad.Until(text.typed.size(), t0);
    if (EditText(notepad.edit) != text.typed)
      ok = Fail("typed as input, Notepad holds other characters than the macro's");
    inputRate.push_back(static_cast<double>(text.characters) * 1000.0 / spent);
    own.push_back(PostedAtOnce(notepad, text));
    ratio.push_back(inputRate.back() / own.back());
    SetForegroundWindow(notepad.window);
    ownKeys.push_back(KeysAtOnce(notepad, text));
    keysRatio.push_back(inputRate.back() / ownKeys.back());
  }
  // Then minimised, where it draws nothing: the difference is its painting (the caret
  // and the line, after every character), which no way of typing can spare it.
  ShowWindow(notepad.window, SW_MINIMIZE);
  for (int i = 0; i < reps && ok; ++i) hidden.push_back(PostedAtOnce(notepad, text));
  PrintRow("the same into Notepad (another process)", ms, "");
  PrintRow("  characters per second (not ms)", rate, ">= 0.9 x own pace");
  PrintRow("  until SendKeys returned", returned, "");
  PrintRow("  typed as keyboard input (chars/s)", inputRate, "");
  PrintRow("  Notepad's own pace, posted at once, after each (chars/s)", own, "");
  PrintRow("  typed as keyboard input against own pace", ratio, ">= 1.0");
  PrintRow("  Notepad's own pace for the same keys, sent at once (chars/s)", ownKeys, "");
  PrintRow("  typed as keyboard input against it", keysRatio, "");
  PrintRow("  the same, Notepad minimised (chars/s)", hidden, "");
  Note("last run " + breakdown);
  return ok;
}

// Accented characters of the code page and characters by number ({U+...}, to Notepad
// as UTF-16) typed into Notepad, each run paired with Notepad's own pace for the same
// characters posted at once: typing is to keep up with it (0.9 x at least).
bool BenchTypingAccented(int reps, std::size_t chars) {
  const TypingText text = AccentedText(chars);
  Notepad notepad;
  if (!notepad.edit) return Fail("no Notepad window with an edit control");
  Win32Windows windows;
  Win32System system;
  Win32Keyboard keyboard{[] { tk::Application::Get().ProcessMessages(); }};
  Win32CodePage codePage;
  const MacroPorts ports{windows, system, keyboard, codePage};
  std::vector<double> rate, own, ratio;
  bool ok = true;
  for (int i = 0; i < reps && ok; ++i) {
    notepad.Clear();
    const double t0 = NowMs();
    SendKeys(ports, text.macro, reinterpret_cast<WindowHandle>(notepad.window));
    const double spent = notepad.Until(text.typed.size(), t0);
    if (EditText(notepad.edit) != text.typed)
      ok = Fail("Notepad holds other characters than the accented and numbered ones typed");
    rate.push_back(static_cast<double>(text.characters) * 1000.0 / spent);
    own.push_back(PostedAtOnce(notepad, text));
    ratio.push_back(rate.back() / own.back());
  }
  char name[96];
  std::snprintf(name, sizeof name, "SendKeys of %zu accented and {U+...} characters into Notepad",
                text.characters);
  PrintRow(name, rate, "chars/s");
  PrintRow("  Notepad's own pace, posted at once (chars/s)", own, "");
  PrintRow("  typed against posted at once (x)", ratio, ">= 0.9");
  return ok;
}

}  // namespace

bool BenchTyping(int reps, std::size_t chars) {
  std::string macro;
  const char kPlain[] = "the quick brown fox jumps over the lazy dog 0123456789 ";
  while (macro.size() < chars) macro += kPlain[macro.size() % (sizeof kPlain - 1)];

  EditThread target;
  if (!target.Window()) return Fail("cannot create the typing window");
  TimedWindows windows;
  TimedSystem system;
  TimedKeyboard keyboard;
  const MacroPorts ports{windows, system, keyboard, keyboard};

  // How long one wait for our own process takes here (the target lives in it).
  {
    HANDLE self = OpenProcess(SYNCHRONIZE, FALSE, GetCurrentProcessId());
    const double t0 = NowMs();
    const DWORD r = self ? WaitForInputIdle(self, kInputIdleTimeoutMs) : WAIT_FAILED;
    const double waited = NowMs() - t0;
    if (self) CloseHandle(self);
    char line[160];
    std::snprintf(line, sizeof line, "WaitForInputIdle on the own process: result %lu in %.3f ms",
                  static_cast<unsigned long>(r), waited);
    Note(line);
  }

  std::vector<double> ms, rate;
  bool ok = true;
  for (int i = 0; i < reps && ok; ++i) {
    target.Clear(0);
    if (!target.Drain()) return Fail("the typing window does not answer");
    keyboard.Reset();
    windows.catchUpMs = system.sleepMs = 0;
    const double t0 = NowMs();
    SendKeys(ports, macro, reinterpret_cast<WindowHandle>(target.Window()));
    if (!target.Drain()) return Fail("the typing window does not answer");
    const double spent = NowMs() - t0;
    const std::string typed = target.Text(0);
    if (typed != macro)
      ok = Fail("typed " + std::to_string(typed.size()) + " characters, not the " +
                std::to_string(macro.size()) + " of the macro, or other ones");
    ms.push_back(spent);
    rate.push_back(static_cast<double>(chars) * 1000.0 / spent);
  }
  char name[80];
  std::snprintf(name, sizeof name, "SendKeys of %zu plain characters", chars);
  PrintRow(name, ms, "< 5 ms per character");
  PrintRow("  characters per second (not ms)", rate, ">= 370");
  Note("last run " + Breakdown(keyboard, windows, system));
  ok = BenchTypingNotepad(reps, PlainText(macro)) && ok;
  return BenchTypingAccented(reps, chars) && ok;
}

}  // namespace ostrel::bench
