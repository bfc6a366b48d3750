#include <gtest/gtest.h>

#include "app/OstrelController.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class Options : public ::testing::Test, public Harness {
 protected:
  void Click(int tag) {
    view.ClickOption(tag, [this](int t) { ctl.OptionBoxClick(t); });
  }
  std::string Machine(const char* name) { return registry.Text(kMachineOptions, name); }
  std::string User(const char* name) { return registry.Text(kUserOptions, name); }
};

TEST_F(Options, LoadingRunsInItsPlaceAndStoresOnlyOnceLoaded) {
  registry.SetString(kMachineOptions, "OLTaskbar", "1");
  registry.SetString(kMachineOptions, "OLMouse", "1");
  files.files[kStartupLink] = "L";
  Start();
  // The link first, then the desktop, the two registry boxes, and the one SetOptions
  // that stores them; the definitions come after.
  EXPECT_EQ(
      Calls({"hints", "check", "SaveShellLink", "FindWindow", "RegSetValueEx", "DLL", "tree"}),
      (std::vector<std::string>{
          "hints 1000 10000", "check 0 1",
          "SaveShellLink " + kStartupLink + " -> C:\\Program Files\\Ostrel\\Ostrel.exe",
          "FindWindow Progman", "check 1 1", "check 3 1", "check 4 1", "check 5 1",
          "RegSetValueEx OLTaskbar 1 2", "RegSetValueEx OLMouse 1 2",
          "RegSetValueEx OLPasteLong 1 2", "RegSetValueEx OLSendInput 1 2", "tree 0"}));
  EXPECT_FALSE(ctl.Options().OptionsBusy());
  EXPECT_EQ(Machine("OLTaskbar"), "1");
  EXPECT_EQ(Machine("OLMouse"), "1");
  // "Disable OstrelMenu mouse activation" holds for the last step of the set-up too.
  EXPECT_FALSE(ctl.HookAttached());
  EXPECT_EQ(ctl.Options().OptionStore().RootKey, hkLocalMachine);
  EXPECT_EQ(ctl.Options().OptionStore().Key, "Software\\Tessaly\\Ostrel\\1.0");
}

TEST_F(Options, SetOptionsDoesNothingWhileBusy) {
  Start();
  log.calls.clear();
  ctl.Options().ReadOptions();  // leaves OptionsBusy set, as loading does until its last step
  EXPECT_TRUE(ctl.Options().OptionsBusy());
  Click(obOLMouse);
  ctl.Options().SetOptions();
  EXPECT_TRUE(Calls({"RegSetValueEx", "DLL"}).empty());
  EXPECT_TRUE(ctl.HookAttached());
}

TEST_F(Options, AMissingKeyLeavesBothBoxesUncheckedAndStoresZeros) {
  Start();
  EXPECT_FALSE(view.options[obOlTaskBar]);
  EXPECT_FALSE(view.options[obOLMouse]);
  EXPECT_EQ(Machine("OLTaskbar"), "0");
  EXPECT_EQ(Machine("OLMouse"), "0");
  EXPECT_TRUE(ctl.HookAttached());
  // Pasting long text and typing as keyboard input are on until switched off.
  EXPECT_TRUE(view.options[obPasteLong]);
  EXPECT_EQ(Machine("OLPasteLong"), "1");
  EXPECT_TRUE(view.options[obSendInput]);
  EXPECT_EQ(Machine("OLSendInput"), "1");
  // Values that are present but not "1" read as unchecked too.
  Harness again;
  again.registry.SetString(kMachineOptions, "OLTaskbar", "yes");
  again.registry.SetRaw(kMachineOptions, "OLMouse", kRegDword, {1, 0, 0, 0});
  again.registry.SetString(kMachineOptions, "OLPasteLong", "0");
  again.registry.SetString(kMachineOptions, "OLSendInput", "0");
  again.Start();
  EXPECT_FALSE(again.view.options[obPasteLong]);
  EXPECT_FALSE(again.view.options[obSendInput]);
  EXPECT_FALSE(again.view.options[obOlTaskBar]);
  EXPECT_TRUE(again.view.options[obOLMouse]);  // the number 1 equals "1"
}

