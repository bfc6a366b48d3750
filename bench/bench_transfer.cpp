// Import of 1,000 definitions into a set of 1,000 through the real file system: the set
// read and checked with its companion, merged (200 already present, 200 on a hotkey a
// present definition holds, 132 on free keys, 100 macro menus naming 50 list files),
// then the one save
// and the tree and OstrelMenu made afresh, as the controller's import does. Target: at
// most 200 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/KeyTree.h"
#include "catalogue/DefinitionFile.h"
#include "catalogue/FunCatalogue.h"
#include "catalogue/Transfer.h"
#include "platform/stdio/StdioFiles.h"

using namespace ostrel;

namespace {

constexpr std::size_t kCount = 1000;

// Latin-1 both ways: enough for the bench's plain names.
class Latin1 : public CodePagePort {
 public:
  bool IsDBCSLeadByte(std::uint8_t) override { return false; }
  bool WideCharToMultiByte(std::u16string_view text, std::string& out) override {
    out.clear();
    for (char16_t c : text) {
      if (c > 0xFF) return false;
      out += static_cast<char>(c);
    }
    return true;
  }
  bool MultiByteToWideChar(std::string_view text, std::u16string& out) override {
    out.clear();
    for (char c : text) out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return true;
  }
};

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Definition n of a set: "Group <n % 30>", a key for two in five.
TKeyRec Definition(std::size_t n, const char* prefix) {
  TKeyRec rec = NewKeyRec(static_cast<std::int32_t>(1 + n % 16));
  char name[40], group[12];
  std::snprintf(name, sizeof name, "%s %04zu", prefix, n);
  std::snprintf(group, sizeof group, "Group %02zu", n % 30);
  rec.Name.assign(name);
  rec.Group.assign(group);
  rec.Target.assign("C:\\Program Files\\Tool " + std::to_string(n) + "\\tool.exe");
  if (n % 5 < 2) {
    rec.Key = static_cast<std::int32_t>(1 + n % 120);
    rec.KeyMod = static_cast<std::int32_t>(1 + (n / 120) % 15);
  }
  return rec;
}

void ImportThousandIntoThousand(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "ostrel-bench-import";
  std::filesystem::create_directories(dir / "in");
  const std::string data = dir.string() + "/", in = (dir / "in").string() + "/";
  std::string present, incoming;
  for (std::size_t n = 0; n < kCount; ++n) {
    const TKeyRec rec = Definition(n, "Present");
    present.append(reinterpret_cast<const char*>(&rec), kKeyRecSize);
  }
  for (std::size_t n = 0; n < kCount; ++n) {
    // 200 already present; 200 new ones on a combination a present one holds; the rest new.
    TKeyRec rec = Definition(n, n < 200 ? "Present" : "Incoming");
    if (n >= 200 && n < 400) {
      const TKeyRec held = Definition((n - 200) * 5, "Present");
      rec.Key = held.Key;
      rec.KeyMod = held.KeyMod;
    } else if (n >= 400 && n < 532) {
      // Keys without modifiers, which no present definition uses: these come in on.
      rec.Key = static_cast<std::int32_t>(1 + n - 400);
      rec.KeyMod = 0;
    } else {
      rec.Key = 0;
    }
    if (n >= 900) {
      rec.FunType = ftSendKeysMenu;
      rec.Target.assign("List" + std::to_string(n % 50) + ".skl");
      Write(in + "List" + std::to_string(n % 50) + ".skl", "Hello=Hello {ENTER}\r\n");
    }
    incoming.append(reinterpret_cast<const char*>(&rec), kKeyRecSize);
  }
  Write(in + "Set.fil", incoming);
  Write(in + "Set.ini",
        "[Definition]\r\nGroup=Group 01\r\nName=Incoming 0901\r\nOnly=notepad.exe\r\n");

  StdioFileSystem fs;
  Latin1 codePage;
  for (auto _ : state) {
    state.PauseTiming();
    for (const auto& entry : std::filesystem::directory_iterator(dir))
      if (entry.is_regular_file()) std::filesystem::remove(entry.path());
    Write(data + "Keys.fil", present);
    KeysList keys(PortableCollate);
    DefinitionFile file(fs, data + "Keys.fil", {}, &codePage);
    file.Load(keys);
    state.ResumeTiming();

    const IncomingSet set = ReadDefinitionSet(fs, in + "Set.fil", codePage, PortableCollate);
    const MergeReport report = MergeDefinitions(keys, set, fs, in, data);
    keys.Rekey();
    file.Save(keys);
    benchmark::DoNotOptimize(BuildTree(keys));
    benchmark::DoNotOptimize(BuildMenu(keys));
    if (report.added.size() != 800 || report.skipped.size() != 200 ||
        report.switchedOff.size() != 200)
      state.SkipWithError("the merge did not take the expected shape");
  }
}

}  // namespace

BENCHMARK(ImportThousandIntoThousand)->Unit(benchmark::kMillisecond);
