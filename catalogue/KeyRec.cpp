#include "catalogue/KeyRec.h"

#include <cstring>

namespace ostrel {

TKeyRec NewKeyRec(std::int32_t funType) {
  TKeyRec rec;
  std::memset(&rec, 0, sizeof rec);
  rec.FunType = funType;
  rec.ShowOnMenu = 1;
  rec.Reserved = 1;
  return rec;
}

void CopyKeyRec(const TKeyRec& from, TKeyRec& to) {
  to.Name.assign(from.Name.str());
  to.Key = from.Key;
  to.KeyMod = from.KeyMod;
  to.Group.assign(from.Group.str());
  to.FunType = from.FunType;
  to.Target.assign(from.Target.str());
  to.Parms.assign(from.Parms.str());
  to.Dir.assign(from.Dir.str());
  to.ShowOnMenu = from.ShowOnMenu;
  to.Reserved = from.Reserved;
}

std::string TrimText(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) < 33; };
  std::size_t b = 0, e = text.size();
  while (b < e && blank(text[b])) ++b;
  while (e > b && blank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::string KeyText(const TKeyRec& rec) {
  return TrimText(rec.Group.str()) + kKeySeparator + TrimText(rec.Name.str());
}

}  // namespace ostrel
