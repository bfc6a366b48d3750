#include <gtest/gtest.h>

#include "catalogue/Collation.h"
#include "fakes/MemoryFiles.h"
#include "macro/ListFile.h"

namespace ostrel {
namespace {

using testing::MemoryFileSystem;
using Lines = std::vector<std::string>;

const std::string kList = "C:\\Ostrel\\SendKeyList_1.skl";

TEST(ListTextTest, LinesEndAtCrLfCrOrLfAndAFinalBreakStartsNoLine) {
  EXPECT_EQ(ParseListText("a=1\r\nb=2\rc=3\nd=4"), (Lines{"a=1", "b=2", "c=3", "d=4"}));
  EXPECT_EQ(ParseListText("a=1\r\n"), (Lines{"a=1"}));
  EXPECT_EQ(ParseListText("a=1\r"), (Lines{"a=1"}));
  EXPECT_EQ(ParseListText("a=1\n"), (Lines{"a=1"}));
  // LF CR is two breaks, not one.
  EXPECT_EQ(ParseListText("a\n\rb"), (Lines{"a", "", "b"}));
}

TEST(ListTextTest, EmptyLinesCountAndEmptyTextHasNone) {
  EXPECT_EQ(ParseListText(""), Lines{});
  EXPECT_EQ(ParseListText("\r\n"), (Lines{""}));
  EXPECT_EQ(ParseListText("a\r\n\r\n\r\nb\r\n"), (Lines{"a", "", "", "b"}));
}

TEST(ListTextTest, NulEndsTheText) {
  using namespace std::string_view_literals;
  EXPECT_EQ(ParseListText("a=1\r\nb=2\0c=3\r\n"sv), (Lines{"a=1", "b=2"}));
  EXPECT_EQ(ParseListText("\0a=1"sv), Lines{});
}

TEST(ListTextTest, EveryLineIsFollowedByCrLfAndAnEmptyListGivesNoBytes) {
  EXPECT_EQ(ListFileText({}), "");
  EXPECT_EQ(ListFileText({""}), "\r\n");
  EXPECT_EQ(ListFileText({"Name=John{tab}Smith", "Fax="}), "Name=John{tab}Smith\r\nFax=\r\n");
}

TEST(ListTextTest, AMacroWithALineBreakComesBackAsTwoItems) {
  EXPECT_EQ(ParseListText(ListFileText({"X=one\r\ntwo"})), (Lines{"X=one", "two"}));
}

TEST(ListItemTest, NameIsTheTextBeforeTheFirstEquals) {
  EXPECT_EQ(ListItemName("X=a=b"), "X");
  EXPECT_EQ(ListItemName("=abc"), "");
  EXPECT_EQ(ListItemName("NoEquals"), "");
  EXPECT_EQ(ListItemName(""), "");
}

TEST(ListItemTest, ValueComesFromTheFirstLineWithEqualsWhoseNameMatchesWithoutCase) {
  Lines lines{"phone", "Greeting=Hello", "X=a=b", "PHONE=555", "Phone=999", "Blank="};
  EXPECT_EQ(ListItemValue(lines, "X", PortableCollate), "a=b");
  EXPECT_EQ(ListItemValue(lines, "phone", PortableCollate), "555");
  EXPECT_EQ(ListItemValue(lines, "greeting", PortableCollate), "Hello");
  EXPECT_EQ(ListItemValue(lines, "Blank", PortableCollate), "");
  EXPECT_EQ(ListItemValue(lines, "Missing", PortableCollate), "");
  // A name is the whole text before "=", not a prefix of it.
  EXPECT_EQ(ListItemValue(lines, "Greet", PortableCollate), "");
}

TEST(ListFileTest, LoadReadsTheLinesOrReportsWhyNot) {
  MemoryFileSystem fs;
  ListFileLoad missing = LoadListFile(fs, kList);
  EXPECT_FALSE(missing.exists);
  EXPECT_TRUE(missing.lines.empty());
  EXPECT_EQ(missing.error, "");

  fs.files[kList] = "Name=John{tab}Smith\r\nPhone=555-1234\r\n";
  fs.readChunk = 5;  // many short reads
  ListFileLoad ok = LoadListFile(fs, kList);
  EXPECT_TRUE(ok.exists);
  EXPECT_EQ(ok.lines, (Lines{"Name=John{tab}Smith", "Phone=555-1234"}));
  EXPECT_EQ(ok.error, "");

  fs.readFailsAfter = 25;
  ListFileLoad broken = LoadListFile(fs, kList);
  EXPECT_EQ(broken.error, "Cannot read file " + kList);
  EXPECT_EQ(broken.lines, (Lines{"Name=John{tab}Smith", "Phon"}));

  fs.readFailsAfter = -1;
  fs.unreadable.insert(kList);
  ListFileLoad locked = LoadListFile(fs, kList);
  EXPECT_TRUE(locked.exists);
  EXPECT_TRUE(locked.lines.empty());
  EXPECT_EQ(locked.error, "Cannot read file " + kList);
}

TEST(ListFileTest, SaveWritesAStagingFileThenReplacesTheListInOneStep) {
  MemoryFileSystem fs;
  fs.files[kList] = "old=1\r\n";
  EXPECT_EQ(SaveListFile(fs, kList, {"X=a=b", "Fax="}), "");
  EXPECT_EQ(fs.files[kList], "X=a=b\r\nFax=\r\n");
  EXPECT_EQ(fs.log, (Lines{"create " + kList + ".new", "replace " + kList + ".new " + kList}));
  EXPECT_FALSE(fs.Exists(StagingName(kList)));
  EXPECT_EQ(LoadListFile(fs, kList).lines, (Lines{"X=a=b", "Fax="}));
}

TEST(ListFileTest, AnEmptyListIsAFileOfNoBytes) {
  MemoryFileSystem fs;
  fs.files[kList] = "Only=1\r\n";
  EXPECT_EQ(SaveListFile(fs, kList, {}), "");
  ASSERT_TRUE(fs.Exists(kList));
  EXPECT_EQ(fs.files[kList], "");
}

TEST(ListFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoStagingFile) {
  const std::string old = "Name=John\r\nPhone=555\r\n";
  const Lines edited{"Name=John", "Phone=555", "Fax=123"};
  auto fresh = [&] {
    MemoryFileSystem fs;
    fs.files[kList] = old;
    return fs;
  };
  const std::string error = "Cannot create file " + kList;

  MemoryFileSystem refused = fresh();
  refused.uncreatable.insert(StagingName(kList));
  EXPECT_EQ(SaveListFile(refused, kList, edited), error);
  EXPECT_EQ(refused.files, (std::map<std::string, std::string>{{kList, old}}));

  MemoryFileSystem full = fresh();
  full.diskSpace = 10;
  EXPECT_EQ(SaveListFile(full, kList, edited), error);
  EXPECT_EQ(full.files, (std::map<std::string, std::string>{{kList, old}}));

  MemoryFileSystem unflushed = fresh();
  unflushed.commitFails = true;
  EXPECT_EQ(SaveListFile(unflushed, kList, edited), error);
  EXPECT_EQ(unflushed.files, (std::map<std::string, std::string>{{kList, old}}));

  MemoryFileSystem unreplaced = fresh();
  unreplaced.replaceFails = true;
  EXPECT_EQ(SaveListFile(unreplaced, kList, edited), error);
  EXPECT_EQ(unreplaced.files, (std::map<std::string, std::string>{{kList, old}}));

  // A new file that cannot be written does not come into being at all.
  MemoryFileSystem none;
  none.replaceFails = true;
  EXPECT_EQ(SaveListFile(none, kList, edited), error);
  EXPECT_TRUE(none.files.empty());
}

}  // namespace
}  // namespace ostrel
