#include "catalogue/DefinitionFile.h"

#include <memory>

#include "catalogue/RecordStream.h"

namespace ostrel {
namespace {

std::size_t ClampLengths(TKeyRec& rec) {
  return static_cast<std::size_t>(rec.Name.clamp()) + rec.Group.clamp() + rec.Target.clamp() +
         rec.Parms.clamp() + rec.Dir.clamp();
}

// The records of `list` in its order, byte for byte as a save writes them.
std::string Image(const KeysList& list) {
  std::string bytes;
  bytes.reserve(list.Count() * kKeyRecSize);
  for (std::size_t i = 0; i < list.Count(); ++i)
    bytes.append(reinterpret_cast<const char*>(list.At(i)), kKeyRecSize);
  return bytes;
}

}  // namespace

DefinitionFile::DefinitionFile(FileSystem& fs, std::string fileName, Pause pause)
    : fs_(fs), fileName_(std::move(fileName)), pause_(std::move(pause)) {}

LoadOutcome DefinitionFile::Load(KeysList& list) {
  LoadOutcome out;
  incomplete_ = false;
  if (!fs_.Exists(fileName_)) return out;
  const std::string kept =
      "The original is kept as " + BackupName() + " before Ostrel next saves its definitions.";
  const std::string untouched = fileName_ +
                                " is left as it is until you change the definitions; then the "
                                "original is first kept as " +
                                BackupName() + ".";

  // An antivirus or backup program may hold the file for a moment, at log-on above all.
  std::unique_ptr<TRecordStream> stream;
  for (int attempt = 1; !stream; ++attempt) {
    try {
      stream = std::make_unique<TRecordStream>(fs_, fileName_, fmOpenRead);
    } catch (const EFileError& e) {
      if (attempt < kOpenAttempts && pause_) {
        pause_(kOpenRetryMs);
        continue;
      }
      out.openFailed = true;
      out.error = std::string(e.what()) + "\r\n\r\nNo definitions were loaded. " + untouched;
      backupPending_ = true;
      incomplete_ = true;
      loadedImage_ = Image(list);
      return out;
    }
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
                " definitions read before the error are loaded. " + untouched;
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
  if (out.Incomplete()) {
    incomplete_ = true;
    loadedImage_ = Image(list);
  }
  return out;
}

void DefinitionFile::KeepBackup() {
  if (!backupPending_) return;
  if (fs_.Exists(fileName_)) {
    const std::string failed = CopyToFreeBackup(fs_, fileName_);
    if (!failed.empty())
      throw EFileError("Cannot create file " + failed + "\r\n\r\n" + fileName_ +
                       " is left as it was; the definitions are saved once it can be copied.");
  }
  backupPending_ = false;
}

void DefinitionFile::Save(const KeysList& list) {
  // The rebuild after an incomplete load stores nothing: only a change is worth the
  // backup and the rewrite, and the user may have freed the file by then.
  if (incomplete_ && Image(list) == loadedImage_) return;
  KeepBackup();
  incomplete_ = false;
  loadedImage_.clear();
  if (list.Empty()) {
    if (fs_.Exists(fileName_) && !fs_.Remove(fileName_))
      throw EFileError("Cannot delete file " + fileName_);
    return;
  }
  // One write per record, as the records stream out of the list.
  const bool saved = StageAndReplace(fs_, fileName_, [&list](ByteFile& file) {
    for (std::size_t i = 0; i < list.Count(); ++i)
      if (!WriteAll(file, list.At(i), kKeyRecSize)) return false;
    return true;
  });
  if (!saved) throw EFileError("Cannot create file " + fileName_);
}

}  // namespace ostrel
