#include "platform/win32/Win32Registry.h"

#include <windows.h>

namespace ostrel {

namespace {

// The predefined keys are 32-bit values that a 64-bit HKEY holds sign-extended; every
// other key is a handle the system gave out.
HKEY ToHkey(RegKey key) {
  if (key >= kHkeyClassesRoot && key <= kHkeyDynData)
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<DWORD>(key)))));
  return reinterpret_cast<HKEY>(key);
}

}  // namespace

std::int32_t Win32Registry::RegOpenKeyExA(RegKey root, const std::string& subKey,
                                          std::uint32_t options, std::uint32_t sam,
                                          RegKey& result) {
  HKEY opened = nullptr;
  LONG r = ::RegOpenKeyExA(ToHkey(root), subKey.c_str(), options, sam, &opened);
  if (r == ERROR_SUCCESS) result = reinterpret_cast<RegKey>(opened);
  return r;
}

std::int32_t Win32Registry::RegCreateKeyExA(RegKey root, const std::string& subKey,
                                            std::uint32_t options, std::uint32_t sam,
                                            RegKey& result, std::uint32_t& disposition) {
  HKEY created = nullptr;
  DWORD how = 0;
  char noClass[] = "";
  LONG r = ::RegCreateKeyExA(ToHkey(root), subKey.c_str(), 0, noClass, options, sam, nullptr,
                             &created, &how);
  if (r == ERROR_SUCCESS) {
    result = reinterpret_cast<RegKey>(created);
    disposition = how;
  }
  return r;
}

std::int32_t Win32Registry::RegQueryValueExA(RegKey key, const std::string& name,
                                             std::uint32_t* type, std::uint8_t* data,
                                             std::uint32_t* size) {
  DWORD t = 0, n = size ? *size : 0;
  LONG r = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &t, data, size ? &n : nullptr);
  if (type) *type = t;
  if (size) *size = n;
  return r;
}

std::int32_t Win32Registry::RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                                           const std::uint8_t* data, std::uint32_t size) {
  return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

std::int32_t Win32Registry::RegCloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

}  // namespace ostrel
