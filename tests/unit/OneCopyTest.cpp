// One copy per session: a second start hands over to the first and ends without
// touching anything; the first shows its window at once, or after its set-up.
#include <gtest/gtest.h>

#include "app/OneCopy.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class FakeOneCopy : public OneCopyPort {
 public:
  explicit FakeOneCopy(CallLog& log) : log_(log) {}
  bool markFree = true;
  bool TakeRunningMark() override {
    log_.Add("TakeRunningMark");
    return markFree;
  }
  std::uint32_t ShowRequestMessage() override { return 0xC123; }
  void AllowForeground(WindowHandle wnd) override {
    log_.Add("AllowForeground " + std::to_string(wnd));
  }

 private:
  CallLog& log_;
};

struct OneCopy : ::testing::Test {
  CallLog log;
  FakeOneCopy copy{log};
  FakeWindows windows{log};
  FakeSystem system{log};
};

TEST_F(OneCopy, TheFirstCopyRunsAndLooksForNoOther) {
  EXPECT_TRUE(ClaimOnlyCopy(copy, windows, system));
  EXPECT_EQ(log.calls, std::vector<std::string>{"TakeRunningMark"});
}

TEST_F(OneCopy, ASecondCopyAsksTheFirstForItsWindowAndEnds) {
  copy.markFree = false;
  windows.classes[kMainWindowClass] = 600;
  EXPECT_FALSE(ClaimOnlyCopy(copy, windows, system));
  EXPECT_EQ(log.calls, (std::vector<std::string>{"TakeRunningMark", "FindWindow TOstrelForm",
                                                 "AllowForeground 600",
                                                 "PostMessage 600 49443 0 0"}));
}

TEST_F(OneCopy, ASecondCopyWaitsBrieflyForTheFirstsWindow) {
  copy.markFree = false;
  int looks = 0;
  // The first copy's window appears at the fourth look.
  struct Appearing : FakeWindows {
    using FakeWindows::FakeWindows;
    int* looks = nullptr;
    WindowHandle FindWindowByClass(const std::string& cls) override {
      return ++*looks >= 4 ? 600 : FakeWindows::FindWindowByClass(cls);
    }
  } late{log};
  late.looks = &looks;
  EXPECT_FALSE(ClaimOnlyCopy(copy, late, system));
  EXPECT_EQ(looks, 4);
  EXPECT_EQ(log.calls.back(), "PostMessage 600 49443 0 0");

  // Without a window in time it gives up within the wait, and posts nothing.
  log.calls.clear();
  const std::uint64_t start = system.now;
  EXPECT_FALSE(ClaimOnlyCopy(copy, windows, system));
  const Timings t;
  EXPECT_GE(system.now - start, t.firstCopyWaitMs);
  EXPECT_LT(system.now - start, t.firstCopyWaitMs + t.firstCopyPollMs + 1);
  for (const std::string& c : log.calls) EXPECT_EQ(c.find("PostMessage"), std::string::npos) << c;
}

class ShowRequest : public ::testing::Test, public Harness {};

TEST_F(ShowRequest, ARequestDuringTheSetUpOverridesTheHideOption) {
  registry.SetString(kMachineOptions, "OLTaskbar", "1");
  files.files[kKeysPath] = Bytes(MakeRec("A"));
  ctl.FormCreate();
  ctl.AnotherCopyStarted();
  EXPECT_TRUE(Calls({"restore"}).empty());  // nothing to show yet
  ctl.Timer2Timer();
  EXPECT_TRUE(view.options[obOlTaskBar]);
  EXPECT_TRUE(Calls({"minimize"}).empty());
  EXPECT_EQ(Calls({"restore"}).size(), 1u);
}

}  // namespace
}  // namespace ostrel
