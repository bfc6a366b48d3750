// Fakes of the option stores: an in-memory registry that behaves like the real one
// where the program relies on it (keys created path by path, names without regard to
// case, the size query, result codes, roots an ordinary user may not write), and a link
// writer that puts its links into a MemoryFileSystem.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fakes/MemoryFiles.h"
#include "fakes/RecordingPorts.h"
#include "platform/RegistryPort.h"
#include "platform/ShellLinkPort.h"

namespace ostrel::testing {

inline std::string RootName(RegKey root) {
  switch (root) {
    case kHkeyClassesRoot:
      return "HKCR";
    case kHkeyCurrentUser:
      return "HKCU";
    case kHkeyLocalMachine:
      return "HKLM";
    case kHkeyUsers:
      return "HKU";
    case kHkeyCurrentConfig:
      return "HKCC";
    case kHkeyDynData:
      return "HKDD";
    default:
      return "";
  }
}

class FakeRegistry : public RegistryPort {
 public:
  explicit FakeRegistry(CallLog& log) : log_(log) {}

  struct Value {
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
  };
  // Full key path ("HKLM\Software\...", lower case) -> value name (lower case) -> value.
  std::map<std::string, std::map<std::string, Value>> keys;
  // Roots where full access is refused (ERROR_ACCESS_DENIED), as for an ordinary user
  // under HKLM; reading with KEY_READ still works there.
  std::set<std::string> readOnlyRoots;
  // Result codes forced on the next calls of a kind (0 = behave normally).
  std::int32_t failCreate = 0, failQuery = 0, failSet = 0, failClose = 0;
  int openHandles = 0;

  static std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  static std::string Path(const std::string& root, const std::string& sub) {
    return Lower(sub.empty() ? root : root + "\\" + sub);
  }

  // Test helpers.
  void SetString(const std::string& key, const std::string& name, const std::string& text,
                 std::uint32_t type = kRegSz) {
    Value v{type, std::vector<std::uint8_t>(text.begin(), text.end())};
    v.data.push_back(0);
    AddKey(key);
    keys[Lower(key)][Lower(name)] = v;
  }
  void SetRaw(const std::string& key, const std::string& name, std::uint32_t type,
              std::vector<std::uint8_t> data) {
    AddKey(key);
    keys[Lower(key)][Lower(name)] = Value{type, std::move(data)};
  }
  const Value* Find(const std::string& key, const std::string& name) const {
    auto k = keys.find(Lower(key));
    if (k == keys.end()) return nullptr;
    auto v = k->second.find(Lower(name));
    return v == k->second.end() ? nullptr : &v->second;
  }
  // The value as a string, or "<none>" when missing, "<type n>" when not REG_SZ.
  std::string Text(const std::string& key, const std::string& name) const {
    const Value* v = Find(key, name);
    if (!v) return "<none>";
    if (v->type != kRegSz) return "<type " + std::to_string(v->type) + ">";
    std::string s(v->data.begin(), v->data.end());
    return s.substr(0, s.find('\0'));
  }
  bool HasKey(const std::string& key) const { return keys.count(Lower(key)) > 0; }

  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t,
                             std::uint32_t sam, RegKey& result) override {
    const std::string rootName = RootName(root);
    log_.Add("RegOpenKeyEx " + rootName + "\\" + subKey);
    if (rootName.empty() || rootName == "HKDD") return 6;  // ERROR_INVALID_HANDLE
    if (sam == kKeyAllAccess && readOnlyRoots.count(rootName)) return kErrorAccessDenied;
    const std::string path = Path(rootName, subKey);
    if (path != Lower(rootName) && !keys.count(path)) return kErrorFileNotFound;
    result = NewHandle(path);
    return 0;
  }
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t,
                               std::uint32_t sam, RegKey& result,
                               std::uint32_t& disposition) override {
    const std::string rootName = RootName(root);
    log_.Add("RegCreateKeyEx " + rootName + "\\" + subKey);
    if (std::int32_t code = std::exchange(failCreate, 0)) return code;
    if (rootName.empty()) return 6;
    if (sam == kKeyAllAccess && readOnlyRoots.count(rootName)) return kErrorAccessDenied;
    if (!subKey.empty() && subKey.front() == '\\') return 161;  // ERROR_BAD_PATHNAME
    const std::string path = Path(rootName, subKey);
    disposition = keys.count(path) ? 2 : 1;
    AddKey(path);
    result = NewHandle(path);
    return 0;
  }
  std::int32_t RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size) override {
    log_.Add("RegQueryValueEx " + name + (data ? " data" : " size"));
    if (std::int32_t code = std::exchange(failQuery, 0)) return code;
    auto h = handles_.find(key);
    if (h == handles_.end()) return 6;
    auto& values = keys[h->second];
    auto v = values.find(Lower(name));
    if (v == values.end()) return kErrorFileNotFound;
    if (type) *type = v->second.type;
    const auto actual = static_cast<std::uint32_t>(v->second.data.size());
    if (data) {
      if (!size || *size < actual) {
        if (size) *size = actual;
        return kErrorMoreData;
      }
      std::copy(v->second.data.begin(), v->second.data.end(), data);
    }
    if (size) *size = actual;
    return 0;
  }
  std::int32_t RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) override {
    log_.Add("RegSetValueEx " + name + " " + std::to_string(type) + " " + std::to_string(size));
    if (std::int32_t code = std::exchange(failSet, 0)) return code;
    auto h = handles_.find(key);
    if (h == handles_.end()) return 6;
    keys[h->second][Lower(name)] = Value{type, std::vector<std::uint8_t>(data, data + size)};
    return 0;
  }
  std::int32_t RegCloseKey(RegKey key) override {
    log_.Add("RegCloseKey");
    if (handles_.erase(key)) --openHandles;
    return std::exchange(failClose, 0);
  }

 private:
  void AddKey(const std::string& full) {
    const std::string path = Lower(full);
    for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
      keys[path.substr(0, at)];
    keys[path];
  }
  RegKey NewHandle(const std::string& path) {
    handles_[next_] = path;
    ++openHandles;
    return next_++;
  }

  CallLog& log_;
  std::map<RegKey, std::string> handles_;
  RegKey next_ = 0x1000;
};

// Writes links as files of the MemoryFileSystem and remembers what each holds.
class FakeShellLinks : public ShellLinkPort {
 public:
  FakeShellLinks(CallLog& log, MemoryFileSystem& files) : log_(log), files_(files) {}
  std::map<std::string, ShellLinkData> links;
  std::vector<std::string> folders;
  bool cannotMakeLinks = false;

  bool CreateDirectoryA(const std::string& path) override {
    log_.Add("CreateDirectory " + path);
    folders.push_back(path);
    return true;
  }
  bool SaveShellLink(const std::string& linkPath, const ShellLinkData& link) override {
    log_.Add("SaveShellLink " + linkPath + " -> " + link.path);
    if (cannotMakeLinks) return false;
    links[linkPath] = link;
    files_.files[linkPath] = "L";
    return true;
  }

 private:
  CallLog& log_;
  MemoryFileSystem& files_;
};

inline const std::string kShellFolders =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const std::string kMachineOptions = "HKLM\\Software\\Tessaly\\Ostrel\\1.0";
inline const std::string kUserOptions = "HKCU\\Software\\Tessaly\\Ostrel\\1.0";

}  // namespace ostrel::testing
