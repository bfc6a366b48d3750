// FileSystem over kernel32 file handles. Writes are gathered into 64 KB blocks, the
// staging file is flushed to the disk before it replaces the old one, and Replace is
// MoveFileExA with REPLACE_EXISTING | WRITE_THROUGH.
#pragma once

#include "platform/FilePort.h"

namespace ostrel {

class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override;
  std::unique_ptr<ByteFile> OpenRead(const std::string& path) override;
  std::unique_ptr<ByteFile> Create(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
};

}  // namespace ostrel
