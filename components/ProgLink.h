// TProgLink: creates, deletes and tests for one shell link (a ".lnk" file) below the
// current user's Programs folder of the Start menu. The folder comes from the user's
// "Shell Folders" registry key; without a "Programs" value there is no link path, and
// the three operations then do nothing (LinkExists is false). CreateLink tells whether
// the link was saved; the caller reports a failure.
#pragma once

#include <optional>
#include <string>

#include "platform/FilePort.h"
#include "platform/RegistryPort.h"
#include "platform/ShellLinkPort.h"

namespace ostrel {

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kNoDescription = "No description available";
inline constexpr int kSwShowMaximized = 3;

class TProgLink {
 public:
  TProgLink(RegistryPort& registry, FileSystem& files, ShellLinkPort& links)
      : registry_(registry), files_(files), links_(links) {}

  // The file the link points to (full path).
  std::string SourceName;
  // The link file's path below the Programs folder, extension included.
  std::string LinkName;
  // Stored as they are when not blank.
  std::string Parameters;
  std::string Description;

  // Creates or overwrites the link, making its folder (one level) when missing. False
  // when a link path was known but the link could not be saved.
  bool CreateLink();
  // Deletes the link file if there is one.
  void DeleteLink();
  bool LinkExists();

  // The user's Programs folder, or none when the value is missing, empty or not a string.
  std::optional<std::string> ProgramsFolder();
  // The Programs folder + "\" + LinkName, or none without a Programs folder.
  std::optional<std::string> LinkPath();

 private:
  RegistryPort& registry_;
  FileSystem& files_;
  ShellLinkPort& links_;
};

}  // namespace ostrel
