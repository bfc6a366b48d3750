// Keys.fil: every definition as a headerless run of 844-byte records, in key-text
// order. Loading never fails outright: what could be read is kept and the outcome
// says what went wrong. Saving never leaves less on disk than it found: the new
// content goes to a file beside the old one and replaces it only once complete; after
// a load that could not read the whole file, the file is not touched until the
// definitions differ from what was read, and then the original is first kept as
// "<file>.bak" (or .bak1, .bak2... so that no older backup is replaced).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
  // Less was read than the file holds.
  bool Incomplete() const { return openFailed || readFailed; }
};

class DefinitionFile {
 public:
  // Waits between attempts to open a file that another program holds for a moment.
  using Pause = std::function<void(std::uint32_t ms)>;
  static constexpr int kOpenAttempts = 21;  // the first and 20 more, 100 ms apart
  static constexpr std::uint32_t kOpenRetryMs = 100;

  // Without a pause, a file that will not open is given up at once.
  DefinitionFile(FileSystem& fs, std::string fileName, Pause pause = {});

  const std::string& FileName() const { return fileName_; }
  // The name the next backup takes (the first free one).
  std::string BackupName() const { return FreeBackupName(fs_, fileName_); }

  // Adds every record of the file to `list` (add-or-replace). A missing file loads
  // nothing; one that will not open is tried again for about 2 s. Damage of any kind
  // makes the next Save keep a backup first.
  LoadOutcome Load(KeysList& list);

  // Rewrites the file from `list` in its order; an empty list leaves no file. Raises
  // EFileError ("Cannot create file %s", ...) and leaves the old file as it was when
  // anything fails. After an incomplete load, a list that still holds just what was
  // read is not stored (the file holds that and more) and the file is left alone.
  void Save(const KeysList& list);

  bool BackupPending() const { return backupPending_; }

 private:
  void KeepBackup();

  FileSystem& fs_;
  std::string fileName_;
  Pause pause_;
  bool backupPending_ = false;
  bool incomplete_ = false;   // the last load read less than the file holds
  std::string loadedImage_;  // what that load read, as Save would write it
};

}  // namespace ostrel
