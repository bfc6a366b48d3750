// The hotkey editor's logic: the fields shown for each function type, loading a working
// copy, the checks in their order, the write-back with its cuts, the "..." buttons and
// the context help.
#include <gtest/gtest.h>

#include "catalogue/Collation.h"
#include "catalogue/FunCatalogue.h"
#include "components/SysHotKey.h"
#include "dialogs/KeyEditor.h"
#include "fakes/FakeEditorView.h"
#include "fakes/FakeCodePage.h"
#include "fakes/FakePrograms.h"
#include "fakes/MemoryFiles.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

const std::string kDir = "C:\\Tools\\Ostrel\\";

class KeyEditorTest : public ::testing::Test {
 protected:
  FakeEditorView view;
  MemoryFileSystem files;
  KeysList keys{PortableCollate};
  KeyEditor editor{view, files, kDir};
  TKeyRec copy = NewKeyRec();

  PKeyRec Store(const TKeyRec& rec) {
    auto owned = std::make_unique<TKeyRec>(rec);
    PKeyRec p = owned.get();
    keys.Add(KeyText(rec), std::move(owned));
    return p;
  }
  // Shows the editor on `rec` as Add (or Update of `original`) does.
  void Open(const TKeyRec& rec, int mode = kEditAdd, const TKeyRec* original = nullptr) {
    copy = rec;
    editor.Definition = &copy;
    editor.EditMode = mode;
    editor.Keys = &keys;
    editor.Original = original;
    editor.FormShow();
  }
  void Type(EditorControl c, const std::string& text) { view.texts[c] = text; }
};

TEST_F(KeyEditorTest, EachFunctionTypeShowsItsFieldsAndTargetLabel) {
  struct Row {
    std::int32_t type;
    bool target, button, keystrokes, parmsAndDir;
    const char* label;
  };
  const Row rows[] = {
      {1, true, true, false, false, "Folder to explore:"},
      {2, true, true, false, false, "Folder to Open:"},
      {3, true, true, false, false, "File to open:"},
      {4, true, true, false, true, "Program to run:"},
      {8, true, false, false, false, "File to browse:"},
      {11, true, false, false, false, "Weburl:"},
      {13, true, false, false, false, "Mail addres:"},
      {15, true, false, false, false, "Telnet site:"},
      {16, false, false, true, false, "Keystrokes to send:"},
      {17, true, true, false, false, "Sendkey menu item:"},
      {5, false, false, false, false, nullptr},
      {7, false, false, false, false, nullptr},
      {20, false, false, false, false, nullptr},
      {-1, false, false, false, false, nullptr},
      {kFunTypeCount + 1, false, false, false, false, nullptr},
  };
  for (const Row& r : rows) {
    view = FakeEditorView();
    Open(NewKeyRec(r.type));
    SCOPED_TRACE("type " + std::to_string(r.type));
    EXPECT_EQ(view.visible[ecTarget], r.target);
    EXPECT_EQ(view.visible[ecTargetButton], r.button);
    EXPECT_EQ(view.visible[ecKeystrokes], r.keystrokes);
    for (EditorControl c : {ecParmsLabel, ecParms, ecDirLabel, ecDir, ecDirButton})
      EXPECT_EQ(view.visible[c], r.parmsAndDir) << c;
    EXPECT_EQ(view.visible[ecTargetLabel], r.label != nullptr);
    if (r.label) {
      EXPECT_EQ(view.texts[ecTargetLabel], r.label);
    }
  }
}

