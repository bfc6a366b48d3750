// TTrayIcon on its real hidden window in the session's notification area: the icon
// added, changed and removed through Shell_NotifyIconA, and the area's callback message
// turned into a click.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <utility>
#include <vector>

#include "components/TrayIcon.h"
#include "components/win32/TrayIconWindow.h"

namespace ostrel {
namespace {

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The real window, keeping what each Shell_NotifyIconA call answered.
class AnsweringTrayWindow : public TrayIconWindow {
 public:
  std::vector<std::pair<int, bool>> answers;
  bool ShellNotifyIcon(int op, const NotifyIconData& record) override {
    bool ok = TrayIconWindow::ShellNotifyIcon(op, record);
    answers.emplace_back(op, ok);
    return ok;
  }
};

using Answers = std::vector<std::pair<int, bool>>;

class TrayIconWindowTest : public ::testing::Test {
 protected:
  AnsweringTrayWindow window;
  TTrayIcon tray{window};

  void SetUp() override {
    window.Bind(&tray);
    tray.SetIcon(reinterpret_cast<std::uintptr_t>(
        LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1))));
    ASSERT_NE(tray.Icon(), 0u);
  }
  HWND Hidden() { return window.TWindowedComponent::Handle(); }
};

TEST_F(TrayIconWindowTest, IconIsAddedChangedAndRemovedForReal) {
  tray.SetToolTip("Ostrel");
  tray.SetActive(true);
  tray.SetToolTip("Ostrel, hotkeys off");
  tray.SetActive(false);
  EXPECT_EQ(window.answers, (Answers{{kNimAdd, true}, {kNimModify, true}, {kNimDelete, true}}));

  // Gone for the shell too: there is nothing left to change or remove.
  EXPECT_FALSE(window.ShellNotifyIcon(kNimModify, tray.Record()));
  EXPECT_FALSE(window.ShellNotifyIcon(kNimDelete, tray.Record()));
}

TEST_F(TrayIconWindowTest, EmptyTipIsRefreshedThroughThePostedMessage) {
  tray.SetActive(true);
  EXPECT_EQ(window.answers, (Answers{{kNimAdd, true}}));
  PumpMessages();
  ASSERT_GE(window.answers.size(), 2u);
  EXPECT_EQ(window.answers[1], std::make_pair(kNimModify, true));
  tray.SetActive(false);
}

TEST_F(TrayIconWindowTest, CallbackWithLeftButtonUpRaisesOnMouseClickAtTheCursor) {
  std::vector<std::pair<int, int>> clicks;
  tray.OnMouseClick = [&](TTrayIcon& sender, TMouseButton button, int x, int y) {
    EXPECT_EQ(&sender, &tray);
    EXPECT_EQ(button, TMouseButton::mbLeft);
    clicks.emplace_back(x, y);
  };
  tray.SetToolTip("Ostrel");
  tray.SetActive(true);
  SetCursorPos(900, 740);
  POINT at{};
  GetCursorPos(&at);

  EXPECT_EQ(SendMessageA(Hidden(), kTrayCallbackMessage, 0, WM_LBUTTONUP), 0);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], std::make_pair(static_cast<int>(at.x), static_cast<int>(at.y)));

  // A button going down, or a message of no interest, raises nothing.
  SendMessageA(Hidden(), kTrayCallbackMessage, 0, WM_LBUTTONDOWN);
  SendMessageA(Hidden(), WM_USER + 7, 0, WM_LBUTTONUP);
  EXPECT_EQ(clicks.size(), 1u);
  tray.SetActive(false);
}

// A restarted shell has none of the old icons and broadcasts "TaskbarCreated" to every
// top-level window; the hidden window is one, and the icon comes back.
TEST_F(TrayIconWindowTest, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
  tray.SetToolTip("Ostrel");
  tray.SetActive(true);
  ASSERT_TRUE(window.TrayIconWindow::ShellNotifyIcon(kNimDelete, tray.Record()));
  ASSERT_FALSE(window.TrayIconWindow::ShellNotifyIcon(kNimModify, tray.Record()));

  const UINT created = RegisterWindowMessageA("TaskbarCreated");
  ASSERT_EQ(window.TaskbarCreatedMessage(), created);
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(HWND_BROADCAST, created, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_TRUE(window.TrayIconWindow::ShellNotifyIcon(kNimModify, tray.Record()))
      << "the icon is not back in the notification area";
  EXPECT_TRUE(tray.Shown());
  tray.SetActive(false);
}

// The shell's balloon is a visible tool-tip window of the notification area's process
// that shows the text.
BOOL CALLBACK FindBalloon(HWND h, LPARAM text) {
  char cls[64] = {}, shown[300] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (!IsWindowVisible(h) || lstrcmpiA(cls, TOOLTIPS_CLASSA)) return TRUE;
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return lstrcmpA(shown, reinterpret_cast<const char*>(text)) != 0;
}

TEST_F(TrayIconWindowTest, ABalloonShowsItsTextAtTheIcon) {
  tray.SetToolTip("Ostrel");
  tray.SetActive(true);
  const char* text = "Ostrel could not type into \"Setup\".";
  ASSERT_TRUE(tray.ShowBalloon(text));
  bool shown = false;
  for (DWORD start = GetTickCount(); !shown && GetTickCount() - start < 5000; Sleep(50)) {
    PumpMessages();
    shown = !EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(text));
  }
  EXPECT_TRUE(shown) << "no balloon shows the text";
  tray.SetActive(false);
}

// The retry timer is the hidden window's own: it fires there and reaches the component.
TEST_F(TrayIconWindowTest, TheRetryTimerFiresOnTheHiddenWindow) {
  tray.SetToolTip("Ostrel");
  window.SetRetryTimer(true);
  const DWORD start = GetTickCount();
  MSG msg{};
  bool fired = false;
  while (!fired && GetTickCount() - start < kTrayRetryMs * 3) {
    if (!PeekMessageA(&msg, Hidden(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
      Sleep(20);
      continue;
    }
    fired = msg.wParam == kTrayRetryTimerId;
  }
  window.SetRetryTimer(false);
  EXPECT_TRUE(fired);
}

}  // namespace
}  // namespace ostrel
