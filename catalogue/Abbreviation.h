// A few letters a definition is run by when the user types them anywhere: ";addr" typed and
// then a word's end becomes the definition's text (or runs its action). Kept in Keys.ini
// beside the definition's programs (Abbreviation=, Immediate=, MatchCase=), as UTF-8, so
// that any character a keyboard types may be in it, whatever the ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrel {

struct Conditions;
class CodePagePort;

struct Abbreviation {
  std::string text;        // UTF-8; empty: the definition has none
  bool immediate = false;  // fires on its last character, not at the word's end
  bool matchCase = false;  // the case of the letters counts

  bool operator==(const Abbreviation&) const = default;
};

// The most characters an abbreviation has, which is also how many typed characters are kept.
inline constexpr std::size_t kAbbreviationLimit = 40;

// Why `utf8` cannot be an abbreviation, for the user; empty when it can (the empty text is
// no abbreviation at all, and can). One is 1 to 40 characters (UTF-16 units, as typed
// characters are kept), none of them blank or a control character.
std::string AbbreviationProblem(std::string_view utf8);

// A letter's other case: lower to compare with case ignored, upper for the text typed in
// capitals. Basic Latin, Latin-1, Latin Extended-A, Greek and Cyrillic; other characters
// stay as they are.
char16_t LowerLetter(char16_t c);
char16_t UpperLetter(char16_t c);
// A letter or a digit: the characters that make a word, before which an abbreviation does
// not fire ("xbrb" never fires "brb"). Marks and symbols (Latin-1's, the general
// punctuation, the ideographic space and marks) are not.
bool IsWordCharacter(char16_t c);
// The same letters, case ignored.
bool SameLetters(std::u16string_view a, std::u16string_view b);

// An abbreviation as the windows show it (UTF-8 in the ANSI code page) and as it is stored
// (the code page's text in UTF-8); empty for what the other side cannot hold. Without a
// code page only ASCII goes either way.
std::string ShownAbbreviation(const std::string& utf8, CodePagePort* codePage);
std::string StoredAbbreviation(const std::string& ansi, CodePagePort* codePage);

// Two definitions whose abbreviations one typing could not tell apart: the same letters,
// case ignored, for some of the same programs (as hotkeys overlap), both switched on.
bool AbbreviationsClash(const Conditions& a, const Conditions& b);

}  // namespace ostrel