TEST_F(KeyEditorTest, ShowingLoadsTheTrimmedCopyAndListsEachGroupOnce) {
  Store(MakeRec("Mail", " Net "));
  Store(MakeRec("News", "NET"));
  Store(MakeRec("Agenda"));
  Store(MakeRec("Edit", "Tools"));
  TKeyRec rec = MakeRec("  Editor  ", " Tools ", ftRunProgram, " C:\\x.exe ");
  rec.Parms.assign(" -n ");
  rec.Dir.assign(" C:\\ ");
  rec.Key = 34;
  rec.KeyMod = 6;
  Open(rec, kEditUpdate);
  EXPECT_EQ(view.caption, "Configure: Run a program");
  EXPECT_EQ(view.groups, (std::vector<std::string>{" ", "Net", "Tools"}));
  EXPECT_EQ(view.texts[ecName], "Editor");
  EXPECT_EQ(view.texts[ecGroup], "Tools");
  EXPECT_EQ(view.texts[ecTarget], "C:\\x.exe");
  EXPECT_EQ(view.texts[ecParms], "-n");
  EXPECT_EQ(view.texts[ecDir], "C:\\");
  EXPECT_EQ(view.selections[ecKeylist], 34);
  EXPECT_EQ(view.selections[ecKm], 6);

  // Keystrokes go to the keystroke box, shown trimmed; parameters and folder are loaded
  // whatever the type, so they survive an edit.
  view = FakeEditorView();
  TKeyRec keysRec = MakeRec("Sig", "", ftSendKeys, "  Regards{ENTER}  ");
  keysRec.Dir.assign("D:\\");
  Open(keysRec);
  EXPECT_EQ(view.texts[ecKeystrokes], "Regards{ENTER}");
  EXPECT_EQ(view.texts[ecTarget], "");
  EXPECT_EQ(view.texts[ecDir], "D:\\");

  view = FakeEditorView();
  Open(NewKeyRec(-1));
  EXPECT_EQ(view.caption, "Configure: ");
}

TEST_F(KeyEditorTest, AnEmptyAddressGetsItsSchemeAndAStoredOneIsKept) {
  Open(NewKeyRec(ftBrowseWeb));
  EXPECT_EQ(view.texts[ecTarget], "http://");
  Open(MakeRec("Site", "", ftBrowseWeb, "http://example.org"));
  EXPECT_EQ(view.texts[ecTarget], "http://example.org");
  Open(MakeRec("Mail", "", ftNewMail, "   "));
  EXPECT_EQ(view.texts[ecTarget], "mailto:");
  // The scheme alone passes the target check.
  Open(NewKeyRec(ftBrowseSecureWeb));
  Type(ecName, "Bank");
  EXPECT_TRUE(editor.Validate(kEditAdd));
}

TEST_F(KeyEditorTest, ChecksStopAtTheFirstFailureInOrder) {
  Store(MakeRec("MAIL", "web"));
  Store(MakeRec("Notepad", "Applicatio"));
  Open(NewKeyRec(ftRunProgram));

  Type(ecName, "   ");
  Type(ecGroup, "web");
  EXPECT_FALSE(editor.Validate(kEditAdd));
  Type(ecName, "mail");
  EXPECT_FALSE(editor.Validate(kEditAdd));
  Type(ecGroup, "Home");
  EXPECT_FALSE(editor.Validate(kEditAdd));
  Type(ecTarget, "C:\\x.exe");
  EXPECT_TRUE(editor.Validate(kEditAdd));
  EXPECT_EQ(view.errors, (std::vector<std::string>{"You must enter a HotKey name.",
                                                   "Cannot add, That HotKey name already exists.",
                                                   "Program to run: not specified."}));
  // Each time the focus goes where the fault is.
  EXPECT_EQ(view.focused, (std::vector<int>{ecName, ecName, ecTarget}));
  // A plain or Shift left or right click is the mouse's own, unless the hotkey is off.
  view.selections[ecKeylist] = kRightButton;
  view.selections[ecKm] = 1;  // Shift
  EXPECT_FALSE(editor.Validate(kEditAdd));
  EXPECT_EQ(view.errors.back(), kUsersClickText);
  EXPECT_EQ(view.focused.back(), ecKm);
  view.checked[ecHotkeyOff] = true;
  EXPECT_TRUE(editor.Validate(kEditAdd));
  view.checked[ecHotkeyOff] = false;
  view.selections[ecKm] = 11;  // Win+Alt
  EXPECT_TRUE(editor.Validate(kEditAdd));

  // Equal only once cut to the record's widths: still a duplicate.
  view.errors.clear();
  Type(ecName, " Notepad");
  Type(ecGroup, "Applications");
  EXPECT_FALSE(editor.Validate(kEditAdd));
  Type(ecName, std::string(40, 'n') + "extra");
  Store(MakeRec(std::string(40, 'N'), "Home"));
  Type(ecGroup, "Home");
  EXPECT_FALSE(editor.Validate(kEditAdd));
  EXPECT_EQ(view.errors.size(), 2u);
  EXPECT_EQ(view.errors[1], "Cannot add, That HotKey name already exists.");
  // A failed check writes nothing.
  EXPECT_EQ(copy.Name.str(), "");
}

