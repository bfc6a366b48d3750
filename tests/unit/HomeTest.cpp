#include <gtest/gtest.h>

#include <memory>

#include "app/Home.h"
#include "catalogue/Collation.h"
#include "catalogue/FunCatalogue.h"
#include "fakes/MemoryFiles.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

const std::string kApp = "C:\\Program Files\\Ostrel\\";
const std::string kRoaming = "C:\\Users\\Ann\\AppData\\Roaming";
const std::string kHome = kRoaming + "\\Ostrel\\";

struct HomeTest : ::testing::Test {
  MemoryFileSystem files;
  void SetUp() override { files.folders.insert(kRoaming); }
  // Nothing but the definitions' own files is left behind: no probe, no staging file.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> odd;
    for (const auto& [path, bytes] : files.files)
      if (path.find("~Ostrel") != std::string::npos || path.ends_with(".new"))
        odd.push_back(path);
    return odd;
  }
};

TEST_F(HomeTest, ProgramFolderThatCanBeWrittenKeepsTheDefinitionsWhateverTheHomeHolds) {
  files.files[kApp + "Keys.fil"] = "beside";
  files.folders.insert(kRoaming + "\\Ostrel");
  files.files[kHome + "Keys.fil"] = "home";
  const Home home = ChooseHome(files, kApp, kRoaming);
  EXPECT_EQ(home.dataDir, kApp);
  EXPECT_EQ(home.notice, "");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
  EXPECT_EQ(files.files[kHome + "Keys.fil"], "home");
}

TEST_F(HomeTest, FirstHomeStartsFromACopyAndSaysSoOnceLaterStartsKeepWhatItHolds) {
  files.files[kApp + "Keys.fil"] = "records";
  files.files[kApp + "Keys.ini"] = "companion";
  files.readOnly.insert(kApp);
  Home first = ChooseHome(files, kApp, kRoaming + "\\");
  EXPECT_EQ(first.dataDir, kHome);
  EXPECT_EQ(first.notice,
            "Ostrel cannot write in its own folder, so your definitions are kept in " + kHome + ".");
  EXPECT_FALSE(first.error);
  EXPECT_EQ(files.files[kHome + "Keys.fil"], "records");
  EXPECT_EQ(files.files[kHome + "Keys.ini"], "companion");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});

  // The user's changes (and an emptied list, which is no file) are not undone later.
  files.files.erase(kHome + "Keys.fil");
  Home later = ChooseHome(files, kApp, kRoaming);
  EXPECT_EQ(later.dataDir, kHome);
  EXPECT_EQ(later.notice, "");
  EXPECT_FALSE(files.Exists(kHome + "Keys.fil"));
}

TEST_F(HomeTest, NowhereToWriteStaysBesideTheProgramAndSaysSo) {
  files.readOnly.insert(kApp);
  files.readOnly.insert(kRoaming + "\\Locked\\");
  struct Case {
    const char* what;
    std::string appData;
    std::string expected;
  };
  const Case cases[] = {
      {"no application-data folder", "",
       "Ostrel cannot write in its own folder " + kApp +
           ", and Windows names no folder for your own files, so changes to your definitions "
           "cannot be saved."},
      {"a home that cannot be made", kRoaming + "\\Locked",
       "Ostrel cannot write in its own folder " + kApp + " or in " + kRoaming +
           "\\Locked\\Ostrel\\, so changes to your definitions cannot be saved."},
  };
  for (const Case& c : cases) {
    const Home home = ChooseHome(files, kApp, c.appData);
    EXPECT_EQ(home.dataDir, kApp) << c.what;
    EXPECT_EQ(home.notice, c.expected) << c.what;
    EXPECT_TRUE(home.error) << c.what;
  }
  // A home whose folder is there but read-only is no home either.
  files.folders.insert(kRoaming + "\\Ostrel");
  files.readOnly.insert(kHome);
  EXPECT_EQ(ChooseHome(files, kApp, kRoaming).dataDir, kApp);
}

TEST_F(HomeTest, AFailedFirstCopyIsAnErrorAndLeavesTheOriginal) {
  files.files[kApp + "Keys.fil"] = "records";
  files.readOnly.insert(kApp);
  files.copyFails = true;
  const Home home = ChooseHome(files, kApp, kRoaming);
  EXPECT_EQ(home.dataDir, kHome);
  EXPECT_TRUE(home.error);
  EXPECT_NE(home.notice.find("\nCannot copy " + kApp + "Keys.fil to " + kHome + "Keys.fil;"),
            std::string::npos);
  EXPECT_EQ(files.files[kApp + "Keys.fil"], "records");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(HomeTest, ListFilesTheHomeLacksAreCopiedNeverOnesItHas) {
  KeysList keys{PortableCollate};
  auto add = [&](const std::string& name, std::int32_t type, const std::string& target) {
    auto rec = std::make_unique<TKeyRec>(MakeRec(name, "", type, target));
    const std::string key = KeyText(*rec);
    keys.Add(key, std::move(rec));
  };
  add("New", ftSendKeysMenu, "SendKeyList_1.skl");
  add("Kept", ftSendKeysMenu, "SendKeyList_2.skl");
  add("Elsewhere", ftSendKeysMenu, "..\\other.skl");
  add("Missing", ftSendKeysMenu, "SendKeyList_3.skl");
  add("Folder", ftExploreFolder, "notes.skl");
  for (const char* name : {"SendKeyList_1.skl", "SendKeyList_2.skl", "..\\other.skl", "notes.skl"})
    files.files[kApp + name] = std::string("beside ") + name;
  files.files[kHome + "SendKeyList_2.skl"] = "edited in the home";

  EXPECT_EQ(CopyMissingListFiles(files, keys, kApp, kHome), std::vector<std::string>{});
  EXPECT_EQ(files.files[kHome + "SendKeyList_1.skl"], "beside SendKeyList_1.skl");
  EXPECT_EQ(files.files[kHome + "SendKeyList_2.skl"], "edited in the home");
  EXPECT_FALSE(files.Exists(kHome + "..\\other.skl"));
  EXPECT_FALSE(files.Exists(kHome + "notes.skl"));
  EXPECT_FALSE(files.Exists(kHome + "SendKeyList_3.skl"));

  files.files.erase(kHome + "SendKeyList_1.skl");
  files.readOnly.insert(kHome);
  EXPECT_EQ(CopyMissingListFiles(files, keys, kApp, kHome),
            std::vector<std::string>{"Cannot copy " + kApp + "SendKeyList_1.skl to " + kHome +
                                     "SendKeyList_1.skl"});
}

}  // namespace
}  // namespace ostrel
