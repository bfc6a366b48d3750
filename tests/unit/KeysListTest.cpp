#include <gtest/gtest.h>

#include "catalogue/KeysList.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

using testing::MakeRec;

std::unique_ptr<TKeyRec> Def(const std::string& name, const std::string& group = "") {
  return std::make_unique<TKeyRec>(MakeRec(name, group));
}

void AddDef(KeysList& list, const std::string& name, const std::string& group = "") {
  auto rec = Def(name, group);
  std::string key = KeyText(*rec);
  list.Add(key, std::move(rec));
}

std::vector<std::string> Keys(const KeysList& list) {
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < list.Count(); ++i) keys.push_back(list.KeyAt(i));
  return keys;
}

TEST(Collation, SeparatorWeighsLessThanLettersDigitsAndPunctuation) {
  EXPECT_LT(PortableCollate("\x0BZulu", "0"), 0);
  EXPECT_LT(PortableCollate("\x0BZulu", "A"), 0);
  EXPECT_LT(PortableCollate("\x0BZulu", "!"), 0);
  EXPECT_LT(PortableCollate("Net\x0BZ",
                            "Net1\x0B"
                            "A"),
            0);
  EXPECT_LT(PortableCollate("Net\x0BZ",
                            "Neta\x0B"
                            "A"),
            0);
}

TEST(Collation, IgnoresCaseAndOrdersPunctuationDigitsLetters) {
  EXPECT_EQ(PortableCollate("NET\x0BWEB", "net\x0Bweb"), 0);
  EXPECT_EQ(PortableCollate("\xC9t\xE9", "\xE9T\xC9"), 0);  // accented letters fold too
  EXPECT_LT(PortableCollate("_", "5"), 0);
  EXPECT_LT(PortableCollate("5", "a"), 0);
  EXPECT_LT(PortableCollate("Z", "\xC0"), 0);
  EXPECT_LT(PortableCollate("ab", "abc"), 0);
  EXPECT_GT(PortableCollate("b", "abc"), 0);
  EXPECT_EQ(PortableCollate("", ""), 0);
}

TEST(KeysList, OrdersUngroupedFirstThenEachGroupAsOneRun) {
  KeysList list(PortableCollate);
  AddDef(list, "Web", "Net");
  AddDef(list, "Zebra");
  AddDef(list, "Mail", "Net");
  AddDef(list, "Agenda");
  AddDef(list, "Backup", "Admin");
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"\x0B"
                                                  "Agenda",
                                                  "\x0BZebra",
                                                  "Admin\x0B"
                                                  "Backup",
                                                  "Net\x0BMail", "Net\x0BWeb"}));
}

TEST(KeysList, FindIgnoresCaseAndReportsAbsence) {
  KeysList list(PortableCollate);
  AddDef(list, "Agenda");
  AddDef(list, "Web", "Net");
  AddDef(list, "Mail", "Net");
  std::ptrdiff_t i = list.Find("net\x0Bweb");
  ASSERT_NE(i, KeysList::npos);
  EXPECT_EQ(list.At(static_cast<std::size_t>(i))->Name.str(), "Web");
  EXPECT_EQ(list.Find("Net\x0BNews"), KeysList::npos);
  EXPECT_EQ(list.Find("NetWeb"), KeysList::npos);
  EXPECT_EQ(list.Find(""), KeysList::npos);
}

TEST(KeysList, AddingAnEqualKeyReplacesTheDefinitionInPlace) {
  KeysList list(PortableCollate);
  AddDef(list, "Agenda");
  AddDef(list, "Web", "Net");
  AddDef(list, "Mail", "Net");
  auto replacement = Def("WEB", "NET");
  TKeyRec* fresh = replacement.get();
  std::size_t at = list.Add("NET\x0BWEB", std::move(replacement));
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(at, 2u);
  EXPECT_EQ(list.At(2), fresh);
  EXPECT_EQ(list.KeyAt(2), "Net\x0BWeb");  // the entry keeps its key text
  EXPECT_THROW(list.Add("x", nullptr), std::invalid_argument);
}

TEST(KeysList, IndexOfComparesReferencesAndDeleteFrees) {
  KeysList list(PortableCollate);
  AddDef(list, "A");
  AddDef(list, "B");
  TKeyRec copy = *list.At(1);
  EXPECT_EQ(list.IndexOf(list.At(1)), 1);
  EXPECT_EQ(list.IndexOf(&copy), KeysList::npos);
  list.Delete(0);
  EXPECT_EQ(Keys(list), std::vector<std::string>{"\x0B"
                                                 "B"});
  EXPECT_THROW(list.Delete(5), std::out_of_range);
}

TEST(KeysList, RekeyFollowsDefinitionsChangedInPlaceAndKeepsCollisions) {
  KeysList list(PortableCollate);
  AddDef(list, "Agenda");
  AddDef(list, "Mail", "Net");
  AddDef(list, "Web", "Net");
  TKeyRec* web = list.At(2);
  web->Group.assign("");
  web->Name.assign("  agenda ");  // now collides with "Agenda" ignoring case
  TKeyRec* mail = list.At(1);
  mail->Group.assign("Apps");
  list.SetConditions(1, Conditions{ProgramScope::kOnly, {"outlook"}, false});
  list.Rekey();
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.KeyAt(2), "Apps\x0BMail");
  EXPECT_EQ(list.At(2), mail);
  EXPECT_EQ(list.ConditionsAt(2).programs, std::vector<std::string>{"outlook"});  // moved with it
  EXPECT_TRUE(list.ConditionsOf(web).Plain());
  EXPECT_EQ(PortableCollate(list.KeyAt(0), list.KeyAt(1)), 0);
  EXPECT_NE(list.IndexOf(web), KeysList::npos);
}

}  // namespace
}  // namespace ostrel
