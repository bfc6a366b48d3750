// Keys.ini, the companion of Keys.fil: what a definition says beyond its 844-byte record
// (the programs its hotkey is for, its hotkey switched off), in a text users may edit:
//
//   [Definition]
//   Group=Editors
//   Name=Signature
//   Only=notepad.exe;wordpad.exe
//   Hotkey=off
//   IfRunning=activate      (start, activate, toggle)
//   Show=maximized          (normal, minimized, maximized)
//   Elevated=1
//   Abbreviation=;addr      (UTF-8, 1 to 40 characters, no blanks; kept as UTF-8 in memory)
//   Immediate=1             (fires on its last character, not at the end of a word)
//   MatchCase=1
//
// UTF-8, with or without a byte-order mark, read; UTF-8 without one written, lines ended
// by CR LF. Names are ANSI in memory and go through the code page both ways. Group and
// Name pick a definition as its key text does. A ";" or "#" line is a comment; the one
// comment Ostrel writes itself, the stamp, names the Keys.fil content the file belongs
// to (its size and checksum), so that a save cut short between the two files is told
// apart from a finished one (catalogue/DefinitionFile.h). The reader is tolerant:
// other sections and unknown keys are passed over (and not written again); a value of
// IfRunning, Show, Elevated, Immediate or MatchCase it does not know, or an abbreviation
// with a blank or of more than 40 characters, is damage, told, and read as the default.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Conditions.h"
#include "catalogue/KeysList.h"
#include "platform/CodePagePort.h"

namespace ostrel {

// Size and FNV-1a checksum of a Keys.fil content, built up as its bytes go by.
struct CompanionStamp {
  std::uint64_t size = 0;
  std::uint32_t checksum = 2166136261u;

  void Add(const void* data, std::size_t n);
  bool operator==(const CompanionStamp&) const = default;
};
// The stamp of what a save of `list` writes to Keys.fil.
CompanionStamp StampOfRecords(const KeysList& list);

struct CompanionSection {
  std::string group;  // ANSI, as written (trimmed)
  std::string name;
  Conditions conditions;
};

struct CompanionContent {
  std::optional<CompanionStamp> stamp;  // none in a file written by hand
  std::vector<CompanionSection> sections;
  // Why the text could not be read whole (bytes that are not UTF-8, a NUL, a character
  // the ANSI code page lacks); empty when it could. What could be read is still there.
  std::string damage;
};

CompanionContent ReadCompanion(std::string_view bytes, CodePagePort& codePage);

// The file for `list`: the stamp, then a section for every definition that is not
// global and on, in list order. A definition whose group or name is not text of the
// code page (only a damaged record has one) cannot be named in UTF-8 and gets none.
std::string WriteCompanion(const KeysList& list, const CompanionStamp& stamp,
                           CodePagePort& codePage);

// Every definition takes its section's conditions (a later section for the same
// definition wins), or else is global and on. Returns how many sections named no
// definition: they are dropped at the next save.
std::size_t ApplyCompanion(KeysList& list, const std::vector<CompanionSection>& sections);

// "Keys.fil" -> "Keys.ini" beside it.
std::string CompanionName(const std::string& keysFile);

}  // namespace ostrel