TEST_F(KeyEditorTest, AnUpdateMayKeepItsOwnNameButNotTakeAnothers) {
  PKeyRec mail = Store(MakeRec("Mail", "Net", ftNewMail, "mailto:"));
  Store(MakeRec("News", "Net", ftNews, "news:"));
  TKeyRec working = *mail;
  Open(working, kEditUpdate, mail);
  Type(ecName, "MAIL");
  EXPECT_TRUE(editor.Validate(kEditUpdate));
  Type(ecName, "news");
  EXPECT_FALSE(editor.Validate(kEditUpdate));
  EXPECT_EQ(view.errors, std::vector<std::string>{"Cannot add, That HotKey name already exists."});
  Type(ecGroup, "Other");
  EXPECT_TRUE(editor.Validate(kEditUpdate));
}

TEST_F(KeyEditorTest, OkWritesTheTrimmedAndCutEntries) {
  TKeyRec rec = NewKeyRec(ftRunProgram);
  rec.ShowOnMenu = 0;
  rec.Reserved = 7;
  Open(rec);
  Type(ecName, "  " + std::string(45, 'a') + "  ");
  Type(ecGroup, " Applications ");
  view.selections[ecKeylist] = 37;
  view.selections[ecKm] = 6;
  Type(ecTarget, " " + std::string(300, 't') + " ");
  Type(ecParms, " -x ");
  Type(ecDir, std::string(260, 'd'));
  editor.OkClick();
  EXPECT_EQ(view.closedOk, 1);
  EXPECT_EQ(copy.Name.str(), std::string(40, 'a'));
  EXPECT_EQ(copy.Group.str(), "Applicatio");
  EXPECT_EQ(copy.Key, 37);
  EXPECT_EQ(copy.KeyMod, 6);
  EXPECT_EQ(copy.Target.str(), std::string(255, 't'));
  EXPECT_EQ(copy.Parms.str(), "-x");
  EXPECT_EQ(copy.Dir.str(), std::string(255, 'd'));
  EXPECT_EQ(copy.ShowOnMenu, 1);
  EXPECT_EQ(copy.Reserved, 1);
  EXPECT_EQ(copy.FunType, ftRunProgram);
}

TEST_F(KeyEditorTest, ACutNeverPartsADoubleByteCharacter) {
  editor.Lead = LeadBytes::Of(testing::IsLead932);
  Open(NewKeyRec(ftSendKeys));
  // "ボ" (83 7B) would straddle the 40th and the 10th byte.
  Type(ecName, std::string(39, 'n') + "\x83\x7B");
  Type(ecGroup, "Group 789\x83\x7B");
  editor.OkClick();
  EXPECT_EQ(copy.Name.str(), std::string(39, 'n'));
  EXPECT_EQ(copy.Group.str(), "Group 789");
  EXPECT_EQ(EnteredKeyText("Group 789\x83\x7B", "n\x83\x7B", editor.Lead),
            "Group 789\x0Bn\x83\x7B");
}

TEST_F(KeyEditorTest, KeystrokesAreStoredAsTypedAndTheBlankGroupMeansNone) {
  Open(NewKeyRec(ftSendKeys));
  Type(ecName, "Sig");
  Type(ecGroup, " ");
  Type(ecKeystrokes, "  Hello{TAB}  ");
  editor.OkClick();
  EXPECT_EQ(copy.Target.str(), "  Hello{TAB}  ");
  EXPECT_EQ(copy.Group.str(), "");
  EXPECT_EQ(copy.Key, 0);
  // Opened again, the box shows them trimmed.
  Open(copy);
  EXPECT_EQ(view.texts[ecKeystrokes], "Hello{TAB}");
}

TEST_F(KeyEditorTest, KeysOutsideTheListsAreStoredAsNoSelection) {
  TKeyRec damaged = MakeRec("Odd", "", ftMinimizeAll);
  damaged.Key = 150;
  damaged.KeyMod = -3;
  Open(damaged, kEditUpdate);
  EXPECT_EQ(view.Selection(ecKeylist), -1);
  editor.OkClick();
  EXPECT_EQ(copy.Key, -1);
  EXPECT_EQ(copy.KeyMod, -1);
}

