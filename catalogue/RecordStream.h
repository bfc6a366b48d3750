// TRecordStream: a file stream that reads and writes whole 844-byte definitions.
// Opening raises EFileError with the texts the user sees ("Cannot open file %s",
// "Cannot create file %s"); reading never goes past one record and never throws.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "catalogue/KeyRec.h"
#include "platform/FilePort.h"

namespace ostrel {

class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmCreate = 0xFFFF;

class TRecordStream {
 public:
  TRecordStream(FileSystem& fs, const std::string& fileName, std::uint16_t mode);
  virtual ~TRecordStream() = default;

  virtual std::int32_t RecordSize() const { return static_cast<std::int32_t>(kKeyRecSize); }
  void First();
  // Reads up to one record into `rec`: the bytes read, 0 at the end or on an error.
  // The bytes of a short last record that the file did not hold read as zeros.
  std::int32_t ReadRecord(PKeyRec rec);
  // Writes one record: the bytes written (less than a record on a short write).
  std::int32_t WriteRecord(const TKeyRec* rec);
  // Flushes and closes; false if the data may not have reached the disk.
  bool Commit();

  bool ReadFailed() const { return readFailed_; }

 private:
  std::unique_ptr<ByteFile> file_;
  bool readFailed_ = false;
};

}  // namespace ostrel
