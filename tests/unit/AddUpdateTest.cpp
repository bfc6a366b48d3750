// Add and Update in the configuration window: the function chooser, then the hotkey
// editor on a working copy; what is stored, registered, shown and selected afterwards.
#include <gtest/gtest.h>

#include "catalogue/FunCatalogue.h"
#include "dialogs/KeyEditor.h"
#include "fakes/ControllerHarness.h"
#include "fakes/FakeEditorView.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class AddUpdate : public ::testing::Test, public Harness {
 protected:
  // The chooser picks `type` and OK; the editor runs its real logic on a fake dialog,
  // where `fill` types the user's entries before OK is pressed.
  void ChooseAndEdit(std::int32_t type, std::function<void(FakeEditorView&)> fill) {
    view.chooser = [type](std::int32_t& chosen, std::string& name) {
      chosen = type;
      name = std::string(FindFunType(type)->displayName);
      return mrOk;
    };
    Edit(std::move(fill));
  }
  void Edit(std::function<void(FakeEditorView&)> fill) {
    view.editor = [this, fill](TKeyRec& copy, Conditions& conditions, int mode,
                               const KeysList& keys, const TKeyRec* original) {
      dialog = FakeEditorView();
      KeyEditor editor(dialog, files, "C:\\Program Files\\Ostrel\\");
      editor.Definition = &copy;
      editor.DefinitionConditions = &conditions;
      editor.EditMode = mode;
      editor.Keys = &keys;
      editor.Original = original;
      editor.FormShow();
      fill(dialog);
      editor.OkClick();
      return dialog.closedOk ? mrOk : mrCancel;
    };
  }
  FakeEditorView dialog;
};

TEST_F(AddUpdate, AddStoresRegistersAndShowsTheNewDefinition) {
  StartWith({MakeRec("Agenda")});
  ChooseAndEdit(ftRunProgram, [](FakeEditorView& d) {
    d.texts[ecName] = "Editor";
    d.texts[ecGroup] = "Tools";
    d.texts[ecTarget] = "C:\\Windows\\notepad.exe";
    d.selections[ecKeylist] = 38;  // "E"
    d.selections[ecKm] = 6;        // "Ctrl+Alt"
    d.selections[ecScope] = 1;     // "Only in"
    d.texts[ecPrograms] = "notepad";
  });
  ctl.AddClick();
  EXPECT_EQ(Calls({"chooser", "editor"}), (std::vector<std::string>{"chooser", "editor 0"}));
  EXPECT_EQ(ctl.Editing().ChosenFunction(), ftRunProgram);
  EXPECT_EQ(ctl.Editing().ChosenFunctionName(), "Run a program");
  PKeyRec added = Def("Tools", "Editor");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->FunType, ftRunProgram);
  EXPECT_EQ(added->Target.str(), "C:\\Windows\\notepad.exe");
  EXPECT_EQ(ctl.Keys()->ConditionsOf(added), (Conditions{ProgramScope::kOnly, {"notepad"}}));
  // Saved in key-text order, registered, and under its group in the tree.
  ASSERT_EQ(files.files[kKeysPath].size(), 2 * sizeof(TKeyRec));
  EXPECT_EQ(FromBytes(files.files[kKeysPath], sizeof(TKeyRec)).Name.str(), "Editor");
  EXPECT_EQ(hotkeys.held.size(), 1u);
  EXPECT_EQ(hotkeys.held.begin()->second, "3 69");
  ASSERT_EQ(view.tree.size(), 3u);
  EXPECT_EQ(view.tree[1].text, "Tools");
  EXPECT_EQ(view.tree[2].data, added);
}

TEST_F(AddUpdate, CancelInEitherDialogStoresNothing) {
  StartWith({MakeRec("Agenda")});
  const std::string before = files.files[kKeysPath];
  ctl.AddClick();  // the chooser is cancelled
  EXPECT_EQ(Calls({"chooser", "editor"}), std::vector<std::string>{"chooser"});
  view.chooser = [](std::int32_t& chosen, std::string&) {
    chosen = ftMinimizeAll;
    return mrOk;
  };
  view.editor = [](TKeyRec& copy, Conditions&, int, const KeysList&, const TKeyRec*) {
    copy.Name.assign("Typed then cancelled");
    return mrCancel;
  };
  ctl.AddClick();
  view.selected = 0;
  ctl.UpdateClick();
  EXPECT_EQ(ctl.Keys()->Count(), 1u);
  EXPECT_EQ(Def("", "Agenda")->Name.str(), "Agenda");
  EXPECT_EQ(files.files[kKeysPath], before);
  EXPECT_TRUE(Calls({"tree", "RegisterHotKey"}).empty());
}

