// Any sequence of adds, deletes, in-place renames and re-keyings: KeysList stays in
// collation order, never holds two entries equal ignoring case unless a re-keying made
// them, and every key it holds can be found.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/KeysList.h"

using namespace ostrel;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t Byte() {
    if (!size) return 0;
    --size;
    return *data++;
  }
  // A short text from a small alphabet, so that equal keys and case pairs are common.
  std::string Text() {
    static const char kAlphabet[] = "aAbB \x0B\t1!\xE9\xC9";
    std::string s(Byte() % 5, ' ');
    for (char& c : s) c = kAlphabet[Byte() % (sizeof kAlphabet - 1)];
    return s;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  KeysList list(PortableCollate);
  bool renamed = false;  // only a rename in place can make two equal keys
  while (in.size) {
    switch (in.Byte() % 4) {
      case 0: {
        auto rec = std::make_unique<TKeyRec>(NewKeyRec(1));
        rec->Name.assign(in.Text());
        rec->Group.assign(in.Text());
        std::string key = KeyText(*rec);
        std::size_t before = list.Count();
        bool present = list.Find(key) != KeysList::npos;
        TKeyRec* added = rec.get();
        std::size_t at = list.Add(key, std::move(rec));
        Check(list.Count() == before + (present ? 0 : 1));
        Check(list.At(at) == added);
        break;
      }
      case 1:
        if (!list.Empty()) list.Delete(in.Byte() % list.Count());
        break;
      case 2:
        if (!list.Empty()) {
          list.At(in.Byte() % list.Count())->Name.assign(in.Text());
          renamed = true;
        }
        break;
      case 3:
        list.Rekey();
        for (std::size_t i = 0; i < list.Count(); ++i) Check(list.KeyAt(i) == KeyText(*list.At(i)));
        break;
    }
  }
  list.Rekey();
  for (std::size_t i = 1; i < list.Count(); ++i) {
    int order = PortableCollate(list.KeyAt(i - 1), list.KeyAt(i));
    Check(order < 0 || (order == 0 && renamed));
  }
  for (std::size_t i = 0; i < list.Count(); ++i) {
    std::ptrdiff_t found = list.Find(list.KeyAt(i));
    Check(found != KeysList::npos);
    Check(PortableCollate(list.KeyAt(static_cast<std::size_t>(found)), list.KeyAt(i)) == 0);
    Check(list.IndexOf(list.At(i)) == static_cast<std::ptrdiff_t>(i));
  }
  return 0;
}
