#include "macro/Placeholders.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

#include "macro/MacroTimings.h"
#include "platform/VirtualKeys.h"

namespace ostrel {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) < 33; }

// Whether `word` starts with `name` in any case of a to z.
bool StartsWithWord(std::string_view word, std::string_view name) {
  if (word.size() < name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = word[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != name[i]) return false;
  }
  return true;
}

bool IsWord(std::string_view word, std::string_view name) {
  return word.size() == name.size() && StartsWithWord(word, name);
}

bool IsPlaceholderStart(std::string_view word) {
  for (std::string_view name : {"DATE", "TIME", "CLIPBOARD", "CURSOR"})
    if (StartsWithWord(word, name)) return true;
  return false;
}

// The clipboard's Unicode text, up to its NUL; empty when it holds none or stays taken.
std::u16string ClipboardText(const PlaceholderSources& sources) {
  ClipboardPort* clip = sources.clipboard;
  if (!clip) return {};
  for (std::uint32_t waited = 0; !clip->Open(); waited += kClipboardOpenPollMs) {
    if (!sources.system || waited >= kClipboardOpenRetryMs) return {};
    sources.system->Sleep(kClipboardOpenPollMs);
  }
  const std::optional<std::string> bytes = clip->Data(kCfUnicodeText);
  clip->Close();
  std::u16string text;
  if (!bytes) return text;
  for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>((*bytes)[i]) |
                                                static_cast<unsigned char>((*bytes)[i + 1]) << 8);
    if (unit == 0) break;
    text += unit;
  }
  return text;
}

class Filler {
 public:
  Filler(CodePagePort& codePage, const PlaceholderSources& sources)
      : codePage_(codePage), sources_(sources) {}

  // What the placeholder `word` (trimmed, as written) stands for; none when it is no
  // placeholder, or a damaged one.
  std::optional<std::u16string> Text(std::string_view word) {
    if (IsWord(word, "CLIPBOARD")) {
      if (!clipboard_) clipboard_ = ClipboardText(sources_);
      return *clipboard_;
    }
    const bool date = StartsWithWord(word, "DATE"), time = StartsWithWord(word, "TIME");
    if (!date && !time) return std::nullopt;
    std::u16string picture;
    if (word.size() > 4) {
      // A picture is written in the code page, as the rest of the macro.
      if (word[4] != ':' || word.size() == 5 ||
          !codePage_.MultiByteToWideChar(word.substr(5), picture))
        return std::nullopt;
    }
    ClockPort* clock = sources_.clock;
    if (!clock) return std::u16string();
    if (!now_) now_ = clock->GetLocalTime();
    if (date) return clock->GetDateFormatEx(picture.empty() ? kDateShortDate : 0, *now_, picture);
    if (picture.empty()) picture = clock->ShortTimePicture();
    return clock->GetTimeFormatEx(picture.empty() ? kTimeNoSeconds : 0, *now_, picture);
  }

 private:
  CodePagePort& codePage_;
  const PlaceholderSources& sources_;
  std::optional<std::u16string> clipboard_;
  std::optional<LocalTime> now_;
};

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendNumbered(std::string& macro, char32_t c) {
  std::string digits;
  for (; c != 0 || digits.size() < 2; c >>= 4) digits.insert(digits.begin(), kHexDigits[c & 0xF]);
  macro += "{U+" + digits + "}";
}

}  // namespace

void AppendLiteral(std::string& macro, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      macro += '\r';
    } else if (c == u'\t' || (c >= 0x20 && c < 0x7F && c != u'{' && c != u'}')) {
      macro += static_cast<char>(c);
    } else if (c >= 0x20 && c != 0x7F) {
      // A pair is one character; a half of a pair alone is none.
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
      if (c < 0xD800 || c > 0xDFFF) AppendNumbered(macro, c);
    }
  }
}

FilledMacro FillPlaceholders(std::string_view macro, CodePagePort& codePage,
                             const PlaceholderSources& sources) {
  const LeadBytes lead = SystemLeadBytes(codePage);
  Filler filler(codePage, sources);
  FilledMacro filled;
  std::size_t pos = 0;
  while (pos < macro.size()) {
    if (macro[pos] != '{') {
      const std::size_t size = lead.CharSize(macro, pos);
      filled.text.append(macro.substr(pos, size));
      pos += size;
      continue;
    }
    // The word in braces as the reader finds it: up to the first single-byte "}".
    std::size_t close = pos + 1;
    while (close < macro.size() && macro[close] != '}') close += lead.CharSize(macro, close);
    if (close >= macro.size()) {
      // A placeholder cut short is typed as it stands; anything else is left for the
      // reader, as it always was.
      std::string_view rest = macro.substr(pos + 1);
      while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
      std::u16string stands;
      if (IsPlaceholderStart(rest) && codePage.MultiByteToWideChar(macro.substr(pos), stands))
        AppendLiteral(filled.text, stands);
      else
        filled.text.append(macro.substr(pos));
      break;
    }
    std::string_view word = macro.substr(pos + 1, close - pos - 1);
    while (!word.empty() && IsBlank(word.front())) word.remove_prefix(1);
    while (!word.empty() && IsBlank(word.back())) word.remove_suffix(1);
    if (IsWord(word, "CURSOR")) {
      if (filled.cursor == kNoCursor) filled.cursor = filled.text.size();
    } else if (const std::optional<std::u16string> text = filler.Text(word)) {
      AppendLiteral(filled.text, *text);
    } else {
      filled.text.append(macro.substr(pos, close + 1 - pos));
    }
    pos = close + 1;
  }
  return filled;
}

std::int32_t CharactersTypedAfter(const std::vector<MacroStep>& steps, std::size_t cursor) {
  std::int64_t count = 0;
  bool afterReturn = false;
  for (const MacroStep& step : steps) {
    const bool wasAfterReturn = std::exchange(afterReturn, false);
    if (step.begin < cursor || step.kind == MacroStepKind::kPause) continue;
    const MacroModifiers& m = step.modifiers;
    if (m.ctrl || m.alt || m.altNext) continue;
    const std::int64_t times = std::max<std::int32_t>(step.token.count, 0);
    const bool character = step.kind == MacroStepKind::kCharacter;
    if (!character && step.token.code != vk::kTab && step.token.code != vk::kReturn) continue;
    if (character && step.token.kind == MacroTokenKind::kCharacter && times == 1) {
      if (step.token.code == '\n' && wasAfterReturn) continue;
      afterReturn = step.token.code == '\r';
    }
    count += times;
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
}

void ReturnToCursor(MacroPlan& plan, std::size_t cursor) {
  if (cursor == kNoCursor) return;
  const std::int32_t back = CharactersTypedAfter(plan.steps, cursor);
  if (back == 0) return;
  const std::size_t end = plan.steps.empty() ? cursor : plan.steps.back().end;
  MacroToken left;
  left.kind = MacroTokenKind::kNamedKey;
  left.code = vk::kLeft;
  left.count = back;
  plan.steps.push_back(MacroStep{MacroStepKind::kKey, left, {}, end, end, true});
}

}  // namespace ostrel
