// TSysHotKey on its real hidden window: registrations the window system grants and
// refuses, WM_HOTKEY reaching OnHotKey, and the window's own lifetime.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "components/SysHot.h"
#include "components/win32/SysHotWindow.h"

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
  SysHotWindow window;
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
    SysHotWindow window;
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
    SysHotWindow window;
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

}  // namespace
}  // namespace ostrel
