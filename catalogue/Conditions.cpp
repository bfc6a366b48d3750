#include "catalogue/Conditions.h"

#include <algorithm>

#include "catalogue/KeyRec.h"

namespace ostrel {

std::string ProgramKey(std::string_view name) {
  std::string key = TrimText(name);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (key.size() > 4 && key.compare(key.size() - 4, 4, ".exe") == 0) key.resize(key.size() - 4);
  return key;
}

std::vector<std::string> ParseProgramList(std::string_view text) {
  std::vector<std::string> names;
  std::vector<std::string> keys;
  while (!text.empty()) {
    std::size_t cut = text.find(';');
    std::string name = TrimText(text.substr(0, cut));
    text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
    std::string key = ProgramKey(name);
    if (key.empty() || std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
    keys.push_back(std::move(key));
    names.push_back(std::move(name));
  }
  return names;
}

std::string ProgramListText(const std::vector<std::string>& programs) {
  std::string text;
  for (const std::string& p : programs) text += (text.empty() ? "" : ";") + p;
  return text;
}

bool NamesProgram(const std::vector<std::string>& programs, std::string_view program) {
  const std::string key = ProgramKey(program);
  if (key.empty()) return false;
  return std::any_of(programs.begin(), programs.end(),
                     [&](const std::string& p) { return ProgramKey(p) == key; });
}

int Preference(const Conditions& c, std::string_view program) {
  switch (c.scope) {
    case ProgramScope::kOnly: return NamesProgram(c.programs, program) ? 2 : 0;
    case ProgramScope::kExcept: return NamesProgram(c.programs, program) ? 0 : 1;
    case ProgramScope::kAll: break;
  }
  return 1;
}

bool AppliesTo(const Conditions& c, std::string_view program) { return Preference(c, program) > 0; }

namespace {

std::vector<std::string> Shared(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::vector<std::string> shared;
  for (const std::string& p : a)
    if (NamesProgram(b, p)) shared.push_back(p);
  return shared;
}

}  // namespace

bool Overlap(const Conditions& a, const Conditions& b) {
  const bool onlyA = a.scope == ProgramScope::kOnly, onlyB = b.scope == ProgramScope::kOnly;
  if (onlyA && onlyB) return !Shared(a.programs, b.programs).empty();
  return !onlyA && !onlyB;
}

std::string OverlapText(const Conditions& a, const Conditions& b) {
  if (a.scope == ProgramScope::kOnly && b.scope == ProgramScope::kOnly)
    return ProgramListText(Shared(a.programs, b.programs));
  return {};
}

std::string ScopeText(const Conditions& c) {
  switch (c.scope) {
    case ProgramScope::kOnly: return ProgramListText(c.programs);
    case ProgramScope::kExcept: return "all but " + ProgramListText(c.programs);
    case ProgramScope::kAll: break;
  }
  return {};
}

}  // namespace ostrel
