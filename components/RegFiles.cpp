#include "components/RegFiles.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <limits>

namespace ostrel {

namespace {

template <typename T>
void PutLE(std::uint8_t* at, T value) {
  auto bits = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

template <typename T>
T GetLE(const std::uint8_t* at) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) bits |= std::uint64_t{at[i]} << (8 * i);
  return static_cast<T>(bits);
}

constexpr std::size_t kPayload = 8;

}  // namespace

Variant Variant::String(std::string v) {
  Variant s(varString);
  s.text_ = std::move(v);
  return s;
}

bool Variant::EqualsText(std::string_view text) const {
  switch (type_) {
    case varString:
      return text_ == text;
    case varSmallint:
    case varInteger:
      return std::to_string(int_) == text;
    default:
      return false;
  }
}

VariantRecord ToVariantRecord(const Variant& v) {
  VariantRecord r{};
  PutLE<std::uint16_t>(r.data(), v.Type());
  std::uint8_t* payload = r.data() + kPayload;
  switch (v.Type()) {
    case varSmallint:
      PutLE<std::int16_t>(payload, static_cast<std::int16_t>(v.IntValue()));
      break;
    case varInteger:
      PutLE<std::int32_t>(payload, static_cast<std::int32_t>(v.IntValue()));
      break;
    case varSingle:
      PutLE<std::uint32_t>(payload,
                           std::bit_cast<std::uint32_t>(static_cast<float>(v.RealValue())));
      break;
    case varDouble:
    case varDate:
      PutLE<std::uint64_t>(payload, std::bit_cast<std::uint64_t>(v.RealValue()));
      break;
    case varCurrency:
      PutLE<std::int64_t>(payload, v.IntValue());
      break;
    case varBoolean:  // a 16-bit Boolean: all bits set for true
      PutLE<std::uint16_t>(payload, v.IntValue() ? 0xFFFF : 0);
      break;
    default:
      break;
  }
  return r;
}

Variant FromVariantRecord(const std::uint8_t* bytes) {
  const std::uint8_t* payload = bytes + kPayload;
  switch (GetLE<std::uint16_t>(bytes)) {
    case varNull:
      return Variant::Null();
    case varSmallint:
      return Variant::Smallint(GetLE<std::int16_t>(payload));
    case varInteger:
      return Variant::Integer(GetLE<std::int32_t>(payload));
    case varSingle:
      return Variant::Single(std::bit_cast<float>(GetLE<std::uint32_t>(payload)));
    case varDouble:
      return Variant::Double(std::bit_cast<double>(GetLE<std::uint64_t>(payload)));
    case varDate:
      return Variant::Date(std::bit_cast<double>(GetLE<std::uint64_t>(payload)));
    case varCurrency:
      return Variant::Currency(GetLE<std::int64_t>(payload));
    case varBoolean:
      return Variant::Boolean(GetLE<std::uint16_t>(payload) != 0);
    default:
      // A string or any other kind would hold a reference into another process's
      // memory: nothing of it can be trusted.
      return Variant();
  }
}

std::optional<RegData> VariantToRegData(const Variant& v) {
  RegData d;
  switch (v.Type()) {
    case varSmallint:
    case varInteger:
    case varBoolean: {
      // A Boolean as an integer is -1 for true, 0 for false.
      std::int64_t n = v.Type() == varBoolean ? (v.IntValue() ? -1 : 0) : v.IntValue();
      d.type = kRegDword;
      d.bytes.resize(4);
      PutLE<std::int32_t>(d.bytes.data(), static_cast<std::int32_t>(n));
      return d;
    }
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate: {
      VariantRecord r = ToVariantRecord(v);
      d.type = kRegBinary;
      d.bytes.assign(r.begin(), r.end());
      return d;
    }
    case varString:
      d.type = kRegSz;
      d.bytes.assign(v.Text().begin(), v.Text().end());
      d.bytes.push_back(0);
      return d;
    default:
      return std::nullopt;
  }
}

Variant RegDataToVariant(std::uint32_t type, const std::uint8_t* data, std::size_t size) {
  switch (type) {
    case kRegSz: {
      const std::uint8_t* end = std::find(data, data + size, std::uint8_t{0});
      return Variant::String(std::string(data, end));
    }
    case kRegBinary:
      if (size == sizeof(VariantRecord)) return FromVariantRecord(data);
      return Variant();
    case kRegDword:
      if (size >= 4) return Variant::Integer(GetLE<std::int32_t>(data));
      return Variant();
    default:
      return Variant();
  }
}

