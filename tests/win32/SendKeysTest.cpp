// The macro engine on real windows: macros typed into EDIT controls that another thread
// owns, read back with WM_GETTEXT; the keyboard and code-page adapters' calls themselves.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macro/MacroTimings.h"
#include "macro/SendKeys.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Ports.h"
#include "support/win32/EditThread.h"

namespace ostrel {
namespace {

void PumpMessages() { Win32Keyboard::PumpMessages(); }

struct RealPorts {
  Win32Windows windows;
  Win32System system;
  Win32Keyboard keyboard{PumpMessages};
  Win32CodePage codePage;
  MacroPorts ports{windows, system, keyboard, codePage};
};

WindowHandle W(HWND h) { return reinterpret_cast<WindowHandle>(h); }

TEST(SendKeysWine, TypesIntoAnEditOfAnotherThread) {
  EditThread target;
  ASSERT_NE(target.Window(), nullptr);
  RealPorts real;
  struct {
    const char* macro;
    const char* text;
  } cases[] = {
      {"Hello, world", "Hello, world"},
      {"{SHIFT}ab{SHIFT}c", "abc"},  // Shift is in the key state; the characters stay
      {"wordxy{BS}{bs 2}D", "worD"},
      {"{{}x{}}{a}{}", "{x}A"},
      {"bc{HOME}a{END}d", "abcd"},
      {"ab{LEFT}{DEL}c", "ac"},
      // The Shift of the key state reaches the edit: Shift+Home selects, X replaces.
      {"abc{SHIFT}{HOME}{SHIFT}X", "X"},
      {"abc{SHIFT}{LEFT 2}{SHIFT}{DEL}", "a"},
      {"x{PAUSE}y{TAB 0}z", "xyz"},
  };
  for (auto& c : cases) {
    target.Clear(0);
    SendKeys(real.ports, c.macro, W(target.Window()));
    ASSERT_TRUE(target.Drain());
    EXPECT_EQ(target.Text(0), c.text) << "macro: " << c.macro;
  }
}

TEST(SendKeysWine, TabMovesTheFocusAndTheRestFollowsIt) {
  EditThread target;
  ASSERT_NE(target.Window(), nullptr);
  RealPorts real;
  SendKeys(real.ports, "one{TAB}two\tthree", W(target.Window()));
  ASSERT_TRUE(target.Drain());
  // Tabbing into an edit selects its text, so "three" replaces "one".
  EXPECT_EQ(target.Text(0), "three");
  EXPECT_EQ(target.Text(1), "two");
  EXPECT_EQ(target.Focus(), target.Edit(0));
}

TEST(SendKeysWine, KeyStateIsRestoredAndTheThreadsParted) {
  EditThread target;
  ASSERT_NE(target.Window(), nullptr);
  RealPorts real;
  BYTE before[256];
  ASSERT_TRUE(GetKeyboardState(before));
  SendKeys(real.ports, "{SHIFT}{CTRL}x", W(target.Window()));
  ASSERT_TRUE(target.Drain());
  BYTE after[256];
  ASSERT_TRUE(GetKeyboardState(after));
  EXPECT_EQ(after[VK_SHIFT] & 0x80, before[VK_SHIFT] & 0x80);
  EXPECT_EQ(after[VK_CONTROL] & 0x80, before[VK_CONTROL] & 0x80);
  // Parted: our own thread has no focus window of the other thread's.
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST(SendKeysWine, ATargetOfAnotherThreadThatIsGoneSendsNothing) {
  HWND gone = nullptr;
  {
    EditThread target;
    gone = target.Window();
  }
  ASSERT_FALSE(IsWindow(gone));
  RealPorts real;
  SendKeys(real.ports, "abc", W(gone));
  SendKeys(real.ports, "abc", 0);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST(Win32Keyboard, AdapterCalls) {
  Win32Keyboard keyboard(PumpMessages);
  EXPECT_EQ(keyboard.VkKeyScanA('a') & 0xFF, 'A');
  EXPECT_EQ(keyboard.VkKeyScanA('A') >> 8, 1);  // Shift alone
  EXPECT_EQ(keyboard.MapVirtualKeyA('A', kMapVkToScanCode), 0x1Eu);
  EXPECT_EQ(keyboard.MapVirtualKeyA(VK_MENU, kMapVkToScanCode), 0x38u);
  // Code page 1252: é is there, → is not (no "?" in its place, no look-alike).
  Win32CodePage codePage;
  std::string bytes;
  EXPECT_TRUE(codePage.WideCharToMultiByte(u"\u00E9", bytes) && bytes == "\xE9");
  EXPECT_FALSE(codePage.WideCharToMultiByte(u"a\u2192", bytes));
  KeyState state{};
  ASSERT_TRUE(keyboard.GetKeyboardState(state));
  KeyState changed = state;
  changed[VK_SHIFT] = 0x81;
  EXPECT_TRUE(keyboard.SetKeyboardState(changed));
  EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
  EXPECT_TRUE(keyboard.SetKeyboardState(state));
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, state[VK_SHIFT] & 0x80 ? 0x8000 : 0);

  // Processing takes every waiting message; a posted key message is no keyboard input
  // for the queue status (only real input is).
  WindowOwner w(
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(w);
  PostMessageA(w.get(), WM_KEYDOWN, 'A', 0x1E0001);
  EXPECT_EQ(keyboard.GetQueueStatus(kQsKey), 0u);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  keyboard.ProcessMessages();
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  w.Reset();

  // A process that cannot be opened ends the wait at once.
  DWORD start = GetTickCount();
  keyboard.WaitForInputIdle(0, kInputIdleTimeoutMs);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(Win32Windows, PopupsActivationAndProcesses) {
  EditThread target;
  ASSERT_NE(target.Window(), nullptr);
  Win32Windows windows;
  EXPECT_EQ(windows.GetWindowProcess(W(target.Edit(0))), GetCurrentProcessId());
  EXPECT_EQ(windows.GetWindowThread(W(target.Edit(0))), target.ThreadId());
  EXPECT_EQ(windows.GetLastActivePopup(W(target.Window())), W(target.Window()));
  EXPECT_TRUE(windows.IsWindow(W(target.Window())));
  EXPECT_FALSE(windows.IsWindow(0));
  EXPECT_EQ(windows.GetWindowProcess(0), 0u);
}

}  // namespace
}  // namespace ostrel
