#include "platform/FilePort.h"

namespace ostrel {

std::string StagingName(const std::string& path) { return path + ".new"; }

std::string CopyToFreeBackup(FileSystem& fs, const std::string& path) {
  const std::string backup = FreeBackupName(fs, path);
  if (!backup.empty() && fs.Copy(path, backup)) return {};
  return backup.empty() ? path + ".bak" : backup;
}

bool WriteAll(ByteFile& file, const void* data, std::size_t n) {
  const char* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < n) {
    long put = file.Write(bytes + done, n - done);
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool ReadToEnd(ByteFile& file, std::string& bytes) {
  char buffer[4096];
  for (;;) {
    const long got = file.Read(buffer, sizeof buffer);
    if (got < 0) return false;
    if (got == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

bool StageAndReplace(FileSystem& fs, const std::string& path,
                     const std::function<bool(ByteFile&)>& write) {
  const std::string staging = StagingName(path);
  bool complete = false;
  if (std::unique_ptr<ByteFile> file = fs.Create(staging)) {
    complete = write(*file);
    // Closed even after a failed write, so that the staging file can be removed.
    complete = file->Commit() && complete;
  }
  if (complete && fs.Replace(staging, path)) return true;
  fs.Remove(staging);
  return false;
}

}  // namespace ostrel
