// Keys.fil: every definition as a headerless run of 844-byte records, in key-text
// order. Loading never fails outright: what could be read is kept and the outcome
// says what went wrong. Saving never leaves less on disk than it found: the new
// content goes to a file beside the old one and replaces it only once complete, and
// after a load that could not read the whole file, the original is first kept as
// "<file>.bak".
#pragma once

#include <cstddef>
#include <string>

#include "catalogue/KeysList.h"
#include "platform/FilePort.h"

namespace ostrel {

struct LoadOutcome {
  std::size_t records = 0;         // definitions read, before add-or-replace
  std::size_t clampedLengths = 0;  // string length bytes cut to their field's capacity
  bool fragment = false;           // the file ended inside a record (completed with zeros)
  bool openFailed = false;         // the file exists but could not be opened
  bool readFailed = false;         // reading stopped on an error part-way
  std::string error;               // an error to show the user; empty when the file could be read
  std::string notice;              // what was repaired in a readable but damaged file; else empty

  bool Damaged() const { return clampedLengths > 0 || fragment || openFailed || readFailed; }
};

class DefinitionFile {
 public:
  DefinitionFile(FileSystem& fs, std::string fileName);

  const std::string& FileName() const { return fileName_; }
  std::string BackupName() const { return fileName_ + ".bak"; }
  std::string StagingName() const { return fileName_ + ".new"; }

  // Adds every record of the file to `list` (add-or-replace). A missing file loads
  // nothing. Damage of any kind makes the next Save keep a backup first.
  LoadOutcome Load(KeysList& list);

  // Rewrites the file from `list` in its order; an empty list leaves no file. Raises
  // EFileError ("Cannot create file %s", ...) and leaves the old file as it was when
  // anything fails.
  void Save(const KeysList& list);

  bool BackupPending() const { return backupPending_; }

 private:
  void KeepBackup();
  void WriteStaging(const KeysList& list);

  FileSystem& fs_;
  std::string fileName_;
  bool backupPending_ = false;
};

}  // namespace ostrel
