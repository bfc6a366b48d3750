#include <gtest/gtest.h>

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

// What an id in a record means, in the catalogue or not (a damaged file holds any
// number): a type with a name for the status line and its own help text, and whether its
// target names a macro list file, which travels with it.
TEST(FunCatalogue, AnIdIsATypeOnlyInsideTheCatalogueAndOnlyTheMacroMenuNamesAListFile) {
  const struct {
    std::int32_t id;
    bool type;
    bool listFile;
  } cases[] = {{-1, false, false},
               {0, false, false},
               {ftExploreFolder, true, false},
               {ftSendKeys, true, false},
               {ftSendKeysMenu, true, true},
               {kFunTypeCount, true, false},
               {kFunTypeCount + 1, false, false}};
  for (const auto& c : cases) {
    const TKeyRec rec = testing::MakeRec("x", "", c.id, "m.skl");
    EXPECT_EQ(FindFunType(c.id) != nullptr, c.type) << c.id;
    EXPECT_EQ(FunTypeName(&rec).empty(), !c.type) << c.id;
    EXPECT_EQ(IsMacroMenu(rec), c.listFile) << c.id;
    // Help number 0 is the window's own text; a type's number is its id.
    if (c.id > 0) {
      EXPECT_EQ(HelpText(c.id).empty(), !c.type) << c.id;
    }
  }
  EXPECT_EQ(FunTypeName(nullptr), "");
}

TEST(HelpTexts, ParagraphMarksBecomeBlankLines) {
  std::string memo = ExpandParagraphs(HelpText(0));
  EXPECT_EQ(memo.find('@'), std::string::npos);
  EXPECT_EQ(memo.substr(0, 41), "This is the hotkey definition panel. \r\n\r\n");
  EXPECT_EQ(memo.substr(memo.size() - 4), "\r\n\r\n");
  EXPECT_EQ(ExpandParagraphs("a@@b"), "a\r\n\r\n\r\n\r\nb");
}

}  // namespace
}  // namespace ostrel
