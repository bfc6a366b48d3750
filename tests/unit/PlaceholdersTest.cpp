// The placeholders of a macro: each form, the damaged ones, the clipboard's text never
// read as words, and how far {CURSOR} takes the caret back.
#include "macro/Placeholders.h"

#include <gtest/gtest.h>

#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeCodePage.h"
#include "fakes/RecordingPorts.h"
#include "platform/VirtualKeys.h"

namespace ostrel {
namespace {

using testing::FakeClipboard;
using testing::FakeClock;
using testing::FakeCodePage;

// UTF-16 text as the clipboard holds it: little-endian units and a NUL.
std::string UnicodeBytes(std::u16string_view text) {
  std::string bytes;
  for (char16_t u : text) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return bytes + std::string(2, '\0');
}

struct Sources {
  testing::CallLog log;
  testing::FakeSystem system{log};
  FakeClock clock;
  FakeClipboard clipboard;
  FakeCodePage codePage;
  PlaceholderSources Ports() { return {&clock, &clipboard, &system}; }
  FilledMacro Fill(std::string_view macro) { return FillPlaceholders(macro, codePage, Ports()); }
};

TEST(FillPlaceholders, EachFormIsFilledInAndADamagedOneLeftAsItStands) {
  const struct {
    const char* macro;
    const char* filled;
    std::size_t cursor = kNoCursor;
    bool cp932 = false;
    std::u16string shortTime = u"H.mm";
  } cases[] = {
      {"{DATE}", "date 1  10"},                        // the short date: DATE_SHORTDATE, no picture
      {"{TIME}", "time 0 H.mm 9"},                     // the user's short time picture
      {"{TIME}", "time 2  9", kNoCursor, false, u""},  // without one: no seconds
      {"x{date:yyyy-MM-dd}y", "xdate 0 yyyy-MM-dd 10y"},  // the picture's case kept
      {"{ Time:HH:mm }", "time 0 HH:mm 9"},
      // The picture ends at the first "}"; what the clock writes is text, braces too.
      {"{DATE:'{U+41}'", "date 0 '{U+7B}U+41 10'"},
      // Cut short: typed as it stands. No placeholder: left for the reader.
      {"a{DATE:yyyy", "a{U+7B}DATE:yyyy"},
      {"a{ FOO", "a{ FOO"},
      {"{DATE:}{TIME:}{DATES}{CLIPBOARD 2}", "{DATE:}{TIME:}{DATES}{CLIPBOARD 2}"},
      {"{{}CURSOR}", "{{}CURSOR}"},
      // In code page 932 "\x83{" is one character, "ボ": no brace begins there.
      {"\x83{DATE}", "\x83{DATE}", kNoCursor, true},
      {"\x83{{DATE}", "\x83{date 1  10", kNoCursor, true},
      // The first {CURSOR} marks its place; the others go.
      {"ab{CURSOR}c{cursor}d", "abcd", 2},
  };
  for (const auto& c : cases) {
    Sources s;
    s.codePage.codePage932 = c.cp932;
    s.clock.shortTime = c.shortTime;
    const FilledMacro filled = s.Fill(c.macro);
    EXPECT_EQ(filled.text, c.filled) << c.macro;
    EXPECT_EQ(filled.cursor, c.cursor) << c.macro;
  }
  // One moment for every placeholder of a macro, read only when one asks for it.
  Sources s;
  s.Fill("{DATE}{TIME:HH}{DATE:d}{DATE:}");
  s.Fill("{DATE:}");
  EXPECT_EQ(s.clock.reads, 1);
}

TEST(FillPlaceholders, TheClipboardsTextIsTypedAsTextNeverAsWords) {
  Sources s;
  // Key words, braces, characters beyond the code page, line breaks of every kind, a
  // pair, a lone half of one and a control character.
  s.clipboard.Write(kCfUnicodeText,
                    UnicodeBytes(u"{ENTER}\u00e9\u2192a\r\nb\rc\nd\t\U0001F600\xD800\x01x"));
  EXPECT_EQ(s.Fill("<{CLIPBOARD}>{Clipboard}").text,
            "<{U+7B}ENTER{U+7D}{U+E9}{U+2192}a\rb\rc\rd\t{U+1F600}x>"
            "{U+7B}ENTER{U+7D}{U+E9}{U+2192}a\rb\rc\rd\t{U+1F600}x");
  EXPECT_EQ(s.clipboard.opens, 1);  // read once
  // No text on the clipboard, or a clipboard another program keeps: nothing.
  s.clipboard.entries.clear();
  EXPECT_EQ(s.Fill("a{CLIPBOARD}b").text, "ab");
  s.clipboard.Write(kCfUnicodeText, UnicodeBytes(u"late"));
  s.clipboard.busyOpens = 1000;
  EXPECT_EQ(s.Fill("a{CLIPBOARD}b").text, "ab");
  EXPECT_LE(s.system.now - 100000, 1100u);  // given up after about a second
}

TEST(ReturnToCursor, LeftOncePerCharacterTypedAfterTheCursor) {
  const struct {
    const char* macro;
    const char* clipboard;
    std::int32_t back;
  } cases[] = {
      {"ab{CURSOR}cd", "", 2},
      {"{CURSOR}", "", 0},
      {"ab", "", 0},
      // A line break once, Tab and Enter once each; keys that type nothing not at all.
      {"{CURSOR}a\r\nb\rc\nd", "", 7},
      {"{CURSOR}{ENTER}{TAB 2}x{LEFT}{BS}{HOME}{PAUSE}", "", 4},
      // Shortcuts type nothing; Shift types text as written.
      {"{CURSOR}{CTRL}c{CTRL}{@}f{ALT}x{ALT}{SHIFT}ab", "", 2},
      {"{CURSOR}{a 5}{U+1F600}{b 0}{b -2}", "", 6},
      {"({CURSOR}{CLIPBOARD})", "x\r\ny{ENTER}", 11},
      // An abbreviation's ending character, appended to the text, counts.
      {"Dear {CURSOR},{U+7B}", "", 2},
  };
  for (const auto& c : cases) {
    Sources s;
    const std::string clip(c.clipboard);
    s.clipboard.Write(kCfUnicodeText, UnicodeBytes(std::u16string(clip.begin(), clip.end())));
    const FilledMacro filled = s.Fill(c.macro);
    MacroPlan plan = PlanMacro(filled.text, s.codePage, false, 100);
    const std::size_t typed = plan.steps.size();
    ReturnToCursor(plan, filled.cursor);
    // Whatever the macro left switched on, Left goes alone.
    const MacroStep* left = plan.steps.size() > typed ? &plan.steps.back() : nullptr;
    EXPECT_EQ(left ? left->token.count : 0, c.back) << c.macro;
    if (left) {
      EXPECT_TRUE(left->token.code == vk::kLeft && !left->modifiers.Any()) << c.macro;
    }
  }
}

}  // namespace
}  // namespace ostrel