ValueNameParts SplitValueName(const std::string& name) {
  std::size_t i = name.size();
  while (i > 0) {
    --i;
    if (name[i] != '\\') continue;
    if (i > 0 && name[i - 1] == '\\') {  // one of a doubled pair: skip both
      --i;
      continue;
    }
    // A single backslash in front of the name alone means the base key itself.
    if (i == 0) return {"", name.substr(1)};
    return {"\\" + name.substr(0, i), name.substr(i + 1)};
  }
  return {"", name};
}

RegKey RootKeyHandle(TRootKey root) {
  switch (root) {
    case hkClassesRoot:
      return kHkeyClassesRoot;
    case hkCurrentUser:
      return kHkeyCurrentUser;
    case hkLocalMachine:
      return kHkeyLocalMachine;
    case hkUsers:
      return kHkeyUsers;
    case hkCurrentConfig:
      return kHkeyCurrentConfig;
    case hkDynData:
      return kHkeyDynData;
  }
  return kHkeyCurrentUser;
}

TRegFile::~TRegFile() { CloseQuietly(); }

void TRegFile::CheckResult(std::int32_t code) {
  lastError_ = static_cast<std::uint32_t>(code);
  if (code == 0) return;
  char text[32];
  std::snprintf(text, sizeof text, "Reg Error: %8.8X", static_cast<unsigned>(lastError_));
  throw ERegFileError(text);
}

bool TRegFile::OpenKey(const std::string& subKey, bool openOnly) {
  CloseQuietly();
  const RegKey root = RootKeyHandle(RootKey);
  if (openOnly || subKey.empty() || RootKey == hkDynData) {
    RegKey opened = 0;
    const bool ok = port_.RegOpenKeyExA(root, subKey, 0, kKeyAllAccess, opened) == 0;
    if (ok) handle_ = opened;
    if (!ok && !openOnly) throw ERegFileError("Can't open a Key");
    return ok;
  }
  RegKey created = 0;
  std::uint32_t disposition = 0;
  CheckResult(port_.RegCreateKeyExA(root, subKey, 0, kKeyAllAccess, created, disposition));
  handle_ = created;
  return true;
}

void TRegFile::CloseKey() {
  if (!handle_) return;
  const RegKey key = handle_;
  handle_ = 0;
  CheckResult(port_.RegCloseKey(key));
}

void TRegFile::CloseQuietly() {
  if (!handle_) return;
  port_.RegCloseKey(handle_);
  handle_ = 0;
}

std::int32_t TRegFile::GetDataSize(const std::string& name, std::uint32_t& type) {
  std::uint32_t size = 0;
  type = kRegNone;
  if (port_.RegQueryValueExA(handle_, name, &type, nullptr, &size) != 0) return -1;
  return static_cast<std::int32_t>(
      std::min<std::uint32_t>(size, std::numeric_limits<std::int32_t>::max()));
}

std::uint32_t TRegFile::ReadData(const std::string& name, std::uint8_t* buffer,
                                 std::uint32_t& size) {
  std::uint32_t type = kRegNone;
  std::uint32_t got = size;
  CheckResult(port_.RegQueryValueExA(handle_, name, &type, buffer, &got));
  size = std::min(got, size);
  return type;
}

void TRegFile::WriteData(const std::string& name, const std::uint8_t* buffer, std::uint32_t type,
                         std::uint32_t size) {
  CheckResult(port_.RegSetValueExA(handle_, name, type, buffer, size));
}

std::string TRegFile::FullKeyPath(const std::string& keyPart) const {
  // Below an empty base the key part stands alone, without its separator.
  if (Key.empty() && !keyPart.empty()) return keyPart.substr(1);
  return Key + keyPart;
}

void TRegFile::ReadValue(const std::string& name, Variant& value) {
  value = Variant::Null();
  const ValueNameParts parts = SplitValueName(name);
  OpenKey(FullKeyPath(parts.keyPart), false);
  try {
    std::uint32_t type = kRegNone;
    const std::int32_t size = GetDataSize(parts.name, type);
    if (size > 0) {
      std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size));
      std::uint32_t got = static_cast<std::uint32_t>(size);
      type = ReadData(parts.name, buffer.data(), got);
      value = RegDataToVariant(type, buffer.data(), got);
    }
  } catch (...) {
    CloseQuietly();
    throw;
  }
  CloseKey();
}

void TRegFile::WriteValue(const std::string& name, const Variant& value) {
  const ValueNameParts parts = SplitValueName(name);
  OpenKey(FullKeyPath(parts.keyPart), false);
  try {
    std::optional<RegData> data = VariantToRegData(value);
    if (!data) throw ERegFileError("Invalid variant type");
    WriteData(parts.name, data->bytes.data(), data->type,
              static_cast<std::uint32_t>(data->bytes.size()));
  } catch (...) {
    CloseQuietly();
    throw;
  }
  CloseKey();
}

}  // namespace ostrel