TEST_F(Options, ClickingTheBoxesAppliesAndStoresAtOnce) {
  Start();
  log.calls.clear();
  Click(obOLMouse);
  EXPECT_EQ(
      Calls({"DLL", "RegSetValueEx"}),
      (std::vector<std::string>{"DLLDETACH", "RegSetValueEx OLTaskbar 1 2",
                                "RegSetValueEx OLMouse 1 2", "RegSetValueEx OLPasteLong 1 2",
                                "RegSetValueEx OLSendInput 1 2"}));
  EXPECT_EQ(Machine("OLMouse"), "1");
  EXPECT_FALSE(ctl.HookAttached());
  Click(obOLMouse);
  EXPECT_TRUE(ctl.HookAttached());
  EXPECT_EQ(Machine("OLMouse"), "0");

  Click(obOlTaskBar);
  EXPECT_EQ(Machine("OLTaskbar"), "1");
  // An unknown Tag does nothing; Tag 2 stores like the others.
  log.calls.clear();
  ctl.OptionBoxClick(7);
  EXPECT_TRUE(log.calls.empty());
  ctl.OptionBoxClick(2);
  EXPECT_EQ(Calls({"RegSetValueEx"}).size(), 4u);
  Click(obPasteLong);
  EXPECT_EQ(Machine("OLPasteLong"), "0");
  Click(obSendInput);
  EXPECT_EQ(Machine("OLSendInput"), "0");

  // Stored values come back at the next start.
  Harness next;
  next.registry.keys = registry.keys;
  next.Start();
  EXPECT_TRUE(next.view.options[obOlTaskBar]);
  EXPECT_FALSE(next.view.options[obOLMouse]);
  EXPECT_FALSE(next.view.options[obPasteLong]);
  EXPECT_FALSE(next.view.options[obSendInput]);
}

TEST_F(Options, StartupLinkFollowsTheBoxAndIsRenewedAtStart) {
  files.files[kStartupLink] = "L";
  links.links[kStartupLink].path = "D:\\Old\\Ostrel.exe";
  system.exePath = "E:\\New\\Ostrel.exe";
  Start();
  EXPECT_TRUE(view.options[obAutostart]);
  EXPECT_EQ(links.links[kStartupLink].path, "E:\\New\\Ostrel.exe");
  EXPECT_EQ(links.links[kStartupLink].workingDirectory, "E:\\New\\");

  Click(obAutostart);
  EXPECT_EQ(files.files.count(kStartupLink), 0u);
  Click(obAutostart);
  EXPECT_EQ(files.files.count(kStartupLink), 1u);
  // The link option never touches the registry values.
  EXPECT_EQ(Calls({"RegSetValueEx"}).size(), 4u);

  Harness noLink;
  noLink.Start();
  EXPECT_FALSE(noLink.view.options[obAutostart]);
  EXPECT_TRUE(noLink.Calls({"SaveShellLink"}).empty());
}

TEST_F(Options, AStartupLinkThatCannotBeSavedIsReportedAndTheBoxCleared) {
  Start();
  log.calls.clear();
  links.cannotMakeLinks = true;
  Click(obAutostart);
  EXPECT_FALSE(view.options[obAutostart]);
  EXPECT_EQ(Calls({"error"}), std::vector<std::string>{"error Cannot create file " + kStartupLink});
  EXPECT_EQ(files.files.count(kStartupLink), 0u);
  // Saved next time: no box, and the box stays ticked.
  links.cannotMakeLinks = false;
  log.calls.clear();
  Click(obAutostart);
  EXPECT_TRUE(view.options[obAutostart]);
  EXPECT_TRUE(Calls({"error"}).empty());
  EXPECT_EQ(files.files.count(kStartupLink), 1u);
}

