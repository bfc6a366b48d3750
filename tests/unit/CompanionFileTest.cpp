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

void Add(KeysList& list, const std::string& name, const std::string& group, Conditions c = {}) {
  list.Add(TrimText(group) + kKeySeparator + TrimText(name),
           std::make_unique<TKeyRec>(MakeRec(name, group)), std::move(c));
}

TEST(CompanionFile, RoundTripsConditionsAndJapaneseNames) {
  FakeCodePage cp;  // 932, where the trail byte of "本" is "{"
  cp.codePage932 = true;
  cp.ansi = {{u'\u65E5', "\x93\xfa"}, {u'\u672C', "\x96\x7b"}};
  const std::string nihon = "\x93\xfa\x96\x7b", utf8 = "\xE6\x97\xA5\xE6\x9C\xAC";
  const Conditions only{ProgramScope::kOnly, {nihon + ".exe", "wordpad.exe"}, false};
  const Conditions exceptOff{ProgramScope::kExcept, {"calc"}, true};
  const Conditions launch{ProgramScope::kAll, {}, false, {IfRunning::kToggle, ShowState::kMaximized, true}};
  // An abbreviation stays UTF-8 ("日" is no character of 1252 and needs no code page).
  Conditions abbreviated{ProgramScope::kOnly, {"notepad"}};
  abbreviated.abbreviation = {";" + utf8.substr(0, 3) + "r", true, true};
  KeysList list{PortableCollate};
  Add(list, "Sig", nihon, only);
  Add(list, "Plain", "");
  Add(list, "Calc", "", exceptOff);
  Add(list, "Run", "", launch);
  Add(list, "Addr", "", abbreviated);
  CompanionStamp stamp;
  stamp.Add("abc", 3);
  const std::string text = WriteCompanion(list, stamp, cp);
  // UTF-8 without a byte-order mark; a definition with nothing to say has no section.
  EXPECT_NE(text.find("\r\n[Definition]\r\nGroup=" + utf8 + "\r\nName=Sig\r\nOnly=" + utf8 +
                      ".exe;wordpad.exe\r\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("Name=Calc\r\nExcept=calc\r\nHotkey=off\r\n"), std::string::npos);
  EXPECT_NE(text.find("Name=Run\r\nIfRunning=toggle\r\nShow=maximized\r\nElevated=1\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("Name=Addr\r\nOnly=notepad\r\nAbbreviation=;\xE6\x97\xA5r\r\nImmediate=1\r\n"
                      "MatchCase=1\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("Plain"), std::string::npos);
  EXPECT_EQ(text[0], ';');
  // Read with a byte-order mark by names differing in case and blanks, past what a hand
  // editor adds: another section, an unknown key, a definition that is gone.
  const CompanionContent read = ReadCompanion(
      "\xEF\xBB\xBF" + text + "[Other]\nName=Plain\nHotkey=off\n[definition]\nname=Gone\nX=1\n", cp);
  EXPECT_EQ(read.damage, "");
  EXPECT_EQ(read.stamp, stamp);
  KeysList again{PortableCollate};
  Add(again, " sig ", nihon);
  Add(again, "plain", "");
  Add(again, "CALC", "");
  Add(again, "run", "");
  Add(again, "addr", "");
  EXPECT_EQ(ApplyCompanion(again, read.sections), 1u);
  EXPECT_EQ(again.ConditionsAt(again.Find(nihon + "\x0B" "sig")), only);
  EXPECT_EQ(again.ConditionsAt(again.Find("\x0B" "calc")), exceptOff);
  EXPECT_EQ(again.ConditionsAt(again.Find("\x0B" "run")), launch);
  EXPECT_EQ(again.ConditionsAt(again.Find("\x0B"
                                          "addr")),
            abbreviated);
  EXPECT_TRUE(again.ConditionsAt(again.Find("\x0B" "plain")).Plain());
}

TEST(CompanionFile, WhatCannotBeReadIsToldAndTheRestIsRead) {
  for (const std::string& bad : {std::string("caf\xE9"), std::string("\xC0\xAF"),
                                std::string("a\0b", 3), std::string("\xE6\x97\xA5")}) {
    FakeCodePage cp;  // 1252: no "日"
    const CompanionContent read =
        ReadCompanion("[Definition]\nName=A\nOnly=" + bad + "\n[Definition]\nName=B\nExcept=calc\n", cp);
    EXPECT_EQ(read.damage.rfind("line 3 ", 0), 0u) << read.damage;
    ASSERT_EQ(read.sections.size(), 2u);
    EXPECT_EQ(read.sections[1].conditions.programs, std::vector<std::string>{"calc"});
  }
  // A launch value Ostrel does not know is damage, and the default.
  for (const std::string bad : {"IfRunning=always", "Show=huge", "Elevated=yes", "Immediate=on"}) {
    FakeCodePage cp;
    const CompanionContent read =
        ReadCompanion("[Definition]\nName=A\nShow=maximized\nIfRunning=toggle\n" + bad, cp);
    EXPECT_EQ(read.damage, "line 5 has a value Ostrel does not know: " + bad);
    const LaunchOptions l = read.sections.at(0).conditions.launch;
    EXPECT_EQ(l.show == ShowState::kMaximized && l.ifRunning == IfRunning::kToggle,
              bad.rfind("Elevated", 0) == 0 || bad.rfind("Immediate", 0) == 0)
        << bad;
  }
  // An abbreviation with a blank, or past 40 characters (as UTF-16 counts them: a pair of
  // surrogates is two), is told and left out; 40 of them are taken.
  const std::string emoji = "\xF0\x9F\x98\x80";
  std::string forty;
  for (int i = 0; i < 20; ++i) forty += emoji;
  for (const std::string& text : {std::string("a b"), forty + "x", forty}) {
    FakeCodePage cp;
    const CompanionContent read = ReadCompanion("[Definition]\nName=A\nAbbreviation=" + text, cp);
    EXPECT_EQ(read.damage.empty(), text == forty) << read.damage;
    EXPECT_EQ(read.sections.at(0).conditions.abbreviation.text, text == forty ? text : "");
  }
}

TEST(CompanionFile, ADamagedCompanionIsToldOnceAndKeptBeforeItIsRewritten) {
  const std::string keys = "C:\\O\\Keys.fil", ini = "C:\\O\\Keys.ini";
  const std::string damaged = "[Definition]\nName=A\nOnly=\xFF\n[Definition]\nName=B\nHotkey=off\n";
  MemoryFileSystem fs;
  FakeCodePage cp;
  fs.files[keys] = Bytes(MakeRec("A")) + Bytes(MakeRec("B"));
  fs.files[ini] = damaged;
  KeysList list{PortableCollate};
  DefinitionFile file{fs, keys, {}, &cp};
  EXPECT_EQ(file.Load(list).notice,
            ini + " could not be read whole (line 3 is not UTF-8 text): what could be read is "
                  "used. The original is kept as " + ini + ".bak before Ostrel next saves its definitions.");
  EXPECT_EQ(list.Count(), 2u);
  file.Save(list);
  EXPECT_EQ(fs.files[ini + ".bak"], damaged);
  KeysList next{PortableCollate};
  EXPECT_EQ(DefinitionFile(fs, keys, {}, &cp).Load(next).notice, "");
  EXPECT_TRUE(next.ConditionsAt(1).hotkeyOff);
}

}  // namespace
}  // namespace ostrel
