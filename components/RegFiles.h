// TRegFile: reads and writes single named values below one registry key, converting
// between the registry's value kinds and Variant, a small tagged value of our own. Every
// failure is raised as ERegFileError; a missing value is no failure and reads as null.
// Each ReadValue and WriteValue opens the key (creating it when missing), does its work
// and closes it again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryPort.h"

namespace ostrel {

// The variant kinds, by their standard type codes (256 for a string).
inline constexpr std::uint16_t varEmpty = 0;
inline constexpr std::uint16_t varNull = 1;
inline constexpr std::uint16_t varSmallint = 2;
inline constexpr std::uint16_t varInteger = 3;
inline constexpr std::uint16_t varSingle = 4;
inline constexpr std::uint16_t varDouble = 5;
inline constexpr std::uint16_t varCurrency = 6;
inline constexpr std::uint16_t varDate = 7;
inline constexpr std::uint16_t varBoolean = 11;
inline constexpr std::uint16_t varString = 256;

// Empty, null, a 16- or 32-bit integer, a single or double float, currency (a 64-bit
// integer in units of 1/10 000), a date (days as a double), a Boolean or a string. Any
// other kind (arrays, references, ...) is known only by its tag and cannot be stored.
class Variant {
 public:
  Variant() = default;  // empty
  static Variant Null() { return Variant(varNull); }
  static Variant Smallint(std::int16_t v) { return Variant(varSmallint, v); }
  static Variant Integer(std::int32_t v) { return Variant(varInteger, v); }
  static Variant Single(float v) { return Variant(varSingle, 0, v); }
  static Variant Double(double v) { return Variant(varDouble, 0, v); }
  static Variant Currency(std::int64_t tenThousandths) {
    return Variant(varCurrency, tenThousandths);
  }
  static Variant Date(double days) { return Variant(varDate, 0, days); }
  static Variant Boolean(bool v) { return Variant(varBoolean, v ? 1 : 0); }
  static Variant String(std::string v);
  static Variant Other(std::uint16_t type) { return Variant(type); }

  std::uint16_t Type() const { return type_; }
  bool IsEmpty() const { return type_ == varEmpty; }
  bool IsNull() const { return type_ == varNull; }
  // Smallint, integer, Boolean (1 for true) and currency (in 1/10 000).
  std::int64_t IntValue() const { return int_; }
  // Single, double and date.
  double RealValue() const { return real_; }
  const std::string& Text() const { return text_; }
  // What comparing the value with a text gives: a string equals the same text, an
  // integer equals its decimal form; every other kind equals no text.
  bool EqualsText(std::string_view text) const;

  bool operator==(const Variant& other) const = default;

 private:
  explicit Variant(std::uint16_t type, std::int64_t i = 0, double r = 0)
      : type_(type), int_(i), real_(r) {}
  std::uint16_t type_ = varEmpty;
  std::int64_t int_ = 0;
  double real_ = 0;
  std::string text_;
};

// The 16-byte form of a variant as REG_BINARY stores it: the tag (16-bit little-endian),
// 6 reserved bytes, then 8 bytes of payload.
using VariantRecord = std::array<std::uint8_t, 16>;
VariantRecord ToVariantRecord(const Variant& v);
// Only the kinds that hold no reference come back from a record; any other tag reads
// as empty.
Variant FromVariantRecord(const std::uint8_t* bytes);

// A value as the registry holds it.
struct RegData {
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> bytes;
};
// None when the kind cannot be written.
std::optional<RegData> VariantToRegData(const Variant& v);
// REG_SZ up to its first zero byte, REG_BINARY of exactly 16 bytes as a variant record,
// REG_DWORD as a 32-bit integer; anything else is empty.
Variant RegDataToVariant(std::uint32_t type, const std::uint8_t* data, std::size_t size);

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

  // Null when the value is missing or has no data.
  void ReadValue(const std::string& name, Variant& value);
  // Raises "Invalid variant type" for a kind that cannot be written; nothing is written.
  void WriteValue(const std::string& name, const Variant& value);

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
