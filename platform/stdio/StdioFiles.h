// FileSystem over the C and C++ standard libraries, for tools and benchmarks that run
// off Windows. Replace is std::rename, which replaces atomically on POSIX systems.
#pragma once

#include "platform/FilePort.h"

namespace ostrel {

class StdioFileSystem : public FileSystem {
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
