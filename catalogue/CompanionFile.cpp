#include "catalogue/CompanionFile.h"

#include <cinttypes>
#include <cstdio>

#include "catalogue/KeyRec.h"
#include "platform/Utf16.h"

namespace ostrel {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kSection = "[Definition]";
constexpr std::string_view kStampPrefix = "; Keys.fil: ";
constexpr const char* kEol = "\r\n";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// ANSI text as UTF-8; false when the bytes are no text of the code page.
bool AnsiToUtf8(std::string_view ansi, CodePagePort& cp, std::string& out) {
  std::u16string wide;
  if (!cp.MultiByteToWideChar(ansi, wide)) return false;
  out = EncodeUtf8(wide);
  return true;
}

// "; Keys.fil: 1688 bytes, checksum 0123abcd"
std::optional<CompanionStamp> ParseStamp(std::string_view line) {
  if (line.substr(0, kStampPrefix.size()) != kStampPrefix) return std::nullopt;
  const std::string rest(line.substr(kStampPrefix.size()));
  unsigned long long size = 0;
  unsigned sum = 0;
  char tail = 0;
  // %c catches anything after the checksum: a stamp edited by hand is no stamp.
  if (std::sscanf(rest.c_str(), "%llu bytes, checksum %8x%c", &size, &sum, &tail) != 2)
    return std::nullopt;
  CompanionStamp stamp;
  stamp.size = size;
  stamp.checksum = sum;
  return stamp;
}

std::string StampLine(const CompanionStamp& s) {
  char text[80];
  std::snprintf(text, sizeof text, "%llu bytes, checksum %08x",
                static_cast<unsigned long long>(s.size), static_cast<unsigned>(s.checksum));
  return std::string(kStampPrefix) + text;
}

// IfRunning=, Show= and Elevated=: false for a value Ostrel does not know, which leaves
// the default. Other keys are not this reader's and pass.
bool ReadLaunchValue(const std::string& key, const std::string& value, LaunchOptions& launch) {
  if (SameWord(key, "IfRunning")) {
    const std::optional<IfRunning> word = ParseIfRunning(value);
    launch.ifRunning = word.value_or(IfRunning::kStart);
    return word.has_value();
  }
  if (SameWord(key, "Show")) {
    const std::optional<ShowState> word = ParseShow(value);
    launch.show = word.value_or(ShowState::kDefault);
    return word.has_value();
  }
  if (SameWord(key, "Elevated")) {
    launch.elevated = value == "1";
    return value == "1" || value == "0";
  }
  return true;
}

}  // namespace

void CompanionStamp::Add(const void* data, std::size_t n) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  for (std::size_t i = 0; i < n; ++i) checksum = (checksum ^ bytes[i]) * 16777619u;
  size += n;
}

CompanionStamp StampOfRecords(const KeysList& list) {
  CompanionStamp stamp;
  for (std::size_t i = 0; i < list.Count(); ++i) stamp.Add(list.At(i), kKeyRecSize);
  return stamp;
}

