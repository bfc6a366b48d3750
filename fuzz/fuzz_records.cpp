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

  // As a file to import, the bytes are refused just when a load had to repair them;
  // completed with zeros to whole records (as the load completes a fragment), just when a
  // string is longer than its field, and else taken whole.
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Check(CheckDefinitionBytes(bytes, name).empty() == (size > 0 && !out.Damaged()));
  const std::string whole = bytes + std::string((kKeyRecSize - size % kKeyRecSize) % kKeyRecSize, '\0');
  const std::string setName = "C:\\O\\Set.fil";
  fs.files[setName] = whole;
  KeysList set(PortableCollate);
  const LoadOutcome read = DefinitionFile(fs, setName).Load(set);
  const bool refused = !CheckDefinitionBytes(whole, setName).empty();
  Check(refused == (whole.empty() || read.clampedLengths > 0));
  if (!refused) {
    const std::vector<IncomingDefinition> in = IncomingDefinitions(whole, {}, PortableCollate);
    Check(in.size() == set.Count());
    for (const IncomingDefinition& d : in) Check(set.Find(KeyText(d.rec)) != KeysList::npos);
  }
  fs.files.erase(setName);

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
