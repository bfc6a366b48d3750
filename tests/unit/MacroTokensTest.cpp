#include "macro/MacroTokens.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "fakes/FakeCodePage.h"
#include "macro/MacroSteps.h"
#include "macro/PasteRuns.h"
#include "platform/Utf16.h"

namespace ostrel {
namespace {

// ---------------------------------------------------------------------------------------
// Reading tokens

struct TokenCase {
  const char* text;
  MacroTokenKind kind;
  std::uint32_t code;  // a double-byte character's lead << 8 | trail; {U+}'s character
  int count;
  std::size_t consumed;
  bool cp932 = false;  // read in code page 932 (Japanese) instead of a single-byte one
};

TEST(ReadMacroToken, ReadsCharactersWordsAndCounts) {
  using K = MacroTokenKind;
  const TokenCase cases[] = {
      {"abc", K::kCharacter, 'a', 1, 1},
      {"{abc", K::kNothing, 0, 1, 4},           // unclosed: the rest is one token
      {"{tab", K::kNamedKey, 0x09, 1, 4},
      {"{a}x", K::kCharacter, 'A', 1, 3},       // brace contents are upper-cased
      {"{}}", K::kNothing, 0, 1, 2},            // empty braces; the "}" comes next
      {"}", K::kCharacter, '}', 1, 1},
      {"{{}", K::kCharacter, '{', 1, 3},
      {"{}", K::kNothing, 0, 1, 2},
      {"{ }", K::kNothing, 0, 1, 3},
      {"{FOO}", K::kNothing, 0, 1, 5},
      {"{tab 3}", K::kNamedKey, 0x09, 3, 7},
      {"{ TaB 3 }", K::kNamedKey, 0x09, 3, 9},  // trimmed at both ends
      {"{TAB   7}", K::kNamedKey, 0x09, 7, 9},  // spaces before the number
      {"{TAB 0}", K::kNamedKey, 0x09, 0, 7},
      {"{TAB -2}", K::kNamedKey, 0x09, -2, 8},
      {"{TAB +4}", K::kNamedKey, 0x09, 4, 8},
      {"{TAB $1f}", K::kNamedKey, 0x09, 31, 9},
      {"{TAB -$10}", K::kNamedKey, 0x09, -16, 10},
      {"{TAB 3x}", K::kNamedKey, 0x09, 1, 8},   // not a whole number: 1
      {"{TAB 3 4}", K::kNamedKey, 0x09, 1, 9},
      {"{TAB $}", K::kNamedKey, 0x09, 1, 7},
      {"{TAB -}", K::kNamedKey, 0x09, 1, 7},
      {"{TAB 2147483647}", K::kNamedKey, 0x09, 2147483647, 16},
      {"{TAB -2147483648}", K::kNamedKey, 0x09, -2147483647 - 1, 17},
      {"{TAB 2147483648}", K::kNamedKey, 0x09, 1, 16},  // out of range
      {"{TAB 99999999999999999999}", K::kNamedKey, 0x09, 1, 26},
      {"{TAB\t3}", K::kNothing, 0, 1, 7},       // only a space separates the count
      {"{a b}", K::kCharacter, 'A', 1, 5},
      {"{BS}", K::kNamedKey, 0x08, 1, 4},
      {"{bksp}", K::kNamedKey, 0x08, 1, 6},
      {"{BACKSPACE}", K::kNamedKey, 0x08, 1, 11},
      {"{BREAK}", K::kNamedKey, 0x13, 1, 7},
      {"{capslock}", K::kNamedKey, 0x14, 1, 10},
      {"{CLEAR}", K::kNamedKey, 0x0C, 1, 7},
      {"{del}", K::kNamedKey, 0x2E, 1, 5},
      {"{DELETE}", K::kNamedKey, 0x2E, 1, 8},
      {"{DOWN}", K::kNamedKey, 0x28, 1, 6},
      {"{END}", K::kNamedKey, 0x23, 1, 5},
      {"{enter}", K::kNamedKey, 0x0D, 1, 7},
      {"{ESC}", K::kNamedKey, 0x1B, 1, 5},
      {"{ESCAPE}", K::kNamedKey, 0x1B, 1, 8},
      {"{HELP}", K::kNamedKey, 0x2F, 1, 6},
      {"{HOME}", K::kNamedKey, 0x24, 1, 6},
      {"{INSERT}", K::kNamedKey, 0x2D, 1, 8},
      {"{LEFT}", K::kNamedKey, 0x25, 1, 6},
      {"{NUMLOCK}", K::kNamedKey, 0x90, 1, 9},
      {"{PGDN}", K::kNamedKey, 0x22, 1, 6},
      {"{PGUP}", K::kNamedKey, 0x21, 1, 6},
      {"{PRTSC}", K::kNamedKey, 0x2C, 1, 7},
      {"{RIGHT}", K::kNamedKey, 0x27, 1, 7},
      {"{SCROLLLOCK}", K::kNamedKey, 0x91, 1, 12},
      {"{UP}", K::kNamedKey, 0x26, 1, 4},
      {"{UPP}", K::kNothing, 0, 1, 5},          // a word must match a whole entry
      {"{ESCAPES}", K::kNothing, 0, 1, 9},
      {"{F1}", K::kNamedKey, 0x70, 1, 4},
      {"{f12}", K::kNamedKey, 0x7B, 1, 5},
      {"{F24}", K::kNamedKey, 0x87, 1, 5},
      {"{F25}", K::kNothing, 0, 1, 5},
      {"{F0}", K::kNothing, 0, 1, 4},
      {"{F01}", K::kNothing, 0, 1, 5},
      {"{F}", K::kCharacter, 'F', 1, 3},
      {"{ctrl}", K::kCtrl, 0, 1, 6},
      {"{ALT}", K::kAlt, 0, 1, 5},
      {"{Shift}", K::kShift, 0, 1, 7},
      {"{@}", K::kAltNext, 0, 1, 3},
      {"{@ 3}", K::kAltNext, 0, 3, 5},
      {"{pause}", K::kPause, 0, 1, 7},
      {"{WAIT 5}", K::kPause, 0, 5, 8},
      {"{$}", K::kCharacter, '$', 1, 3},
      {"{\xe9}", K::kCharacter, 0xE9, 1, 3},    // only a to z are upper-cased
      {"\xe9", K::kCharacter, 0xE9, 1, 1},
      {"\t", K::kCharacter, 0x09, 1, 1},
      // In code page 932 "ボ" is 83 7B and "ソ" 83 5C: trail bytes "{" and "\".
      {"\x83\x7B{ENTER}", K::kDoubleByte, 0x837B, 1, 2, true},
      {"{\x83\x7D}", K::kDoubleByte, 0x837D, 1, 4, true},  // a trail "}" closes nothing
      {"{\x83\x7B 3}x", K::kDoubleByte, 0x837B, 3, 6, true},
      {"{\x82\x61}", K::kDoubleByte, 0x8261, 1, 4, true},  // a trail "a" stays lower-case
      {"\x83", K::kNothing, 0, 1, 1, true},                 // a lead byte at the end
      {"\x83=", K::kNothing, 0, 1, 1, true},                // or before a byte that cannot trail
      {"{U+2192}", K::kUnicode, 0x2192, 1, 8},
      {"{u+1f600 3}", K::kUnicode, 0x1F600, 3, 11},
      {"{U+10FFFF}", K::kUnicode, 0x10FFFF, 1, 10},
      {"{U+}", K::kNothing, 0, 1, 4},
      {"{U+110000}", K::kNothing, 0, 1, 10},
      {"{U+D800}", K::kNothing, 0, 1, 8},
      {"{U+0000041}", K::kNothing, 0, 1, 11},  // seven digits
  };
  for (const TokenCase& c : cases) {
    std::string_view text(c.text);
    std::size_t pos = 0;
    const LeadBytes lead = c.cp932 ? LeadBytes::Of(testing::IsLead932) : LeadBytes{};
    MacroToken t = ReadMacroToken(text, pos, lead);
    const std::uint32_t code = t.kind == K::kUnicode      ? t.unicode
                               : t.kind == K::kDoubleByte ? t.code << 8 | t.trail
                                                          : t.code;
    EXPECT_EQ(t.kind, c.kind) << c.text;
    EXPECT_EQ(code, c.code) << c.text;
    EXPECT_EQ(t.count, c.count) << c.text;
    EXPECT_EQ(pos, c.consumed) << c.text;
  }
}

TEST(ReadMacroToken, StartsWhereItIsToldAndCoversTheText) {
  std::string_view text = "x{SHIFT}y{}}{{";
  std::size_t pos = 1;
  std::vector<MacroTokenKind> kinds;
  while (pos < text.size()) kinds.push_back(ReadMacroToken(text, pos).kind);
  using K = MacroTokenKind;
  EXPECT_EQ(kinds, (std::vector<K>{K::kShift, K::kCharacter, K::kNothing, K::kCharacter,
                                   K::kCharacter}));
  EXPECT_EQ(pos, text.size());
  EXPECT_EQ(ReadMacroToken(text, pos).kind, K::kNothing);
  EXPECT_EQ(pos, text.size());
}

// ---------------------------------------------------------------------------------------
// What a macro means: its steps, each with the modifier words in force

TEST(ReadMacroSteps, OneStepPerKeyCharacterOrPauseWithItsModifiers) {
  const struct {
    const char* macro;
    const char* steps;  // kind (Key, Char, Pause), code, count, then the modifiers in force
  } cases[] = {
      {"", ""},
      {"ab", "C61x1 C62x1"},
      {"{SHIFT}a{CTRL}{HOME 2}{SHIFT}{CTRL}b", "C61x1S K24x2CS C62x1"},
      {"{ALT}x{ALT}y", "C78x1A C79x1"},
      // {@} is for the next key or character only, sent or not; a pause keeps it.
      {"{@}{PAUSE 3}f{@}{TAB 0}g", "P00x3@ C66x1@ K09x0@ C67x1"},
      {"{FOO}{}{CTRL}{CTRL}", ""},
      {"{U+E9 2}{a}", "CE9x2 C41x1"},
  };
  for (const auto& c : cases) {
    std::string got;
    for (const MacroStep& step : ReadMacroSteps(c.macro)) {
      char buf[32];
      const char kind = step.kind == MacroStepKind::kKey         ? 'K'
                        : step.kind == MacroStepKind::kCharacter ? 'C'
                                                                 : 'P';
      const unsigned code = step.token.kind == MacroTokenKind::kUnicode
                                ? static_cast<unsigned>(step.token.unicode)
                                : step.token.code;
      std::snprintf(buf, sizeof buf, "%c%02Xx%d", kind, code, step.token.count);
      if (!got.empty()) got += ' ';
      got += buf;
      if (step.modifiers.ctrl) got += 'C';
      if (step.modifiers.alt) got += 'A';
      if (step.modifiers.shift) got += 'S';
      if (step.modifiers.altNext) got += '@';
    }
    EXPECT_EQ(got, c.steps) << c.macro;
  }
}

// ---------------------------------------------------------------------------------------
// Which runs are pasted

TEST(FindPasteRuns, PastesPlainRunsOfMoreThanAHundredCharacters) {
  const auto a = [](std::size_t n) { return std::string(n, 'a'); };
  const std::string ka = "\x83\x41";  // a double-byte character of code page 932
  std::string ka100, ka101;
  for (int i = 0; i < 100; ++i) ka100 += ka;
  ka101 = ka100 + ka;
  using Spans = std::vector<std::pair<std::size_t, std::size_t>>;
  const struct {
    std::string macro;
    Spans pasted;  // [begin, end) of each run
    std::size_t units = 0;  // the first run's UTF-16 length, where it is checked
    bool cp932 = false;
  } cases[] = {
      {a(100), {}},
      {a(101), {{0, 101}}, 101},
      {a(101) + "{ENTER}" + a(102), {{0, 101}, {108, 210}}},  // the key stays a key
      {a(60) + "{ENTER}" + a(60), {}},
      {a(60) + "\t" + a(60), {}},  // a Tab is a key press
      {"{CTRL}" + a(101), {}},     // a modifier word in force
      {"{CTRL}x{CTRL}" + a(101), {{13, 114}}},
      {"{@}" + a(101), {}},  // the first character goes with Alt
      {"{@}" + a(102), {{4, 105}}},
      {a(50) + "{U+00E9}" + a(50), {{0, 108}}, 101},  // a character, not a key
      {a(50) + "{U+1F600}" + a(50), {{0, 109}}, 102},  // beyond the first plane
      {a(50) + "{a}" + a(50), {}},  // a braced character is typed
      {a(60) + "{FOO}" + a(60), {}},  // so is text around a word that sends nothing
      {ka100, {}, 0, true},          // 200 bytes, 100 characters
      {ka101, {{0, 202}}, 101, true},
      {a(60) + "\x83\x42" + a(60), {}, 0, true},  // no text of the code page: typed
  };
  for (const auto& c : cases) {
    testing::FakeCodePage codePage;
    codePage.codePage932 = c.cp932;
    codePage.ansi[u'\u30a2'] = ka;
    const std::vector<PasteRun> runs = FindPasteRuns(c.macro, codePage);
    Spans spans;
    for (const PasteRun& r : runs) spans.emplace_back(r.begin, r.end);
    EXPECT_EQ(spans, c.pasted) << c.macro;
    if (c.units) {
      EXPECT_EQ(runs.at(0).text.size(), c.units) << c.macro;
    }
  }
  testing::FakeCodePage codePage;
  EXPECT_EQ(FindPasteRuns(a(50) + "{U+00E9}" + a(50), codePage).at(0).text,
            std::u16string(50, u'a') + u'\u00e9' + std::u16string(50, u'a'));
}

// ---------------------------------------------------------------------------------------
// A character as the UTF-16 units the engine, the paste and Keys.ini build

TEST(AppendUtf16, OneUnitAPairOrTheReplacementForNoCharacter) {
  const struct {
    char32_t c;
    std::u16string units;
  } cases[] = {
      {U'a', u"a"},
      {0xFFFF, u"\uFFFF"},
      {0x1F600, u"\U0001F600"},
      {0x10FFFF, u"\U0010FFFF"},
      {0xDC00, u"\uFFFD"},
      {0x110000, u"\uFFFD"},
  };
  for (const auto& c : cases) {
    std::u16string out = u"x";
    AppendUtf16(out, c.c);
    EXPECT_EQ(out, u"x" + c.units) << std::hex << static_cast<std::uint32_t>(c.c);
  }
}

}  // namespace
}  // namespace ostrel
