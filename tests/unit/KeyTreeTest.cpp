// The tree and the OstrelMenu rebuilt from the definitions, the selection kept across a
// rebuild, menu choices routed by what each item is, Delete and the
// status line.
#include <gtest/gtest.h>

#include "app/KeyTree.h"
#include "catalogue/CompanionFile.h"
#include "catalogue/FunCatalogue.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

std::vector<std::string> Texts(const std::vector<TreeNode>& nodes) {
  std::vector<std::string> out;
  for (const TreeNode& n : nodes)
    out.push_back((n.parent >= 0 ? "  " : "") + n.text + "/" + std::to_string(n.imageIndex));
  return out;
}

std::vector<std::string> Captions(const std::vector<MenuItem>& items) {
  std::vector<std::string> out;
  for (const MenuItem& m : items) {
    std::string line = m.caption + "/" + std::to_string(m.tag);
    if (!m.items.empty()) {
      line += " {";
      for (const MenuItem& c : m.items) line += " " + c.caption + "/" + std::to_string(c.tag);
      line += " }";
    }
    out.push_back(line);
  }
  return out;
}

class KeyTree : public ::testing::Test, public Harness {};

TEST_F(KeyTree, GroupsBecomeNodesAndSubmenusAfterTheFixedCommands) {
  StartWith({MakeRec("Web", "Net"), MakeRec("Agenda"), MakeRec("Mail", "Net")});
  EXPECT_EQ(Texts(view.tree),
            (std::vector<std::string>{"Agenda/1", "Net/0", "  Mail/1", "  Web/1"}));
  EXPECT_EQ(view.tree[1].selectedIndex, 0);
  EXPECT_EQ(view.tree[2].selectedIndex, 1);
  EXPECT_EQ(view.tree[2].data, Def("Net", "Mail"));
  EXPECT_EQ(Captions(view.menu),
            (std::vector<std::string>{"Agenda/-2", "Net/0 { Mail/-2 Web/-2 }", "-/-2",
                                      "Hide Menu/5", "HotKeys Off/4", "Show.../2", "Terminate/3"}));
}

TEST_F(KeyTree, NoDefinitionsLeaveOnlyTheFixedCommandsAndNoFile) {
  StartWith({});
  EXPECT_TRUE(view.tree.empty());
  EXPECT_EQ(view.menu.size(), 5u);
  EXPECT_EQ(files.files.count(kKeysPath), 0u);
}

TEST_F(KeyTree, GroupsDifferingInCaseAreSeparateRuns) {
  StartWith({MakeRec("A", "Net"), MakeRec("B", "NET"), MakeRec("C", "Net")});
  EXPECT_EQ(Texts(view.tree),
            (std::vector<std::string>{"Net/0", "  A/1", "NET/0", "  B/1", "Net/0", "  C/1"}));
  EXPECT_EQ(Captions(view.menu)[0], "Net/0 { A/-2 }");
  EXPECT_EQ(Captions(view.menu)[1], "NET/0 { B/-2 }");
  EXPECT_EQ(Captions(view.menu)[2], "Net/0 { C/-2 }");
}

TEST_F(KeyTree, HiddenFromTheMenuStillInTheTreeAndTrimmed) {
  TKeyRec hidden = MakeRec("  Secret ", " Net  ");
  hidden.ShowOnMenu = 0;
  // Programs and a hotkey switched off follow the name in the tree; the menu lists it still.
  files.files[CompanionName(kKeysPath)] =
      "[Definition]\nGroup=Net\nName=Web\nOnly=notepad.exe;wordpad\nHotkey=off\n"
      "Abbreviation=;w\xC3\xA9\n";
  StartWith({hidden, MakeRec("Web", "Net")});
  EXPECT_EQ(Texts(view.tree),
            (std::vector<std::string>{"Net/0", "  Secret/1",
                                      "  Web (;w\xE9, notepad.exe;wordpad, off)/1"}));
  EXPECT_EQ(Captions(view.menu)[0], "Net/0 { Web/-2 }");
}

TEST_F(KeyTree, SelectionFollowsTheDefinitionToItsNewGroup) {
  StartWith({MakeRec("Mail", "Net"), MakeRec("Zebra", "Zoo")});
  PKeyRec mail = Def("Net", "Mail");
  view.selected = 1;
  ASSERT_EQ(view.tree[1].data, mail);
  mail->Group.assign("Zz");
  ctl.UpdateKeysList();
  EXPECT_EQ(Texts(view.tree), (std::vector<std::string>{"Zoo/0", "  Zebra/1", "Zz/0", "  Mail/1"}));
  EXPECT_EQ(view.selected, 3);
  EXPECT_EQ(view.tree[3].data, mail);
  // A selected group node is not remembered.
  view.selected = 0;
  ctl.UpdateKeysList();
  EXPECT_EQ(view.selected, -1);
}

