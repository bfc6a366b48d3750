// Any bytes as Keys.fil: loading never reads past a record or crashes, every loaded
// string fits its field, and what a save writes loads back to the same definitions. The
// same bytes as a file to import are refused exactly when they are damaged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/DefinitionFile.h"
#include "catalogue/Transfer.h"
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

  // The import refuses just what no save of Ostrel's writes, and takes the rest whole.
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const bool refused = !CheckDefinitionBytes(bytes, name).empty();
  Check(refused == (size == 0 || out.fragment || out.clampedLengths > 0));
  if (!refused) {
    const std::vector<IncomingDefinition> in = IncomingDefinitions(bytes, {}, PortableCollate);
    Check(in.size() == list.Count());
    for (const IncomingDefinition& d : in) Check(list.Find(KeyText(d.rec)) != KeysList::npos);
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