TEST_F(Options, WithoutAProgramsFolderTheStartupOptionDoesNothing) {
  registry.keys.clear();
  files.files["\\Startup\\Ostrel.lnk"] = "L";  // a link at the drive's root is not ours
  Start();
  EXPECT_FALSE(view.options[obAutostart]);
  Click(obAutostart);
  EXPECT_TRUE(view.options[obAutostart]);  // the box keeps what the user gave it
  EXPECT_TRUE(links.links.empty());
  EXPECT_TRUE(links.folders.empty());
  Click(obAutostart);
  EXPECT_EQ(files.files.count("\\Startup\\Ostrel.lnk"), 1u);
}

TEST_F(Options, ADeniedMachineKeySendsTheValuesToTheUsersKey) {
  registry.readOnlyRoots.insert("HKLM");
  Start();
  EXPECT_EQ(User("OLTaskbar"), "0");
  EXPECT_EQ(User("OLMouse"), "0");
  Click(obOlTaskBar);
  Click(obOLMouse);
  EXPECT_EQ(User("OLTaskbar"), "1");
  EXPECT_EQ(User("OLMouse"), "1");
  EXPECT_FALSE(registry.HasKey(kMachineOptions));

  Harness next;
  next.registry.keys = registry.keys;
  next.registry.readOnlyRoots.insert("HKLM");
  next.Start();
  EXPECT_TRUE(next.view.options[obOlTaskBar]);
  EXPECT_TRUE(next.view.options[obOLMouse]);
  EXPECT_EQ(next.registry.openHandles, 0);
}

TEST_F(Options, UserValuesComeFirstValueByValue) {
  registry.SetString(kMachineOptions, "OLTaskbar", "1");
  registry.SetString(kMachineOptions, "OLMouse", "1");
  registry.SetString(kUserOptions, "OLTaskbar", "0");
  Start();
  EXPECT_FALSE(view.options[obOlTaskBar]);
  EXPECT_TRUE(view.options[obOLMouse]);
  // With the machine's key writable, the values go there, and the user's own value is
  // kept in step so that it never hides a newer one.
  Click(obOlTaskBar);
  EXPECT_EQ(Machine("OLTaskbar"), "1");
  EXPECT_EQ(User("OLTaskbar"), "1");
  EXPECT_EQ(User("OLMouse"), "<none>");
}

TEST_F(Options, AReadThatFailsCountsAsAMissingValue) {
  registry.SetString(kMachineOptions, "OLTaskbar", "1");
  registry.SetString(kMachineOptions, "OLMouse", "1");
  registry.failCreate = kErrorAccessDenied;  // the user's key, for OLTaskbar
  Start();
  EXPECT_TRUE(view.options[obOlTaskBar]);
  EXPECT_TRUE(view.options[obOLMouse]);
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(Options, HideOptionHidesOnMinimiseAndCloseButNotOnShow) {
  files.files[kKeysPath] = Bytes(MakeRec("A"));
  Start();
  log.calls.clear();
  EXPECT_FALSE(ctl.FormCloseQuery());
  EXPECT_EQ(Calls({"minimize", "ShowWindow"}), std::vector<std::string>{"minimize"});

  Click(obOlTaskBar);
  log.calls.clear();
  EXPECT_FALSE(ctl.FormCloseQuery());
  EXPECT_EQ(Calls({"minimize", "ShowWindow"}),
            (std::vector<std::string>{"minimize", "ShowWindow 500 0"}));
  // Show... restores the window, which raises the restore event: it stays shown.
  log.calls.clear();
  ctl.ShowConfiguration(true);
  EXPECT_EQ(Calls({"restore", "ShowWindow", "SetForeground"}),
            (std::vector<std::string>{"restore", "SetForegroundWindow 500"}));
}

}  // namespace
}  // namespace ostrel
