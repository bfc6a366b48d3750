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
const std::string kCannot = "Ostrel cannot write in its own folder " + kApp;

// The first home, made from a copy, is the end-to-end test's (test_home.sh); here, every
// other way the choice goes. Each leaves no probe or staging file behind, and never a
// changed file beside the program.
TEST(Home, ChoiceOfTheFolderAndWhatTheUserIsTold) {
  struct Case {
    const char* what;
    bool appWritable, homeMade, copyFails;
    std::string appData, dataDir, notice;
  } cases[] = {
      {"writable: the home is not read", true, true, false, kRoaming, kApp, ""},
      {"a later start: the home kept as it is", false, true, false, kRoaming, kHome, ""},
      {"no application-data folder", false, false, false, "", kApp,
       kCannot + ", and Windows names no folder for your own files, so changes to your "
                 "definitions cannot be saved."},
      {"a home that cannot be made", false, false, false, "D:\\Locked", kApp,
       kCannot + " or in D:\\Locked\\Ostrel\\, so changes to your definitions cannot be saved."},
      {"a first copy that fails", false, false, true, kRoaming, kHome,
       "Ostrel cannot write in its own folder, so your definitions are kept in " + kHome +
           ".\nCannot copy " + kApp + "Keys.fil to " + kHome +
           "Keys.fil; the file beside the program is left as it is."},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.files[kApp + "Keys.fil"] = "beside";
    if (!c.appWritable) files.readOnly.insert(kApp);
    files.readOnly.insert("D:\\Locked\\");
    if (c.homeMade) files.folders.insert(kRoaming + "\\Ostrel");
    files.copyFails = c.copyFails;
    const Home home = ChooseHome(files, kApp, c.appData);
    EXPECT_EQ(home.dataDir, c.dataDir) << c.what;
    EXPECT_EQ(home.notice, c.notice) << c.what;
    EXPECT_EQ(home.error, c.dataDir == kApp ? !c.notice.empty() : c.copyFails) << c.what;
    EXPECT_FALSE(files.Exists(kHome + "Keys.fil")) << c.what;
    EXPECT_EQ(files.files.size(), 1u) << c.what;
  }
}

TEST(Home, ListFilesTheHomeLacksAreCopiedNeverOnesItHas) {
  MemoryFileSystem files;
  KeysList keys{PortableCollate};
  for (const char* target : {"SendKeyList_1.skl", "SendKeyList_2.skl", "..\\other.skl"}) {
    auto rec = std::make_unique<TKeyRec>(MakeRec(target, "", ftSendKeysMenu, target));
    const std::string key = KeyText(*rec);
    keys.Add(key, std::move(rec));
    files.files[kApp + target] = "beside";
  }
  files.files[kHome + "SendKeyList_2.skl"] = "edited in the home";
  EXPECT_EQ(CopyMissingListFiles(files, keys, kApp, kHome), std::vector<std::string>{});
  EXPECT_EQ(files.files[kHome + "SendKeyList_1.skl"], "beside");
  EXPECT_EQ(files.files[kHome + "SendKeyList_2.skl"], "edited in the home");
  EXPECT_FALSE(files.Exists(kHome + "..\\other.skl"));
  EXPECT_EQ(files.files.size(), 5u);  // three beside the program, two in the home
}

}  // namespace
}  // namespace ostrel
