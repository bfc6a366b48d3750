// Helpers for tests that build definitions and Keys.fil images by hand.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "catalogue/KeyRec.h"

namespace ostrel::testing {

inline TKeyRec MakeRec(const std::string& name, const std::string& group = "",
                       std::int32_t funType = 1, const std::string& target = "") {
  TKeyRec rec = NewKeyRec(funType);
  rec.Name.assign(name);
  rec.Group.assign(group);
  rec.Target.assign(target);
  return rec;
}

inline std::string Bytes(const TKeyRec& rec) {
  return std::string(reinterpret_cast<const char*>(&rec), sizeof rec);
}

inline TKeyRec FromBytes(const std::string& bytes, std::size_t offset = 0) {
  TKeyRec rec;
  std::memset(&rec, 0, sizeof rec);
  std::memcpy(&rec, bytes.data() + offset, std::min(sizeof rec, bytes.size() - offset));
  return rec;
}

}  // namespace ostrel::testing