TEST_F(KeyEditorTest, MacroMenuListsGetTheFirstFreeNumberBesideTheProgram) {
  EXPECT_EQ(FreeListFileName(files, kDir), "SendKeyList_1.skl");
  files.files[kDir + "SendKeyList_1.skl"] = "";
  files.files[kDir + "SendKeyList_2.skl"] = "";
  files.files[kDir + "SendKeyList_4.skl"] = "";
  EXPECT_EQ(FreeListFileName(files, kDir), "SendKeyList_3.skl");
  for (int n = 1; n <= 1000; ++n) files.files[kDir + "SendKeyList_" + std::to_string(n) + ".skl"];
  EXPECT_EQ(FreeListFileName(files, kDir), "SendKeyList_1001.skl");
}

TEST_F(KeyEditorTest, TheMacroMenuButtonNamesAListAndOpensItsEditor) {
  files.files[kDir + "SendKeyList_1.skl"] = "";
  Open(NewKeyRec(ftSendKeysMenu));
  editor.BrowseClick(ecTargetButton);
  EXPECT_EQ(view.texts[ecTarget], "SendKeyList_2.skl");
  // A name already there, typed or not, is used as it stands.
  Type(ecTarget, " mine.skl");
  editor.BrowseClick(ecTargetButton);
  EXPECT_EQ(view.dialogs, (std::vector<std::string>{"macros " + kDir + "SendKeyList_2.skl",
                                                    "macros " + kDir + " mine.skl"}));
}

TEST_F(KeyEditorTest, BrowseButtonsFillTheirBoxAndACancelChangesNothing) {
  Open(NewKeyRec(ftExploreFolder));
  view.folderAnswers = {std::string("C:\\Data"), std::nullopt};
  editor.BrowseClick(ecTargetButton);
  EXPECT_EQ(view.texts[ecTarget], "C:\\Data");
  editor.BrowseClick(ecTargetButton);
  EXPECT_EQ(view.texts[ecTarget], "C:\\Data");

  Open(NewKeyRec(ftOpenFile));
  view.fileAnswers = {std::string("C:\\a.txt")};
  editor.BrowseClick(ecTargetButton);
  EXPECT_EQ(view.texts[ecTarget], "C:\\a.txt");

  Open(NewKeyRec(ftRunProgram));
  view.fileAnswers = {std::string("C:\\p.exe")};
  view.folderAnswers = {std::string("C:\\Work")};
  editor.BrowseClick(ecTargetButton);
  editor.BrowseClick(ecDirButton);
  EXPECT_EQ(view.texts[ecTarget], "C:\\p.exe");
  EXPECT_EQ(view.texts[ecDir], "C:\\Work");

  Open(NewKeyRec(ftMinimizeAll));
  editor.BrowseClick(ecTargetButton);
  EXPECT_EQ(view.dialogs, (std::vector<std::string>{"folder", "folder", "file All files|*.*",
                                                    "file All files|*.*", "folder"}));
}

