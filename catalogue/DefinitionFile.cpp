#include "catalogue/DefinitionFile.h"

#include <memory>

#include "catalogue/RecordStream.h"

namespace ostrel {
namespace {

std::size_t ClampLengths(TKeyRec& rec) {
  return static_cast<std::size_t>(rec.Name.clamp()) + rec.Group.clamp() + rec.Target.clamp() +
         rec.Parms.clamp() + rec.Dir.clamp();
}

}  // namespace

DefinitionFile::DefinitionFile(FileSystem& fs, std::string fileName)
    : fs_(fs), fileName_(std::move(fileName)) {}

LoadOutcome DefinitionFile::Load(KeysList& list) {
  LoadOutcome out;
  if (!fs_.Exists(fileName_)) return out;
  const std::string kept =
      "The original is kept as " + BackupName() + " before Ostrel next saves its definitions.";

  std::unique_ptr<TRecordStream> stream;
  try {
    stream = std::make_unique<TRecordStream>(fs_, fileName_, fmOpenRead);
  } catch (const EFileError& e) {
    out.openFailed = true;
    out.error = std::string(e.what()) + "\r\n\r\nNo definitions were loaded. " + kept;
    backupPending_ = true;
    return out;
  }

  stream->First();
  auto rec = std::make_unique<TKeyRec>();
  for (;;) {
    std::int32_t n = stream->ReadRecord(rec.get());
    if (n <= 0) break;
    if (n < stream->RecordSize()) out.fragment = true;
    out.clampedLengths += ClampLengths(*rec);
    ++out.records;
    std::string key = KeyText(*rec);
    list.Add(key, std::move(rec));
    rec = std::make_unique<TKeyRec>();
    if (out.fragment) break;
  }
  if (stream->ReadFailed()) {
    out.readFailed = true;
    out.error = "Cannot read file " + fileName_ + "\r\n\r\nThe " + std::to_string(out.records) +
                " definitions read before the error are loaded. " + kept;
  } else if (out.Damaged()) {
    out.notice = fileName_ + " was damaged and has been repaired:";
    if (out.fragment)
      out.notice += "\r\n- it ended inside a definition, which was completed with zeros;";
    if (out.clampedLengths > 0)
      out.notice += "\r\n- " + std::to_string(out.clampedLengths) +
                    " of its texts claimed more characters than their fields hold and were cut;";
    out.notice += "\r\n\r\n" + kept;
  }
  if (out.Damaged()) backupPending_ = true;
  return out;
}

void DefinitionFile::KeepBackup() {
  if (!backupPending_) return;
  if (fs_.Exists(fileName_) && !fs_.Copy(fileName_, BackupName()))
    throw EFileError("Cannot create file " + BackupName() + "\r\n\r\n" + fileName_ +
                     " is left as it was; the definitions are saved once it can be copied.");
  backupPending_ = false;
}

void DefinitionFile::WriteStaging(const KeysList& list) {
  const std::string staging = StagingName();
  bool complete = false;
  try {
    TRecordStream stream(fs_, staging, fmCreate);
    complete = true;
    for (std::size_t i = 0; i < list.Count() && complete; ++i)
      complete = stream.WriteRecord(list.At(i)) == stream.RecordSize();
    complete = stream.Commit() && complete;
  } catch (const EFileError&) {
    complete = false;
  }
  if (!complete) {
    fs_.Remove(staging);
    throw EFileError("Cannot create file " + fileName_);
  }
}

void DefinitionFile::Save(const KeysList& list) {
  KeepBackup();
  if (list.Empty()) {
    if (fs_.Exists(fileName_) && !fs_.Remove(fileName_))
      throw EFileError("Cannot delete file " + fileName_);
    return;
  }
  WriteStaging(list);
  if (!fs_.Replace(StagingName(), fileName_)) {
    fs_.Remove(StagingName());
    throw EFileError("Cannot create file " + fileName_);
  }
}

}  // namespace ostrel
