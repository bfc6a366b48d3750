#include "app/Abbreviations.h"

#include <algorithm>

#include "catalogue/Abbreviation.h"
#include "catalogue/Programs.h"
#include "macro/MacroSteps.h"
#include "platform/Utf16.h"
#include "platform/VirtualKeys.h"

namespace ostrel {

bool IsEndingCharacter(char16_t c) {
  return c == u' ' || c == u'\r' || c == u'\t' ||
         std::u16string_view(u".,;:!?-()[]{}'\"/\\").find(c) != std::u16string_view::npos;
}

void TypedText::SetEntries(std::vector<AbbreviationEntry> entries) {
  entries_ = std::move(entries);
  Reset();
}

void TypedText::Reset() {
  typed_.clear();
  clipped_ = false;
}

void TypedText::Erase() {
  if (!typed_.empty()) typed_.pop_back();
}

std::vector<AbbreviationHit::Candidate> TypedText::Match(bool immediate) const {
  std::vector<AbbreviationHit::Candidate> found;
  for (const AbbreviationEntry& e : entries_) {
    const std::size_t n = e.text.size();
    if (e.immediate != immediate || n == 0 || n > typed_.size()) continue;
    const std::u16string_view tail = std::u16string_view(typed_).substr(typed_.size() - n);
    if (e.matchCase ? tail != e.text : !SameLetters(tail, e.text)) continue;
    const bool start = typed_.size() == n;
    if (start ? clipped_ : IsWordCharacter(typed_[typed_.size() - n - 1])) continue;
    found.push_back({e.id, std::u16string(tail)});
  }
  return found;
}

AbbreviationHit TypedText::Type(char16_t c) {
  AbbreviationHit hit;
  if (entries_.empty()) return hit;
  // A word's end completes what was typed before it; then the character itself counts,
  // for an abbreviation that fires on its last character.
  if (IsEndingCharacter(c)) {
    hit.candidates = Match(false);
    hit.ending = c;
  }
  if (hit.Empty()) {
    if (typed_.size() == kAbbreviationLimit) {
      typed_.erase(0, 1);
      clipped_ = true;
    }
    typed_ += c;
    hit.candidates = Match(true);
    hit.ending = 0;
  }
  if (!hit.Empty()) Reset();
  return hit;
}

CaseFollow TypedCase(std::u16string_view typed, bool matchCase) {
  if (matchCase) return CaseFollow::kAsWritten;
  std::size_t letters = 0, capitals = 0;
  bool firstCapital = false;
  for (char16_t c : typed) {
    const bool upper = LowerLetter(c) != c, lower = UpperLetter(c) != c;
    if (!upper && !lower) continue;
    if (letters++ == 0) firstCapital = upper;
    if (upper) ++capitals;
  }
  if (letters >= 2 && capitals == letters) return CaseFollow::kCapitals;
  return firstCapital ? CaseFollow::kInitial : CaseFollow::kAsWritten;
}

std::string FollowCase(std::string_view macro, CaseFollow follow, CodePagePort& codePage) {
  if (follow == CaseFollow::kAsWritten) return std::string(macro);
  std::string out;
  std::size_t copied = 0;
  for (const MacroStep& step : ReadMacroSteps(macro, SystemLeadBytes(codePage))) {
    const MacroModifiers& m = step.modifiers;
    if (step.kind != MacroStepKind::kCharacter || step.braced || m.ctrl || m.alt || m.altNext)
      continue;
    std::u16string wide;
    if (!codePage.MultiByteToWideChar(macro.substr(step.begin, step.end - step.begin), wide) ||
        wide.size() != 1)
      continue;
    const char16_t c = wide[0], upper = UpperLetter(c);
    if (upper == c && LowerLetter(c) == c) continue;  // not a letter
    std::string bytes;
    if (upper != c && codePage.WideCharToMultiByte(std::u16string(1, upper), bytes)) {
      out.append(macro.substr(copied, step.begin - copied));
      out += bytes;
      copied = step.end;
    }
    if (follow == CaseFollow::kInitial) break;
  }
  out.append(macro.substr(copied));
  return out;
}

std::string EndingMacro(char16_t ending) {
  switch (ending) {
    case 0:
      return {};
    case u'\r':
      return "{ENTER}";
    case u'\t':
      return "{TAB}";
    case u'{':
      return "{U+7B}";
    case u'}':
      return "{U+7D}";
    default:
      return std::string(1, static_cast<char>(ending));  // every other is ASCII
  }
}

std::vector<KeyInput> RetypeKeys(std::u16string_view typed, char16_t ending) {
  std::vector<KeyInput> keys;
  for (const char16_t c : std::u16string(typed) + ending) {
    if (c == u'\r' || c == u'\t') {
      const std::uint16_t key = c == u'\r' ? vk::kReturn : vk::kTab;
      keys.push_back({key, 0, 0});
      keys.push_back({key, 0, kKeyEventUp});
    } else if (c != 0) {
      keys.push_back({0, c, kKeyEventUnicode});
      keys.push_back({0, c, kKeyEventUnicode | kKeyEventUp});
    }
  }
  return keys;
}

void AbbreviationWatch::SetEntries(std::vector<AbbreviationEntry> entries) {
  const std::lock_guard<std::mutex> hold(lock_);
  text_.SetEntries(std::move(entries));
  hits_.clear();
}

bool AbbreviationWatch::Typed(char16_t c) {
  AbbreviationHit hit;
  {
    const std::lock_guard<std::mutex> hold(lock_);
    hit = text_.Type(c);
    if (hit.Empty()) return false;
    // Past the bound the main thread is not taking hits: the key simply goes on.
    if (hits_.size() >= kWaitingLimit) return false;
    hits_.push_back(hit);
  }
  if (wake_) wake_();
  return hit.ending != 0;
}

void AbbreviationWatch::Erased() {
  const std::lock_guard<std::mutex> hold(lock_);
  text_.Erase();
}

void AbbreviationWatch::Reset() {
  const std::lock_guard<std::mutex> hold(lock_);
  text_.Reset();
}

std::optional<AbbreviationHit> AbbreviationWatch::TakeHit() {
  const std::lock_guard<std::mutex> hold(lock_);
  if (hits_.empty()) return std::nullopt;
  AbbreviationHit hit = std::move(hits_.front());
  hits_.pop_front();
  return hit;
}

void Abbreviations::Rebuild(bool on, std::function<void()> wake) {
  defs_.clear();
  std::vector<AbbreviationEntry> entries;
  for (std::size_t i = 0; on && keys_ && i < keys_->Count(); ++i) {
    const Conditions& c = keys_->ConditionsAt(i);
    std::u16string text;
    if (c.hotkeyOff || c.abbreviation.text.empty() || !DecodeUtf8(c.abbreviation.text, text))
      continue;
    entries.push_back(
        {std::move(text), c.abbreviation.immediate, c.abbreviation.matchCase, defs_.size()});
    defs_.push_back(keys_->At(i));
  }
  if (entries.empty() || !input_) {
    Stop();
    return;
  }
  if (!watch_) {
    watch_ = std::make_shared<AbbreviationWatch>(std::move(wake));
    watch_->SetEntries(std::move(entries));
    input_->WatchTyping(watch_);
  } else {
    watch_->SetEntries(std::move(entries));
  }
}

void Abbreviations::Stop() {
  if (!watch_) return;
  if (input_) input_->WatchTyping(nullptr);
  watch_.reset();
  defs_.clear();
}

std::optional<AbbreviationFiring> Abbreviations::Next() {
  if (!watch_) return std::nullopt;
  const std::optional<AbbreviationHit> hit = watch_->TakeHit();
  if (!hit) return std::nullopt;
  AbbreviationFiring firing;
  firing.ending = hit->ending;
  const std::string program = ProgramInFront(programs_);
  int bestPreference = 0;
  for (const AbbreviationHit::Candidate& c : hit->candidates) {
    if (c.id >= defs_.size() || !keys_) continue;
    // A definition deleted or changed since the list was made is not run.
    const PKeyRec def = defs_[c.id];
    if (keys_->IndexOf(def) == KeysList::npos) continue;
    const Conditions& conditions = keys_->ConditionsOf(def);
    if (conditions.hotkeyOff) continue;
    const int p = Preference(conditions, program);
    if (p > bestPreference ||
        (p == bestPreference && p > 0 && c.typed.size() > firing.typed.size())) {
      bestPreference = p;
      firing.def = def;
      firing.typed = c.typed;
      firing.follow = TypedCase(c.typed, conditions.abbreviation.matchCase);
    }
  }
  return firing;
}

}  // namespace ostrel
