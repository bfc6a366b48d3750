#include <gtest/gtest.h>

#include "catalogue/FunCatalogue.h"
#include "dialogs/FunctionChooser.h"

namespace ostrel {
namespace {

// The main window's fields as the Add command leaves them from an earlier run.
struct Caller {
  std::int32_t chosenFunction = 5;
  std::string chosenFunctionName = "Hide/Show Active Window";
};

TEST(FunctionChooserTest, CreateResetsTheChoiceAndListsEveryPosition) {
  Caller caller;
  FunctionChooser chooser(caller.chosenFunction, caller.chosenFunctionName);
  std::vector<std::string> items = chooser.FormCreate();
  EXPECT_EQ(caller.chosenFunction, -1);
  EXPECT_EQ(caller.chosenFunctionName, "Hide/Show Active Window");
  EXPECT_FALSE(chooser.HasChoice());
  EXPECT_EQ(chooser.ChosenType(), -1);
  ASSERT_EQ(items.size(), static_cast<std::size_t>(kFunTypeCount));
  EXPECT_EQ(items.front(), "0");
  EXPECT_EQ(items[9], "9");
  EXPECT_EQ(items.back(), std::to_string(kFunTypeCount - 1));
}

TEST(FunctionChooserTest, PositionsFollowTheCatalogueOrderAndDescribeTheirType) {
  const std::vector<std::int32_t> order = {1, 2, 3, 4, 5, 6, 7, 16, 17, 18,
                                           19, 20, 8, 9, 10, 11, 12, 13, 14, 15};
  ASSERT_EQ(FunctionChooser::ItemCount(), kFunTypeCount);
  for (std::size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(FunctionChooser::TypeAt(static_cast<int>(i)), order[i]) << i;
  // The eighth icon: its name, a blank line, its text; "{@}" stays as it is written.
  const std::string sendKeys = FunctionChooser::Description(7);
  EXPECT_EQ(sendKeys.rfind("Send Keys to the active window\r\n\r\nThis function sends keystrokes", 0),
            0u);
  EXPECT_NE(sendKeys.find("you would specify {@}. Example to send Alt+F you would code {@}F."),
            std::string::npos);
  EXPECT_TRUE(sendKeys.ends_with("pauses nn tenths of a second."));
  // The trailing blank of type 7's name is kept.
  EXPECT_EQ(FunctionChooser::Description(6).rfind("Show OstrelMenu \r\n\r\nThis", 0), 0u);

  for (int outside : {-1, kFunTypeCount, 1000}) {
    EXPECT_EQ(FunctionChooser::TypeAt(outside), -1) << outside;
    EXPECT_EQ(FunctionChooser::Description(outside), "") << outside;
  }
}

TEST(FunctionChooserTest, TheChoiceFollowsTheSelectionAndOkHandsItOver) {
  Caller caller;
  FunctionChooser chooser(caller.chosenFunction, caller.chosenFunctionName);
  chooser.FormCreate();
  EXPECT_TRUE(chooser.Select(7));
  EXPECT_EQ(chooser.ChosenType(), ftSendKeys);
  EXPECT_EQ(chooser.ChosenPosition(), 7);
  EXPECT_TRUE(chooser.Select(12));
  EXPECT_EQ(chooser.ChosenType(), ftBrowseFile);
  // A position outside the list changes nothing; the choice is never cleared.
  EXPECT_FALSE(chooser.Select(kFunTypeCount));
  EXPECT_FALSE(chooser.Select(-1));
  EXPECT_EQ(chooser.ChosenType(), ftBrowseFile);
  EXPECT_EQ(chooser.ChosenPosition(), 12);
  // Nothing reaches the caller before OK.
  EXPECT_EQ(caller.chosenFunction, -1);

  EXPECT_EQ(chooser.OkClick(), 1);
  EXPECT_EQ(caller.chosenFunction, ftBrowseFile);
  EXPECT_EQ(caller.chosenFunctionName, "Browse a file");
}

TEST(FunctionChooserTest, OkWithoutAChoiceKeepsTheOldName) {
  Caller caller;
  FunctionChooser chooser(caller.chosenFunction, caller.chosenFunctionName);
  chooser.FormCreate();
  EXPECT_EQ(chooser.OkClick(), 1);
  EXPECT_EQ(caller.chosenFunction, -1);
  EXPECT_EQ(caller.chosenFunctionName, "Hide/Show Active Window");
}

TEST(FunctionChooserTest, CancelAfterAChoiceLeavesNoFunctionChosen) {
  Caller caller;
  FunctionChooser chooser(caller.chosenFunction, caller.chosenFunctionName);
  chooser.FormCreate();
  chooser.Select(7);
  EXPECT_EQ(chooser.CancelClick(), 2);
  EXPECT_EQ(caller.chosenFunction, -1);
  EXPECT_EQ(caller.chosenFunctionName, "Hide/Show Active Window");
}

}  // namespace
}  // namespace ostrel
