// Each function type turned into its platform call, the busy marks and the hand-off.
#include <gtest/gtest.h>

#include "app/Launch.h"
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

TEST(ExpandVariables, KnownNamesOnlyAndAResultLongerThanAnyField) {
  const std::string longValue(300, 'x');
  const VariableLookup env = [&](const std::string& name) -> std::optional<std::string> {
    if (name == "SystemRoot") return "C:\\Windows";
    if (name == "USERPROFILE") return "C:\\Users\\Ann";
    if (name == "LONG") return longValue;
    return std::nullopt;
  };
  const struct {
    const char* stored;
    std::string run;
  } rows[] = {
      {"%SystemRoot%\\notepad.exe", "C:\\Windows\\notepad.exe"},
      {"%USERPROFILE%\\%SystemRoot%", "C:\\Users\\Ann\\C:\\Windows"},
      {"%NOSUCH%\\a.txt", "%NOSUCH%\\a.txt"},
      {"a%b%SystemRoot%", "a%bC:\\Windows"},
      {"100%% of %%SystemRoot%%", "100% of %SystemRoot%"},
      {"http://x/%20%41%", "http://x/%20%41%"},
      {"%LONG%\\y", longValue + "\\y"},
  };
  for (const auto& r : rows) EXPECT_EQ(ExpandVariables(r.stored, env), r.run) << r.stored;
}

// The launch kinds with their options set in Keys.ini, as the user's environment and the
// other programs' windows stand.
class Launching : public Dispatcher {
 protected:
  std::vector<std::string> RunWith(TKeyRec rec, LaunchOptions launch) {
    StartWith({rec});
    Conditions c;
    c.launch = launch;
    ctl.Keys()->SetConditions(0, c);
    ctl.RunDefinition(ctl.Keys()->At(0));
    return Calls({"Shell", "ShowWindow", "SetForegroundWindow", "NotifyIcon"});
  }
  // A visible window of a copy of the program in session `session`.
  void Running(WindowHandle wnd, std::uint32_t process, const std::string& title,
               std::uint32_t session = 1) {
    programs.visible.push_back(wnd);
    programs.processOf[wnd] = process;
    programs.pathOf[process] = "C:\\WINDOWS\\notepad.exe";
    programs.sessionOf[process] = session;
    windows.windows[wnd].title = title;
  }
  const std::string notepad = "C:\\Windows\\notepad.exe";
};

TEST_F(Launching, VariablesShowAndVerbReachTheShell) {
  system.environment = {{"SystemRoot", "C:\\Windows"}, {"USERPROFILE", "C:\\Users\\Ann"}};
  TKeyRec run = MakeRec("Ed", "", ftRunProgram, "%SystemRoot%\\notepad.exe");
  run.Parms.assign("%USERPROFILE%\\a.txt %X%");
  EXPECT_EQ(RunWith(run, {IfRunning::kStart, ShowState::kMaximized, false}),
            std::vector<std::string>{
                "Shell 1 open [C:\\Windows\\notepad.exe] [C:\\Users\\Ann\\a.txt %X%] "
                "[C:\\Windows\\] 3"});
  EXPECT_EQ(RunWith(run, {IfRunning::kStart, ShowState::kMinimized, true}).back(),
            "Shell 1 runas [C:\\Windows\\notepad.exe] [C:\\Users\\Ann\\a.txt %X%] [C:\\Windows\\] 7");
  // A document is run as administrator through its program.
  shell.executables["C:\\Users\\Ann\\a.txt"] = notepad;
  EXPECT_EQ(RunWith(MakeRec("Doc", "", ftOpenFile, "%USERPROFILE%\\a.txt"),
                    {IfRunning::kStart, ShowState::kNormal, true})
                .back(),
            "Shell 1 runas [" + notepad + "] [\"C:\\Users\\Ann\\a.txt\"] [C:\\Users\\Ann\\] 1");
  // A web address keeps its "%", and its kind takes no launch options.
  EXPECT_EQ(RunWith(MakeRec("W", "", ftBrowseWeb, "http://x/%USERPROFILE%"),
                    {IfRunning::kActivate, ShowState::kMaximized, true}),
            std::vector<std::string>{"Shell 1 <default> [http://x/%USERPROFILE%] [] [] 10"});
}

