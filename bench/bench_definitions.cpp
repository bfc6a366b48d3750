// Load, sort and save of Keys.fil with 10, 1,000 and 10,000 definitions, through the
// real file system. Target: 10,000 in under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "catalogue/DefinitionFile.h"
#include "platform/stdio/StdioFiles.h"

using namespace ostrel;

namespace {

// A file in key-text order, as Ostrel itself writes it, or in scrambled order.
std::string LayFile(std::size_t count, bool sorted) {
  auto path = std::filesystem::temp_directory_path() /
              ("ostrel-bench-" + std::to_string(count) + (sorted ? "s" : "u"));
  std::filesystem::create_directories(path);
  std::string name = (path / "Keys.fil").string();
  std::FILE* f = std::fopen(name.c_str(), "wb");
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t n = sorted ? i : (i * 7919) % count;
    TKeyRec rec = NewKeyRec(static_cast<std::int32_t>(1 + n % 20));
    char name[32];
    std::snprintf(name, sizeof name, "Definition %06zu", n);
    rec.Name.assign(name);
    rec.Group.assign(sorted ? "" : "Group " + std::to_string(n % 7));
    rec.Target.assign("C:\\Program Files\\Some Program\\program" + std::to_string(n) + ".exe");
    std::fwrite(&rec, sizeof rec, 1, f);
  }
  std::fclose(f);
  return name;
}

void LoadSortSave(benchmark::State& state) {
  const std::size_t count = static_cast<std::size_t>(state.range(0));
  const std::string name = LayFile(count, state.range(1) != 0);
  StdioFileSystem fs;
  for (auto _ : state) {
    KeysList list(PortableCollate);
    DefinitionFile file(fs, name);
    file.Load(list);
    list.Rekey();
    file.Save(list);
    if (list.Count() != count) state.SkipWithError("lost definitions");
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}

}  // namespace

// Second argument: 1 = the file is in key-text order (every file Ostrel saved), 0 = not.
BENCHMARK(LoadSortSave)
    ->ArgsProduct({{10, 1000, 10000}, {1, 0}})
    ->ArgNames({"defs", "sorted"})
    ->Unit(benchmark::kMillisecond);
