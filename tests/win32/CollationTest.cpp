// The user locale's collation and the portable one order key texts alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/Collation.h"
#include "catalogue/KeysList.h"
#include "platform/win32/Win32Ports.h"

namespace ostrel {
namespace {

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

const std::vector<std::string> kSamples = {
    "\x0B"
    "Agenda",
    "Net\x0BMail",
    "Net\x0BWeb",
    "net\x0Bweb",
    "NET\x0BWEB",
    "Net\x0B"
    "A",
    "NET\x0B"
    "B",
    "Net\x0B"
    "C",
    "\x0Bzeta",
    "\x0B"
    "1st",
    "Work\x0BNotes",
    "Work2\x0B"
    "a",
    "Apps\x0BMail",
    "\x0B"
    "Web",
    "Games\x0BTetris",
    "",
    "\x0B",
    "abc",
    "ABC",
    "abcd",
    "1abc",
    "9",
    "Z",
    "\x0BZZ",
};

TEST(Collation, LocaleAndPortableAgreeOnEveryPair) {
  for (const std::string& a : kSamples)
    for (const std::string& b : kSamples)
      EXPECT_EQ(Sign(LocaleCollate(a, b)), Sign(PortableCollate(a, b)))
          << "\"" << a << "\" vs \"" << b << "\"";
}

TEST(Collation, LocaleOrdersTheExamplesUngroupedFirst) {
  KeysList list(LocaleCollate);
  for (const char* key : {"Net\x0BWeb", "Net\x0BMail",
                          "\x0B"
                          "Agenda"})
    list.Add(key, std::make_unique<TKeyRec>(NewKeyRec(1)));
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.KeyAt(0),
            "\x0B"
            "Agenda");
  EXPECT_EQ(list.KeyAt(1), "Net\x0BMail");
  EXPECT_EQ(list.KeyAt(2), "Net\x0BWeb");
  EXPECT_NE(list.Find("net\x0Bweb"), KeysList::npos);
  list.Add("NET\x0BWEB", std::make_unique<TKeyRec>(NewKeyRec(2)));
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.At(2)->FunType, 2);
}

TEST(Collation, LocaleSortsTheSamplesAsThePortableOrder) {
  std::vector<std::string> a = kSamples, b = kSamples;
  std::stable_sort(a.begin(), a.end(), [](auto& x, auto& y) { return LocaleCollate(x, y) < 0; });
  std::stable_sort(b.begin(), b.end(), [](auto& x, auto& y) { return PortableCollate(x, y) < 0; });
  EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace ostrel
