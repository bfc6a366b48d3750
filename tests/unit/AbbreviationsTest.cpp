// Abbreviations as they are typed: the matcher walked through typing as one table (word
// ends, immediate ones, inside a word, case, each reset, Backspace, the 40-character
// limit), the case the text follows, the clash rule, and the definition chosen for the
// program in front when the hook's thread reports one typed.
#include <gtest/gtest.h>

#include "app/Abbreviations.h"
#include "catalogue/Abbreviation.h"
#include "catalogue/Collation.h"
#include "fakes/FakeCodePage.h"
#include "fakes/FakeInput.h"
#include "fakes/FakePrograms.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

const std::u16string kForty = u"abcdefghijabcdefghijabcdefghijabcdefghij";

// Types `keys` ("\b" Backspace, "|" a reset) and writes each hit as "[id:typed+ending]".
std::u16string Walk(TypedText& text, std::u16string_view keys) {
  std::u16string out;
  for (char16_t c : keys) {
    if (c == u'\b') {
      text.Erase();
      continue;
    }
    if (c == u'|') {
      text.Reset();
      continue;
    }
    const AbbreviationHit hit = text.Type(c);
    for (const AbbreviationHit::Candidate& k : hit.candidates)
      out += u"[" + std::u16string(1, static_cast<char16_t>(u'0' + k.id)) + u":" + k.typed +
             (hit.ending ? std::u16string(1, hit.ending) : u"") + u"]";
  }
  return out;
}

TEST(Abbreviations, TypingFiresWhereAWordEndsOrAtOnce) {
  struct Row {
    std::u16string keys, hits;
  };
  const Row rows[] = {
      {u"brb ", u"[0:brb ]"},              // a word's end, after nothing
      {u"ok, brb.", u"[0:brb.]"},          // after a blank, ended by punctuation
      {u"brb", u""},                       // not ended yet
      {u"xbrb ", u""},                     // inside a word
      {u"2brb\t", u""},                    // after a digit
      {u"(BrB\r", u"[0:BrB\r]"},           // case ignored, ended by Enter
      {u"brx\bb{", u"[0:brb{]"},           // Backspace takes one character off
      {u"br|b ", u""},                     // a reset in between
      {u"brb brb ", u"[0:brb ][0:brb ]"},  // the hit empties it: the next starts afresh
      {u";sig", u"[1:;sig]"},              // immediate: its last character fires it
      {u"a;sig", u""},                     // ... not after a letter
      {u"ok Ok ", u"[2:Ok ]"},             // the case counts when it must
      {kForty + u" ", u"[3:" + kForty + u" ]"},
      {u"x" + kForty + u" ", u""},  // the character before went off the front
  };
  for (const Row& row : rows) {
    TypedText text;
    text.SetEntries({{u"brb", false, false, 0},
                     {u";sig", true, false, 1},
                     {u"Ok", false, true, 2},
                     {kForty, false, false, 3}});
    EXPECT_EQ(Walk(text, row.keys), row.hits) << std::string(row.keys.begin(), row.keys.end());
  }
}

TEST(Abbreviations, TheTextFollowsTheTypedCaseButNotKeyWordsOrShortcuts) {
  struct Row {
    std::u16string typed;
    bool matchCase;
    std::string text;
  };
  const std::string macro = "be {TAB}right {u+e9}\xe9t\xe9 {@}ok{CTRL}a{CTRL}";
  const Row rows[] = {
      {u"brb", false, macro},
      {u";Brb", false, "Be {TAB}right {u+e9}\xe9t\xe9 {@}ok{CTRL}a{CTRL}"},
      {u"BRB", false, "BE {TAB}RIGHT {u+e9}\xc9T\xc9 {@}oK{CTRL}a{CTRL}"},
      {u";B", false, "Be {TAB}right {u+e9}\xe9t\xe9 {@}ok{CTRL}a{CTRL}"},  // an initial
      {u"BRB", true, macro},
  };
  FakeCodePage codePage;
  for (const Row& row : rows)
    EXPECT_EQ(FollowCase(macro, TypedCase(row.typed, row.matchCase), codePage), row.text);
  EXPECT_EQ(FollowCase("12 Main St", CaseFollow::kInitial, codePage), "12 Main St");
  EXPECT_EQ(EndingMacro(u'{') + EndingMacro(u'\r') + EndingMacro(u'.'), "{U+7B}{ENTER}.");
}

TEST(Abbreviations, ClashAndChoiceFollowTheProgramsAsHotkeysDo) {
  auto with = [](ProgramScope scope, std::vector<std::string> programs, std::string text,
                 bool off = false) {
    Conditions c{scope, std::move(programs), off};
    c.abbreviation.text = std::move(text);
    return c;
  };
  const Conditions all = with(ProgramScope::kAll, {}, ";addr");
  EXPECT_TRUE(AbbreviationsClash(all, with(ProgramScope::kAll, {}, ";ADDR")));
  EXPECT_FALSE(AbbreviationsClash(all, with(ProgramScope::kAll, {}, ";addr2")));
  EXPECT_FALSE(AbbreviationsClash(all, with(ProgramScope::kAll, {}, ";addr", true)));
  EXPECT_FALSE(AbbreviationsClash(all, with(ProgramScope::kOnly, {"notepad"}, ";addr")));
  EXPECT_TRUE(AbbreviationsClash(with(ProgramScope::kOnly, {"notepad"}, "\xC3\xA9t\xC3\xA9"),
                                 with(ProgramScope::kOnly, {"Notepad.exe"}, "\xC3\x89T\xC3\x89")));

  // Typed in Notepad: the one for Notepad wins over the global one, a switched-off one
  // never fires, and one for another program leaves the ending character alone.
  auto keys = std::make_unique<KeysList>(PortableCollate);
  keys->Add(
      "\x0B"
      "a",
      std::make_unique<TKeyRec>(MakeRec("a", "")), with(ProgramScope::kAll, {}, "brb"));
  keys->Add(
      "\x0B"
      "b",
      std::make_unique<TKeyRec>(MakeRec("b", "")), with(ProgramScope::kOnly, {"notepad"}, "BRB"));
  keys->Add(
      "\x0B"
      "c",
      std::make_unique<TKeyRec>(MakeRec("c", "")), with(ProgramScope::kAll, {}, "off", true));
  keys->Add(
      "\x0B"
      "d",
      std::make_unique<TKeyRec>(MakeRec("d", "")), with(ProgramScope::kOnly, {"wordpad"}, "wp"));
  FakeInput input;
  FakePrograms programs;
  programs.Front(7, 70, "NOTEPAD.EXE");
  int woken = 0;
  Abbreviations abbreviations(&input, programs, keys);
  abbreviations.Rebuild(true, [&woken] { ++woken; });
  ASSERT_TRUE(input.watch);
  for (char16_t c : std::u16string(u"Brb off wp.")) input.watch->Typed(c);
  EXPECT_EQ(woken, 2);
  std::optional<AbbreviationFiring> f = abbreviations.Next();
  ASSERT_TRUE(f && f->def);
  EXPECT_EQ(f->def->Name.str(), "b");
  EXPECT_EQ(f->typed, u"Brb");
  EXPECT_EQ(f->follow, CaseFollow::kInitial);
  f = abbreviations.Next();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->def, nullptr);
  EXPECT_EQ(f->ending, u'.');
  EXPECT_FALSE(abbreviations.Next());
  // Hotkeys switched off: the hook stops watching.
  abbreviations.Rebuild(false, {});
  EXPECT_FALSE(input.watch);
}

}  // namespace
}  // namespace ostrel
