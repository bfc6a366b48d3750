// Keys.ini: written and read back with names of any code page, hand-written forms taken as
// users write them, damage told once and the original kept before the rewrite.
#include <gtest/gtest.h>

#include "catalogue/CompanionFile.h"
#include "catalogue/DefinitionFile.h"
#include "fakes/FakeCodePage.h"
#include "fakes/MemoryFiles.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

const std::string kFile = "C:\\Ostrel\\Keys.fil";
const std::string kIni = "C:\\Ostrel\\Keys.ini";
// "日本" in code page 932: the trail byte of the second character is "{".
const std::string kNihon = "\x93\xfa\x96\x7b";

void Add(KeysList& list, const std::string& name, const std::string& group, Conditions c = {}) {
  auto rec = std::make_unique<TKeyRec>(MakeRec(name, group));
  const std::string key = KeyText(*rec);
  list.Add(key, std::move(rec), std::move(c));
}

FakeCodePage Japanese() {
  FakeCodePage cp;
  cp.codePage932 = true;
  cp.ansi = {{u'\u65E5', "\x93\xfa"}, {u'\u672C', "\x96\x7b"}};
  return cp;
}

TEST(CompanionFile, RoundTripsConditionsAndJapaneseNames) {
  FakeCodePage cp = Japanese();
  KeysList list{PortableCollate};
  const Conditions only{ProgramScope::kOnly, {kNihon + ".exe", "wordpad.exe"}, false};
  const Conditions exceptOff{ProgramScope::kExcept, {"calc"}, true};
  Add(list, "Sig", kNihon, only);
  Add(list, "Plain", "");
  Add(list, "Calc", "", exceptOff);
  CompanionStamp stamp;
  stamp.Add("abc", 3);
  const std::string text = WriteCompanion(list, stamp, cp);
  // UTF-8 without a byte-order mark; a definition with nothing to say has no section.
  EXPECT_NE(text.find("Group=\xE6\x97\xA5\xE6\x9C\xAC\r\nName=Sig\r\n"
                      "Only=\xE6\x97\xA5\xE6\x9C\xAC.exe;wordpad.exe\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Name=Calc\r\nExcept=calc\r\nHotkey=off\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Plain"), std::string::npos);
  EXPECT_NE(text.rfind("\xEF\xBB\xBF", 0), 0u);

  // Read back with a byte-order mark, by a list whose texts differ in case and blanks,
  // beside what a hand editor adds: other sections, unknown keys, a definition that is gone.
  const CompanionContent read = ReadCompanion(
      "\xEF\xBB\xBF" + text +
          "\n[Other]\nName=Plain\nHotkey=off\n[definition]\nname=Gone\nonly=x\nColour=red\n",
      cp);
  EXPECT_EQ(read.damage, "");
  EXPECT_EQ(read.stamp, stamp);
  KeysList again{PortableCollate};
  Add(again, " sig ", kNihon);
  Add(again, "plain", "");
  Add(again, "CALC", "");
  EXPECT_EQ(ApplyCompanion(again, read.sections), 1u);
  EXPECT_EQ(again.ConditionsAt(again.Find(kNihon + "\x0B" "sig")), only);
  EXPECT_EQ(again.ConditionsAt(again.Find("\x0B" "calc")), exceptOff);
  EXPECT_TRUE(again.ConditionsAt(again.Find("\x0B" "plain")).Plain());
}

TEST(CompanionFile, WhatCannotBeReadIsToldAndTheRestIsRead) {
  const struct {
    const char* what;
    std::string bad;
  } cases[] = {
      {"not UTF-8", "Only=caf\xE9.exe\n"},
      {"an overlong form", "Only=\xC0\xAF\n"},
      {"a NUL", std::string("Only=a\0b\n", 9)},
      {"a character the code page lacks", "Only=\xE6\x97\xA5.exe\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeCodePage cp;
    const CompanionContent read = ReadCompanion(
        "[Definition]\nName=A\n" + c.bad + "[Definition]\nName=B\nExcept=calc\n", cp);
    EXPECT_EQ(read.damage.rfind("line 3 ", 0), 0u) << read.damage;
    ASSERT_EQ(read.sections.size(), 2u);
    EXPECT_EQ(read.sections[1].conditions.programs, std::vector<std::string>{"calc"});
  }
}

TEST(CompanionFile, ADamagedCompanionIsToldOnceAndKeptBeforeItIsRewritten) {
  MemoryFileSystem fs;
  FakeCodePage cp;
  fs.files[kFile] = Bytes(MakeRec("A")) + Bytes(MakeRec("B"));
  const std::string damaged = "[Definition]\nName=A\nOnly=\xFF\n[Definition]\nName=B\nHotkey=off\n";
  fs.files[kIni] = damaged;
  KeysList list{PortableCollate};
  DefinitionFile file{fs, kFile, {}, &cp};
  const LoadOutcome out = file.Load(list);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_TRUE(out.companionDamaged);
  EXPECT_EQ(out.notice, kIni + " could not be read whole (line 3 is not UTF-8 text): what could be "
                               "read is used. The original is kept as " + kIni +
                               ".bak before Ostrel next saves its definitions.");
  EXPECT_TRUE(list.ConditionsAt(1).hotkeyOff);
  file.Save(list);
  EXPECT_EQ(fs.files[kIni + ".bak"], damaged);
  // Rewritten whole and stamped; the next start has nothing to tell.
  KeysList next{PortableCollate};
  EXPECT_EQ(DefinitionFile(fs, kFile, {}, &cp).Load(next).notice, "");
  EXPECT_TRUE(next.ConditionsAt(1).hotkeyOff);
  EXPECT_TRUE(ReadCompanion(fs.files[kIni], cp).stamp.has_value());
  EXPECT_EQ(fs.files[kFile], Bytes(MakeRec("A")) + Bytes(MakeRec("B")));
}

}  // namespace
}  // namespace ostrel
