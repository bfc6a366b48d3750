// Any bytes as Keys.fil: loading never reads past a record or crashes, every loaded
// string fits its field, and what a save writes loads back to the same definitions.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/DefinitionFile.h"
#include "fakes/MemoryFiles.h"

using namespace ostrel;

static void Check(bool ok) {
  if (!ok) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::MemoryFileSystem fs;
  const std::string name = "C:\\O\\Keys.fil";
  fs.files[name] = std::string(reinterpret_cast<const char*>(data), size);

  KeysList list(PortableCollate);
  DefinitionFile file(fs, name);
  LoadOutcome out = file.Load(list);
  Check(out.records == (size + kKeyRecSize - 1) / kKeyRecSize);
  Check(list.Count() <= out.records);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const TKeyRec& r = *list.At(i);
    Check(r.Name.len <= 40 && r.Group.len <= 10 && r.Target.len <= 255);
  }

  list.Rekey();
  file.Save(list);
  Check(fs.files.count(name) == (list.Empty() ? 0u : 1u));
  if (size > 0) Check(fs.files[name + ".bak"].size() == size || !out.Damaged());

  KeysList again(PortableCollate);
  DefinitionFile reread(fs, name);
  LoadOutcome second = reread.Load(again);
  Check(!second.Damaged());
  Check(again.Count() == list.Count());
  for (std::size_t i = 0; i < list.Count(); ++i) Check(again.KeyAt(i) == list.KeyAt(i));
  return 0;
}