TEST_F(Launching, ARunningCopyOfTheSameProgramInThisSessionComesForward) {
  shell.executables["notepad.exe"] = notepad;
  const TKeyRec rec = MakeRec("Ed", "", ftRunProgram, "notepad.exe");
  const LaunchOptions activate{IfRunning::kActivate, ShowState::kDefault, false};
  // None running: started.
  EXPECT_EQ(RunWith(rec, activate), std::vector<std::string>{"Shell 1 open [notepad.exe] [] [] 10"});
  // Another user's copy, and another program's window, do not count.
  Running(301, 31, "Other - Notepad", 2);
  programs.visible.push_back(302);
  programs.processOf[302] = 32;
  programs.pathOf[32] = "C:\\Windows\\write.exe";
  EXPECT_EQ(RunWith(rec, activate).size(), 1u);
  // Of several, the first in z-order (the last active); a minimised one is restored.
  Running(303, 33, "list.txt - Notepad");
  Running(304, 34, "todo.txt - Notepad");
  programs.iconic = {303};
  EXPECT_EQ(RunWith(rec, activate),
            (std::vector<std::string>{"ShowWindow 303 9", "SetForegroundWindow 303"}));
  // Toggle: in front already, it is minimised with its owner; else (minimised but still
  // active included) it comes forward.
  const LaunchOptions toggle{IfRunning::kToggle, ShowState::kDefault, false};
  programs.foreground = 303;
  EXPECT_EQ(RunWith(rec, toggle).front(), "ShowWindow 303 9");
  programs.iconic.clear();
  windows.windows[303].owner = 310;
  EXPECT_EQ(RunWith(rec, toggle), std::vector<std::string>{"ShowWindow 310 6"});
  programs.foreground = 302;
  EXPECT_EQ(RunWith(rec, toggle).back(), "SetForegroundWindow 303");
  // A file comes forward only in a window that shows its name.
  shell.executables["C:\\Notes\\todo.txt"] = notepad;
  shell.executables["C:\\Notes\\plan.txt"] = notepad;
  EXPECT_EQ(RunWith(MakeRec("A", "", ftOpenFile, "C:\\Notes\\todo.txt"), activate),
            std::vector<std::string>{"SetForegroundWindow 304"});
  EXPECT_EQ(RunWith(MakeRec("C", "", ftOpenFile, "C:\\Notes\\plan.txt"), activate),
            std::vector<std::string>{"Shell 1 Open [C:\\Notes\\plan.txt] [] [] 1"});
}

TEST_F(Launching, ARefusedLaunchIsToldInTheBalloonAndADeclinedPromptIsNot) {
  shell.error = 2;
  shell.errorTexts[2] = "The system cannot find the file specified.";
  const std::vector<std::string> calls =
      RunWith(MakeRec("Editor", "Tools", ftRunProgram, "C:\\Gone\\edit.exe"), {});
  EXPECT_EQ(calls.back(),
            "NotifyIcon 1 balloon \"Tools: Editor\" could not run: The system cannot find the "
            "file specified.");
  shell.error = 1155;  // no text from the system: its number
  EXPECT_EQ(RunWith(MakeRec("X", "", ftOpenFile, "a.zz"), {}).back(),
            "NotifyIcon 1 balloon \"X\" could not run: error 1155.");
  shell.error = kErrorCancelled;
  EXPECT_EQ(RunWith(MakeRec("X", "", ftRunProgram, "a.exe"), {IfRunning::kStart,
                                                               ShowState::kDefault, true})
                .size(),
            1u);
  // A long name and reason stay within the balloon, cut between characters.
  TKeyRec longName = MakeRec(std::string(40, 'n'), "g");
  EXPECT_EQ(LaunchFailureText(longName, std::string(300, 'r'), {}).size(), kBalloonTextLimit);
}

}  // namespace
}  // namespace ostrel
