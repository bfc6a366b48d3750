// TRegFile: reads and writes single named text values (the options' "0" and "1") below
// one registry key. Every failure is raised as ERegFileError; a missing value is no
// failure and reads as none. Each ReadValue and WriteValue opens the key (creating it
// when missing), does its work and closes it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/RegistryPort.h"

namespace ostrel {

// The text of a value as the registry holds it: REG_SZ up to its first zero byte, REG_DWORD
// (a value set by hand) as its decimal form, anything else as an empty text.
std::string RegDataText(std::uint32_t type, const std::uint8_t* data, std::size_t size);

// A value name split into a key part (below the component's Key, with a leading
// backslash, or empty) and the value's own name. The last backslash that is not one of a
// doubled pair separates them; a doubled pair stays in the name as it is.
struct ValueNameParts {
  std::string keyPart;
  std::string name;
};
ValueNameParts SplitValueName(const std::string& name);

class ERegFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TRootKey : std::uint8_t {
  hkClassesRoot,
  hkCurrentUser,
  hkLocalMachine,
  hkUsers,
  hkCurrentConfig,
  hkDynData,
};
RegKey RootKeyHandle(TRootKey root);

class TRegFile {
 public:
  explicit TRegFile(RegistryPort& port) : port_(port) {}
  virtual ~TRegFile();
  TRegFile(const TRegFile&) = delete;
  TRegFile& operator=(const TRegFile&) = delete;

  TRootKey RootKey = hkCurrentUser;
  // The base key path below the root, without a leading backslash.
  std::string Key;

  // Opens SubKey (OpenOnly, an empty SubKey or the dyn-data root) or opens-or-creates it,
  // with full access, and keeps it open. A failed plain open returns false when OpenOnly
  // is set and raises "Can't open a Key" otherwise.
  virtual bool OpenKey(const std::string& subKey, bool openOnly);
  virtual void CloseKey();

  // None when the value is missing or has no data.
  std::optional<std::string> ReadValue(const std::string& name);
  // Stores `text` as REG_SZ.
  void WriteValue(const std::string& name, const std::string& text);

  // On the open key: the value's size and type, or -1 when the query fails.
  std::int32_t GetDataSize(const std::string& name, std::uint32_t& type);
  // Reads at most `size` bytes; `size` becomes the count read. Returns the value's type.
  std::uint32_t ReadData(const std::string& name, std::uint8_t* buffer, std::uint32_t& size);
  void WriteData(const std::string& name, const std::uint8_t* buffer, std::uint32_t type,
                 std::uint32_t size);
  // Keeps the code as LastError and raises "Reg Error: %8.8X" unless it is 0.
  void CheckResult(std::int32_t code);

  std::uint32_t LastError() const { return lastError_; }
  RegKey CurrentKey() const { return handle_; }

 private:
  std::string FullKeyPath(const std::string& keyPart) const;
  void CloseQuietly();

  RegistryPort& port_;
  RegKey handle_ = 0;
  std::uint32_t lastError_ = 0;
};

}  // namespace ostrel
