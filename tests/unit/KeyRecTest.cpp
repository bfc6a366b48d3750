#include <gtest/gtest.h>

#include "catalogue/KeyRec.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

using testing::Bytes;
using testing::MakeRec;

TEST(KeyRec, FieldsLandAtTheirFileOffsets) {
  TKeyRec rec = MakeRec("Notes", "Work", 4, "notepad.exe");
  rec.Parms.assign("/p");
  rec.Dir.assign("C:\\");
  rec.Key = 0x11223344;
  rec.KeyMod = 6;
  rec.ShowOnMenu = 0;
  std::string b = Bytes(rec);
  ASSERT_EQ(b.size(), 844u);
  EXPECT_EQ(b[0], 5);
  EXPECT_EQ(b.substr(1, 5), "Notes");
  EXPECT_EQ(b.substr(44, 4), std::string("\x44\x33\x22\x11", 4));
  EXPECT_EQ(b[48], 6);
  EXPECT_EQ(b[52], 4);
  EXPECT_EQ(b.substr(53, 4), "Work");
  EXPECT_EQ(b[64], 4);
  EXPECT_EQ(b[68], 11);
  EXPECT_EQ(b.substr(69, 11), "notepad.exe");
  EXPECT_EQ(b[324], 2);
  EXPECT_EQ(b.substr(325, 2), "/p");
  EXPECT_EQ(b[580], 3);
  EXPECT_EQ(b.substr(581, 3), "C:\\");
  EXPECT_EQ(b.substr(836, 4), std::string(4, '\0'));
  EXPECT_EQ(b.substr(840, 4), std::string("\x01\0\0\0", 4));
}

TEST(KeyRec, NewDefinitionHasTheDefaultValues) {
  TKeyRec rec = NewKeyRec(11);
  EXPECT_EQ(rec.Name.str(), "");
  EXPECT_EQ(rec.Group.str(), "");
  EXPECT_EQ(rec.Key, 0);
  EXPECT_EQ(rec.KeyMod, 0);
  EXPECT_EQ(rec.FunType, 11);
  EXPECT_EQ(rec.ShowOnMenu, 1);
  EXPECT_EQ(rec.Reserved, 1);
}

TEST(KeyRec, ShortStringsNeverReadPastTheirCapacity) {
  TKeyRec rec = MakeRec("x");
  std::memset(rec.Name.chars, 'N', sizeof rec.Name.chars);
  rec.gap1[0] = 'G';
  rec.Name.len = 200;  // as a damaged file may hold
  EXPECT_EQ(rec.Name.str(), std::string(40, 'N'));
  EXPECT_TRUE(rec.Name.clamp());
  EXPECT_EQ(rec.Name.len, 40);
  EXPECT_FALSE(rec.Name.clamp());

  // Bytes after the length are not part of the value.
  rec.Name.assign("Hello");
  rec.Name.chars[5] = 'Z';
  EXPECT_EQ(rec.Name.str(), "Hello");
}

TEST(KeyRec, AssignCutsToTheFieldAndCopyKeepsEveryField) {
  TKeyRec from = MakeRec(std::string(45, 'n'), "ABCDEFGHIJKL", 4, "prog.exe");
  EXPECT_EQ(from.Name.str(), std::string(40, 'n'));
  EXPECT_EQ(from.Group.str(), "ABCDEFGHIJ");
  from.Parms.assign("-x");
  from.Dir.assign("D:\\w");
  from.Key = 37;
  from.KeyMod = 8;
  from.ShowOnMenu = 0;
  from.Reserved = 7;

  TKeyRec to = MakeRec("old", "old", 1, "old");
  CopyKeyRec(from, to);
  EXPECT_EQ(to.Name.str(), from.Name.str());
  EXPECT_EQ(to.Group.str(), "ABCDEFGHIJ");
  EXPECT_EQ(to.Target.str(), "prog.exe");
  EXPECT_EQ(to.Parms.str(), "-x");
  EXPECT_EQ(to.Dir.str(), "D:\\w");
  EXPECT_EQ(to.Key, 37);
  EXPECT_EQ(to.KeyMod, 8);
  EXPECT_EQ(to.FunType, 4);
  EXPECT_EQ(to.ShowOnMenu, 0);
  EXPECT_EQ(to.Reserved, 7);
}

TEST(KeyRec, KeyTextTrimsGroupAndNameAroundTheSeparator) {
  EXPECT_EQ(KeyText(MakeRec("Agenda")),
            "\x0B"
            "Agenda");
  EXPECT_EQ(KeyText(MakeRec("  Web\t", " Net ")), "Net\x0BWeb");
  EXPECT_EQ(KeyText(MakeRec("\x01\x1F Mail \x7F", "")), "\x0BMail \x7F");
  EXPECT_EQ(TrimText(" \t\r\n "), "");
  EXPECT_EQ(TrimText("a b"), "a b");
}

}  // namespace
}  // namespace ostrel
