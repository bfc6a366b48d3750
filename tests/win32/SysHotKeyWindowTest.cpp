// TSysHotKey on its real hidden window: registrations the window system grants and
// refuses, WM_HOTKEY reaching OnHotKey, the mouse hook, and the window's own lifetime.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "components/SysHotKey.h"
#include "components/win32/SysHotKeyWindow.h"

namespace ostrel {
namespace {

// Ctrl+Alt+Shift+F11 and F12 (key indexes): unlikely to be held by anything else.
constexpr std::uint8_t kF11 = 86;
constexpr std::uint8_t kF12 = 87;
constexpr THotKeyModifiers kCtrlAltShift = hkCtrl | hkAlt | hkShift;

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// One component with its window, wired as the program wires it.
struct HotKeyComponent {
  SysHotKeyWindow window;
  TSysHotKey hotKeys{window};
  std::vector<std::int32_t> pressed;

  HotKeyComponent() {
    window.Bind(&hotKeys);
    hotKeys.OnHotKey = [this](TSysHotKey&, std::int32_t index) { pressed.push_back(index); };
  }
};

TEST(WindowedComponent, HiddenWindowComesOnFirstReadAndGoesWithTheComponent) {
  HWND hwnd = nullptr;
  {
    SysHotKeyWindow window;
    EXPECT_FALSE(window.HandleAllocated());
    hwnd = window.Handle();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(window.HandleAllocated());
    EXPECT_EQ(window.Handle(), hwnd);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetAncestor(hwnd, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    // A message the component does not handle gets the default window procedure.
    EXPECT_TRUE(SetWindowTextA(hwnd, "probe"));
    EXPECT_EQ(GetWindowTextLengthA(hwnd), 5);
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(SysHotKeyWindow, RegistersForRealAndTheSecondTakerIsRefused) {
  HotKeyComponent first;
  HotKeyComponent second;
  first.hotKeys.SetActive(true);
  first.hotKeys.AddHotKey(kF11, kCtrlAltShift);
  ASSERT_TRUE(first.hotKeys.Entry(0).Registered);

  second.hotKeys.SetActive(true);
  second.hotKeys.AddHotKey(kF12, kCtrlAltShift);
  second.hotKeys.AddHotKey(kF11, kCtrlAltShift);
  EXPECT_TRUE(second.hotKeys.Entry(0).Registered);
  EXPECT_FALSE(second.hotKeys.Entry(1).Registered);

  // Once the first lets go, the second gets the combination on its next activation.
  first.hotKeys.SetActive(false);
  EXPECT_FALSE(first.hotKeys.Entry(0).Registered);
  second.hotKeys.SetActive(false);
  second.hotKeys.SetActive(true);
  EXPECT_TRUE(second.hotKeys.Entry(0).Registered);
  EXPECT_TRUE(second.hotKeys.Entry(1).Registered);
}

TEST(SysHotKeyWindow, WmHotKeyReachesOnHotKeyWithTheEntryIndex) {
  HotKeyComponent c;
  c.hotKeys.SetActive(true);
  c.hotKeys.AddHotKey(kF11, kCtrlAltShift);
  c.hotKeys.AddHotKey(kF12, kCtrlAltShift);
  HWND hwnd = c.window.Handle();
  LPARAM keys = MAKELPARAM(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F12);

  EXPECT_EQ(SendMessageA(hwnd, WM_HOTKEY, 1, keys), 0);
  ASSERT_TRUE(PostMessageA(hwnd, WM_HOTKEY, 0, keys));
  EXPECT_EQ(c.pressed, (std::vector<std::int32_t>{1}));
  PumpMessages();
  EXPECT_EQ(c.pressed, (std::vector<std::int32_t>{1, 0}));
}

TEST(SysHotKeyWindow, DestroyingTheWindowDeactivatesAndFreesTheCombination) {
  HotKeyComponent c;
  c.hotKeys.SetActive(true);
  c.hotKeys.AddHotKey(kF11, kCtrlAltShift);
  ASSERT_TRUE(c.hotKeys.Entry(0).Registered);

  HWND hwnd = c.window.Handle();
  ASSERT_TRUE(DestroyWindow(hwnd));
  EXPECT_FALSE(c.hotKeys.Active());
  EXPECT_FALSE(c.hotKeys.Entry(0).Registered);
  EXPECT_FALSE(c.window.HandleAllocated());

  HotKeyComponent other;
  other.hotKeys.SetActive(true);
  other.hotKeys.AddHotKey(kF11, kCtrlAltShift);
  EXPECT_TRUE(other.hotKeys.Entry(0).Registered);
}

TEST(SysHotKeyWindow, ComponentGoingFirstGivesUpItsRegistrations) {
  HotKeyComponent other;
  {
    SysHotKeyWindow window;
    TSysHotKey hotKeys(window);
    window.Bind(&hotKeys);
    hotKeys.SetActive(true);
    hotKeys.AddHotKey(kF11, kCtrlAltShift);
    ASSERT_TRUE(hotKeys.Entry(0).Registered);
  }
  other.hotKeys.SetActive(true);
  other.hotKeys.AddHotKey(kF11, kCtrlAltShift);
  EXPECT_TRUE(other.hotKeys.Entry(0).Registered);
}

// A window in front that writes down its key messages: "+11" a key down, "-11" up (the
// virtual key in hex), "x" for the extended mark, and after a key that is no modifier the
// modifiers down with it ("[CASW]"); and its mouse messages: "20B:1" the message and the
// high word of wParam (an X button's number, the wheel's turn).
struct KeyLogWindow {
  static inline std::string log;
  HWND hwnd = nullptr;

  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg > WM_MOUSEMOVE && msg <= WM_MOUSEHWHEEL) {
      char entry[24];
      std::snprintf(entry, sizeof entry, "%s%X:%d", log.empty() ? "" : " ", msg,
                    static_cast<short>(HIWORD(wp)));
      log += entry;
      return msg == WM_XBUTTONDOWN || msg == WM_XBUTTONUP;
    }
    const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    if (!down && msg != WM_KEYUP && msg != WM_SYSKEYUP) return DefWindowProcA(h, msg, wp, lp);
    char entry[16];
    std::snprintf(entry, sizeof entry, "%s%c%02X%s", log.empty() ? "" : " ", down ? '+' : '-',
                  static_cast<unsigned>(wp), (lp & (1 << 24)) ? "x" : "");
    log += entry;
    if (down && wp != VK_CONTROL && wp != VK_MENU && wp != VK_SHIFT && wp != VK_LWIN) {
      log += "[";
      for (auto [vk, c] :
           {std::pair{VK_CONTROL, 'C'}, {VK_MENU, 'A'}, {VK_SHIFT, 'S'}, {VK_LWIN, 'W'}})
        if (GetKeyState(vk) & 0x8000) log += c;
      log += "]";
    }
    return 0;
  }

  KeyLogWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OstrelKeyLog";
    RegisterClassA(&wc);  // a second registration fails harmlessly
    hwnd = CreateWindowExA(0, wc.lpszClassName, "Key log", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200,
                           200, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
  }
  ~KeyLogWindow() { DestroyWindow(hwnd); }
};

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

// PassOn returns once the system has handled its keys, so they wait in the queue by then;
// the pause would also let a second press show.
void PumpAWhile() {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 200; Sleep(5)) PumpMessages();
}

TEST(SysHotKeyWindow, PassOnGivesTheWindowInFrontOnePressAndLeavesTheKeyboardAsHeld) {
  struct Row {
    const char* combination;
    unsigned vk;
    THotKeyModifiers modifiers;
    THotKeyModifiers heldByUser;  // still down when the press is handed on
    const char* expected;
  };
  const Row rows[] = {
      {"Ctrl+Alt+S", 'S', hkCtrl | hkAlt, 0, "+11 +12 +53[CA] -53 -12 -11"},
      {"Ctrl+Alt+S, Ctrl held", 'S', hkCtrl | hkAlt, hkCtrl, "+12 +53[CA] -53 -12"},
      {"Win+Shift+K", 'K', hkWin | hkShift, 0, "+10 +5Bx +4B[SW] -4B -5Bx -10"},
      {"Win+Shift+K, Win held", 'K', hkWin | hkShift, hkWin, "+10 +4B[SW] -4B -10"},
      {"Ctrl+;", VK_OEM_1, hkCtrl, 0, "+11 +BA[C] -BA -11"},
      {"Play/Pause", VK_MEDIA_PLAY_PAUSE, 0, 0, "+B3x[] -B3x"},
  };
  const std::pair<THotKeyModifiers, WORD> modifierKeys[] = {
      {hkCtrl, VK_CONTROL}, {hkAlt, VK_MENU}, {hkShift, VK_SHIFT}, {hkWin, VK_LWIN}};
  KeyLogWindow front;
  ASSERT_EQ(GetForegroundWindow(), front.hwnd);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.combination);
    const unsigned vk = row.vk;
    const unsigned flags = ModifierFlags(row.modifiers);
    HotKeyComponent c;
    c.hotKeys.SetActive(true);
    ASSERT_TRUE(c.window.RegisterHotKey(0, flags, vk));
    for (auto [mod, key] : modifierKeys)
      if (row.heldByUser & mod) SendKey(key, false);
    PumpAWhile();
    KeyLogWindow::log.clear();

