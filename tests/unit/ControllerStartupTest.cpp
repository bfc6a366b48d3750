#include <gtest/gtest.h>

#include "app/OstrelController.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

const std::string kKeys = kKeysPath;

class ControllerStartup : public ::testing::Test, public Harness {};

TEST_F(ControllerStartup, CreateStepOnlyFillsTheHelpPaneAndArmsTheTimer) {
  ctl.FormCreate();
  EXPECT_EQ(log.calls, (std::vector<std::string>{"helpText", "showMainForm 0", "setupTimer on"}));
  EXPECT_EQ(view.helpText.find('@'), std::string::npos);
  EXPECT_NE(view.helpText.find("panel. \r\n\r\nYou can add"), std::string::npos);
  EXPECT_EQ(ctl.UiThreadId(), 42u);
  EXPECT_EQ(ctl.Keys(), nullptr);
  EXPECT_FALSE(ctl.PopupReady());
}

TEST_F(ControllerStartup, DelayedSetUpLoadsRewritesAndShows) {
  std::string bytes = Bytes(MakeRec("Web", "Net", 11)) + Bytes(MakeRec("Agenda", "", 3));
  files.files[kKeys] = bytes;
  // A user with definitions is not shown the examples hint (one "helpText" below).
  files.files["C:\\Program Files\\Ostrel\\Examples.fil"] = bytes;
  windows.classes["Progman"] = 77;
  Start();
  // The registry's part is the options' business (OptionsTest).
  std::vector<std::string> calls;
  for (const std::string& c : log.calls)
    if (c.rfind("Reg", 0) != 0) calls.push_back(c);
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "helpText", "showMainForm 0", "setupTimer on", "setupTimer off", "filter",
                       "bindMinimize", "hints 1000 10000", "FindWindow Progman",
                       "check 4 1", "check 5 1",  // pasting and typing as input are on by default
                       "DLLATTACH", "MapSharedBlock", "WriteShared 44 500", "tree 3", "menu 7",
                       Pause(&Timings::settleMs), "NotifyIcon 0 Ostrel", "restore",
                       "SetForegroundWindow 500", Pause(&Timings::settleMs)}));
  EXPECT_EQ(ctl.AppDir(), "C:\\Program Files\\Ostrel\\");
  EXPECT_EQ(ctl.KeysFileName(), kKeys);
  EXPECT_EQ(ctl.DesktopWnd(), 77u);
  EXPECT_TRUE(ctl.PopupReady());
  ASSERT_EQ(ctl.Keys()->Count(), 2u);
  // Rewritten in key-text order.
  EXPECT_EQ(FromBytes(files.files[kKeys], 0).Name.str(), "Agenda");
  EXPECT_EQ(FromBytes(files.files[kKeys], 844).Name.str(), "Web");
}

TEST_F(ControllerStartup, ANewUserIsToldHowToStartFromTheExamples) {
  files.files["C:\\Program Files\\Ostrel\\Examples.fil"] = Bytes(MakeRec("Example"));
  Start();
  EXPECT_EQ(view.helpText.find("To start from examples, click Import... and open Examples.fil in "
                               "Ostrel's folder, C:\\Program Files\\Ostrel\\.\r\n\r\nThis is"),
            0u);
}

TEST_F(ControllerStartup, HideOptionHidesOnlyWhenThereAreDefinitions) {
  registry.SetString(kMachineOptions, "OLTaskbar", "1");
  Start();
  EXPECT_EQ(Calls({"restore", "minimize", "ShowWindow"}), std::vector<std::string>{"restore"});
  EXPECT_TRUE(view.options[obOlTaskBar]);

  Harness withDefinitions;
  withDefinitions.files.files[kKeys] = Bytes(MakeRec("A"));
  withDefinitions.registry.SetString(kMachineOptions, "OLTaskbar", "1");
  withDefinitions.Start();
  // Minimised, and so hidden with its taskbar button: only the icon is left.
  EXPECT_EQ(withDefinitions.Calls({"restore", "minimize", "ShowWindow"}),
            (std::vector<std::string>{"minimize", "ShowWindow 500 0"}));
}

