#include "components/ProgLink.h"

#include <algorithm>
#include <vector>

#include "catalogue/KeyRec.h"
#include "platform/Paths.h"

namespace ostrel {

std::optional<std::string> TProgLink::ProgramsFolder() {
  RegKey key = 0;
  if (registry_.RegOpenKeyExA(kHkeyCurrentUser, kShellFoldersKey, 0, kKeyRead, key) != 0)
    return std::nullopt;
  std::optional<std::string> folder;
  std::uint32_t type = kRegNone, size = 0;
  if (registry_.RegQueryValueExA(key, "Programs", &type, nullptr, &size) == 0 && type == kRegSz &&
      size > 0) {
    std::vector<std::uint8_t> data(size);
    if (registry_.RegQueryValueExA(key, "Programs", &type, data.data(), &size) == 0 &&
        type == kRegSz) {
      std::string text(data.begin(), data.begin() + std::min<std::size_t>(size, data.size()));
      text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
      // An empty folder would put the link at the root of the current drive.
      if (!text.empty()) folder = text;
    }
  }
  registry_.RegCloseKey(key);
  return folder;
}

std::optional<std::string> TProgLink::LinkPath() {
  std::optional<std::string> folder = ProgramsFolder();
  if (!folder) return std::nullopt;
  return *folder + "\\" + LinkName;
}

bool TProgLink::CreateLink() {
  std::optional<std::string> path = LinkPath();
  if (!path) return true;
  links_.CreateDirectoryA(FolderOf(*path));  // fails harmlessly when it exists
  ShellLinkData link;
  link.path = SourceName;
  const std::string description = TrimText(Description);
  link.description = description.empty() ? kNoDescription : description;
  link.arguments = TrimText(Parameters).empty() ? std::string() : Parameters;
  link.workingDirectory = FolderOf(SourceName);
  link.showCmd = kSwShowMaximized;
  return links_.SaveShellLink(*path, link);
}

void TProgLink::DeleteLink() {
  std::optional<std::string> path = LinkPath();
  if (path && files_.Exists(*path)) files_.Remove(*path);
}

bool TProgLink::LinkExists() {
  std::optional<std::string> path = LinkPath();
  return path && files_.Exists(*path);
}

}  // namespace ostrel
