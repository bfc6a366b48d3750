// Any bytes as Keys.ini, under a Western or a Japanese code page: reading stays inside
// the text, what it gives the definitions it names is written and read back to the very
// same file, and loading it beside Keys.fil never loses a definition.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/CompanionFile.h"
#include "catalogue/DefinitionFile.h"
#include "fakes/FakeCodePage.h"
#include "fakes/MemoryFiles.h"
#include "fakes/Records.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  testing::FakeCodePage cp;
  cp.codePage932 = data[0] & 1;
  if (cp.codePage932) cp.ansi = {{u'\u65E5', "\x93\xfa"}, {u'\u672C', "\x96\x7b"}};
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  const CompanionContent read = ReadCompanion(file, cp);
  // Every definition the sections name, given what they say.
  auto named = [&read](const std::vector<CompanionSection>& sections) {
    KeysList list{PortableCollate};
    for (const CompanionSection& s : read.sections) {
      auto rec = std::make_unique<TKeyRec>(testing::MakeRec(s.name, s.group));
      list.Add(KeyText(*rec), std::move(rec));
    }
    ApplyCompanion(list, sections);
    return list;
  };
  CompanionStamp stamp;
  stamp.Add(data, size);
  const std::string written = WriteCompanion(named(read.sections), stamp, cp);
  const CompanionContent again = ReadCompanion(written, cp);
  if (!again.damage.empty() || again.stamp != stamp) std::abort();
  if (WriteCompanion(named(again.sections), stamp, cp) != written) std::abort();

  testing::MemoryFileSystem fs;
  fs.files["Keys.fil"] = testing::Bytes(testing::MakeRec("A")) + testing::Bytes(testing::MakeRec("B"));
  fs.files["Keys.ini"] = file;
  KeysList loaded{PortableCollate};
  DefinitionFile(fs, "Keys.fil", {}, &cp).Load(loaded);
  if (loaded.Count() != 2) std::abort();
  return 0;
}
