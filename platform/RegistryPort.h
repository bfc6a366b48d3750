// The registry calls the program makes (advapi32), with the same values and result
// codes: 0 is success, anything else is the system's error code.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel {

using RegKey = std::uintptr_t;  // an HKEY; 0 is none

// The predefined root keys, as their 32-bit values.
inline constexpr RegKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;
inline constexpr RegKey kHkeyUsers = 0x80000003;
inline constexpr RegKey kHkeyCurrentConfig = 0x80000005;
inline constexpr RegKey kHkeyDynData = 0x80000006;

// Access rights.
inline constexpr std::uint32_t kKeyRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// Result codes the program looks at.
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorMoreData = 234;

class RegistryPort {
 public:
  virtual ~RegistryPort() = default;
  // RegOpenKeyExA(root, subKey, options, sam, &result).
  virtual std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t sam, RegKey& result) = 0;
  // RegCreateKeyExA(root, subKey, 0, class "", options, sam, no security attributes,
  // &result, &disposition).
  virtual std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey,
                                       std::uint32_t options, std::uint32_t sam, RegKey& result,
                                       std::uint32_t& disposition) = 0;
  // RegQueryValueExA(key, name, null, &type, data, &size): with no data buffer only the
  // type and the size are asked for. An empty name is the key's default value.
  virtual std::int32_t RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t* size) = 0;
  // RegSetValueExA(key, name, 0, type, data, size).
  virtual std::int32_t RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t size) = 0;
  virtual std::int32_t RegCloseKey(RegKey key) = 0;
};

}  // namespace ostrel