CompanionContent ReadCompanion(std::string_view bytes, CodePagePort& codePage) {
  CompanionContent out;
  if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
  CompanionSection* section = nullptr;
  std::size_t lineNumber = 0;
  auto damaged = [&](const std::string& why) {
    if (out.damage.empty()) out.damage = "line " + std::to_string(lineNumber) + " " + why;
  };
  while (!bytes.empty()) {
    ++lineNumber;
    const std::size_t end = bytes.find('\n');
    std::string_view raw = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (raw.find('\0') != std::string_view::npos) {
      damaged("holds a NUL byte");
      continue;
    }
    const std::string line = TrimText(raw);
    if (line.empty()) continue;
    if (line[0] == ';' || line[0] == '#') {
      if (!out.stamp) out.stamp = ParseStamp(line);
      continue;
    }
    std::u16string wide;
    if (!DecodeUtf8(line, wide)) {
      damaged("is not UTF-8 text");
      continue;
    }
    if (line[0] == '[') {
      section = nullptr;
      if (SameWord(line, kSection)) section = &out.sections.emplace_back();
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!section || eq == std::string::npos) continue;
    const std::string key = TrimText(std::string_view(line).substr(0, eq));
    std::string value = TrimText(std::string_view(line).substr(eq + 1));
    // An abbreviation stays UTF-8: it is matched with what is typed, not with ANSI text.
    if (SameWord(key, "Abbreviation")) {
      if (const std::string problem = AbbreviationProblem(value); !problem.empty())
        damaged("has an abbreviation Ostrel cannot use: " + problem);
      else
        section->conditions.abbreviation.text = value;
      continue;
    }
    DecodeUtf8(value, wide);
    value.clear();
    if (!codePage.WideCharToMultiByte(wide, value)) {
      damaged("holds a character the ANSI code page lacks");
      continue;
    }
    if (SameWord(key, "Group")) {
      section->group = value;
    } else if (SameWord(key, "Name")) {
      section->name = value;
    } else if (SameWord(key, "Only") || SameWord(key, "Except")) {
      // The later of the two in a section wins.
      section->conditions.scope =
          SameWord(key, "Only") ? ProgramScope::kOnly : ProgramScope::kExcept;
      section->conditions.programs = ParseProgramList(value);
    } else if (SameWord(key, "Hotkey")) {
      section->conditions.hotkeyOff = SameWord(value, "off");
    } else if (SameWord(key, "Immediate") || SameWord(key, "MatchCase")) {
      (SameWord(key, "Immediate") ? section->conditions.abbreviation.immediate
                                  : section->conditions.abbreviation.matchCase) = value == "1";
      if (value != "1" && value != "0")
        damaged("has a value Ostrel does not know: " + key + "=" + value);
    } else if (!ReadLaunchValue(key, value, section->conditions.launch)) {
      damaged("has a value Ostrel does not know: " + key + "=" + value);
    }
  }
  return out;
}

std::string WriteCompanion(const KeysList& list, const CompanionStamp& stamp,
                           CodePagePort& codePage) {
  std::string text =
      "; Ostrel: the programs and switches of the hotkeys in Keys.fil (see its help page)";
  text += kEol + StampLine(stamp) + kEol;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const Conditions& c = list.ConditionsAt(i);
    if (c.Plain()) continue;
    std::string group, name, programs;
    if (!AnsiToUtf8(TrimText(list.At(i)->Group.str()), codePage, group) ||
        !AnsiToUtf8(TrimText(list.At(i)->Name.str()), codePage, name) ||
        !AnsiToUtf8(ProgramListText(c.programs), codePage, programs))
      continue;
    text += kEol + std::string(kSection) + kEol;
    if (!group.empty()) text += "Group=" + group + kEol;
    text += "Name=" + name + kEol;
    if (c.scope == ProgramScope::kOnly) text += "Only=" + programs + kEol;
    if (c.scope == ProgramScope::kExcept) text += "Except=" + programs + kEol;
    if (c.hotkeyOff) text += std::string("Hotkey=off") + kEol;
    if (c.launch.ifRunning != IfRunning::kStart)
      text += "IfRunning=" + std::string(IfRunningWord(c.launch.ifRunning)) + kEol;
    if (c.launch.show != ShowState::kDefault)
      text += "Show=" + std::string(ShowWord(c.launch.show)) + kEol;
    if (c.launch.elevated) text += std::string("Elevated=1") + kEol;
    if (!c.abbreviation.text.empty()) {
      text += "Abbreviation=" + c.abbreviation.text + kEol;
      if (c.abbreviation.immediate) text += std::string("Immediate=1") + kEol;
      if (c.abbreviation.matchCase) text += std::string("MatchCase=1") + kEol;
    }
  }
  return text;
}

std::size_t ApplyCompanion(KeysList& list, const std::vector<CompanionSection>& sections) {
  for (std::size_t i = 0; i < list.Count(); ++i) list.SetConditions(i, {});
  std::size_t unnamed = 0;
  for (const CompanionSection& s : sections) {
    const std::ptrdiff_t at = list.Find(TrimText(s.group) + kKeySeparator + TrimText(s.name));
    if (at == KeysList::npos) {
      ++unnamed;
      continue;
    }
    list.SetConditions(static_cast<std::size_t>(at), s.conditions);
  }
  return unnamed;
}

std::string CompanionName(const std::string& keysFile) {
  const std::size_t n = keysFile.size();
  if (n >= 4 && SameWord(std::string_view(keysFile).substr(n - 4), ".fil"))
    return keysFile.substr(0, n - 4) + ".ini";
  return keysFile + ".ini";
}

}  // namespace ostrel