TEST_F(ControllerStartup, UnreadableFileIsReportedAndLeftAloneBySetUp) {
  files.files[kKeys] = Bytes(MakeRec("A"));
  files.unreadable.insert(kKeys);
  Start();
  std::vector<std::string> errors = Calls({"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("error Cannot open file " + kKeys, 0), 0u);
  // About 2 s of attempts before giving up, then the set-up's two pauses.
  std::vector<std::string> pauses(DefinitionFile::kOpenAttempts - 1,
                                  "Sleep " + std::to_string(DefinitionFile::kOpenRetryMs));
  pauses.insert(pauses.end(), 2, Pause(&Timings::settleMs));
  EXPECT_EQ(Calls({"Sleep"}), pauses);
  // No backup, no rewrite: only the probe of whether the folder can be written.
  for (const std::string& op : files.log)
    if (op.find("~Ostrel-write-test.tmp") == std::string::npos) ADD_FAILURE() << op;
  EXPECT_EQ(files.files[kKeys], Bytes(MakeRec("A")));
  EXPECT_TRUE(ctl.PopupReady());
  EXPECT_EQ(Calls({"restore"}), std::vector<std::string>{"restore"});
}

TEST_F(ControllerStartup, FileHeldForAMomentIsLoadedWhole) {
  files.files[kKeys] = Bytes(MakeRec("Web", "Net", 11)) + Bytes(MakeRec("Agenda", "", 3));
  files.heldFor[kKeys] = 10;  // about 1 s
  Start();
  EXPECT_TRUE(Calls({"error"}).empty());
  EXPECT_EQ(files.openAttempts, 11);
  ASSERT_EQ(ctl.Keys()->Count(), 2u);
  EXPECT_FALSE(files.Exists(kKeys + ".bak"));
}

TEST_F(ControllerStartup, DamagedFileIsRepairedWithANotice) {
  TKeyRec rec = MakeRec("Broken");
  rec.Name.len = 99;
  files.files[kKeys] = Bytes(rec);
  Start();
  auto notice = std::find_if(log.calls.begin(), log.calls.end(),
                             [](const std::string& c) { return c.rfind("info ", 0) == 0; });
  ASSERT_NE(notice, log.calls.end());
  EXPECT_NE(notice->find("Keys.fil.bak"), std::string::npos);
  EXPECT_EQ(files.files[kKeys + ".bak"], Bytes(rec));
  EXPECT_EQ(FromBytes(files.files[kKeys]).Name.len, 40);
}

TEST_F(ControllerStartup, CloseIsRefusedUntilTerminating) {
  Start();
  log.calls.clear();
  EXPECT_FALSE(ctl.FormCloseQuery());
  EXPECT_EQ(log.calls, std::vector<std::string>{"minimize"});
  ctl.SetTerminating(true);
  EXPECT_TRUE(ctl.FormCloseQuery());
}

TEST_F(ControllerStartup, TeardownShowsTheDesktopAndTheHiddenWindowAgain) {
  windows.classes["Progman"] = 77;
  windows.windows[77].visible = false;
  Start();
  ctl.SetHiddenWindow(501);
  log.calls.clear();
  ctl.FormDestroy();
  EXPECT_EQ(log.calls, (std::vector<std::string>{"ShowWindow 77 5", "ShowWindow 501 5",
                                                 "SetForegroundWindow 501", "DLLDETACH"}));
  EXPECT_EQ(ctl.HiddenWindow(), 0u);
  EXPECT_EQ(ctl.Keys(), nullptr);
}

TEST_F(ControllerStartup, TeardownBeforeSetUpTouchesNothingElse) {
  ctl.FormCreate();
  log.calls.clear();
  ctl.FormDestroy();
  EXPECT_TRUE(log.calls.empty());
}

}  // namespace
}  // namespace ostrel
