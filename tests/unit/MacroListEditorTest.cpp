#include <gtest/gtest.h>

#include <deque>

#include "catalogue/Collation.h"
#include "fakes/MemoryFiles.h"
#include "macro/ListFile.h"
#include "macro/MacroListEditor.h"

namespace ostrel {
namespace {

using testing::MemoryFileSystem;
using Lines = std::vector<std::string>;

const std::string kList = "C:\\Ostrel\\SendKeyList_1.skl";

// The dialog as the editor sees it. Like the real edit control, setting MenuKeys' text
// reports a change; typing does too. Closing runs the close query, as the window does.
class FakeView : public MacroListView {
 public:
  MacroListEditor* editor = nullptr;
  Lines names;
  int selected = -1;
  std::string macro;
  bool readOnly = false;
  int focusCount = 0;
  std::string help;
  std::deque<std::string> answers;  // what the user types into each input box
  Lines inputBoxes;                 // "caption|prompt|initial" of each one shown
  Lines errors;
  std::vector<int> helpRequests;
  int closes = 0;

  void SetMenuNames(const Lines& n) override {
    names = n;
    selected = -1;
  }
  int SelectedLine() override { return selected; }
  void SelectLine(int index) override { selected = index; }
  void SetMacroText(const std::string& text) override {
    bool changed = text != macro;
    macro = text;
    if (changed) editor->MenuKeysChange();
  }
  std::string MacroText() override { return macro; }
  void SetMacroReadOnly(bool ro) override { readOnly = ro; }
  void FocusMacro() override { ++focusCount; }
  void SetHelpText(const std::string& text) override { help = text; }
  std::string InputBox(const std::string& caption, const std::string& prompt,
                       const std::string& initial) override {
    inputBoxes.push_back(caption + "|" + prompt + "|" + initial);
    std::string a = answers.empty() ? "" : answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void RequestHelp(int context) override { helpRequests.push_back(context); }
  void Close() override {
    ++closes;
    editor->FormCloseQuery();
  }

  // The user's own actions.
  void Click(int line) {
    selected = line;
    editor->MenuListClick();
  }
  void Type(const std::string& text) {
    ASSERT_FALSE(readOnly) << "typing into a read-only MenuKeys";
    macro = text;
    editor->MenuKeysChange();
  }
};

class MacroListEditorTest : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  FakeView view;
  MacroListEditor editor{view, fs, PortableCollate};

  void Open(const std::string* content) {
    if (content) fs.files[kList] = *content;
    view.editor = &editor;
    editor.FormCreate();
    editor.ListFileName = kList;
    editor.FormShow();
  }
  void Open(const std::string& content) { Open(&content); }
  void Add(const std::string& answer) {
    view.answers.push_back(answer);
    editor.AddClick();
  }
  void ExpectNothingSelected() {
    EXPECT_EQ(view.selected, -1);
    EXPECT_EQ(view.macro, "");
    EXPECT_TRUE(view.readOnly);
    EXPECT_EQ(editor.CurrentItem(), "");
  }

