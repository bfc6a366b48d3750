// Keys.fil: every definition as a headerless run of 844-byte records, in key-text
// order. Loading never fails outright: what could be read is kept and the outcome
// says what went wrong. Saving never leaves less on disk than it found: the new
// content goes to a file beside the old one and replaces it only once complete; after
// a load that could not read the whole file, the file is not touched until the
// definitions differ from what was read, and then the original is first kept as
// "<file>.bak" (or .bak1, .bak2... so that no older backup is replaced).
//
// Given the code page, the file keeps its companion Keys.ini (catalogue/CompanionFile.h)
// in step: the conditions are loaded after the records and saved with them. A save of
// the pair writes the new companion whole as "Keys.ini.next" first, then replaces
// Keys.fil, then renames Keys.ini.next over Keys.ini. Each companion carries the stamp
// of the Keys.fil content it was written for, so a load after a crash between the two
// replacements finds Keys.ini stamped for the old records and Keys.ini.next for the
// records on disk, takes the latter and finishes the save: no definition ever gets the
// conditions of another that had its name before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "catalogue/CompanionFile.h"
#include "catalogue/KeysList.h"
#include "platform/CodePagePort.h"
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
  // Keys.ini could not be read whole: kept as a backup before it is rewritten. The text
  // for the user is in `notice`.
  bool companionDamaged = false;

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

  // Without a pause, a file that will not open is given up at once. Without a code page
  // the companion is neither read nor written.
  DefinitionFile(FileSystem& fs, std::string fileName, Pause pause = {},
                 CodePagePort* codePage = nullptr);

  const std::string& FileName() const { return fileName_; }
  const std::string& CompanionFileName() const { return companionName_; }
  CodePagePort* CodePage() const { return codePage_; }
  // Where a save stages the companion until Keys.fil is replaced.
  std::string CompanionNextName() const { return companionName_ + ".next"; }
  // The name the next backup takes (the first free one).
  std::string BackupName() const { return FreeBackupName(fs_, fileName_); }

  // Adds every record of the file to `list` (add-or-replace), then gives the definitions
  // their conditions from the companion. A missing file loads nothing; one that will not
  // open is tried again for about 2 s. Damage of any kind makes the next Save keep a
  // backup first.
  LoadOutcome Load(KeysList& list);

  // Rewrites the file from `list` in its order, and the companion after it when any
  // definition has conditions or a companion exists; an empty list leaves no file. Raises
  // EFileError ("Cannot create file %s", ...) and leaves the old file as it was when
  // anything fails. After an incomplete load, a list that still holds just what was
  // read is not stored (the file holds that and more) and the file is left alone.
  void Save(const KeysList& list);

  bool BackupPending() const { return backupPending_; }

 private:
  void KeepBackup();
  std::unique_ptr<ByteFile> OpenWithRetries(const std::string& path);
  void LoadRecords(KeysList& list, CompanionStamp& stamp, LoadOutcome& out);
  // Reads the companion after the records; `records` is the stamp of the bytes read,
  // which only counts when they were read whole.
  void LoadCompanion(KeysList& list, const CompanionStamp& records, bool recordsWhole,
                     LoadOutcome& out);
  // The whole content of a file; false when it would not open or a read failed.
  bool ReadWhole(const std::string& path, std::string& bytes);
  std::string PairImage(const KeysList& list) const;

  FileSystem& fs_;
  std::string fileName_;
  std::string companionName_;
  Pause pause_;
  CodePagePort* codePage_;
  bool backupPending_ = false;
  bool companionBackupPending_ = false;
  bool incomplete_ = false;   // the last load read less than the files hold
  std::string loadedImage_;  // what that load read, as Save would write it
};

}  // namespace ostrel
