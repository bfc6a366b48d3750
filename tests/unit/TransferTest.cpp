// Definition sets that travel: import merges without changing what is there, refuses a
// file no save could have written, stores the merge in one save or not at all; export
// followed by import into an empty set gives the same files.
#include <gtest/gtest.h>

#include "catalogue/FunCatalogue.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace testing;

const std::string kData = "C:\\Program Files\\Ostrel\\";
const std::string kIn = "D:\\In\\Set.fil";

TKeyRec Keyed(const std::string& group, const std::string& name, std::int32_t key,
              std::int32_t keyMod, std::int32_t type = 1, const std::string& target = "t") {
  return WithKey(MakeRec(name, group, type, target), key, keyMod);
}

std::string Only(const std::string& group, const std::string& name, const std::string& program) {
  return "[Definition]\r\nGroup=" + group + "\r\nName=" + name + "\r\nOnly=" + program + "\r\n";
}

long Saves(const Harness& h) {
  return std::count(h.files.log.begin(), h.files.log.end(),
                    "replace " + kKeysPath + ".new " + kKeysPath);
}

std::string Line(const std::string& group, const std::string& name, std::int32_t key,
                 std::int32_t keyMod) {
  return "\n" + group + ": " + name + " (" + HotKeyName(key, keyMod) + ")";
}

TEST(Transfer, ImportSkipsPresentSwitchesOffClashesAndPlacesListFiles) {
  Harness h;
  h.files.files[kData + "Keys.ini"] =
      Only("Tools", "Calc", "notepad.exe") + "Abbreviation=;addr\r\n";
  h.files.files[kData + "m.skl"] = "A=1\r\n";
  h.files.files[kData + "x.skl"] = "Mine=1\r\n";
  h.StartWith({Keyed("Tools", "Calc", 5, 1), Keyed("Tools", "Note", 7, 2)});
  h.files.log.clear();
  const std::string calcBefore = Bytes(*h.Def("Tools", "Calc"));

  std::string set;
  for (const TKeyRec& r :
       {Keyed("TOOLS", "calc", 9, 0, 1, "other"), Keyed("Web", "Site", 7, 2),
        Keyed("Web", "Only", 7, 2), Keyed("Web", "Other", 5, 1),
        Keyed("Web", "Site", 0, 0, 1, "2nd"), Keyed("Web", "Mac1", 0, 0, ftSendKeysMenu, "m.skl"),
        Keyed("Web", "Mac3", 0, 0, ftSendKeysMenu, "x.skl"),
        Keyed("Web", "Mac4", 0, 0, ftSendKeysMenu, "x.skl"),
        Keyed("Web", "Mac5", 0, 0, ftSendKeysMenu, "gone.skl")})
    set += Bytes(r);
  h.files.files[kIn] = set;
  h.files.files["D:\\In\\Set.ini"] = Only("Web", "Only", "wordpad.exe") +
                                     Only("Web", "Other", "notepad") + Only("Tools", "Calc", "x") +
                                     Only("Web", "Mac1", "Notepad") + "Abbreviation=;ADDR\r\n" +
                                     Only("Web", "Mac3", "wordpad") + "Abbreviation=;addr\r\n";
  h.files.files["D:\\In\\m.skl"] = "A=1\r\n";
  h.files.files["D:\\In\\x.skl"] = "Theirs=1\r\n";

  ASSERT_TRUE(h.ctl.ImportDefinitions(kIn));
  EXPECT_EQ(Saves(h), 1);
  EXPECT_EQ(h.ctl.Keys()->Count(), 9u);
  // The present definition keeps its record and its programs.
  EXPECT_EQ(Bytes(*h.Def("Tools", "Calc")), calcBefore);
  EXPECT_EQ(h.ctl.Keys()->ConditionsOf(h.Def("Tools", "Calc")).programs,
            std::vector<std::string>{"notepad.exe"});
  // A clash comes in off with its key; an Only list beside a global one is no clash.
  for (auto [name, off] : {std::pair{"Site", true}, {"Other", true}, {"Only", false}}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(h.ctl.Keys()->ConditionsOf(h.Def("Web", name)).hotkeyOff, off);
    EXPECT_NE(h.Def("Web", name)->Key, 0);
  }
  // So does an abbreviation another has for some of the same programs, case ignored.
  EXPECT_TRUE(h.ctl.Keys()->ConditionsOf(h.Def("Web", "Mac1")).hotkeyOff);
  EXPECT_FALSE(h.ctl.Keys()->ConditionsOf(h.Def("Web", "Mac3")).hotkeyOff);
  EXPECT_EQ(h.Def("Web", "Site")->Target.str(), "t");  // the first of the file counts
  // Same bytes: not written; taken by other bytes: the next free name, once; missing: the
  // target stays. (A free name is the round trip's case.)
  EXPECT_EQ(std::count(h.files.log.begin(), h.files.log.end(), "create " + kData + "m.skl.new"), 0);
  EXPECT_EQ(h.files.files[kData + "x.skl"], "Mine=1\r\n");
  EXPECT_EQ(h.files.files[kData + "SendKeyList_1.skl"], "Theirs=1\r\n");
  for (auto [name, target] : {std::pair{"Mac1", "m.skl"},
                              {"Mac3", "SendKeyList_1.skl"},
                              {"Mac4", "SendKeyList_1.skl"},
                              {"Mac5", "gone.skl"}})
    EXPECT_EQ(h.Def("Web", name)->Target.str(), target);
  EXPECT_EQ(h.Calls({"info"}),
            std::vector<std::string>{
                "info 7 definitions imported from " + kIn +
                ".\n\nSkipped, already present (1):" + Line("TOOLS", "calc", 9, 0) +
                "\n\nHotkey switched off, its key is taken by another definition (2):" +
                Line("Web", "Site", 7, 2) + Line("Web", "Other", 5, 1) +
                "\n\nSwitched off, another definition has the same abbreviation (1):\nWeb: Mac1" +
                "\n\nNot found beside " + kIn + ", so these macro menus have no items:\ngone.skl"});

  // The same file again brings nothing and stores nothing.
  h.log.calls.clear();
  ASSERT_TRUE(h.ctl.ImportDefinitions(kIn));
  EXPECT_EQ(Saves(h), 1);
  EXPECT_EQ(
      h.Calls({"info"}).at(0).rfind(
          "info Nothing new was imported from " + kIn + ".\n\nSkipped, already present (8):", 0),
      0u);
  // One without a hotkey is named alone, with no empty brackets.
  EXPECT_NE(h.Calls({"info"}).at(0).find("\nWeb: Mac1\n"), std::string::npos);
}

