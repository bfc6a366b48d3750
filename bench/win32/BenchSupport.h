// What the measures of ostrel_bench share: the clock and the table they print, Keys.fil
// beside the bench, hotkey combinations that register now, the watch for message boxes,
// the program's message loop and its real main window. Each measure has a file of its
// own (RebuildBench.cpp, MenuBench.cpp, DispatchBench.cpp (and mouse), IdleBench.cpp,
// TypingBench.cpp, PasteBench.cpp, SoakBench.cpp); ostrel_bench.cpp reads the command line.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/win32/OstrelForm.h"
#include "catalogue/KeyRec.h"

namespace ostrel::bench {

// ---------------------------------------------------------------------------------------
// Clock, statistics, table

double NowMs();

struct Summary {
  std::size_t n = 0;
  double median = 0, min = 0, max = 0;
};

Summary Summarise(std::vector<double> samples);
void PrintHeader();
void PrintRow(const char* name, const std::vector<double>& samples, const char* target);
void Note(const std::string& line);
// Says why a measure failed, on stderr; always false.
bool Fail(const std::string& why);

// ---------------------------------------------------------------------------------------
// Files beside the program

std::string ExeFolder();  // ends in a backslash
bool WriteKeysFile(const std::string& path, const std::vector<TKeyRec>& recs);
std::string KeysFileBytes(const std::vector<TKeyRec>& recs);
void RemoveKeysFiles(const std::string& folder);
long long FileSize(const std::string& path);  // -1 when there is no such file
TKeyRec Definition(std::int32_t funType, const std::string& name, const std::string& group,
                   std::int32_t key = 0, std::int32_t keyMod = 0);

// The list of the rebuild and the menu: 1,000 definitions in 30 groups, 400 with keys.
constexpr std::size_t kDefinitions = 1000;
constexpr std::size_t kWithKeys = 400;
constexpr std::size_t kGroups = 30;

// ---------------------------------------------------------------------------------------
// Hotkey combinations

struct Combo {
  std::int32_t key;     // key index into kKeyTable
  std::int32_t keyMod;  // modifier index 0..8
};

unsigned FlagsOf(std::int32_t keyMod);
// Whether a combination can be registered right now: the program shows a modal box for
// one that cannot, which would stop the measure.
bool Registrable(const Combo& c);
// The first of `candidates` that is free now; none when all are taken.
template <std::size_t N>
const Combo* FirstRegistrable(const Combo (&candidates)[N]) {
  for (const Combo& c : candidates)
    if (Registrable(c)) return &c;
  return nullptr;
}
// `count` distinct combinations that register now; `refused` counts those that did not.
std::vector<Combo> PickCombos(std::size_t count, std::size_t& refused);

// ---------------------------------------------------------------------------------------
// Message boxes and the message loop

// Watches the UI thread for message boxes ("HotKey aready in use.", a file error): one
// would wait for a click that never comes. It is answered, and the measure fails.
class BoxWatch {
 public:
  BoxWatch() : uiThread_(GetCurrentThreadId()), thread_([this] { Run(); }) {}
  ~BoxWatch() {
    stop_ = true;
    thread_.join();
  }
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;

  bool Seen() const { return seen_; }
  std::string Text() const { return text_; }

 private:
  void Run();

  DWORD uiThread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> seen_{false};
  std::string text_;  // written before seen_ is set, read after
  std::thread thread_;
};

// Runs the program's own message handling until `done` or the time is up.
bool PumpUntil(const std::function<bool()>& done, double timeoutMs);
void PumpFor(double ms);

// The real main window, as WinMain makes it, torn down as the program's end does.
class LiveForm {
 public:
  LiveForm();
  ~LiveForm();
  LiveForm(const LiveForm&) = delete;
  LiveForm& operator=(const LiveForm&) = delete;

  TOstrelForm& operator*() { return *form_; }
  TOstrelForm* operator->() { return form_.get(); }

 private:
  std::unique_ptr<TOstrelForm> form_;
};

std::size_t RegisteredCount(TOstrelForm& form);

// One of the program's stored options ("0" or "1") in both of its keys, put back as it
// was when the object goes.
class StoredOption {
 public:
  explicit StoredOption(std::string name);
  ~StoredOption();
  StoredOption(const StoredOption&) = delete;
  StoredOption& operator=(const StoredOption&) = delete;

  bool Store(bool on);

 private:
  bool Set(int root, const std::string& value);
  std::string name_;
  bool had_[2] = {};
  std::string old_[2];
};

// ---------------------------------------------------------------------------------------
// Keys and Notepad

// Presses a key with the modifiers of `modFlags` (MOD_*) through SendInput, as a user does.
void PressKey(std::uint8_t vk, unsigned modFlags = 0);

// An edit control's text as it holds it: UTF-16, whatever the code page.
std::size_t EditLength(HWND edit);
std::wstring EditText(HWND edit);

// Notepad started and found, with its edit control; ended when this goes.
class Notepad {
 public:
  Notepad();
  ~Notepad();
  Notepad(const Notepad&) = delete;
  Notepad& operator=(const Notepad&) = delete;

  void Clear();
  // Waits until the edit holds `length` characters (`limitMs` at most); the ms since t0.
  double Until(std::size_t length, double t0, double limitMs = 60000);

  HWND window = nullptr;
  HWND edit = nullptr;

 private:
  PROCESS_INFORMATION pi_{};
};

// ---------------------------------------------------------------------------------------
// The measures; each is true when it ran and everything it checks held.

bool BenchRebuild(int reps);
bool BenchMenu(int reps);
bool BenchDispatch(int presses);
bool BenchPrograms(int presses);
bool BenchMouse(int clicks);
// macro: a press to the first character of its macro, as keyboard input and posted.
bool BenchMacro(int presses);
// forward: a press to a running program's window in front (IfRunning=activate).
bool BenchForward(int presses);
bool BenchIdle(double seconds, double settleMs);
// abbreviations: the ending key to the first Backspace, and the hook's time per key.
bool BenchAbbreviations(int reps, std::size_t keys);
bool BenchTyping(int reps, std::size_t chars);
bool BenchPaste(int reps, std::size_t lines, bool typedToo);
bool BenchSoak(int openings, int rebuilds);

}  // namespace ostrel::bench
