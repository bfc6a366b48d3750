// What the program needs of the file system: whole-file operations and a byte stream.
// Every operation reports failure instead of throwing; callers decide what to show.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace ostrel {

class ByteFile {
 public:
  virtual ~ByteFile() = default;
  virtual bool SeekStart() = 0;
  // Reads up to n bytes: the count read, 0 at the end of the file, -1 on an error.
  virtual long Read(void* buffer, std::size_t n) = 0;
  // Writes n bytes: the count written (less than n on a short write), -1 on an error.
  virtual long Write(const void* buffer, std::size_t n) = 0;
  // Flushes what was written to the disk and closes the file; false if that failed.
  virtual bool Commit() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool Exists(const std::string& path) = 0;
  // An existing file opened for reading, or null when it cannot be opened.
  virtual std::unique_ptr<ByteFile> OpenRead(const std::string& path) = 0;
  // A new or truncated file opened for writing, or null when it cannot be created.
  virtual std::unique_ptr<ByteFile> Create(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Puts `from` in the place of `to` in one step, replacing `to` if it exists.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  // Copies `from` over `to`; false if any part of it failed.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  // Folders, named without a final "\". Whether one exists; and making one whose parent
  // exists: true only when it was made now (false when it was there already or could not
  // be made).
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
};

// The name a new backup of `path` takes: "<path>.bak", or "<path>.bak1", "<path>.bak2"...
// when those are taken, so that a backup never replaces an older one; empty when every
// name up to "<path>.bak9999" is taken.
inline std::string FreeBackupName(FileSystem& fs, const std::string& path) {
  const std::string base = path + ".bak";
  if (!fs.Exists(base)) return base;
  for (int n = 1; n < 10000; ++n) {
    std::string name = base + std::to_string(n);
    if (!fs.Exists(name)) return name;
  }
  return {};
}

// Before a damaged file is rewritten, it is copied to a free backup name. Empty when
// that is done; otherwise the name that could not be written, for the user's message.
std::string CopyToFreeBackup(FileSystem& fs, const std::string& path);

// Every file the program writes is replaced whole, so that a crash or a full disk
// leaves either the old content or the new one. Stage, flush, replace: `write` puts the
// new content into the staging file StagingName(path) and returns false if any write
// failed; the staging file is flushed and closed, and only then takes the place of
// `path` in one step. False on any failure, and then `path` is as it was and the
// staging file is gone.
std::string StagingName(const std::string& path);
bool StageAndReplace(FileSystem& fs, const std::string& path,
                     const std::function<bool(ByteFile&)>& write);

// Writes all n bytes, going on after a short write; false once a write fails or puts
// nothing.
bool WriteAll(ByteFile& file, const void* data, std::size_t n);

// Appends the rest of `file` to `bytes`; false once a read fails (what was read before
// stays in `bytes`).
bool ReadToEnd(ByteFile& file, std::string& bytes);

}  // namespace ostrel