    c.window.PassOn(0, flags, vk, 250);  // the program's wait (Timings::replayWaitMs)
    PumpAWhile();
    EXPECT_EQ(KeyLogWindow::log, row.expected);
    EXPECT_TRUE(c.pressed.empty()) << "the replay was caught as the hotkey";
    for (auto [mod, key] : modifierKeys)
      EXPECT_EQ((GetAsyncKeyState(key) & 0x8000) != 0, (row.heldByUser & mod) != 0) << key;
    EXPECT_FALSE(GetAsyncKeyState(static_cast<int>(vk)) & 0x8000);
    // The combination is the window's again.
    EXPECT_FALSE(::RegisterHotKey(nullptr, 1, flags, vk));
    for (auto [mod, key] : modifierKeys)
      if (row.heldByUser & mod) SendKey(key, true);
    PumpAWhile();
  }
}

TEST(SysHotKeyWindow, TheMouseHookTakesAPressWithItsReleaseAndPassesTheRestWhole) {
  struct Row {
    DWORD down, up, data;  // up 0: the wheel
    bool take;             // what the definitions say, if asked
    const char* asked;     // "entry/runs"; "" when no entry is on the input
    const char* arrived;
  } rows[] = {
      {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0, true, "0/1", ""},
      {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0, false, "0/1", "207:0 208:0"},
      {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1, true, "1/1", ""},
      {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2, true, "", "20B:2 20C:2"},
      {MOUSEEVENTF_WHEEL, 0, 240, true, "2/2", ""},  // two notches at once
      {MOUSEEVENTF_WHEEL, 0, static_cast<DWORD>(-120), false, "3/1", "20A:-120"},
      {MOUSEEVENTF_HWHEEL, 0, 120, true, "", "20E:120"},
  };
  KeyLogWindow front;
  SetCursorPos(350, 300);
  HotKeyComponent c;
  bool take = false;
  std::string asked;
  c.hotKeys.OnMouseHotKey = [&](TSysHotKey&, std::int32_t index, int runs) {
    asked += std::to_string(index) + "/" + std::to_string(runs);
    return take;
  };
  c.hotKeys.SetActive(true);
  for (std::int32_t key : {kMiddleButton, kBackButton, kWheelUp, kWheelDown})
    c.hotKeys.AddHotKey(static_cast<std::uint8_t>(key), 0);
  ASSERT_TRUE(c.hotKeys.Entry(0).Registered) << "no mouse hook";
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    take = row.take;
    asked.clear();
    KeyLogWindow::log.clear();
    INPUT in[2] = {};
    for (INPUT& i : in) i.type = INPUT_MOUSE, i.mi.mouseData = row.data;
    in[0].mi.dwFlags = row.down;
    in[1].mi.dwFlags = row.up;
    SendInput(row.up ? 2 : 1, in, sizeof(INPUT));
    PumpAWhile();
    EXPECT_EQ(asked, row.asked);
    EXPECT_EQ(KeyLogWindow::log, row.arrived);
  }
}

}  // namespace
}  // namespace ostrel
