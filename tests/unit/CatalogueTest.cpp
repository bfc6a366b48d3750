#include <gtest/gtest.h>

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

TEST(FunCatalogue, TypesOutsideTheCatalogueAreNoneAndRowsCarryTheirTexts) {
  EXPECT_EQ(FindFunType(0), nullptr);
  EXPECT_EQ(FindFunType(kFunTypeCount + 1), nullptr);
  EXPECT_EQ(FindFunType(ftShowMenu)->displayName, "Show OstrelMenu ");
  EXPECT_EQ(FindFunType(ftSendKeys)->displayName, "Send Keys to the active window");
  EXPECT_EQ(FindFunType(ftNewMail)->targetLabel, "Mail addres:");
  EXPECT_EQ(FindFunType(ftNewMail)->prefill, "mailto:");
  EXPECT_EQ(FindFunType(ftBrowseSecureWeb)->prefill, "https://");
  EXPECT_EQ(FindFunType(ftRunProgram)->constant, "ftRunProgram");
  EXPECT_TRUE(FindFunType(ftMinimizeAll)->targetLabel.empty());
}

TEST(FunCatalogue, FunTypeNameIsEmptyOutsideTheCatalogue) {
  TKeyRec rec = testing::MakeRec("x", "", ftRunProgram);
  EXPECT_EQ(FunTypeName(&rec), "Run a program");
  rec.FunType = 0;
  EXPECT_EQ(FunTypeName(&rec), "");
  rec.FunType = kFunTypeCount + 1;
  EXPECT_EQ(FunTypeName(&rec), "");
  EXPECT_EQ(FunTypeName(nullptr), "");
}

TEST(HelpTexts, QuotedTextsAreExact) {
  EXPECT_EQ(HelpText(4),
            "This function will start any program that you specify. You can specify the default "
            "directory  and any additional parameters.");
  EXPECT_EQ(HelpText(15).back(), 's');  // "... telnet server address", no full stop
  EXPECT_TRUE(HelpText(19).ends_with("while you work"));
  EXPECT_NE(HelpText(9).find("ftp  server address. Example: ftp://"), std::string_view::npos);
  EXPECT_NE(HelpText(13).find(". You could also specify mailto:new for a new message."),
            std::string_view::npos);
  EXPECT_TRUE(HelpText(99).empty());
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
