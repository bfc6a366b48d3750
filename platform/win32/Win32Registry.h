// advapi32's registry calls behind RegistryPort.
#pragma once

#include "platform/RegistryPort.h"

namespace ostrel {

class Win32Registry : public RegistryPort {
 public:
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t sam, RegKey& result) override;
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t sam, RegKey& result,
                               std::uint32_t& disposition) override;
  std::int32_t RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size) override;
  std::int32_t RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) override;
  std::int32_t RegCloseKey(RegKey key) override;
};

}  // namespace ostrel
