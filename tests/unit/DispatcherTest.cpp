// Each function type turned into its platform call, the busy marks and the hand-off.
#include <gtest/gtest.h>

#include "catalogue/FunCatalogue.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class Dispatcher : public ::testing::Test, public Harness {
 protected:
  // Runs one definition as a menu choice would, returning the calls it made.
  std::vector<std::string> Run(TKeyRec rec) {
    StartWith({rec});
    ctl.RunDefinition(ctl.Keys()->At(0));
    return log.calls;
  }
};

TEST_F(Dispatcher, ShellVerbsAndShowCommands) {
  EXPECT_EQ(Run(MakeRec("a", "", ftExploreFolder, "C:\\Data")),
            (std::vector<std::string>{"process", "Shell 1 Explore [C:\\Data] [] [] 1"}));
  EXPECT_EQ(Run(MakeRec("a", "", ftOpenFolder, "C:\\Data")).back(),
            "Shell 1 Open [C:\\Data] [] [] 1");
  EXPECT_EQ(Run(MakeRec("a", "", ftOpenFile, "C:\\a.txt")).back(),
            "Shell 1 Open [C:\\a.txt] [] [] 1");
  for (int type = ftBrowseFile; type <= ftTelnet; ++type)
    EXPECT_EQ(Run(MakeRec("a", "", type, "http://x.org ")).back(),
              "Shell 1 <default> [http://x.org ] [] [] 10");
}

TEST_F(Dispatcher, RunProgramTrimsParametersAndFindsItsFolder) {
  TKeyRec rec = MakeRec("a", "", ftRunProgram, " D:\\Tools\\edit.exe");
  rec.Parms.assign("   -a   ");
  EXPECT_EQ(Run(rec).back(), "Shell 1 open [ D:\\Tools\\edit.exe] [-a] [ D:\\Tools\\] 10");
  rec.Target.assign("edit.exe");
  EXPECT_EQ(Run(rec).back(), "Shell 1 open [edit.exe] [-a] [] 10");
  rec.Dir.assign("\t C:\\Work \x01");
  EXPECT_EQ(Run(rec).back(), "Shell 1 open [edit.exe] [-a] [C:\\Work] 10");
  rec.Target.assign("D:edit.exe");
  rec.Dir.assign("");
  EXPECT_EQ(RunDirectory(rec), "D:");
  // A target typed with forward slashes runs in its own folder, not the drive's.
  rec.Target.assign("D:/Tools/edit.exe");
  EXPECT_EQ(Run(rec).back(), "Shell 1 open [D:/Tools/edit.exe] [-a] [D:/Tools/] 10");
}

TEST_F(Dispatcher, HideShowWindowKeepsOneSlot) {
  windows.foreground = 500;  // the configuration window itself
  Run(MakeRec("a", "", ftHideShowWindow));
  EXPECT_EQ(ctl.HiddenWindow(), 0u);
  EXPECT_TRUE(Calls({"ShowWindow"}).empty());

  windows.foreground = 601;
  ctl.RunDefinition(ctl.Keys()->At(0));
  EXPECT_EQ(ctl.HiddenWindow(), 601u);
  windows.foreground = 602;  // the user moves on to another window
  ctl.RunDefinition(ctl.Keys()->At(0));
  EXPECT_EQ(Calls({"ShowWindow", "SetForeground"}),
            (std::vector<std::string>{"ShowWindow 601 0", "ShowWindow 601 5",
                                      "SetForegroundWindow 601"}));
  EXPECT_EQ(ctl.HiddenWindow(), 0u);
  EXPECT_TRUE(windows.windows[602].visible);
}

TEST_F(Dispatcher, ConfigurationMenuAndHotkeySwitch) {
  EXPECT_EQ(Run(MakeRec("a", "", ftShowConfig)),
            (std::vector<std::string>{"process", "restore", "SetForegroundWindow 500"}));
  EXPECT_EQ(Run(MakeRec("a", "", ftShowMenu)).back(), "PostMessage 500 8801 0 0");
  std::vector<std::string> off = Run(WithKey(MakeRec("a", "", ftDisableHotKeys), 80));
  EXPECT_EQ(
      off, (std::vector<std::string>{"process", "hotkeysItem HotKeys On 1", "UnregisterHotKey 0"}));
  EXPECT_EQ(ctl.Menu().end()[-3].tag, 1);
}

