// The example set that ships beside Ostrel.exe, as scripts/lib/make_examples.py draws it,
// loaded by the program's own code: a new user's first import must bring six working
// definitions (the script itself refuses two on one combination).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "catalogue/DefinitionFile.h"
#include "catalogue/FunCatalogue.h"
#include "components/SysHotKey.h"
#include "fakes/MemoryFiles.h"
#include "macro/ListFile.h"

namespace ostrel {
namespace {

TEST(ExampleSet, LoadsWholeWithOneOfEachKind) {
  testing::MemoryFileSystem fs;
  for (const char* name : {"Examples.fil", "Examples.skl"}) {
    std::ifstream in(std::string(OSTREL_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    fs.files[std::string("C:\\Ostrel\\") + name].assign(std::istreambuf_iterator<char>(in), {});
  }
  KeysList list{PortableCollate};
  const LoadOutcome loaded = DefinitionFile(fs, "C:\\Ostrel\\Examples.fil").Load(list);
  EXPECT_FALSE(loaded.Damaged());
  ASSERT_EQ(loaded.records, 6u);
  ASSERT_EQ(list.Count(), 6u);

  std::set<std::int32_t> types;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const TKeyRec& rec = *list.At(i);
    EXPECT_EQ(rec.Group.str(), "Examples");
    EXPECT_NE(HotKeyName(rec.Key, rec.KeyMod), "") << rec.Name.str() << " has no hotkey";
    types.insert(rec.FunType);
    if (!IsMacroMenu(rec)) continue;
    const ListFileLoad menu = LoadListFile(fs, "C:\\Ostrel\\" + rec.Target.str());
    EXPECT_TRUE(menu.exists && menu.error.empty() && menu.untaken.empty() && menu.lines.size() > 2);
    for (const std::string& line : menu.lines)
      EXPECT_NE(ListItemValue(menu.lines, ListItemName(line), PortableCollate), "") << line;
  }
  EXPECT_EQ(types, (std::set<std::int32_t>{ftOpenFolder, ftRunProgram, ftBrowseSecureWeb,
                                           ftSendKeys, ftSendKeysMenu, ftShowMenu}));
}

}  // namespace
}  // namespace ostrel
