// What a definition says beyond its 844-byte record: the programs its hotkey is for,
// whether its hotkey is switched off, how it starts what it names, and its abbreviation.
// Kept in Keys.ini beside Keys.fil; a definition that says nothing is global and on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Abbreviation.h"
#include "catalogue/LaunchOptions.h"

namespace ostrel {

enum class ProgramScope : std::uint8_t {
  kAll,     // every program
  kOnly,    // only the programs listed
  kExcept,  // every program but those listed
};

struct Conditions {
  ProgramScope scope = ProgramScope::kAll;
  // Program file names as the user wrote them ("notepad.exe", "WordPad"); compared with
  // case ignored and ".exe" optional. Empty with kOnly names no program at all.
  std::vector<std::string> programs;
  bool hotkeyOff = false;
  // How the program or file it names is started; stored beside the programs.
  LaunchOptions launch{};
  // The letters that run it when typed anywhere; switched off with the hotkey.
  Abbreviation abbreviation{};

  // Global, on, started plainly and with no abbreviation: nothing to store.
  bool Plain() const {
    return scope == ProgramScope::kAll && !hotkeyOff && launch.Plain() && abbreviation.text.empty();
  }
  bool operator==(const Conditions&) const = default;
};

// "notepad.exe;wordpad" -> {"notepad.exe", "wordpad"}: split at ";", each name trimmed,
// empty names and repeats (as compared below) dropped.
std::vector<std::string> ParseProgramList(std::string_view text);
// The list as the editor and Keys.ini write it: names joined by ";".
std::string ProgramListText(const std::vector<std::string>& programs);

// The name a program is compared by: lower case (ASCII letters), ".exe" dropped.
std::string ProgramKey(std::string_view name);
// The list names `program` (a file name, as the foreground process's is read).
bool NamesProgram(const std::vector<std::string>& programs, std::string_view program);

// The hotkey is meant for `program` (switching off is not looked at here).
bool AppliesTo(const Conditions& c, std::string_view program);
// How specific a definition is for `program`: 2 names it in Only, 1 is global or an Except
// that does not name it, 0 does not apply.
int Preference(const Conditions& c, std::string_view program);

// Two definitions on one combination clash: a press could not tell which is meant. Two
// Only lists clash when they share a program; two definitions that are global or Except
// always clash. An Only list beside a global or Except definition does not: for its
// programs the Only one is meant, for the others the other one.
bool Overlap(const Conditions& a, const Conditions& b);
// The programs two clashing definitions share, for the editor's message: "" when the
// clash is about every program (both global or Except), else the shared names joined by ";".
std::string OverlapText(const Conditions& a, const Conditions& b);

// "notepad.exe;wordpad.exe" for Only, "all but notepad.exe" for Except, "" for all: what
// the tree shows after a definition's key.
std::string ScopeText(const Conditions& c);

}  // namespace ostrel
