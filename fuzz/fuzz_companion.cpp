// Any bytes as Keys.ini, under a Western or a Japanese code page: reading stays inside
// the text, what it gives the definitions named in it is written out and read back to
// the very same file, and loading it beside Keys.fil never loses a definition.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/CompanionFile.h"
#include "catalogue/DefinitionFile.h"
#include "fakes/FakeCodePage.h"
#include "fakes/MemoryFiles.h"
#include "fakes/Records.h"

using namespace ostrel;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Every definition the sections name, global and on.
KeysList Named(const CompanionContent& content) {
  KeysList list{PortableCollate};
  for (const CompanionSection& s : content.sections) {
    auto rec = std::make_unique<TKeyRec>(testing::MakeRec(s.name, s.group));
    const std::string key = KeyText(*rec);
    list.Add(key, std::move(rec));
  }
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  testing::FakeCodePage cp;
  cp.codePage932 = data[0] & 1;
  if (cp.codePage932) cp.ansi = {{u'\u65E5', "\x93\xfa"}, {u'\u672C', "\x96\x7b"}};
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

  const CompanionContent read = ReadCompanion(file, cp);
  KeysList list = Named(read);
  ApplyCompanion(list, read.sections);
  CompanionStamp stamp;
  stamp.Add(data, size);
  const std::string written = WriteCompanion(list, stamp, cp);
  const CompanionContent again = ReadCompanion(written, cp);
  Check(again.damage.empty());
  Check(again.stamp == stamp);
  KeysList copy = Named(read);
  ApplyCompanion(copy, again.sections);
  Check(WriteCompanion(copy, stamp, cp) == written);

  // Beside a Keys.fil of three definitions, whatever the companion holds.
  testing::MemoryFileSystem fs;
  const std::string keys = "C:\\O\\Keys.fil";
  for (const char* name : {"A", "B", "C"}) fs.files[keys] += testing::Bytes(testing::MakeRec(name));
  fs.files[CompanionName(keys)] = file;
  KeysList loaded{PortableCollate};
  DefinitionFile(fs, keys, {}, &cp).Load(loaded);
  Check(loaded.Count() == 3);
  return 0;
}