  const std::string kJohn = "Name=John{tab}Smith\r\nPhone=555-1234\r\n";
};

TEST_F(MacroListEditorTest, ShowsTheItemNamesAndTheHelpWithNothingSelected) {
  Open("Name=John{tab}Smith\r\nNoEquals\r\nPhone=555-1234\r\n");
  EXPECT_EQ(view.names, (Lines{"Name", "", "Phone"}));
  ExpectNothingSelected();
  EXPECT_TRUE(view.help.starts_with("To add a new Sendkey Menu Item select the 'Add' button."));
  EXPECT_NE(view.help.find("'Delete' key. \r\n\r\nTo update"), std::string::npos);
  EXPECT_TRUE(view.help.ends_with("another Sendkey Menu Item.\r\n\r\n"));
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(MacroListEditorTest, SelectingAnItemShowsItsMacroEditableAndFocused) {
  Open(kJohn);
  view.Click(1);
  EXPECT_EQ(view.macro, "555-1234");
  EXPECT_FALSE(view.readOnly);
  EXPECT_EQ(editor.CurrentItem(), "Phone");
  EXPECT_EQ(view.focusCount, 1);
  EXPECT_EQ(editor.ItemList(), (Lines{"Name=John{tab}Smith", "Phone=555-1234"}));

  view.Type("555-9999 ");  // not trimmed
  EXPECT_EQ(editor.ItemList()[1], "Phone=555-9999 ");
  view.Type("a=b");
  EXPECT_EQ(editor.ItemList()[1], "Phone=a=b");

  // Back to it: the macro with "=" in it shows again as typed.
  view.Click(0);
  EXPECT_EQ(view.macro, "John{tab}Smith");
  view.Click(1);
  EXPECT_EQ(view.macro, "a=b");
}

TEST_F(MacroListEditorTest, AddRefusesDuplicatesWithoutCaseAndAppendsANewEmptyItem) {
  Open(kJohn);
  Add("phone");
  EXPECT_EQ(view.errors, Lines{"Cannot add, that name is already used"});
  EXPECT_EQ(editor.ItemList().size(), 2u);
  EXPECT_EQ(view.inputBoxes, Lines{"Enter Menu Name|Menu Name|"});

  Add("  Fax\t");
  EXPECT_EQ(editor.ItemList(), (Lines{"Name=John{tab}Smith", "Phone=555-1234", "Fax="}));
  EXPECT_EQ(view.names.back(), "Fax");
  EXPECT_EQ(view.selected, 2);
  EXPECT_EQ(editor.CurrentItem(), "Fax");
  EXPECT_EQ(view.macro, "");
  EXPECT_FALSE(view.readOnly);
  EXPECT_EQ(view.focusCount, 1);

  view.Type("555-0000");
  EXPECT_EQ(editor.ItemList()[2], "Fax=555-0000");
}

TEST_F(MacroListEditorTest, AnEmptyOrCancelledNameChangesNothing) {
  Open(kJohn);
  view.Click(0);
  Add("");     // Cancel
  Add(" \t");  // blanks only
  EXPECT_EQ(editor.ItemList().size(), 2u);
  EXPECT_TRUE(view.errors.empty());
  EXPECT_EQ(view.selected, 0);  // the selection stays
  EXPECT_EQ(editor.CurrentItem(), "Name");
}

TEST_F(MacroListEditorTest, ANameWithEqualsIsAddedAsTyped) {
  Open(nullptr);
  Add("X=a");
  EXPECT_EQ(editor.ItemList(), Lines{"X=a="});
  EXPECT_EQ(view.names, Lines{"X"});
  EXPECT_EQ(editor.CurrentItem(), "X");
  // The rest became the start of the macro, which the selection wrote back.
  EXPECT_EQ(view.macro, "a=");
  // Now "x" is taken.
  Add("x");
  EXPECT_EQ(view.errors, Lines{"Cannot add, that name is already used"});
}

TEST_F(MacroListEditorTest, DeleteRemovesTheSelectedItemOnlyAndClearsTheSelection) {
  Open(kJohn);
  editor.DeleteClick();  // nothing selected
  EXPECT_EQ(editor.ItemList().size(), 2u);
  view.Click(0);
  editor.DeleteClick();
  EXPECT_EQ(editor.ItemList(), Lines{"Phone=555-1234"});
  EXPECT_EQ(view.names, Lines{"Phone"});
  ExpectNothingSelected();
}

TEST_F(MacroListEditorTest, DuplicateNamesFromOutsideShowTheFirstMacro) {
  Open("Tab=one\r\nTAB=two\r\n");
  view.Click(1);
  EXPECT_EQ(view.macro, "one");
  EXPECT_EQ(editor.CurrentItem(), "TAB");
  // The write-back puts the first one's macro into the second line.
  EXPECT_EQ(editor.ItemList(), (Lines{"Tab=one", "TAB=one"}));
}

TEST_F(MacroListEditorTest, EveryCloseWritesTheFileWithModalResultOk) {
  Open(kJohn);
  Add("Fax");
  editor.ExitClick();  // Exit
  EXPECT_EQ(view.closes, 1);
  EXPECT_EQ(editor.ModalResult(), mrOk);
  EXPECT_EQ(fs.files[kList], "Name=John{tab}Smith\r\nPhone=555-1234\r\nFax=\r\n");
  // The macro menu's lookup offers no macro for Fax.
  EXPECT_EQ(ListItemValue(ParseListText(fs.files[kList]), "Fax", PortableCollate), "");
}

TEST_F(MacroListEditorTest, CancelWritesTheEditsToo) {
  Open(kJohn);
  view.Click(0);
  editor.DeleteClick();
  editor.CancelClick();
  EXPECT_EQ(editor.ModalResult(), mrOk);
  EXPECT_EQ(fs.files[kList], "Phone=555-1234\r\n");
}

TEST_F(MacroListEditorTest, DeletingTheOnlyItemWritesAnEmptyFile) {
  Open("Only=x\r\n");
  view.Click(0);
  editor.DeleteClick();
  EXPECT_TRUE(editor.FormCloseQuery());  // the close box
  ASSERT_TRUE(fs.Exists(kList));
  EXPECT_EQ(fs.files[kList], "");
}

TEST_F(MacroListEditorTest, AMissingFileStartsEmptyAndComesIntoBeingAtTheFirstClose) {
  Open(nullptr);
  EXPECT_TRUE(view.names.empty());
  EXPECT_TRUE(view.errors.empty());
  editor.CancelClick();
  ASSERT_TRUE(fs.Exists(kList));
  EXPECT_EQ(fs.files[kList], "");
}

TEST_F(MacroListEditorTest, AFailedWriteIsReportedKeepsTheOldFileAndStillCloses) {
  Open(kJohn);
  Add("Fax");
  fs.replaceFails = true;
  EXPECT_TRUE(editor.FormCloseQuery());
  EXPECT_EQ(view.errors, Lines{"Cannot create file " + kList});
  EXPECT_EQ(fs.files[kList], kJohn);
  EXPECT_FALSE(fs.Exists(StagingName(kList)));
}

TEST_F(MacroListEditorTest, AnUnreadableFileIsReportedAndNotOverwrittenUnlessChanged) {
  fs.files[kList] = kJohn;
  fs.unreadable.insert(kList);
  Open(nullptr);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_TRUE(view.errors[0].starts_with("Cannot read file " + kList));
  EXPECT_TRUE(view.names.empty());
  editor.FormCloseQuery();
  EXPECT_EQ(fs.files[kList], kJohn);  // not emptied

  // Read part-way, then changed: the user was told, and the change is written.
  MemoryFileSystem fs2;
  FakeView view2;
  MacroListEditor editor2{view2, fs2, PortableCollate};
  view2.editor = &editor2;
  fs2.files[kList] = kJohn;
  fs2.readFailsAfter = 21;
  editor2.FormCreate();
  editor2.ListFileName = kList;
  editor2.FormShow();
  EXPECT_EQ(view2.names, Lines{"Name"});
  editor2.FormCloseQuery();
  EXPECT_EQ(fs2.files[kList], kJohn);
  fs2.readFailsAfter = -1;
  view2.answers.push_back("Fax");
  editor2.AddClick();
  editor2.FormCloseQuery();
  EXPECT_EQ(fs2.files[kList], "Name=John{tab}Smith\r\nFax=\r\n");
  EXPECT_EQ(fs2.files[kList + ".bak"], kJohn);  // what was not read is kept
}

TEST_F(MacroListEditorTest, AnUnchangedListIsNotRewrittenWhateverCloses) {
  Open(kJohn);
  view.Click(1);  // looking at a macro writes it back unchanged
  editor.CancelClick();
  Open(kJohn);
  editor.ExitClick();
  Open(kJohn);
  Add("Fax");
  view.Click(2);
  editor.DeleteClick();  // added and deleted again: the same list
  EXPECT_TRUE(editor.FormCloseQuery());
  EXPECT_EQ(editor.ModalResult(), mrOk);
  for (const std::string& op : fs.log) ADD_FAILURE() << op;
  EXPECT_EQ(fs.files[kList], kJohn);
}

// Bytes the reader cannot take as text: reported at once, left alone when the list is
// not changed, and kept under a backup name that no earlier backup holds before a rewrite.
TEST_F(MacroListEditorTest, FilesItCannotReadWholeAreReportedAndKeptBeforeARewrite) {
  const std::string utf16("\xFF\xFEN\0a\0=\0x\0\r\0\n\0", 14);
  const std::string nul("Name=Jo\0hn\r\nPhone=1\r\n", 22);
  const std::string utf8 = "\xEF\xBB\xBFName=J\xC3\xB6rg\r\n";
  for (const auto& [bytes, what] : {std::pair{utf16, "a UTF-16 byte-order mark"},
                                    std::pair{nul, "a NUL byte"},
                                    std::pair{utf8, "a UTF-8 byte-order mark"}}) {
    SCOPED_TRACE(what);
    fs = MemoryFileSystem();
    view.errors.clear();
    fs.files[kList + ".bak"] = "older";
    Open(bytes);
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0].rfind(kList + " holds " + what + ", which", 0), 0u);
    EXPECT_NE(view.errors[0].find("kept as " + kList + ".bak1."), std::string::npos);
    editor.CancelClick();
    EXPECT_EQ(fs.files[kList], bytes);
    EXPECT_TRUE(fs.log.empty());

    Open(bytes);
    Add("Fax");
    fs.copyFails = true;  // no backup, no rewrite
    editor.ExitClick();
    EXPECT_EQ(view.errors.back().rfind("Cannot create file " + kList + ".bak1\r\n", 0), 0u);
    EXPECT_EQ(fs.files[kList], bytes);

    fs.copyFails = false;
    Open(bytes);
    Add("Fax");
    editor.ExitClick();
    EXPECT_EQ(fs.files[kList + ".bak1"], bytes);
    EXPECT_EQ(fs.files[kList + ".bak"], "older");
    EXPECT_TRUE(fs.files[kList].ends_with("Fax=\r\n"));
  }
  // The byte-order mark is not part of the first name.
  EXPECT_EQ(fs.files[kList], "Name=J\xC3\xB6rg\r\nFax=\r\n");
}

TEST_F(MacroListEditorTest, TheHelpButtonAsksForContext40) {
  Open(kJohn);
  editor.HelpClick();
  EXPECT_EQ(view.helpRequests, std::vector<int>{40});
}

}  // namespace
}  // namespace ostrel