TEST_F(KeyTree, DeleteRemovesTheSelectedDefinitionAndItsEmptyGroup) {
  StartWith({MakeRec("Mail", "Net"), MakeRec("Zebra")});
  ASSERT_EQ(Texts(view.tree), (std::vector<std::string>{"Zebra/1", "Net/0", "  Mail/1"}));
  view.selected = 1;  // the group node
  ctl.DeleteClick();
  EXPECT_EQ(ctl.Keys()->Count(), 2u);
  view.selected = 2;
  ctl.DeleteClick();
  EXPECT_EQ(ctl.Keys()->Count(), 1u);
  EXPECT_EQ(Texts(view.tree), std::vector<std::string>{"Zebra/1"});
  EXPECT_EQ(Captions(view.menu)[0], "Zebra/-2");
  EXPECT_EQ(FromBytes(files.files[kKeysPath]).Name.str(), "Zebra");
  EXPECT_EQ(files.files[kKeysPath].size(), sizeof(TKeyRec));
  EXPECT_TRUE(Calls({"error", "info"}).empty());
}

TEST_F(KeyTree, UpdateWithoutADefinitionSelectedIsAnError) {
  StartWith({MakeRec("Mail", "Net")});
  ctl.UpdateClick();
  view.selected = 0;
  ctl.UpdateClick();
  EXPECT_EQ(Calls({"error"}), (std::vector<std::string>{"error No Item selected for update.",
                                                        "error No Item selected for update."}));
  view.selected = 1;
  ctl.UpdateClick();
  EXPECT_EQ(Calls({"error"}).size(), 2u);
}

TEST_F(KeyTree, StatusLineShowsTheSelectedFunction) {
  StartWith({MakeRec("Edit", "Tools", ftRunProgram)});
  view.status = "before";
  view.selected = 0;
  ctl.TreeSelectionChanged();
  // A group names no function: the line says where the definitions are kept.
  EXPECT_EQ(view.status, "  Definitions are kept in C:\\Program Files\\Ostrel");
  view.selected = 1;
  ctl.TreeSelectionChanged();
  EXPECT_EQ(view.status, "  Run a program");
}

// Every item does what it is, whatever the definitions are called: one named like a
// fixed command runs its own action, and the fixed commands still do theirs.
TEST_F(KeyTree, FixedCommandsWhateverTheDefinitionsAreCalled) {
  windows.classes["Progman"] = 77;
  StartWith({WithKey(MakeRec("A"), 76), MakeRec("Terminate", "", ftExploreFolder, "T"),
             MakeRec("Show...", "", ftExploreFolder, "S"),
             MakeRec("HotKeys Off", "", ftExploreFolder, "H")});
  for (const char* name : {"Terminate", "Show...", "HotKeys Off"}) Choose(name);
  EXPECT_EQ(Calls({"Shell", "end", "restore", "hotkeysItem"}),
            (std::vector<std::string>{"Shell 1 Explore [T] [] [] 1", "Shell 1 Explore [S] [] [] 1",
                                      "Shell 1 Explore [H] [] [] 1"}));

  log.calls.clear();
  const auto fixed = [this](std::ptrdiff_t fromEnd) {
    ctl.MenuClick(view.menu.end()[-fromEnd].choice);
  };
  fixed(4);  // Hide Menu
  EXPECT_TRUE(log.calls.empty());

  fixed(3);  // HotKeys Off
  EXPECT_FALSE(ctl.SystemHotKeys().Active());
  EXPECT_EQ(view.menu.size(), 9u);
  EXPECT_EQ(ctl.Menu().end()[-3].caption, "HotKeys On");
  fixed(3);  // now reading "HotKeys On"
  EXPECT_TRUE(ctl.SystemHotKeys().Active());
  EXPECT_EQ(Calls({"hotkeysItem", "RegisterHotKey", "UnregisterHotKey"}),
            (std::vector<std::string>{"hotkeysItem HotKeys On 1", "UnregisterHotKey 0",
                                      "hotkeysItem HotKeys Off 4", "RegisterHotKey 0 0 112"}));

  log.calls.clear();
  fixed(2);  // Show...
  EXPECT_EQ(log.calls, (std::vector<std::string>{"restore", "process", Pause(&Timings::settleMs),
                                                 "SetForegroundWindow 500"}));

  log.calls.clear();
  windows.windows[77].visible = false;
  fixed(1);  // Terminate
  EXPECT_TRUE(ctl.Terminating());
  EXPECT_EQ(log.calls, (std::vector<std::string>{"ShowWindow 77 5", "end"}));
}

}  // namespace
}  // namespace ostrel