TEST(Transfer, AFileNoSaveCouldHaveWrittenIsRefusedAndChangesNothing) {
  TKeyRec longGroup = MakeRec("A", "G");
  longGroup.Group.len = 11;
  longGroup.Dir.len = 255;  // the limit itself is whole
  const struct {
    const char* what;
    std::string bytes, ini;
    bool iniUnreadable;
    std::string reason;
  } cases[] = {
      {"empty", "", "", false, kIn + " is empty: it holds no definitions."},
      {"short", Bytes(MakeRec("A")).substr(1), "", false,
       kIn + " is not a file of Ostrel's definitions: its size, 843 bytes, is not a whole "
             "number of 844-byte definitions."},
      {"long group", Bytes(MakeRec("A")) + Bytes(longGroup), "", false,
       kIn + " is damaged: definition 2 claims a group of 11 characters, more than the 10 its "
             "field holds."},
      {"companion not opened", Bytes(MakeRec("A")), "", true, "Cannot open file D:\\In\\Set.ini"},
      {"companion not text", Bytes(MakeRec("A")), "[Definition]\r\nName=\xff\r\n", false,
       "D:\\In\\Set.ini could not be read whole: line 2 is not UTF-8 text."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Harness h;
    h.StartWith({MakeRec("Keep")});
    const auto before = h.files.files;
    h.files.files[kIn] = c.bytes;
    if (!c.ini.empty() || c.iniUnreadable) h.files.files["D:\\In\\Set.ini"] = c.ini;
    if (c.iniUnreadable) h.files.unreadable.insert("D:\\In\\Set.ini");
    EXPECT_FALSE(h.ctl.ImportDefinitions(kIn));
    EXPECT_EQ(h.Calls({"error", "info"}),
              std::vector<std::string>{"error " + c.reason + "\n\nNothing was imported."});
    EXPECT_EQ(h.ctl.Keys()->Count(), 1u);
    for (const std::string& f : {kIn, std::string("D:\\In\\Set.ini")}) h.files.files.erase(f);
    EXPECT_EQ(h.files.files, before);
  }
}

// A save that fails, or a list file that cannot be written, takes the whole import back.
TEST(Transfer, AnImportThatCannotBeStoredIsTakenBack) {
  for (const std::string& refused : {kKeysPath + ".new", kData + "b.skl.new"}) {
    SCOPED_TRACE(refused);
    Harness h;
    h.StartWith({MakeRec("Keep")});
    const auto before = h.files.files;
    const std::size_t nodes = h.view.tree.size();
    h.files.files[kIn] = Bytes(Keyed("G", "A", 0, 0, ftSendKeysMenu, "a.skl")) +
                         Bytes(Keyed("G", "B", 0, 0, ftSendKeysMenu, "b.skl"));
    h.files.files["D:\\In\\a.skl"] = "A=1\r\n";
    h.files.files["D:\\In\\b.skl"] = "B=1\r\n";
    h.files.uncreatable.insert(refused);
    EXPECT_FALSE(h.ctl.ImportDefinitions(kIn));
    const std::string failed = refused.substr(0, refused.size() - 4);
    EXPECT_EQ(h.Calls({"error", "info"}),
              std::vector<std::string>{"error Cannot create file " + failed +
                                       "\n\nNothing was imported."});
    EXPECT_EQ(h.ctl.Keys()->Count(), 1u);
    EXPECT_EQ(h.view.tree.size(), nodes);
    for (const char* f : {"D:\\In\\Set.fil", "D:\\In\\a.skl", "D:\\In\\b.skl"})
      h.files.files.erase(f);
    EXPECT_EQ(h.files.files, before);
  }
}

TEST(Transfer, ExportThenImportIntoAnEmptySetGivesTheSameFiles) {
  Harness from;
  from.files.files[kData + "Keys.ini"] = Only("Tools", "Calc", "notepad.exe");
  from.files.files[kData + "m.skl"] = "A=1\r\n";
  from.StartWith({Keyed("Tools", "Calc", 5, 1), MakeRec("Mac", "Tools", ftSendKeysMenu, "m.skl"),
                  MakeRec("Plain", "Other")});
  ASSERT_TRUE(from.ctl.ExportDefinitions("D:\\Out\\All.fil", ""));
  // A group without conditions leaves no companion, not even an older one.
  from.files.files["D:\\Out\\Other.ini"] = "stale";
  from.files.files["D:\\Out\\m.skl"] = "older";
  ASSERT_TRUE(from.ctl.ExportDefinitions("D:\\Out\\Other.fil", "other"));
  EXPECT_EQ(from.files.files["D:\\Out\\Other.fil"], Bytes(*from.Def("Other", "Plain")));
  EXPECT_FALSE(from.files.Exists("D:\\Out\\Other.ini"));
  ASSERT_TRUE(from.ctl.ExportDefinitions("D:\\Out\\Tools.fil", "Tools"));
  EXPECT_EQ(from.files.files["D:\\Out\\m.skl.bak"], "older");
  // Never over the set itself.
  EXPECT_FALSE(from.ctl.ExportDefinitions("c:/program files/ostrel/KEYS.FIL", ""));
  EXPECT_FALSE(from.ctl.ExportDefinitions(kData + "Keys", ""));  // its companion is Keys.ini
  EXPECT_EQ(from.Calls({"error"}).size(), 2u);

  Harness to;
  to.StartWith({});
  for (const char* f : {"D:\\Out\\All.fil", "D:\\Out\\All.ini", "D:\\Out\\m.skl"})
    to.files.files[f] = from.files.files[f];
  ASSERT_TRUE(to.ctl.ImportDefinitions("D:\\Out\\All.fil"));
  EXPECT_EQ(to.files.files[kKeysPath], from.files.files[kKeysPath]);
  EXPECT_EQ(to.files.files[kData + "Keys.ini"], from.files.files[kData + "Keys.ini"]);
  EXPECT_EQ(to.files.files[kData + "m.skl"], "A=1\r\n");
}

}  // namespace
}  // namespace ostrel
