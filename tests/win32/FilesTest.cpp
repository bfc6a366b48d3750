// Keys.fil through the real kernel32 calls: round trips, atomic replacement, and a
// file held open by another program.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "catalogue/DefinitionFile.h"
#include "catalogue/RecordStream.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Ports.h"

namespace ostrel {
namespace {

DWORD WINAPI LetGoLater(LPVOID handle) {
  Sleep(500);
  CloseHandle(static_cast<HANDLE>(handle));
  return 0;
}

class Win32Files : public ::testing::Test {
 protected:
  std::string dir;
  std::string keys;
  Win32FileSystem fs;

  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir = std::string(tmp) + "ostrel-files-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    keys = dir + "Keys.fil";
  }
  void TearDown() override {
    for (const char* f : {"Keys.fil", "Keys.fil.new", "Keys.fil.bak"})
      DeleteFileA((dir + f).c_str());
    RemoveDirectoryA(dir.c_str());
  }
  std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Another program opening Keys.fil with no sharing at all.
  HANDLE HoldKeys(DWORD access) {
    return CreateFileA(keys.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  }
  void Add(KeysList& list, const std::string& name, const std::string& group) {
    auto rec = std::make_unique<TKeyRec>(NewKeyRec(3));
    rec->Name.assign(name);
    rec->Group.assign(group);
    std::string key = KeyText(*rec);
    list.Add(key, std::move(rec));
  }
};

TEST_F(Win32Files, SaveThenLoadRoundTripsAndReplacesTheOldFile) {
  KeysList list(LocaleCollate);
  for (int i = 0; i < 200; ++i) Add(list, "Def " + std::to_string(i), i % 2 ? "Odd" : "");
  DefinitionFile file(fs, keys);
  file.Save(list);
  EXPECT_EQ(Contents(keys).size(), 200u * 844);
  EXPECT_FALSE(fs.Exists(StagingName(file.FileName())));

  list.Delete(0);
  file.Save(list);  // replaces an existing file
  EXPECT_EQ(Contents(keys).size(), 199u * 844);

  KeysList again(LocaleCollate);
  DefinitionFile reread(fs, keys);
  LoadOutcome out = reread.Load(again);
  EXPECT_FALSE(out.Damaged());
  ASSERT_EQ(again.Count(), 199u);
  for (std::size_t i = 0; i < again.Count(); ++i) EXPECT_EQ(again.KeyAt(i), list.KeyAt(i));
}

TEST_F(Win32Files, AFileHeldOpenElsewhereIsWaitedForThenReportedAndKept) {
  KeysList list(LocaleCollate);
  Add(list, "Kept", "");
  DefinitionFile file(fs, keys);
  file.Save(list);
  const std::string before = Contents(keys);
  DefinitionFile::Pause pause = [](std::uint32_t ms) { Sleep(ms); };

  // Let go after half a second: the load waits for it.
  HANDLE held = HoldKeys(GENERIC_READ | GENERIC_WRITE);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HANDLE letGo = CreateThread(nullptr, 0, LetGoLater, held, 0, nullptr);
  KeysList waited(LocaleCollate);
  DefinitionFile patient(fs, keys, pause);
  LoadOutcome out = patient.Load(waited);
  EXPECT_EQ(WaitForSingleObject(letGo, 10000), WAIT_OBJECT_0) << "the holder never let go";
  CloseHandle(letGo);
  EXPECT_FALSE(out.Damaged()) << out.error;
  EXPECT_EQ(waited.Count(), 1u);

  // Held all along: reported, and neither rewritten nor deleted until a change.
  held = HoldKeys(GENERIC_READ | GENERIC_WRITE);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  KeysList loaded(LocaleCollate);
  DefinitionFile locked(fs, keys, pause);
  out = locked.Load(loaded);
  EXPECT_TRUE(out.openFailed);
  EXPECT_EQ(out.error.rfind("Cannot open file " + keys, 0), 0u);
  EXPECT_NO_THROW(locked.Save(loaded));
  Add(loaded, "New", "");
  EXPECT_THROW(locked.Save(loaded), EFileError);  // no backup possible: left alone
  CloseHandle(held);

  EXPECT_EQ(Contents(keys), before);
  locked.Save(loaded);  // now the backup is taken first
  EXPECT_EQ(Contents(keys + ".bak"), before);
  EXPECT_EQ(Contents(keys).size(), 844u);
}

TEST_F(Win32Files, ReplacingAFileThatIsOpenFailsWithoutLosingIt) {
  KeysList list(LocaleCollate);
  Add(list, "One", "");
  DefinitionFile file(fs, keys);
  file.Save(list);
  const std::string before = Contents(keys);
  HANDLE held = HoldKeys(GENERIC_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Add(list, "Two", "");
  try {
    file.Save(list);
    ADD_FAILURE() << "replaced a file that another program holds open";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + keys);
  }
  CloseHandle(held);
  EXPECT_EQ(Contents(keys), before);
  EXPECT_FALSE(fs.Exists(StagingName(file.FileName())));
  file.Save(list);
  EXPECT_EQ(Contents(keys).size(), 2u * 844);
}

TEST(Win32Ports, ModuleFileNameIsThisProgram) {
  Win32System system;
  std::string path = system.ModuleFileName();
  EXPECT_NE(path.find("win32_tests.exe"), std::string::npos) << path;
  EXPECT_EQ(system.CurrentThreadId(), GetCurrentThreadId());
}

}  // namespace
}  // namespace ostrel
