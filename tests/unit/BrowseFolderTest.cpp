// The folder browser's window-free rules: the status line's path shortening, the dialog
// flags of an option set, the roots of the tree, where the dialog is put, the custom
// button's width and what a change of selection asks of the dialog.
#include <gtest/gtest.h>

#include <string>

#include "components/BrowseFolder.h"

namespace ostrel {
namespace {

TEST(BrowseStatusPath, KeepsPathsOfAtMost35CharactersAndShortensLongerOnes) {
  const std::string p35 = "C:\\Program Files\\Ostrel\\Data\\Keys12";  // 35 characters
  ASSERT_EQ(p35.size(), 35u);
  EXPECT_EQ(ShortenPath(p35), p35);

  const std::string p36 = p35 + "3";
  EXPECT_EQ(ShortenPath(p36), "C:\\...\\Ostrel\\Data\\Keys123");

  // The example of the status line: the loop stops as soon as the text fits.
  const std::string example = "D:\\Data\\Projects\\Current\\Reports\\2024\\Summary";
  ASSERT_EQ(example.size(), 45u);
  const std::string shortened = ShortenPath(example);
  EXPECT_EQ(shortened, "D:\\...\\Current\\Reports\\2024\\Summary");
  EXPECT_EQ(shortened.size(), 35u);
}

TEST(BrowseStatusPath, NeverGoesBelowFirstPartEllipsisAndLastPart) {
  const std::string longName(50, 'n');
  EXPECT_EQ(ShortenPath("C:\\a\\b\\c\\d\\" + longName), "C:\\...\\" + longName);
  EXPECT_EQ(ShortenPath("C:\\" + longName + "\\x"), "C:\\...\\x");
  // Dropping stops at the first fit, counting from the part after "...".
  EXPECT_EQ(ShortenPath("C:\\one\\two\\three\\four\\five\\six\\seven\\eight"),
            "C:\\...\\four\\five\\six\\seven\\eight");
}

TEST(BrowseStatusPath, LeavesPathsOfOneOrTwoPartsAlone) {
  const std::string longName(60, 'x');
  EXPECT_EQ(ShortenPath("C:\\" + longName), "C:\\" + longName);
  EXPECT_EQ(ShortenPath(longName), longName);
  EXPECT_EQ(ShortenPath(""), "");
  // Empty parts count as parts: a share's leading "\\" makes two of them.
  const std::string unc = "\\\\server\\" + longName + "\\docs";
  EXPECT_EQ(ShortenPath(unc), "\\...\\docs");
}

TEST(BrowseInfoFlags, EachElementAddsItsDialogFlag) {
  EXPECT_EQ(TBrowseInfoFlagSet{}.DialogFlags(), 0u);
  EXPECT_TRUE(TBrowseInfoFlagSet{}.Empty());
  const std::pair<TBrowseInfoFlags, std::uint32_t> each[] = {
      {bfFileSysDirsOnly, 0x0001},  {bfDontGoBelowDomain, 0x0002}, {bfStatusText, 0x0004},
      {bfFileSysAncestors, 0x0008}, {bfBrowseForComputer, 0x1000}, {bfBrowseForPrinter, 0x2000},
  };
  for (const auto& [flag, value] : each) {
    EXPECT_EQ(BrowseInfoFlag(flag), value) << int(flag);
    EXPECT_EQ(TBrowseInfoFlagSet{flag}.DialogFlags(), value) << int(flag);
  }
  TBrowseInfoFlagSet set{bfFileSysDirsOnly, bfStatusText, bfBrowseForPrinter};
  EXPECT_EQ(set.DialogFlags(), 0x2005u);
  EXPECT_TRUE(set.Contains(bfStatusText));
  EXPECT_FALSE(set.Contains(bfDontGoBelowDomain));
  set.Exclude(bfStatusText);
  set.Include(bfFileSysAncestors);
  EXPECT_EQ(set.DialogFlags(), 0x2009u);
  EXPECT_EQ(set, (TBrowseInfoFlagSet{bfBrowseForPrinter, bfFileSysAncestors, bfFileSysDirsOnly}));
}

TEST(BrowseRoots, EachRootHasItsFolderIdAndTheExpandedDesktopNone) {
  const int expected[kSHFolderCount] = {
      0, kNoRootFolder, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21};
  for (int i = 0; i < kSHFolderCount; ++i) {
    EXPECT_EQ(SpecialFolderId(static_cast<TSHFolders>(i)), expected[i]) << i;
  }
  EXPECT_EQ(static_cast<int>(foTemplates), 17);
  EXPECT_EQ(SpecialFolderId(foMyComputer), 17);
  EXPECT_EQ(SpecialFolderId(static_cast<TSHFolders>(18)), kNoRootFolder);
}

TEST(BrowsePlacement, CentresAcrossAndAQuarterDownTheForegroundWindow) {
  BrowsePoint p = DialogPlacement({100, 50, 901, 651}, 320);
  EXPECT_EQ(p.x, 100 + 400 - 160);
  EXPECT_EQ(p.y, 50 + 150);
  // An odd dialog width loses its half pixel towards zero.
  p = DialogPlacement({0, 0, 800, 600}, 331);
  EXPECT_EQ(p.x, 400 - 165);
  // A window on a monitor left of and above the primary one.
  p = DialogPlacement({-1280, -300, -480, 303}, 400);
  EXPECT_EQ(p.x, -1280 + 400 - 200);
  EXPECT_EQ(p.y, -300 + 150);
  // A dialog wider than the window goes left of it.
  p = DialogPlacement({-10, -10, 90, 30}, 301);
  EXPECT_EQ(p.x, -10 + 50 - 150);
  EXPECT_EQ(p.y, 0);
  // Inverted rectangles round their halves and quarters towards zero, not down.
  p = DialogPlacement({10, 10, 5, 3}, 0);
  EXPECT_EQ(p.x, 10 - 2);
  EXPECT_EQ(p.y, 10 - 1);
}

TEST(BrowseCustomButton, ZeroOrLessStores75) {
  EXPECT_EQ(CustomButtonWidthFor(0), 75);
  EXPECT_EQ(CustomButtonWidthFor(-20), 75);
  EXPECT_EQ(CustomButtonWidthFor(1), 1);
  EXPECT_EQ(CustomButtonWidthFor(120), 120);
}

TEST(BrowseSelection, OkAndTheSyncedButtonFollowWhetherTheItemHasAPath) {
  const std::string dir = "D:\\Data\\Projects\\Current\\Reports\\2024\\Summary";
  SelectionUpdate u = SelectionChanged(true, dir, true, true);
  EXPECT_EQ(u.selection, dir);
  EXPECT_TRUE(u.sendStatus);
  EXPECT_EQ(u.statusText, "D:\\...\\Current\\Reports\\2024\\Summary");
  EXPECT_TRUE(u.enableOk);
  EXPECT_TRUE(u.syncCustomButton);

  // A virtual item: no path, an empty status line, OK off.
  u = SelectionChanged(false, "left over", true, false);
  EXPECT_EQ(u.selection, "");
  EXPECT_TRUE(u.sendStatus);
  EXPECT_EQ(u.statusText, "");
  EXPECT_FALSE(u.enableOk);
  EXPECT_FALSE(u.syncCustomButton);

  u = SelectionChanged(true, "C:\\", false, false);
  EXPECT_EQ(u.selection, "C:\\");
  EXPECT_FALSE(u.sendStatus);
  EXPECT_TRUE(u.enableOk);
}

}  // namespace
}  // namespace ostrel
