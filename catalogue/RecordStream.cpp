#include "catalogue/RecordStream.h"

#include <cstring>

namespace ostrel {

TRecordStream::TRecordStream(FileSystem& fs, const std::string& fileName, std::uint16_t mode) {
  if (mode == fmCreate) {
    file_ = fs.Create(fileName);
    if (!file_) throw EFileError("Cannot create file " + fileName);
  } else {
    file_ = fs.OpenRead(fileName);
    if (!file_) throw EFileError("Cannot open file " + fileName);
  }
}

void TRecordStream::First() { file_->SeekStart(); }

std::int32_t TRecordStream::ReadRecord(PKeyRec rec) {
  auto* bytes = reinterpret_cast<unsigned char*>(rec);
  const std::size_t size = static_cast<std::size_t>(RecordSize());
  std::memset(bytes, 0, size);
  std::size_t got = 0;
  while (got < size) {
    long n = file_->Read(bytes + got, size - got);
    if (n < 0) {
      readFailed_ = true;
      return 0;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<std::int32_t>(got);
}

std::int32_t TRecordStream::WriteRecord(const TKeyRec* rec) {
  long n = file_->Write(rec, static_cast<std::size_t>(RecordSize()));
  return n < 0 ? 0 : static_cast<std::int32_t>(n);
}

bool TRecordStream::Commit() { return file_->Commit(); }

}  // namespace ostrel
