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

// Strict UTF-8 to UTF-16: no overlong forms, no surrogates, nothing above 10FFFF.
bool DecodeUtf8(std::string_view in, std::u16string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size();) {
    const auto b = static_cast<std::uint8_t>(in[i]);
    std::uint32_t cp = 0;
    std::size_t more = 0;
    if (b < 0x80) {
      cp = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
      cp = b & 0x1Fu, more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      cp = b & 0x0Fu, more = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      cp = b & 0x07u, more = 3;
    } else {
      return false;
    }
    if (in.size() - i <= more) return false;
    for (std::size_t k = 1; k <= more; ++k) {
      const auto t = static_cast<std::uint8_t>(in[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3Fu);
    }
    const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[more] || !IsUnicodeScalar(cp)) return false;
    AppendUtf16(out, cp);
    i += more + 1;
  }
  return true;
}

std::string EncodeUtf8(std::u16string_view in) {
  std::string out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    std::uint32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[++i] - 0xDC00);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
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
    std::string value;
    DecodeUtf8(TrimText(std::string_view(line).substr(eq + 1)), wide);
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