TEST_F(KeyEditorTest, AHotKeyClashIsNamedOnTheInfoLineAtOnce) {
  TKeyRec type = MakeRec("Type", "Macros", ftSendKeys, "x");
  type.Key = 34 + 19;  // T
  type.KeyMod = 6;     // Ctrl+Alt
  Store(type);
  TKeyRec mail = MakeRec("Mail", "", ftNewMail, "mailto:");
  mail.Key = 34;  // A
  mail.KeyMod = 6;
  PKeyRec mailRec = Store(mail);
  view.systemTaken = {{kModControl | kModAlt, 0x44}};  // Ctrl+Alt+D has another program

  Open(NewKeyRec(ftRunProgram));
  editor.OLKeyNameEnter(ecKeylist);
  const std::string help = view.info;
  EXPECT_TRUE(editor.Clash().empty());
  EXPECT_TRUE(view.trials.empty());  // no key chosen yet: nothing to try

  view.selections[ecKeylist] = 34 + 19;
  view.selections[ecKm] = 6;
  editor.HotKeyChanged();
  EXPECT_EQ(view.info, "Ctrl+Alt+T is already the HotKey of \"Type\" in the group \"Macros\"." +
                           std::string("\r\n\r\n") + help);
  // The help of another control keeps the clash above it.
  editor.OLKeyNameEnter(ecName);
  EXPECT_EQ(view.info.rfind("Ctrl+Alt+T is already", 0), 0u);

  view.selections[ecKeylist] = 34 + 3;  // D
  editor.HotKeyChanged();
  EXPECT_EQ(view.info.rfind("Ctrl+Alt+D is taken by another program or by the system.", 0), 0u);
  EXPECT_EQ(view.trials.back(), std::make_pair(kModControl | kModAlt, 0x44u));

  view.selections[ecKm] = 1;  // Shift+D is free
  editor.HotKeyChanged();
  EXPECT_TRUE(editor.Clash().empty());
  EXPECT_EQ(view.info.rfind("Enter a user friendly name", 0), 0u);

  // Its own hotkey is no clash for the definition being edited, and is not tried: the
  // program holds it.
  view = FakeEditorView();
  TKeyRec edited = *mailRec;
  Open(edited, kEditUpdate, mailRec);
  EXPECT_TRUE(editor.Clash().empty());
  EXPECT_TRUE(view.trials.empty());
  // Key "None" is no hotkey at all.
  view.selections[ecKeylist] = 0;
  editor.HotKeyChanged();
  EXPECT_TRUE(editor.Clash().empty());
  EXPECT_TRUE(view.trials.empty());
  // OK stores a clashing choice all the same; registration decides.
  Type(ecName, "Mail");
  view.selections[ecKeylist] = 34 + 19;
  editor.HotKeyChanged();
  EXPECT_FALSE(editor.Clash().empty());
  editor.OkClick();
  EXPECT_EQ(view.closedOk, 1);
  EXPECT_EQ(copy.Key, 34 + 19);
}

// Definitions share a combination when no program could want both; a switched-off one is
// passed by on either side. Ostrel's own registration of a shared combination is no
// program holding it: the system would refuse a trial, and none is made.
TEST_F(KeyEditorTest, AClashNeedsBothSwitchedOnAndSharedPrograms) {
  TKeyRec rec = MakeRec("Notes", "Macros");
  rec.Key = 34 + 19;  // Ctrl+Alt+T
  rec.KeyMod = 6;
  keys.Add(KeyText(rec), std::make_unique<TKeyRec>(rec),
           {ProgramScope::kOnly, {"notepad.exe", "wordpad"}});
  rec.Name.assign("Off");
  keys.Add(KeyText(rec), std::make_unique<TKeyRec>(rec), {ProgramScope::kAll, {}, true});
  view.systemTaken = {{kModControl | kModAlt, 0x54}};
  const std::string held = "Ctrl+Alt+T is already the HotKey of \"Notes\" in the group \"Macros\"";
  const std::pair<Conditions, std::string> rows[] = {
      {{ProgramScope::kOnly, {"calc"}}, ""},
      {{ProgramScope::kOnly, {"calc", "WordPad.exe"}}, held + " for WordPad.exe."},
      {{ProgramScope::kExcept, {"notepad", "WORDPAD"}}, ""},
      {{}, ""},  // beside a global one, the Only one is meant in its programs
      {{ProgramScope::kOnly, {"notepad"}}, held + " for notepad."},
      {{ProgramScope::kAll, {}, true}, ""},
  };
  for (auto [mine, clash] : rows) {
    editor.DefinitionConditions = &mine;
    Open(rec);
    EXPECT_EQ(editor.Clash(), clash) << ScopeText(mine);
  }
  EXPECT_TRUE(view.trials.empty());
}

