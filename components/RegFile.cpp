#include "components/RegFile.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace ostrel {

std::string RegDataText(std::uint32_t type, const std::uint8_t* data, std::size_t size) {
  switch (type) {
    case kRegSz:
      return std::string(data, std::find(data, data + size, std::uint8_t{0}));
    case kRegDword:
      if (size < 4) return {};
      return std::to_string(
          static_cast<std::int32_t>(std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                                    std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24));
    default:
      return {};
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

std::optional<std::string> TRegFile::ReadValue(const std::string& name) {
  std::optional<std::string> value;
  const ValueNameParts parts = SplitValueName(name);
  OpenKey(FullKeyPath(parts.keyPart), false);
  try {
    std::uint32_t type = kRegNone;
    const std::int32_t size = GetDataSize(parts.name, type);
    if (size > 0) {
      std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size));
      std::uint32_t got = static_cast<std::uint32_t>(size);
      type = ReadData(parts.name, buffer.data(), got);
      value = RegDataText(type, buffer.data(), got);
    }
  } catch (...) {
    CloseQuietly();
    throw;
  }
  CloseKey();
  return value;
}

void TRegFile::WriteValue(const std::string& name, const std::string& text) {
  const ValueNameParts parts = SplitValueName(name);
  OpenKey(FullKeyPath(parts.keyPart), false);
  try {
    // With its terminating zero, as REG_SZ is stored.
    WriteData(parts.name, reinterpret_cast<const std::uint8_t*>(text.c_str()), kRegSz,
              static_cast<std::uint32_t>(text.size() + 1));
  } catch (...) {
    CloseQuietly();
    throw;
  }
  CloseKey();
}

}  // namespace ostrel
