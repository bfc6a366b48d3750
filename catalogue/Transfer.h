// Sets of definitions that travel between computers and users: a definitions file in
// Keys.fil's own 844-byte form ("Name.fil"), its companion "Name.ini" in Keys.ini's form,
// and beside them the macro list files its macro menus name.
//
// Reading a set refuses, before anything changes, a file that no save of Ostrel's could
// have written: not whole records, or a string longer than its field. Merging never
// changes a definition that is present: one with the same group and name is skipped, one
// whose hotkey or abbreviation would clash comes in switched off, and a list file never
// replaces another.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Collation.h"
#include "catalogue/CompanionFile.h"
#include "catalogue/Conditions.h"
#include "catalogue/KeyRec.h"
#include "catalogue/KeysList.h"
#include "platform/CodePagePort.h"
#include "platform/FilePort.h"

namespace ostrel {

struct IncomingDefinition {
  TKeyRec rec;
  Conditions conditions;
};

struct IncomingSet {
  // Why the set was refused, for the user; empty when it was read.
  std::string error;
  // In file order; of two with the same key text the first counts.
  std::vector<IncomingDefinition> defs;
};

// Why `bytes` cannot be a definitions file, naming it as `fileName`; empty when every
// record is whole and every string fits its field.
std::string CheckDefinitionBytes(std::string_view bytes, const std::string& fileName);

// The records of `bytes` (already checked) in file order, the first of each key text,
// with the conditions of the companion's `sections`.
std::vector<IncomingDefinition> IncomingDefinitions(std::string_view bytes,
                                                    const std::vector<CompanionSection>& sections,
                                                    CollateFn collate);

// Reads the definitions file `path` and its companion beside it, whole or not at all.
IncomingSet ReadDefinitionSet(FileSystem& fs, const std::string& path, CodePagePort& codePage,
                              CollateFn collate);

struct MergeReport {
  std::vector<PKeyRec> added;               // in the list now, in file order
  std::vector<const TKeyRec*> skipped;      // into the incoming set: present already
  std::vector<const TKeyRec*> switchedOff;  // among `added`: came in with the hotkey off
  // Among `added`: came in switched off, as another definition has the same abbreviation.
  std::vector<const TKeyRec*> abbreviationsOff;
  std::vector<std::string> missingLists;    // list files not found beside the file
  std::vector<std::string> copiedLists;     // files written into the definitions' folder
  std::string error;  // a list file could not be written: then nothing was merged
};

// Merges `set` into `into` (the report points into both). A macro menu's list file is
// taken from `sourceDir` and written into `dataDir` (both end in a separator or are
// empty) under its own name when that is free or holds the same bytes, else under the
// next free "SendKeyList_<n>.skl", which the definition's target then names. If a list
// file cannot be read or written, the merge is taken back whole and `error` says why.
MergeReport MergeDefinitions(KeysList& into, const IncomingSet& set, FileSystem& fs,
                             const std::string& sourceDir, const std::string& dataDir);

// Takes back a merge whose save failed: the added definitions leave the list and the
// list files it wrote are removed.
void UndoMerge(KeysList& into, const MergeReport& report, FileSystem& fs);

struct ExportOutcome {
  std::size_t written = 0;  // definitions in the file
  std::string error;        // for the user; empty when everything was written
};

// Writes the definitions of `group` (every one when empty; compared as key texts are) in
// list order to `path`, its companion when any has conditions (a stale one removed when
// none has), and the list files their macro menus name from `dataDir` beside it. A list
// file already there with other bytes is kept as a backup first.
ExportOutcome ExportDefinitionSet(FileSystem& fs, const KeysList& from, const std::string& group,
                                  const std::string& path, const std::string& dataDir,
                                  CodePagePort& codePage);

// "SendKeyList_<n>.skl" for the first n from 1 to 1000 with no such file in `dir`, or
// 1001 when all are taken.
std::string FreeListFileName(FileSystem& files, const std::string& dir);

}  // namespace ostrel