// "Terminate" chosen from the OstrelMenu while the editor is open: the window goes, with
// the definitions, and the dialog ends without a result. Neither Add nor Update
// may store anything then.
TEST_F(AddUpdate, TerminatingWhileEditingStoresNothing) {
  for (const bool add : {true, false}) {
    Harness run;
    run.StartWith({MakeRec("Agenda")});
    run.view.selected = 0;
    const std::string before = run.files.files[kKeysPath];
    run.view.chooser = [](std::int32_t& chosen, std::string&) {
      chosen = ftMinimizeAll;
      return mrOk;
    };
    run.view.editor = [&run](TKeyRec& copy, Conditions&, int, const KeysList&, const TKeyRec*) {
      copy.Name.assign("Half typed");
      run.ctl.MenuClick({MenuCommand::kTerminate});
      run.ctl.FormDestroy();
      return 0;
    };
    add ? run.ctl.AddClick() : run.ctl.UpdateClick();
    EXPECT_EQ(run.ctl.Keys(), nullptr) << add;
    EXPECT_EQ(run.files.files[kKeysPath], before) << add;
    EXPECT_EQ(run.Calls({"end"}), std::vector<std::string>{"end"}) << add;
  }
}

TEST_F(AddUpdate, UpdateMovesTheSameDefinitionToItsNewGroupAndKeepsItSelected) {
  StartWith({MakeRec("Mail", "Net", ftNewMail, "mailto:a@b.c"), MakeRec("Zebra", "Zoo")});
  PKeyRec mail = Def("Net", "Mail");
  view.selected = 1;
  ASSERT_EQ(view.tree[1].data, mail);
  ctl.Keys()->SetConditions(0, {ProgramScope::kOnly, {"outlook"}});  // edited with it
  Edit([](FakeEditorView& d) {
    EXPECT_EQ(d.selections[ecScope], 1);
    EXPECT_EQ(d.texts[ecPrograms], "outlook");
    d.texts[ecGroup] = "Zz";
    d.checked[ecHotkeyOff] = true;
  });
  ctl.UpdateClick();
  EXPECT_EQ(Calls({"editor"}), std::vector<std::string>{"editor 1"});
  EXPECT_EQ(Def("Zz", "Mail"), mail);  // the same object, changed in place
  EXPECT_EQ(ctl.Keys()->ConditionsOf(mail), (Conditions{ProgramScope::kOnly, {"outlook"}, true}));
  EXPECT_EQ(mail->Target.str(), "mailto:a@b.c");
  ASSERT_EQ(view.tree.size(), 4u);
  EXPECT_EQ(view.tree[2].text, "Zz");
  EXPECT_EQ(view.selected, 3);
  EXPECT_EQ(view.tree[3].data, mail);
}

TEST_F(AddUpdate, UpdateCannotTakeAnotherDefinitionsNameSoNeitherIsLost) {
  StartWith(
      {MakeRec("Mail", "Net", ftNewMail, "mailto:"), MakeRec("News", "Net", ftNews, "news:")});
  view.selected = 2;  // News
  ASSERT_EQ(view.tree[2].data, Def("Net", "News"));
  Edit([](FakeEditorView& d) { d.texts[ecName] = "MAIL"; });
  ctl.UpdateClick();
  EXPECT_EQ(dialog.errors,
            std::vector<std::string>{"Cannot add, That HotKey name already exists."});
  EXPECT_EQ(ctl.Keys()->Count(), 2u);
  EXPECT_EQ(Def("Net", "News")->FunType, ftNews);
  EXPECT_EQ(files.files[kKeysPath].size(), 2 * sizeof(TKeyRec));
}

}  // namespace
}  // namespace ostrel
