// TTrayIcon against a recording notification-area port: when the icon is added,
// modified and removed, what the record carries, and the order of popup and events.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/TrayIcon.h"
#include "fakes/RecordingPorts.h"

namespace ostrel {
namespace {

using Calls = std::vector<std::string>;
constexpr WindowHandle kHidden = 0x4711;

// Logs "add|modify|delete <tip>" per Shell_NotifyIconA and "post" per refresh; keeps
// the last record.
class RecordingNotifyIcon : public NotifyIconPort {
 public:
  Calls calls;
  NotifyIconData last;

  WindowHandle Handle() override { return kHidden; }
  bool ShellNotifyIcon(int op, const NotifyIconData& record) override {
    static const char* const names[] = {"add", "modify", "delete"};
    calls.push_back(std::string(names[op]) + " " + record.szTip);
    last = record;
    return true;
  }
  void PostToolTipRefresh() override { calls.push_back("post"); }
  ScreenPoint CursorPos() override { return {300, -40}; }
  std::uint32_t TaskbarCreatedMessage() override { return 0; }
  void SetRetryTimer(bool on) override { calls.push_back(on ? "retry on" : "retry off"); }
};

class TrayIconTest : public ::testing::Test {
 protected:
  RecordingNotifyIcon port;
  TTrayIcon tray{port};

