#include <gtest/gtest.h>

#include "app/HelpPage.h"

namespace ostrel {
namespace {

TEST(HelpPageTest, PageLivesInTheProgramsFolder) {
  EXPECT_EQ(HelpPagePath("C:\\Program Files\\Ostrel\\Ostrel.exe"),
            "C:\\Program Files\\Ostrel\\ostrel.htm");
  EXPECT_EQ(HelpPagePath("C:Ostrel.exe"), "C:ostrel.htm");
  EXPECT_EQ(HelpPagePath("Ostrel.exe"), "ostrel.htm");
  EXPECT_EQ(HelpPagePath("Z:\\a.b\\c\\"), "Z:\\a.b\\c\\ostrel.htm");
}

TEST(HelpPageTest, DrivePathBecomesAFileAddressAtTheContextsSection) {
  EXPECT_EQ(HelpPageAddress("C:\\Some Dir\\Ostrel.exe", 99),
            "file:///C:/Some%20Dir/ostrel.htm#context-99");
  EXPECT_EQ(HelpPageAddress("d:\\Tools\\Ostrel.exe", 40), "file:///d:/Tools/ostrel.htm#context-40");
  EXPECT_EQ(HelpPageAddress("Z:\\Ostrel.exe", 99), "file:///Z:/ostrel.htm#context-99");
}

TEST(HelpPageTest, CharactersThatWouldBreakTheAddressOrTheCommandLineAreEncoded) {
  // "#" would start the fragment early, "%" an escape, a blank or quote would split or
  // end the browser's argument; the colon of a folder name is not the drive's.
  EXPECT_EQ(HelpPageAddress("C:\\50% #1 \"x\"\\a:b\\Ostrel.exe", 99),
            "file:///C:/50%25%20%231%20%22x%22/a%3Ab/ostrel.htm#context-99");
  EXPECT_EQ(HelpPageAddress("C:\\it's (new) & ok+;=,!@$\\Ostrel.exe", 1),
            "file:///C:/it%27s%20%28new%29%20%26%20ok%2B%3B%3D%2C%21%40%24/ostrel.htm#context-1");
  // Letters, digits and -._~ stay; UTF-8 bytes are encoded one by one; so is a tab.
  EXPECT_EQ(HelpPageAddress("C:\\A-z_0.9~\\caf\xC3\xA9\t\\Ostrel.exe", 99),
            "file:///C:/A-z_0.9~/caf%C3%A9%09/ostrel.htm#context-99");
}

TEST(HelpPageTest, NetworkAndLongPathsKeepTheirHostAndLoseTheirPrefix) {
  EXPECT_EQ(HelpPageAddress("\\\\server\\share dir\\Ostrel.exe", 99),
            "file://server/share%20dir/ostrel.htm#context-99");
  EXPECT_EQ(HelpPageAddress("\\\\?\\C:\\Long\\Ostrel.exe", 99),
            "file:///C:/Long/ostrel.htm#context-99");
  EXPECT_EQ(HelpPageAddress("\\\\?\\UNC\\server\\share\\Ostrel.exe", 40),
            "file://server/share/ostrel.htm#context-40");
}

TEST(HelpPageTest, TheAddressTakesThePlaceTheBrowsersCommandGivesIt) {
  struct Row {
    const char* registered;
    const char* module;
    int context;
    const char* command;
  };
  const Row rows[] = {
      // No place named: the address goes last.
      {"C:\\B\\b.exe", "C:\\O\\Ostrel.exe", 99, "C:\\B\\b.exe file:///C:/O/ostrel.htm#context-99"},
      {"b.exe -osint -url %1", "C:\\O\\Ostrel.exe", 40,
       "b.exe -osint -url file:///C:/O/ostrel.htm#context-40"},
      {"b.exe %L", "C:\\O\\Ostrel.exe", 99, "b.exe file:///C:/O/ostrel.htm#context-99"},
      {"b.exe %l %1", "D:\\x.exe", 1,
       "b.exe file:///D:/ostrel.htm#context-1 file:///D:/ostrel.htm#context-1"},
      // "%*" goes; other "%" signs stay as they are.
      {"b.exe %1 %*", "C:\\O\\Ostrel.exe", 99, "b.exe file:///C:/O/ostrel.htm#context-99 "},
      {"b.exe %2 100%% %", "C:\\O\\Ostrel.exe", 99,
       "b.exe %2 100%% % file:///C:/O/ostrel.htm#context-99"},
      // Quoted, with blanks in the browser's path and in the program's.
      {"\"C:\\Program Files\\B\\b.exe\" \"%1\"", "C:\\Some Dir\\Ostrel.exe", 99,
       "\"C:\\Program Files\\B\\b.exe\" \"file:///C:/Some%20Dir/ostrel.htm#context-99\""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(HelpCommandLine(row.registered, HelpPageAddress(row.module, row.context)),
              row.command)
        << row.registered;
}

}  // namespace
}  // namespace ostrel
