// savehost: runs the program's own Keys.fil code against the real disk, and stops dead
// (waits to be killed) right after a chosen step, for tests/win32/SaveCrashTest.cpp.
//   savehost <Keys.fil> <job> <stop at step, -1 never> <event name>
// Jobs: "a" and "b" store the two fixed lists; "grow" loads, adds one definition and
// saves; "repair" loads a damaged file and rebuilds as the set-up does (backup first);
// "clear" loads and deletes every definition; "loop" stores a and b in turn for ever.
// A step is any call that changes the disk: create, write, flush and close, copy,
// replace, remove. The event is set when the chosen step is done ("loop": when the first
// save starts). The exit code is the number of steps taken.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "catalogue/DefinitionFile.h"
#include "catalogue/KeysList.h"
#include "catalogue/RecordStream.h"
#include "platform/win32/Win32Files.h"

namespace {

using namespace ostrel;

long g_steps = 0;
long g_stopAt = -1;
HANDLE g_event = nullptr;

void Stepped() {
  ++g_steps;
  if (g_steps != g_stopAt) return;
  SetEvent(g_event);
  Sleep(INFINITE);
}

class SteppedFile : public ByteFile {
 public:
  explicit SteppedFile(std::unique_ptr<ByteFile> inner) : inner_(std::move(inner)) {}
  bool SeekStart() override { return inner_->SeekStart(); }
  long Read(void* buffer, std::size_t n) override { return inner_->Read(buffer, n); }
  long Write(const void* buffer, std::size_t n) override {
    long put = inner_->Write(buffer, n);
    Stepped();
    return put;
  }
  bool Commit() override {
    bool ok = inner_->Commit();
    Stepped();
    return ok;
  }

 private:
  std::unique_ptr<ByteFile> inner_;
};

class SteppedFileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  std::unique_ptr<ByteFile> OpenRead(const std::string& path) override {
    return real_.OpenRead(path);
  }
  std::unique_ptr<ByteFile> Create(const std::string& path) override {
    auto file = real_.Create(path);
    Stepped();
    return file ? std::make_unique<SteppedFile>(std::move(file)) : nullptr;
  }
  bool Remove(const std::string& path) override { return After(real_.Remove(path)); }
  bool Replace(const std::string& from, const std::string& to) override {
    return After(real_.Replace(from, to));
  }
  bool Copy(const std::string& from, const std::string& to) override {
    return After(real_.Copy(from, to));
  }
  bool FolderExists(const std::string& path) override { return real_.FolderExists(path); }
  bool CreateFolder(const std::string& path) override { return real_.CreateFolder(path); }

 private:
  static bool After(bool ok) {
    Stepped();
    return ok;
  }
  Win32FileSystem real_;
};

void AddRecord(KeysList& list, int n) {
  auto rec = std::make_unique<TKeyRec>(NewKeyRec(3));
  char name[16];
  std::snprintf(name, sizeof name, "R%03d", n);
  rec->Name.assign(name);
  rec->Target.assign(std::string("C:\\notes\\") + name + ".txt");
  std::string key = KeyText(*rec);
  list.Add(key, std::move(rec));
}

// List a: 80 definitions, which cross the 64 KB write block once; list b: one more.
void FillList(KeysList& list, bool b) {
  for (int n = 0; n < (b ? 81 : 80); ++n) AddRecord(list, n);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: savehost <Keys.fil> <job> <stop at> <event>\n");
    return 200;
  }
  const std::string path = argv[1];
  const std::string job = argv[2];
  g_stopAt = std::atol(argv[3]);
  g_event = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[4]);
  SteppedFileSystem fs;
  DefinitionFile file(fs, path);
  KeysList list(PortableCollate);
  try {
    if (job == "a" || job == "b") {
      FillList(list, job == "b");
      file.Save(list);
    } else if (job == "loop") {
      KeysList a(PortableCollate), b(PortableCollate);
      FillList(a, false);
      FillList(b, true);
      SetEvent(g_event);
      for (bool second = false;; second = !second) file.Save(second ? b : a);
    } else {
      file.Load(list);
      if (job == "grow") AddRecord(list, static_cast<int>(list.Count()));
      if (job == "clear")
        while (!list.Empty()) list.Delete(0);
      list.Rekey();
      file.Save(list);
    }
  } catch (const EFileError& e) {
    std::fprintf(stderr, "savehost: %s\n", e.what());
    return 201;
  }
  return static_cast<int>(g_steps);
}
