// TTrayIcon against a recording notification-area port: when the icon is added,
// modified and removed, what the record carries, and the order of popup and events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/TrayIcon.h"

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

}  // namespace
}  // namespace ostrel