TEST_F(Dispatcher, MinimizeAllTakesOnlyUnownedVisibleWindowsWithASystemMenu) {
  windows.windows[10] = {};                         // a program window
  windows.windows[11] = {true, 10, kWsSysMenu, 7};  // an owned dialog
  windows.windows[12] = {false, 0, kWsSysMenu, 7};  // hidden
  windows.windows[13] = {true, 0, 0, 7};            // a tool window, no system menu
  windows.windows[14] = {};                         // another program window
  windows.zOrder = {14, 11, 12, 13, 10};
  Run(MakeRec("a", "", ftMinimizeAll));
  EXPECT_EQ(Calls({"ShowWindow"}),
            (std::vector<std::string>{"ShowWindow 14 6", "ShowWindow 10 6"}));
  EXPECT_EQ(ctl.WindowList(), (std::vector<WindowHandle>{14, 10}));
}

TEST_F(Dispatcher, HideShowDesktopNeedsTheProgmanWindow) {
  EXPECT_EQ(Run(MakeRec("a", "", ftHideShowDesktop)), std::vector<std::string>{"process"});
  windows.classes["Progman"] = 77;
  Run(MakeRec("a", "", ftHideShowDesktop));
  ctl.RunDefinition(ctl.Keys()->At(0));
  EXPECT_EQ(Calls({"ShowWindow"}),
            (std::vector<std::string>{"ShowWindow 77 0", "ShowWindow 77 5"}));
}

TEST_F(Dispatcher, UnknownTypesAndNoDefinitionDoNothing) {
  EXPECT_EQ(Run(MakeRec("a", "", 0)), std::vector<std::string>{"process"});
  EXPECT_EQ(Run(MakeRec("a", "", kFunTypeCount + 1)), std::vector<std::string>{"process"});
  ctl.HotKeyEvent(0);
  log.calls.clear();
  ctl.RunDefinition(nullptr);
  EXPECT_EQ(log.calls, std::vector<std::string>{"process"});
  EXPECT_EQ(ctl.PendingKey(), nullptr);
}

TEST_F(Dispatcher, RequestsMetByTheBusyMarkAreDropped) {
  StartWith(
      {WithKey(MakeRec("a", "", ftOpenFile, "one"), 80), MakeRec("b", "", ftOpenFile, "two")});
  // While a's shell call pumps messages, a menu choice of b and a hotkey press of a
  // arrive: both are dropped, not queued.
  shell.during = [&] {
    Choose("b");
    ctl.HotKeyEvent(0);
    ctl.DispatchPendingHotKey();
  };
  ctl.HotKeyEvent(0);
  ctl.DispatchPendingHotKey();
  EXPECT_EQ(Calls({"Shell"}), std::vector<std::string>{"Shell 1 Open [one] [] [] 1"});
  // The marks are clear again afterwards.
  Choose("b");
  EXPECT_EQ(Calls({"Shell"}).back(), "Shell 1 Open [two] [] [] 1");
}

TEST_F(Dispatcher, TheLastPressWithinTheHandOffRunsOnce) {
  StartWith({WithKey(MakeRec("a", "", ftOpenFile, "one"), 80),
             WithKey(MakeRec("b", "", ftOpenFile, "two"), 81)});
  ctl.HotKeyEvent(0);
  ctl.HotKeyEvent(1);
  ctl.DispatchPendingHotKey();
  ctl.DispatchPendingHotKey();  // a stray tick: nothing pending any more
  EXPECT_EQ(Calls({"Shell", "dispatchTimer"}),
            (std::vector<std::string>{"dispatchTimer on", "dispatchTimer on", "dispatchTimer off",
                                      "Shell 1 Open [two] [] [] 1", "dispatchTimer off"}));
}

TEST_F(Dispatcher, ADefinitionDeletedWhileMessagesArePumpedIsNotRun) {
  StartWith({MakeRec("a", "", ftOpenFile, "one")});
  PKeyRec a = ctl.Keys()->At(0);
  view.selected = 0;
  view.pendingMessages = [&] { ctl.DeleteClick(); };
  ctl.RunDefinition(a);
  EXPECT_EQ(ctl.Keys()->Count(), 0u);
  EXPECT_TRUE(Calls({"Shell"}).empty());
}

}  // namespace
}  // namespace ostrel
