// The OstrelMenu popped up at the cursor: readiness, the one-second debounce, the busy
// mark, the focus taken from the window in front and the foreground handed back; the
// hook library's attach and detach; the private and end-of-session messages.
#include <gtest/gtest.h>

#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class MouseLink : public ::testing::Test, public Harness {
 protected:
  void SetUp() override {
    windows.classes["Progman"] = 77;
    windows.windows[300] = {true, 0, kWsSysMenu, 9};  // another program's window
    windows.cursor = {12, 34};
  }
};

TEST_F(MouseLink, NothingBeforeTheSetUpHasFinished) {
  ctl.FormCreate();
  EXPECT_TRUE(ctl.AppMessage(MSG_SHOW_MENU));
  EXPECT_TRUE(Calls({"popup"}).empty());
  // The refused request did not move the debounce on.
  StartWith({});
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(Calls({"popup"}), std::vector<std::string>{"popup 12,34"});
}

TEST_F(MouseLink, FocusIsTakenAndTheForegroundHandedBack) {
  StartWith({});
  windows.foreground = 300;
  windows.focus = 301;
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(log.calls, (std::vector<std::string>{
                           "AttachThreadInput 9 42 1", "AttachThreadInput 9 42 0",
                           "SetForegroundWindow 500", "popup 12,34", "SetForegroundWindow 300"}));
  EXPECT_EQ(ctl.Mouse().MenuFocus(), 301u);
  EXPECT_EQ(ctl.Mouse().MenuPoint().y, 34);
}

TEST_F(MouseLink, WithTheDesktopInFrontNothingIsHandedBack) {
  StartWith({});
  windows.foreground = 300;
  windows.focus = 301;
  ctl.AppMessage(MSG_SHOW_MENU);
  system.now += 1500;
  windows.foreground = 77;
  windows.focus = 0;
  windows.cursor = {5, 6};
  log.calls.clear();
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"SetForegroundWindow 500", "popup 5,6"}));
  EXPECT_EQ(ctl.Mouse().MenuFocus(), 301u);
  EXPECT_EQ(ctl.Mouse().MenuPoint().x, 5);
}

TEST_F(MouseLink, RequestsWithinASecondOrWhileTheMenuIsUpAreDropped) {
  StartWith({});
  ctl.AppMessage(MSG_SHOW_MENU);
  system.now += 500;
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(Calls({"popup"}).size(), 1u);
  system.now += 1000;
  int nested = 0;
  view.whileMenuUp = [&] {
    if (nested++) return;
    system.now += 2000;
    ctl.ShowMenuAtCursor();  // a request arriving while the menu is up
  };
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(Calls({"popup"}).size(), 2u);
}

TEST_F(MouseLink, TheDebounceEndsExactlyAtItsTiming) {
  StartWith({});
  const std::uint32_t gap = ctl.Timings().menuDebounceMs;
  EXPECT_EQ(gap, 1000u);
  ctl.AppMessage(MSG_SHOW_MENU);
  system.now += gap - 1;
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(Calls({"popup"}).size(), 1u);
  system.now += 1;
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(Calls({"popup"}).size(), 2u);
}

TEST_F(MouseLink, AFailedInputJoinDropsTheRequest) {
  StartWith({});
  windows.foreground = 300;
  windows.attachSucceeds = false;
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_TRUE(Calls({"popup"}).empty());
  system.now += 500;
  windows.attachSucceeds = true;
  ctl.AppMessage(MSG_SHOW_MENU);  // the debounce moved on all the same
  EXPECT_TRUE(Calls({"popup"}).empty());
  // The early way out left the menu free: once the second is over it comes up.
  system.now += 1000;
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(Calls({"popup"}).size(), 1u);
}

TEST_F(MouseLink, TheMainWindowIsTriedTenTimesAtMost) {
  StartWith({});
  windows.foreground = 300;
  windows.refuseForeground = {500};
  ctl.AppMessage(MSG_SHOW_MENU);
  EXPECT_EQ(Calls({"SetForegroundWindow 500"}).size(), 10u);
  EXPECT_EQ(Calls({"popup"}).size(), 1u);
}

TEST_F(MouseLink, AttachAndDetach) {
  ctl.FormCreate();
  ctl.Mouse().AttachTheDll(true);  // not attached: nothing to repeat
  EXPECT_TRUE(Calls({"DLL", "Map"}).empty());
  ctl.Mouse().AttachTheDll(false);
  ctl.Mouse().AttachTheDll(false);
  EXPECT_EQ(Calls({"DLL", "Map", "Write"}),
            (std::vector<std::string>{"DLLATTACH", "MapSharedBlock", "WriteShared 44 500"}));
  log.calls.clear();
  ctl.AppMessage(MSG_REATTACH);
  ctl.Mouse().DetachTheDll();
  ctl.Mouse().DetachTheDll();
  ctl.Mouse().AttachTheDll(false);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"DLLATTACH", "DLLDETACH", "DLLATTACH"}));
}

TEST_F(MouseLink, AMissingBlockIsTriedAgainAtTheNextAttach) {
  hook.blockExists = false;
  ctl.FormCreate();
  ctl.Mouse().AttachTheDll(false);
  hook.blockExists = true;
  ctl.AppMessage(MSG_REATTACH);
  EXPECT_EQ(Calls({"Map", "Write"}),
            (std::vector<std::string>{"MapSharedBlock", "MapSharedBlock", "WriteShared 44 500"}));
}

TEST_F(MouseLink, TerminateAndEndOfSessionEndTheProcessAtOnce) {
  for (std::uint32_t msg : {MSG_TERMINATE, kWmQueryEndSession, kWmEndSession}) {
    Harness h;
    h.windows.classes["Progman"] = 77;
    h.StartWith({});
    h.windows.windows[77].visible = false;
    h.ctl.SetHiddenWindow(300);
    EXPECT_TRUE(h.ctl.AppMessage(msg));
    EXPECT_TRUE(h.ctl.Terminating());
    // A hidden window comes back; the hidden desktop and the library are left alone.
    EXPECT_EQ(h.log.calls, (std::vector<std::string>{"ShowWindow 300 5", "SetForegroundWindow 300",
                                                     "TerminateProcess 0"}));
    // Once terminating, the messages go on untouched.
    h.log.calls.clear();
    EXPECT_FALSE(h.ctl.AppMessage(msg));
    EXPECT_TRUE(h.log.calls.empty());
  }
  EXPECT_FALSE(ctl.AppMessage(0x0113));  // WM_TIMER and the like are not the filter's
}

}  // namespace
}  // namespace ostrel
