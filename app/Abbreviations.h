// Abbreviations as the user types them: what the keyboard hook made of the keys (the last
// 40 characters typed in the window in front, in memory only), the abbreviation they end
// with, and which definition that runs for the program in front.
//
// Two threads meet here. The hook's thread hands every character, Backspace and reset to
// AbbreviationWatch, which matches under a lock and answers at once whether the key goes
// on; a match is queued and the main thread woken, which takes it (Abbreviations::Next)
// and runs the definition there (Dispatcher.cpp). Nothing typed is ever written, logged
// or sent anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/KeysList.h"
#include "platform/CodePagePort.h"
#include "platform/InputPort.h"
#include "platform/ProgramPort.h"

namespace ostrel {

// Space, Enter, Tab and .,;:!?-()[]{}'"/\ end a word.
bool IsEndingCharacter(char16_t c);

struct AbbreviationEntry {
  std::u16string text;
  bool immediate = false;
  bool matchCase = false;
  std::size_t id = 0;  // the caller's: which definition has it
};

// The abbreviations one typed character completed: each with the characters typed for it
// (their case is what the text follows), and the character that ended the word (none for
// those that fire on their last character).
struct AbbreviationHit {
  struct Candidate {
    std::size_t id = 0;
    std::u16string typed;
  };
  std::vector<Candidate> candidates;
  char16_t ending = 0;
  bool Empty() const { return candidates.empty(); }
};

// The matcher: the last kAbbreviationLimit characters typed, and the abbreviations they
// end with. An abbreviation fires only where the character before it is no letter or digit
// (or nothing was typed before it since the last reset); one that ends a word fires at the
// ending character, one marked immediate at its own last character. Every hit empties it.
class TypedText {
 public:
  // The abbreviations to look for; what was typed is forgotten.
  void SetEntries(std::vector<AbbreviationEntry> entries);
  AbbreviationHit Type(char16_t c);
  // Backspace: the last character goes.
  void Erase();
  // What was typed no longer leads up to the caret.
  void Reset();
  bool Watching() const { return !entries_.empty(); }

 private:
  std::vector<AbbreviationHit::Candidate> Match(bool immediate) const;

  std::vector<AbbreviationEntry> entries_;
  std::u16string typed_;
  bool clipped_ = false;  // characters went off the front: the one before the first is unknown
};

// How the typed letters ask the text to be: as written, with an initial capital, or all in
// capitals (two letters or more, all capitals). A definition that matches case keeps its text.
enum class CaseFollow : std::uint8_t { kAsWritten, kInitial, kCapitals };
CaseFollow TypedCase(std::u16string_view typed, bool matchCase);
// A macro's text (in the ANSI code page) with the case followed. Only its text changes: not
// key words, braced characters or a letter typed with {CTRL}, {ALT} or {@} ("{CTRL}a" stays
// Ctrl+A). An initial capital goes on the first letter, and one already a capital stays.
std::string FollowCase(std::string_view macro, CaseFollow follow, CodePagePort& codePage);
// The ending character as macro text: itself, "{ENTER}", "{TAB}", and a brace as "{U+7B}"
// or "{U+7D}", which the macro language reads as that character.
std::string EndingMacro(char16_t ending);
// Characters typed again, as keys: Enter and Tab as their keys, every other one as itself.
std::vector<KeyInput> RetypeKeys(std::u16string_view typed, char16_t ending);

// The hook's side: thread-safe. `wake` tells the main thread a hit is waiting; it is
// called on the hook's thread and must only post.
class AbbreviationWatch : public InputPort::TypingWatch {
 public:
  explicit AbbreviationWatch(std::function<void()> wake) : wake_(std::move(wake)) {}
  void SetEntries(std::vector<AbbreviationEntry> entries);
  // A character typed: true keeps its key from going on (an ending character that
  // completed an abbreviation: the main thread types it again after the text).
  bool Typed(char16_t c) override;
  void Erased() override;
  void Reset() override;
  std::optional<AbbreviationHit> TakeHit();

  // A bound on the hits waiting, should the main thread stop taking them.
  static constexpr std::size_t kWaitingLimit = 16;

 private:
  std::mutex lock_;
  TypedText text_;
  std::deque<AbbreviationHit> hits_;
  std::function<void()> wake_;
};

// What the main thread does with a hit: the definition to run (none when no definition
// with those letters is meant for the program in front), the characters typed for it
// (erased, and typed again when its macro menu is closed with no choice), the case the
// text takes and the ending character.
struct AbbreviationFiring {
  PKeyRec def = nullptr;
  std::u16string typed;
  CaseFollow follow = CaseFollow::kAsWritten;
  char16_t ending = 0;
};

// The main thread's side, a part of the controller: the definitions that have an
// abbreviation and are switched on, handed to the hook at every rebuild of the hotkeys,
// and the choice among them when one is typed.
class Abbreviations {
 public:
  Abbreviations(InputPort* input, ProgramPort& programs, const std::unique_ptr<KeysList>& keys)
      : input_(input), programs_(programs), keys_(keys) {}
  Abbreviations(const Abbreviations&) = delete;
  Abbreviations& operator=(const Abbreviations&) = delete;
  ~Abbreviations() { Stop(); }

  // The list made afresh from the definitions. With `on` false (hotkeys switched off), or
  // none with an abbreviation, the hook stops watching typing. `wake` posts to the main
  // window.
  void Rebuild(bool on, std::function<void()> wake);
  void Stop();
  // The next hit waiting, with its definition chosen as a hotkey's is: the one whose Only
  // names the program in front, else a global one or an Except that does not name it, in
  // list order; among those, the longest abbreviation typed.
  std::optional<AbbreviationFiring> Next();
  bool Watching() const { return watch_ != nullptr; }

 private:
  InputPort* input_;
  ProgramPort& programs_;
  const std::unique_ptr<KeysList>& keys_;
  std::vector<PKeyRec> defs_;  // by entry id
  std::shared_ptr<AbbreviationWatch> watch_;
};

}  // namespace ostrel