TEST_F(KeyEditorTest, TheAbbreviationLoadsClashesIsCheckedAndStaysUtf8) {
  Conditions theirs;
  theirs.abbreviation.text = ";addr";
  keys.Add(KeyText(MakeRec("Address", "Home")),
           std::make_unique<TKeyRec>(MakeRec("Address", "Home")), theirs);
  // "日" is no character of 1252: shown as nothing, and kept while left so.
  Conditions working;
  working.abbreviation = {"\xE6\x97\xA5", true, true};
  FakeCodePage cp;
  editor.CodePage = &cp;
  editor.DefinitionConditions = &working;
  Open(NewKeyRec(ftMinimizeAll));
  EXPECT_EQ(view.texts[ecAbbreviation], "");
  EXPECT_TRUE(view.checked[ecImmediate]);
  Type(ecName, "Min");
  editor.OkClick();
  EXPECT_EQ(working.abbreviation.text, "\xE6\x97\xA5");
  Type(ecAbbreviation, ";ADDR");
  editor.HotKeyChanged();
  EXPECT_EQ(editor.Clash(),
            ";ADDR is already the abbreviation of \"Address\" in the group \"Home\".");
  Type(ecAbbreviation, "a b");
  editor.OkClick();
  EXPECT_EQ(view.errors, std::vector<std::string>{"An abbreviation holds no blanks."});
  EXPECT_EQ(view.focused.back(), ecAbbreviation);
  // The code page's "é" is stored as UTF-8; matching case, set in Keys.ini only, stays.
  Type(ecAbbreviation, " caf\xE9 ");
  view.checked[ecImmediate] = false;
  editor.OkClick();
  EXPECT_EQ(working.abbreviation, (Abbreviation{"caf\xC3\xA9", false, true}));
}

TEST_F(KeyEditorTest, TheProgramsRowLoadsPicksChecksAndWritesItsConditions) {
  Conditions working{ProgramScope::kExcept, {"cmd.exe"}, true};
  editor.DefinitionConditions = &working;
  FakePrograms programs;
  programs.visible = {1, 2, 3};
  programs.processOf = {{1, 10}, {2, 20}, {3, 30}};
  programs.fileOf = {{10, "notepad.exe"}, {20, "CMD.EXE"}, {30, "Notepad.exe"}};
  editor.Programs = &programs;
  Open(NewKeyRec(ftMinimizeAll));
  // "..." lists each open program once; a pick the names hold already adds nothing.
  for (const char* pick : {"CMD.EXE", "notepad.exe"}) {
    view.programPick = pick;
    editor.ProgramsButtonClick();
  }
  EXPECT_EQ(view.programList, (std::vector<std::string>{"CMD.EXE", "notepad.exe"}));
  EXPECT_EQ(view.texts[ecPrograms], "cmd.exe;notepad.exe");
  // "Only in" no program is refused, and writes nothing.
  Type(ecName, "Minimize");
  view.selections[ecScope] = 1;
  Type(ecPrograms, " ; ");
  editor.OkClick();
  EXPECT_EQ(view.focused, std::vector<int>{ecPrograms});
  EXPECT_EQ(working.scope, ProgramScope::kExcept);
  Type(ecPrograms, "Word.exe; word ;calc");
  view.checked[ecHotkeyOff] = false;
  editor.OkClick();
  EXPECT_EQ(working, (Conditions{ProgramScope::kOnly, {"Word.exe", "calc"}, false}));
  // "All" greys the names out and stores none of them.
  view.selections[ecScope] = 0;
  editor.ProgramsChanged();
  EXPECT_FALSE(view.enabled[ecPrograms] || view.enabled[ecProgramsButton]);
  editor.OkClick();
  EXPECT_EQ(working, Conditions{});
}

TEST_F(KeyEditorTest, FocusShowsTheControlsHelpAndTheHelpButtonAsksForContext99) {
  Open(NewKeyRec(ftRunProgram));
  editor.OLKeyNameEnter(ecName);
  EXPECT_EQ(view.info.rfind("Enter a user friendly name", 0), 0u);
  editor.OLKeyNameEnter(ecDirButton);
  EXPECT_EQ(view.info, "This button helps you select the working directory name.");
  editor.OLKeyNameEnter(ecKeystrokes);
  EXPECT_EQ(view.info, "Enter the keystrokes that you wish sent when this function is selected.");
  editor.OLKeyNameEnter(ecScope);
  EXPECT_EQ(view.info.rfind("Choose where the HotKey works.", 0), 0u);
  editor.HelpClick();
  EXPECT_EQ(view.helpRequests, std::vector<int>{99});
}

}  // namespace
}  // namespace ostrel
