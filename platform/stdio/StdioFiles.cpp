#include "platform/stdio/StdioFiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace ostrel {
namespace {

class StdioFile : public ByteFile {
 public:
  explicit StdioFile(std::FILE* f) : f_(f) { std::setvbuf(f_, nullptr, _IOFBF, 1 << 16); }
  ~StdioFile() override {
    if (f_) std::fclose(f_);
  }
  bool SeekStart() override { return std::fseek(f_, 0, SEEK_SET) == 0; }
  long Read(void* buffer, std::size_t n) override {
    std::size_t got = std::fread(buffer, 1, n, f_);
    if (got == 0 && std::ferror(f_)) return -1;
    return static_cast<long>(got);
  }
  long Write(const void* buffer, std::size_t n) override {
    return static_cast<long>(std::fwrite(buffer, 1, n, f_));
  }
  bool Commit() override {
    bool ok = std::fflush(f_) == 0;
    ok = std::fclose(f_) == 0 && ok;
    f_ = nullptr;
    return ok;
  }

 private:
  std::FILE* f_;
};

}  // namespace

bool StdioFileSystem::Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::unique_ptr<ByteFile> StdioFileSystem::OpenRead(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  return f ? std::make_unique<StdioFile>(f) : nullptr;
}

std::unique_ptr<ByteFile> StdioFileSystem::Create(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  return f ? std::make_unique<StdioFile>(f) : nullptr;
}

bool StdioFileSystem::Remove(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool StdioFileSystem::Replace(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool StdioFileSystem::Copy(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  return !ec;
}

bool StdioFileSystem::FolderExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool StdioFileSystem::CreateFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::create_directory(path, ec) && !ec;
}

}  // namespace ostrel
