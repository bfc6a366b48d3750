// The program ended from the OstrelMenu while one of its own boxes was up: the box's
// loop runs the menu, the teardown frees the definitions, and whatever follows the box
// must notice and touch nothing more.
#include <gtest/gtest.h>

#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class EndUnderABox : public ::testing::Test, public Harness {
 protected:
  // "Terminate" chosen, and the window destroyed as the normal exit path does.
  void TerminateFromTheMenu() {
    ctl.MenuClick({MenuCommand::kTerminate});
    ctl.FormDestroy();
  }
};

TEST_F(EndUnderABox, TerminateUnderTheSaveErrorBoxEndsTheRebuildThere) {
  StartWith({MakeRec("Web", "Net", 11), WithKey(MakeRec("Mail"), 80)});
  files.diskSpace = 100;  // the next save fails part-way
  view.whileBoxUp = [this] { TerminateFromTheMenu(); };
  ctl.Keys()->Add(KeyText(MakeRec("New")), std::make_unique<TKeyRec>(MakeRec("New")));
  ctl.UpdateKeysList();
  EXPECT_EQ(Calls({"error"}).size(), 1u);
  EXPECT_EQ(ctl.Keys(), nullptr);
  // Nothing was rebuilt or registered after the box.
  EXPECT_TRUE(Calls({"tree", "menu", "RegisterHotKey", "info"}).empty());
  EXPECT_TRUE(hotkeys.held.empty());
}

TEST_F(EndUnderABox, TerminateUnderABoxOfTheSetUpStopsTheSetUp) {
  hotkeys.taken.push_back("0 116");
  files.files[kKeysPath] = Bytes(WithKey(MakeRec("A"), 80));
  bool boxUp = false;
  view.whileBoxUp = [&] {
    boxUp = true;
    TerminateFromTheMenu();
    log.calls.clear();
  };
  Start();
  EXPECT_TRUE(boxUp);
  // After the box: no icon, no window shown, no library attached again.
  EXPECT_FALSE(tray.shown);
  EXPECT_TRUE(Calls({"NotifyIcon", "restore", "minimize", "DLLATTACH"}).empty());
  EXPECT_FALSE(ctl.PopupReady());
  EXPECT_FALSE(ctl.HookAttached());
}

TEST_F(EndUnderABox, ShowDoesNotBringAnEndedProgramForward) {
  StartWith({MakeRec("A")});
  view.pendingMessages = [this] { TerminateFromTheMenu(); };
  ctl.MenuClick({MenuCommand::kShow});
  EXPECT_TRUE(Calls({"Sleep", "SetForegroundWindow"}).empty());
}

}  // namespace
}  // namespace ostrel
