// A save that dies after any one of its steps (every create, write, flush, copy, replace
// and remove) leaves Keys.fil or a list file with either its old or its new content, and
// each definition with its old or its new conditions in Keys.ini; the next start reads
// that whole and saves again. The Wine ring kills the real save
// with TerminateProcess (tests/win32/SaveCrashTest.cpp).
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <map>
#include <optional>

#include "catalogue/DefinitionFile.h"
#include "catalogue/RecordStream.h"
#include "catalogue/Transfer.h"
#include "fakes/FakeCodePage.h"
#include "fakes/MemoryFiles.h"
#include "fakes/Records.h"
#include "macro/ListFile.h"
#include "macro/MacroListEditor.h"

namespace ostrel {
namespace {

using testing::Bytes;
using testing::FakeCodePage;
using testing::MakeRec;
using testing::MemoryFileSystem;
using testing::SimulatedCrash;
using Content = std::optional<std::string>;  // nullopt: no file

const std::string kFile = "C:\\Ostrel\\Keys.fil";
const std::string kList = "C:\\Ostrel\\SendKeyList_1.skl";

Content Read(MemoryFileSystem& fs, const std::string& path) {
  return fs.Exists(path) ? Content(fs.files[path]) : std::nullopt;
}

void Put(MemoryFileSystem& fs, const std::string& path, const Content& c) {
  if (c) fs.files[path] = *c;
}

// Runs `save` on a disk laid out by `lay`, once whole and then killed after each of its
// steps in turn; after each kill, `path` must hold `before` or what the whole save left,
// the older backup must be untouched, and `restart` (a fresh start that reads the file
// and saves it) must succeed. Returns the number of kills. Reads are not steps.
int KillAtEveryStep(const std::string& path, const std::function<void(MemoryFileSystem&)>& lay,
                    const std::function<void(MemoryFileSystem&)>& save,
                    const std::function<void(MemoryFileSystem&)>& restart) {
  MemoryFileSystem whole;
  lay(whole);
  const Content before = Read(whole, path);
  const Content older = Read(whole, path + ".bak");
  save(whole);
  const Content after = Read(whole, path);
  const long steps = whole.steps;
  EXPECT_NE(before, after) << "the save changed nothing";
  for (long k = 1; k <= steps; ++k) {
    SCOPED_TRACE("killed after step " + std::to_string(k));
    MemoryFileSystem fs;
    lay(fs);
    fs.crashAfter = k;
    bool killed = false;
    try {
      save(fs);
    } catch (const SimulatedCrash&) {
      killed = true;
    }
    EXPECT_TRUE(killed);
    const Content now = Read(fs, path);
    EXPECT_TRUE(now == before || now == after) << "neither old nor new";
    EXPECT_EQ(Read(fs, path + ".bak"), older);
    fs.crashAfter = -1;
    restart(fs);
  }
  return static_cast<int>(steps);
}

TEST(SaveCrash, KeysFilIsAlwaysTheOldOrTheNewContent) {
  const std::string three = Bytes(MakeRec("A")) + Bytes(MakeRec("B")) + Bytes(MakeRec("C"));
  int kills = 0;
  struct Case {
    const char* what;
    Content old;
    bool readBreaks;                              // the load stops part-way
    std::function<void(KeysList&)> change;        // what the user does
  };
  // The Wine test kills the real save of a grown, a repaired and an emptied list; these
  // are the paths it does not take.
  const Case cases[] = {
      {"the first definition", std::nullopt, false,
       [](KeysList& l) { l.Add("\x0B" "E", std::make_unique<TKeyRec>(MakeRec("E"))); }},
      {"a change after a broken read, backup first", three, true,
       [](KeysList& l) { l.Add("\x0B" "E", std::make_unique<TKeyRec>(MakeRec("E"))); }},
      {"an imported set merged in one save", three, false,
       [](KeysList& l) {
         IncomingSet set;
         set.defs = IncomingDefinitions(Bytes(MakeRec("A")) + Bytes(MakeRec("E")) + Bytes(MakeRec("F")),
                                        {}, PortableCollate);
         MemoryFileSystem elsewhere;
         EXPECT_EQ(MergeDefinitions(l, set, elsewhere, "", "").added.size(), 2u);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    kills += KillAtEveryStep(
        kFile,
        [&](MemoryFileSystem& fs) {
          Put(fs, kFile, c.old);
          fs.files[kFile + ".bak"] = "older";
        },
        [&](MemoryFileSystem& fs) {
          KeysList list{PortableCollate};
          DefinitionFile file{fs, kFile};
          if (c.readBreaks) fs.readFailsAfter = 844 + 10;
          file.Load(list);
          fs.readFailsAfter = -1;
          list.Rekey();
          file.Save(list);  // the set-up's rebuild
          c.change(list);
          list.Rekey();
          file.Save(list);
        },
        [&](MemoryFileSystem& fs) {
          KeysList list{PortableCollate};
          DefinitionFile file{fs, kFile};
          LoadOutcome out = file.Load(list);
          EXPECT_FALSE(out.Incomplete());
          const Content now = Read(fs, kFile);
          EXPECT_EQ(out.records * 844, now ? now->size() : 0);
          list.Rekey();
          EXPECT_NO_THROW(file.Save(list));
          // A staging file a kill left behind is harmless, and the next save takes it.
          EXPECT_TRUE(list.Empty() || !fs.Exists(StagingName(file.FileName())));
        });
  }
  std::cout << "Keys.fil: killed after each of " << kills << " save steps\n";
  ::testing::Test::RecordProperty("keys_kill_points", kills);
}

// A is renamed Z and keeps Notepad, B takes the name A and WordPad, C is switched off: a
// companion of the wrong age would hand Z's programs to the new A. Known by target.
TEST(SaveCrash, EachDefinitionKeepsItsOldOrItsNewConditions) {
  FakeCodePage cp;
  const Conditions notepad{ProgramScope::kOnly, {"notepad.exe"}, false};
  const Conditions wordpad{ProgramScope::kOnly, {"wordpad.exe"}, false};
  const Conditions calc{ProgramScope::kExcept, {"calc"}, false}, off{ProgramScope::kAll, {}, true};
  using ByTarget = std::map<std::string, Conditions>;
  const ByTarget before{{"t1", notepad}, {"t2", {}}, {"t3", calc}};
  const ByTarget after{{"t1", notepad}, {"t2", wordpad}, {"t3", off}};
  auto load = [&](MemoryFileSystem& fs, KeysList& list) {
    EXPECT_EQ(DefinitionFile(fs, kFile, {}, &cp).Load(list).notice, "");
    ByTarget by;
    for (std::size_t i = 0; i < list.Count(); ++i) by[list.At(i)->Target.str()] = list.ConditionsAt(i);
    return by;
  };
  auto lay = [&](MemoryFileSystem& fs) {
    KeysList list{PortableCollate};
    for (auto [name, target] : {std::pair{"A", "t1"}, std::pair{"B", "t2"}, std::pair{"C", "t3"}})
      list.Add(std::string("\x0B") + name, std::make_unique<TKeyRec>(MakeRec(name, "", 1, target)),
               before.at(target));
    DefinitionFile{fs, kFile, {}, &cp}.Save(list);
  };
  auto save = [&](MemoryFileSystem& fs) {
    KeysList list{PortableCollate};
    load(fs, list);
    list.At(0)->Name.assign("Z");
    list.At(1)->Name.assign("A");
    list.SetConditions(1, wordpad);
    list.SetConditions(2, off);
    list.Rekey();
    DefinitionFile{fs, kFile, {}, &cp}.Save(list);
  };
  EXPECT_GT(KillAtEveryStep(kFile, lay, save, [&](MemoryFileSystem& fs) {
              KeysList list{PortableCollate};
              const ByTarget now = load(fs, list);
              // All old while Keys.fil is, all new once it is replaced: the records decide.
              EXPECT_EQ(now, list.Find("\x0B" "Z") == KeysList::npos ? before : after);
              EXPECT_NO_THROW(DefinitionFile(fs, kFile, {}, &cp).Save(list));
            }),
            6);
}

class SilentView : public MacroListView {
 public:
  std::vector<std::string> errors;
  void SetMenuNames(const std::vector<std::string>&) override {}
  int SelectedLine() override { return -1; }
  void SelectLine(int) override {}
  void SetMacroText(const std::string&) override {}
  std::string MacroText() override { return {}; }
  void SetMacroReadOnly(bool) override {}
  void FocusMacro() override {}
  void SetHelpText(const std::string&) override {}
  std::string InputBox(const std::string&, const std::string&, const std::string&) override {
    return "Fax";
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void RequestHelp(int) override {}
  void Close() override {}
};

TEST(SaveCrash, ListFileIsAlwaysTheOldOrTheNewContent) {
  int kills = 0;
  for (const std::string& old :
       {std::string("Name=John\r\nPhone=555\r\n"), std::string("Name=Jo\0hn\r\n", 12)}) {
    kills += KillAtEveryStep(
        kList,
        [&](MemoryFileSystem& fs) {
          fs.files[kList] = old;
          fs.files[kList + ".bak"] = "older";
        },
        [&](MemoryFileSystem& fs) {
          SilentView view;
          MacroListEditor editor{view, fs, PortableCollate};
          editor.ListFileName = kList;
          editor.FormCreate();
          editor.FormShow();
          editor.AddClick();  // adds "Fax"
          EXPECT_TRUE(editor.FormCloseQuery());
        },
        [&](MemoryFileSystem& fs) {
          ListFileLoad load = LoadListFile(fs, kList);
          EXPECT_TRUE(load.error.empty());
          EXPECT_EQ(SaveListFile(fs, kList, load.lines), "");
        });
  }
  std::cout << "list file: killed after each of " << kills << " save steps\n";
  ::testing::Test::RecordProperty("list_kill_points", kills);
}

}  // namespace
}  // namespace ostrel
