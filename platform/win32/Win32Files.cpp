#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/Handles.h"

namespace ostrel {
namespace {

class HandleFile : public ByteFile {
 public:
  HandleFile(KernelHandle h, bool writing) : h_(std::move(h)), writing_(writing) {}
  ~HandleFile() override { Close(); }

  bool SeekStart() override {
    if (!Flush()) return false;
    return SetFilePointer(h_.get(), 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
  }
  long Read(void* buffer, std::size_t n) override {
    DWORD got = 0;
    if (!ReadFile(h_.get(), buffer, static_cast<DWORD>(n), &got, nullptr)) return -1;
    return static_cast<long>(got);
  }
  long Write(const void* buffer, std::size_t n) override {
    if (!writing_ || failed_) return -1;
    const char* bytes = static_cast<const char*>(buffer);
    pending_.insert(pending_.end(), bytes, bytes + n);
    if (pending_.size() >= kBlock && !Flush()) return -1;
    return static_cast<long>(n);
  }
  bool Commit() override {
    bool ok = Flush();
    if (writing_ && ok) ok = FlushFileBuffers(h_.get()) != 0;
    return Close() && ok;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;

  // Hands the gathered bytes to the system; a short write counts as a failure.
  bool Flush() {
    if (pending_.empty()) return !failed_;
    DWORD written = 0;
    BOOL ok = WriteFile(h_.get(), pending_.data(), static_cast<DWORD>(pending_.size()), &written,
                        nullptr);
    if (!ok || written != pending_.size()) failed_ = true;
    pending_.clear();
    return !failed_;
  }
  // Closed here rather than by the owner: a close can report a write the system had
  // put off, so its result counts for Commit.
  bool Close() { return !h_ || CloseHandle(h_.Release()) != 0; }

  KernelHandle h_;
  bool writing_;
  bool failed_ = false;
  std::vector<char> pending_;
};

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) {
  DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<ByteFile> Win32FileSystem::OpenRead(const std::string& path) {
  // No sharing flags: the file is read only while nobody else writes it.
  KernelHandle h = OwnFile(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return nullptr;
  return std::make_unique<HandleFile>(std::move(h), false);
}

std::unique_ptr<ByteFile> Win32FileSystem::Create(const std::string& path) {
  KernelHandle h = OwnFile(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return nullptr;
  return std::make_unique<HandleFile>(std::move(h), true);
}

bool Win32FileSystem::Remove(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::Replace(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

}  // namespace ostrel
