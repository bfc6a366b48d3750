// Macros typed as keyboard input on real windows: a window of another thread that reads
// raw keyboard input sees every key of the macro as input, in order, and the characters
// it translates are the macro's text; the user's keys typed meanwhile come after it. A
// console, which takes no posted characters, runs a command the macro types.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "macro/SendKeys.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Ports.h"

namespace ostrel {
namespace {

// A top-level window of a thread of its own that registers for raw keyboard input and
// notes each key press it reads that way and each character its keys translate into.
class RawInputWindow {
 public:
  RawInputWindow() {
    thread_ = std::thread([this] { Run(); });
    for (int i = 0; i < 1000 && !window_; ++i) Sleep(10);
  }
  ~RawInputWindow() {
    // Without its window the thread's loop is ended by WM_QUIT, so the join cannot wait
    // for ever.
    if (window_)
      PostMessageA(window_, WM_CLOSE, 0, 0);
    else
      for (int i = 0; i < 1000 && !PostThreadMessageA(threadId_, WM_QUIT, 0, 0); ++i) Sleep(10);
    thread_.join();
  }
  HWND Window() const { return window_; }
  bool Registered() const { return registered_; }
  std::string Characters() {
    std::lock_guard<std::mutex> hold(lock_);
    return chars_;
  }
  std::vector<USHORT> RawPresses() {
    std::lock_guard<std::mutex> hold(lock_);
    return presses_;
  }
  // Waits (5 s at most) until `n` characters have arrived.
  bool WaitForCharacters(std::size_t n) {
    for (int i = 0; i < 500; ++i) {
      if (Characters().size() >= n) return true;
      Sleep(10);
    }
    return false;
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<RawInputWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && msg == WM_CHAR) {
      std::lock_guard<std::mutex> hold(self->lock_);
      self->chars_ += static_cast<char>(wp);
      return 0;
    }
    if (self && msg == WM_INPUT) {
      RAWINPUT raw{};
      UINT size = sizeof raw;
      if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lp), RID_INPUT, &raw, &size,
                          sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
          raw.header.dwType == RIM_TYPEKEYBOARD && !(raw.data.keyboard.Flags & RI_KEY_BREAK)) {
        const USHORT key = raw.data.keyboard.VKey;
        if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU) {
          std::lock_guard<std::mutex> hold(self->lock_);
          self->presses_.push_back(key);
        }
      }
    }
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(w, msg, wp, lp);
  }
  void Run() {
    threadId_ = GetCurrentThreadId();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue, for WM_QUIT
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OstrelRawInputTarget";
    RegisterClassA(&wc);
    HWND w =
        CreateWindowExA(0, wc.lpszClassName, "Raw input target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        50, 50, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RAWINPUTDEVICE device{1, 6, 0, w};  // generic desktop, keyboard
    registered_ = RegisterRawInputDevices(&device, 1, sizeof device) != 0;
    window_ = w;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> registered_{false};
  std::mutex lock_;
  std::string chars_;
  std::vector<USHORT> presses_;
};

void PumpMessages() { Win32Keyboard::PumpMessages(); }

struct InputPorts {
  Win32Windows windows;
  Win32System system;
  Win32Keyboard keyboard{PumpMessages};
  Win32CodePage codePage;
  Win32Input input;
  MacroPorts ports{windows, system, keyboard, codePage, nullptr, &input};
};

bool BringToFront(HWND w) {
  for (int i = 0; i < 200; ++i) {
    if (GetForegroundWindow() == w) return true;
    SetForegroundWindow(w);
    PumpMessages();
    Sleep(10);
  }
  return false;
}

TEST(InputKeysWine, ARawInputWindowGetsEveryKeyInOrder) {
  RawInputWindow target;
  ASSERT_NE(target.Window(), nullptr);
  ASSERT_TRUE(target.Registered());
  ASSERT_TRUE(BringToFront(target.Window()));
  InputPorts real;
  const std::string text = "Hello, Wine! 42 {x}";
  const std::string macro = "Hello, Wine! 42 {{}x{}}";
  EXPECT_EQ(SendKeys(real.ports, macro, reinterpret_cast<WindowHandle>(target.Window()),
                     MacroWay::kInput),
            MacroEnd::kTyped);
  ASSERT_TRUE(target.WaitForCharacters(text.size())) << target.Characters();
  EXPECT_EQ(target.Characters(), text);
  std::vector<USHORT> keys;
  for (char c : text) keys.push_back(VkKeyScanA(c) & 0xFF);
  EXPECT_EQ(target.RawPresses(), keys);

  // The user's key typed while the macro runs arrives after it; the hook is gone after.
  const std::string more(60, 'a');
  std::thread user([&] {
    // Once the macro has begun to arrive.
    for (int i = 0; i < 500 && target.Characters().size() <= text.size(); ++i) Sleep(1);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = 'Z';
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
  });
  EXPECT_EQ(
      SendKeys(real.ports, more, reinterpret_cast<WindowHandle>(target.Window()), MacroWay::kInput),
      MacroEnd::kTyped);
  user.join();
  ASSERT_TRUE(target.WaitForCharacters(text.size() + more.size() + 1)) << target.Characters();
  const std::string all = target.Characters();
  EXPECT_EQ(all.substr(text.size()), more + "z") << all;
}

// The visible console window in the test desktop, once one has come (`tries` x 10 ms at
// most).
HWND FindConsoleWindow(int tries = 500) {
  for (int i = 0; i < tries; ++i) {
    for (const char* name : {"ConsoleWindowClass", "WineConsoleClass"})
      if (HWND w = FindWindowA(name, nullptr); w && IsWindowVisible(w)) return w;
    Sleep(10);
  }
  return nullptr;
}

TEST(InputKeysWine, AConsoleRunsTheCommandAMacroTypes) {
  ASSERT_EQ(FindConsoleWindow(1), nullptr) << "a console was open before the test";
  char folder[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
  const std::string file = std::string(folder) + "ostrel-typed-command.txt";
  DeleteFileA(file.c_str());
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION cmd{};
  char line[] = "cmd.exe /q /k";
  ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                             nullptr, &start, &cmd));
  const HWND console = FindConsoleWindow();
  const bool inFront = console && BringToFront(console);
  // A console just opened may drop keys typed before its shell reads: the command is
  // typed again, three times at most (posted, it never arrives).
  std::string written;
  for (int attempt = 0; inFront && attempt < 3 && written.empty(); ++attempt) {
    InputPorts real;
    EXPECT_EQ(SendKeys(real.ports, "echo Typed by Ostrel>" + file + "{ENTER}",
                       reinterpret_cast<WindowHandle>(console), MacroWay::kInput),
              MacroEnd::kTyped);
    for (int i = 0; i < 200 && written.empty(); ++i) {
      Sleep(10);
      std::ifstream in(file);
      std::getline(in, written);
    }
  }
  TerminateProcess(cmd.hProcess, 0);
  WaitForSingleObject(cmd.hProcess, 5000);
  CloseHandle(cmd.hProcess);
  CloseHandle(cmd.hThread);
  DeleteFileA(file.c_str());
  ASSERT_NE(console, nullptr) << "cmd's console window did not appear";
  ASSERT_TRUE(inFront) << "cmd's console did not come in front";
  EXPECT_EQ(written.substr(0, written.find_last_not_of(" \r") + 1), "Typed by Ostrel");
}

}  // namespace
}  // namespace ostrel