  void Callback(std::uint32_t mouseMessage) {
    EXPECT_TRUE(tray.HandleMessage(kTrayCallbackMessage, 0, mouseMessage));
  }
  // Every event and the popup write a line into the port's log.
  void RecordEvents() {
    auto line = [this](const char* what, int x, int y) {
      port.calls.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    tray.PopupMenu = [=](int x, int y) { line("popup", x, y); };
    tray.OnMouseClick = [=, this](TTrayIcon& sender, TMouseButton button, int x, int y) {
      EXPECT_TRUE(&sender == &tray && button == TMouseButton::mbLeft);
      line("click", x, y);
    };
    tray.OnRightClick = [=, this](TTrayIcon& sender, TMouseButton button, int x, int y) {
      EXPECT_TRUE(&sender == &tray && button == TMouseButton::mbRight);
      line("right", x, y);
    };
    tray.OnDblClick = [this](TTrayIcon&) { port.calls.push_back("dblclick"); };
  }
};

TEST_F(TrayIconTest, ActiveAddsOnceAndRemovesOnceWithTheFilledRecord) {
  tray.SetIcon(0x99);
  tray.SetToolTip("Ostrel");
  tray.SetActive(false);
  tray.SetActive(true);
  tray.SetActive(true);
  EXPECT_EQ(port.calls, (Calls{"add Ostrel"}));
  EXPECT_EQ(port.last.hWnd, kHidden);
  EXPECT_EQ(port.last.uID, 0u);
  EXPECT_EQ(port.last.uFlags, 7u);
  EXPECT_EQ(port.last.uCallbackMessage, 1025u);
  EXPECT_EQ(port.last.hIcon, 0x99u);

  tray.SetActive(false);
  tray.SetActive(false);
  EXPECT_EQ(port.calls, (Calls{"add Ostrel", "delete Ostrel"}));
}

TEST_F(TrayIconTest, IconAndToolTipWaitForTheAddWhileInactiveAndModifyOnceWhileActive) {
  const std::string seventy = std::string(60, 'a') + "0123456789";
  tray.SetIcon(0x51);
  tray.SetToolTip(seventy);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(tray.ToolTip(), seventy.substr(0, 62));

  tray.SetActive(true);
  EXPECT_EQ(port.last.hIcon, 0x51u);
  tray.SetIcon(0x52);
  EXPECT_EQ(port.last.hIcon, 0x52u);
  tray.SetToolTip("Hotkeys off");
  EXPECT_EQ(port.calls, (Calls{"add " + seventy.substr(0, 62), "modify " + seventy.substr(0, 62),
                               "modify Hotkeys off"}));
}

TEST_F(TrayIconTest, EmptyTipAtAddIsRefreshedOnceThePostedMessageArrives) {
  tray.SetActive(true);
  EXPECT_EQ(port.calls, (Calls{"add ", "post"}));
  EXPECT_TRUE(tray.HandleMessage(kTrayRefreshMessage, 0, 0));
  EXPECT_EQ(port.calls, (Calls{"add ", "post", "modify "}));

  // With a tip there is nothing to refresh.
  tray.SetActive(false);
  tray.SetToolTip("Ostrel");
  port.calls.clear();
  tray.SetActive(true);
  EXPECT_EQ(port.calls, (Calls{"add Ostrel"}));
}

TEST_F(TrayIconTest, ClicksShowThePopupFirstThenRaiseTheirEvent) {
  RecordEvents();
  Callback(kWmLButtonUp);
  Callback(kWmRButtonUp);
  EXPECT_EQ(port.calls,
            (Calls{"popup 300,-40", "click 300,-40", "popup 300,-40", "right 300,-40"}));
}

TEST_F(TrayIconTest, UnassignedEventsAndOtherMessagesRaiseNothing) {
  RecordEvents();
  tray.OnRightClick = nullptr;
  Callback(kWmRButtonUp);
  EXPECT_EQ(port.calls, (Calls{"popup 300,-40"}));

  port.calls.clear();
  tray.PopupMenu = nullptr;
  for (std::uint32_t m : {0x0200u, 0x0201u, 0x0204u}) Callback(m);  // move, buttons down
  Callback(kWmRButtonUp);
  EXPECT_FALSE(tray.HandleMessage(1027, 0, kWmLButtonUp));
  EXPECT_TRUE(port.calls.empty());
}

TEST_F(TrayIconTest, DoubleClickArrivesBetweenTwoLeftClicks) {
  RecordEvents();
  tray.PopupMenu = nullptr;
  for (std::uint32_t m : {kWmLButtonUp, kWmLButtonDblClk, kWmLButtonUp}) Callback(m);
  EXPECT_EQ(port.calls, (Calls{"click 300,-40", "dblclick", "click 300,-40"}));
}

TEST(TrayIconLifetime, DestructionRemovesAShowingIcon) {
  RecordingNotifyIcon port;
  {
    TTrayIcon tray(port);
    tray.SetToolTip("Ostrel");
    tray.SetActive(true);
  }
  EXPECT_EQ(port.calls, (Calls{"add Ostrel", "delete Ostrel"}));
}

// Against a notification area that can refuse calls and forget its icons.
class TrayIconComesBack : public ::testing::Test {
 protected:
  testing::CallLog log;
  testing::FakeTray area{log};
  TTrayIcon tray{area};
  void Tick() { EXPECT_TRUE(tray.HandleMessage(kWmTimer, kTrayRetryTimerId, 0)); }
  int Adds() const {
    return static_cast<int>(std::count(log.calls.begin(), log.calls.end(), "NotifyIcon 0 Ostrel"));
  }
  void SetUp() override { tray.SetToolTip("Ostrel"); }
};

TEST_F(TrayIconComesBack, ARefusedAddIsRetriedByTheTimerUntilTaken) {
  area.refuse = true;
  tray.SetActive(true);
  EXPECT_FALSE(tray.Shown());
  EXPECT_TRUE(area.retryTimer);
  Tick();
  Tick();
  EXPECT_FALSE(area.shown);
  EXPECT_TRUE(area.retryTimer);
  area.refuse = false;
  Tick();
  EXPECT_TRUE(area.shown);
  EXPECT_TRUE(tray.Shown());
  EXPECT_FALSE(area.retryTimer);
  EXPECT_EQ(Adds(), 4);
  // A tick that was already queued adds nothing more.
  Tick();
  EXPECT_EQ(Adds(), 4);
}

TEST_F(TrayIconComesBack, AnAddReportedFailedWithTheIconThereIsNotRetried) {
  area.shown = true;  // the shell took it but answered too late
  tray.SetActive(true);
  EXPECT_TRUE(tray.Shown());
  EXPECT_FALSE(area.retryTimer);
  EXPECT_TRUE(std::find(log.calls.begin(), log.calls.end(), "trayRetry on") == log.calls.end());
}

TEST_F(TrayIconComesBack, ANewShellGetsTheIconAgainOnlyWhileActive) {
  tray.SetActive(true);
  area.RestartShell();
  EXPECT_FALSE(tray.HandleMessage(testing::FakeTray::kTaskbarCreated, 0, 0));
  EXPECT_TRUE(area.shown);
  EXPECT_EQ(Adds(), 2);
  // A new shell that is not ready yet: retried.
  area.RestartShell();
  area.refuse = true;
  tray.HandleMessage(testing::FakeTray::kTaskbarCreated, 0, 0);
  EXPECT_TRUE(area.retryTimer);
  // Switched off meanwhile: the retries stop and nothing comes back.
  tray.SetActive(false);
  EXPECT_FALSE(area.retryTimer);
  area.refuse = false;
  Tick();
  tray.HandleMessage(testing::FakeTray::kTaskbarCreated, 0, 0);
  EXPECT_FALSE(area.shown);
}

}  // namespace
}  // namespace ostrel
