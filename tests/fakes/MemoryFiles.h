// An in-memory FileSystem for unit tests, with switches that make each operation fail
// the way a real disk can: a file that will not open, a read that breaks part-way, a
// full disk, a failed flush, a rename that is refused.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FilePort.h"

namespace ostrel::testing {

// Thrown where the process would have been killed: nothing after it runs.
struct SimulatedCrash {};

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;   // exist but cannot be opened
  std::set<std::string> uncreatable;  // cannot be created
  std::set<std::string> undeletable;  // cannot be removed
  std::set<std::string> folders;      // named without a final "\\"
  std::set<std::string> readOnly;     // folders ("...\\") where nothing can be created
  long readFailsAfter = -1;           // bytes a stream reads before it fails; -1 never
  std::size_t readChunk = 0;          // most bytes one read returns; 0 = all asked for
  long diskSpace = -1;                // bytes a stream may write; -1 unlimited
  bool commitFails = false;
  bool replaceFails = false;
  bool copyFails = false;
  std::map<std::string, int> heldFor;  // opens of a path that fail before it is let go
  int openAttempts = 0;
  // Every step that changes the disk (create, write, commit, copy, replace, remove) is
  // counted; the process "dies" right after step number `crashAfter` (1 = the first).
  long crashAfter = -1;
  long steps = 0;
  std::vector<std::string> log;  // "create x", "replace a b", ... in call order

  bool Exists(const std::string& path) override { return files.count(path) > 0; }

  std::unique_ptr<ByteFile> OpenRead(const std::string& path) override {
    ++openAttempts;
    if (heldFor.count(path) && heldFor[path]-- > 0) return nullptr;
    if (!files.count(path) || unreadable.count(path)) return nullptr;
    return std::make_unique<Stream>(*this, path, false);
  }
  std::unique_ptr<ByteFile> Create(const std::string& path) override {
    log.push_back("create " + path);
    if (uncreatable.count(path) || InReadOnly(path)) return nullptr;
    files[path].clear();
    Stepped();
    return std::make_unique<Stream>(*this, path, true);
  }
  bool Remove(const std::string& path) override {
    log.push_back("remove " + path);
    if (undeletable.count(path)) return false;
    bool ok = files.erase(path) > 0;
    Stepped();
    return ok;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    log.push_back("replace " + from + " " + to);
    if (replaceFails || !files.count(from)) return false;
    files[to] = files[from];
    files.erase(from);
    Stepped();
    return true;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    log.push_back("copy " + from + " " + to);
    if (copyFails || !files.count(from) || unreadable.count(from) || InReadOnly(to)) return false;
    files[to] = files[from];
    Stepped();
    return true;
  }
  bool FolderExists(const std::string& path) override { return folders.count(path) > 0; }
  bool CreateFolder(const std::string& path) override {
    log.push_back("mkdir " + path);
    if (InReadOnly(path) || folders.count(path)) return false;
    folders.insert(path);
    return true;
  }

 private:
  bool InReadOnly(const std::string& path) const {
    for (const std::string& folder : readOnly)
      if (path.starts_with(folder)) return true;
    return false;
  }
  void Stepped() {
    ++steps;
    if (crashAfter >= 0 && steps >= crashAfter) throw SimulatedCrash{};
  }

  class Stream : public ByteFile {
   public:
    Stream(MemoryFileSystem& fs, std::string path, bool writing)
        : fs_(fs), path_(std::move(path)), writing_(writing) {}
    bool SeekStart() override {
      pos_ = 0;
      return true;
    }
    long Read(void* buffer, std::size_t n) override {
      const std::string& data = fs_.files[path_];
      if (fs_.readFailsAfter >= 0 && static_cast<long>(pos_) >= fs_.readFailsAfter) return -1;
      std::size_t limit = data.size();
      if (fs_.readFailsAfter >= 0)
        limit = std::min(limit, static_cast<std::size_t>(fs_.readFailsAfter));
      std::size_t got = pos_ < limit ? std::min(n, limit - pos_) : 0;
      if (fs_.readChunk) got = std::min(got, fs_.readChunk);
      std::memcpy(buffer, data.data() + pos_, got);
      pos_ += got;
      return static_cast<long>(got);
    }
    long Write(const void* buffer, std::size_t n) override {
      if (!writing_) return -1;
      std::string& data = fs_.files[path_];
      std::size_t room = n;
      if (fs_.diskSpace >= 0)
        room = std::min(n, static_cast<std::size_t>(std::max(0L, fs_.diskSpace)));
      data.append(static_cast<const char*>(buffer), room);
      if (fs_.diskSpace >= 0) fs_.diskSpace -= static_cast<long>(room);
      fs_.Stepped();
      return static_cast<long>(room);
    }
    bool Commit() override {
      fs_.Stepped();
      return !fs_.commitFails;
    }

   private:
    MemoryFileSystem& fs_;
    std::string path_;
    bool writing_;
    std::size_t pos_ = 0;
  };
};

}  // namespace ostrel::testing
