#include <gtest/gtest.h>

#include "components/ProgLink.h"
#include "fakes/OptionPorts.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class ProgLinkTest : public ::testing::Test {
 protected:
  ProgLinkTest() {
    registry.SetString(kShellFolders, "Programs", "D:\\Menu\\Programs");
    link.SourceName = "D:\\Tools\\prog.exe";
    link.LinkName = "Startup\\Ostrel.lnk";
  }
  CallLog log;
  FakeRegistry registry{log};
  MemoryFileSystem files;
  FakeShellLinks links{log, files};
  TProgLink link{registry, files, links};
  const std::string kPath = "D:\\Menu\\Programs\\Startup\\Ostrel.lnk";
};

TEST_F(ProgLinkTest, CreateLinkWritesBelowTheProgramsFolder) {
  EXPECT_FALSE(link.LinkExists());
  link.CreateLink();
  EXPECT_EQ(links.folders, std::vector<std::string>{"D:\\Menu\\Programs\\Startup\\"});
  ASSERT_EQ(links.links.count(kPath), 1u);
  const ShellLinkData& made = links.links[kPath];
  EXPECT_EQ(made.path, "D:\\Tools\\prog.exe");
  EXPECT_EQ(made.workingDirectory, "D:\\Tools\\");
  EXPECT_EQ(made.description, "No description available");
  EXPECT_EQ(made.arguments, "");
  EXPECT_EQ(made.showCmd, 3);
  EXPECT_TRUE(link.LinkExists());
  // The shell-folders key is only read, and closed again.
  EXPECT_EQ(registry.openHandles, 0);
  EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(),
                       "RegCreateKeyEx HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                       "Explorer\\Shell Folders"),
            0);
}

TEST_F(ProgLinkTest, DescriptionIsTrimmedAndParametersKeptUnlessBlank) {
  link.Description = "  Ostrel hotkeys \t";
  link.Parameters = "  -x  ";
  link.CreateLink();
  EXPECT_EQ(links.links[kPath].description, "Ostrel hotkeys");
  EXPECT_EQ(links.links[kPath].arguments, "  -x  ");

  link.Description = "   ";
  link.Parameters = " \t ";
  link.SourceName = "C:prog.exe";
  link.CreateLink();  // over the existing link
  EXPECT_EQ(links.links.size(), 1u);
  EXPECT_EQ(links.links[kPath].description, "No description available");
  EXPECT_EQ(links.links[kPath].arguments, "");
  EXPECT_EQ(links.links[kPath].workingDirectory, "C:");
  EXPECT_EQ(links.links[kPath].path, "C:prog.exe");
}

TEST_F(ProgLinkTest, DeleteLinkRemovesOnlyAnExistingLink) {
  link.DeleteLink();
  EXPECT_TRUE(files.files.empty());
  link.CreateLink();
  files.files["D:\\Menu\\Programs\\Startup\\Other.lnk"] = "L";
  link.DeleteLink();
  EXPECT_FALSE(link.LinkExists());
  EXPECT_EQ(files.files.count("D:\\Menu\\Programs\\Startup\\Other.lnk"), 1u);
}

TEST_F(ProgLinkTest, WithoutAProgramsFolderNothingIsMadeAtTheDrivesRoot) {
  const std::string atRoot = "\\Startup\\Ostrel.lnk";
  files.files[atRoot] = "L";  // as if an earlier version had put it there
  for (auto setUp : std::vector<std::function<void()>>{
           [&] { registry.keys.clear(); },
           [&] { registry.SetString(kShellFolders, "Programs", ""); },
           [&] { registry.SetString(kShellFolders, "Programs", "D:\\X", kRegExpandSz); },
       }) {
    setUp();
    log.calls.clear();
    EXPECT_EQ(link.LinkPath(), std::nullopt);
    EXPECT_FALSE(link.LinkExists());
    link.CreateLink();
    link.DeleteLink();
    EXPECT_TRUE(links.links.empty());
    EXPECT_TRUE(links.folders.empty());
    EXPECT_EQ(files.files.count(atRoot), 1u);
    EXPECT_EQ(registry.openHandles, 0);
  }
}

}  // namespace
}  // namespace ostrel
