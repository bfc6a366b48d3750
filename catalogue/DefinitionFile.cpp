#include "catalogue/DefinitionFile.h"

#include <memory>
#include <utility>

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

DefinitionFile::DefinitionFile(FileSystem& fs, std::string fileName, Pause pause,
                               CodePagePort* codePage)
    : fs_(fs),
      fileName_(std::move(fileName)),
      companionName_(CompanionName(fileName_)),
      pause_(std::move(pause)),
      codePage_(codePage) {}

LoadOutcome DefinitionFile::Load(KeysList& list) {
  LoadOutcome out;
  incomplete_ = false;
  CompanionStamp stamp;
  if (fs_.Exists(fileName_)) LoadRecords(list, stamp, out);
  if (codePage_) LoadCompanion(list, stamp, !out.Incomplete(), out);
  if (incomplete_) loadedImage_ = PairImage(list);
  return out;
}

void DefinitionFile::LoadRecords(KeysList& list, CompanionStamp& stamp, LoadOutcome& out) {
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
      return;
    }
  }

  stream->First();
  auto rec = std::make_unique<TKeyRec>();
  for (;;) {
    std::int32_t n = stream->ReadRecord(rec.get());
    if (n <= 0) break;
    // The stamp is of the bytes on disk, before any repair.
    stamp.Add(rec.get(), static_cast<std::size_t>(n));
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
  if (out.Incomplete()) incomplete_ = true;
}

bool DefinitionFile::ReadWhole(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::unique_ptr<ByteFile> file;
  for (int attempt = 1; !(file = fs_.OpenRead(path)); ++attempt) {
    if (attempt >= kOpenAttempts || !pause_) return false;
    pause_(kOpenRetryMs);
  }
  return ReadToEnd(*file, bytes);
}

void DefinitionFile::LoadCompanion(KeysList& list, const CompanionStamp& records,
                                   bool recordsWhole, LoadOutcome& out) {
  auto tell = [&out](const std::string& text) {
    out.notice += (out.notice.empty() ? "" : "\r\n\r\n") + text;
    out.companionDamaged = true;
  };
  CompanionContent content;
  if (fs_.Exists(companionName_)) {
    std::string bytes;
    if (!ReadWhole(companionName_, bytes)) {
      // Read nothing rather than part: the file stays as it is until the user changes
      // something, and then it is kept as a backup first.
      tell("Cannot read file " + companionName_ +
           "\r\n\r\nThe definitions are used without the programs and switches it holds. It is "
           "left as it is until you change the definitions; then it is first kept as " +
           FreeBackupName(fs_, companionName_) + ".");
      companionBackupPending_ = true;
      incomplete_ = true;
      return;
    }
    content = ReadCompanion(bytes, *codePage_);
  }
  // A save cut short after Keys.fil was replaced: the staged companion belongs to the
  // records on disk, the old one to those before. Finish the save.
  const std::string next = CompanionNextName();
  if (recordsWhole && content.stamp != records && fs_.Exists(next)) {
    std::string bytes;
    if (ReadWhole(next, bytes)) {
      CompanionContent staged = ReadCompanion(bytes, *codePage_);
      if (staged.stamp == records && staged.damage.empty()) {
        content = std::move(staged);
        fs_.Replace(next, companionName_);
      }
    }
  }
  if (!content.damage.empty()) {
    tell(companionName_ + " could not be read whole (" + content.damage +
         "): what could be read is used. The original is kept as " +
         FreeBackupName(fs_, companionName_) + " before Ostrel next saves its definitions.");
    companionBackupPending_ = true;
  }
  // Keys.fil not read whole: its next save keeps both files as backups.
  if (!recordsWhole && fs_.Exists(companionName_)) companionBackupPending_ = true;
  ApplyCompanion(list, content.sections);
}

std::string DefinitionFile::PairImage(const KeysList& list) const {
  std::string image = Image(list);
  if (codePage_) image += WriteCompanion(list, CompanionStamp{}, *codePage_);
  return image;
}

void DefinitionFile::KeepBackup() {
  for (auto [pending, name] : {std::pair{&backupPending_, &fileName_},
                               std::pair{&companionBackupPending_, &companionName_}}) {
    if (!*pending) continue;
    if (fs_.Exists(*name)) {
      const std::string failed = CopyToFreeBackup(fs_, *name);
      if (!failed.empty())
        throw EFileError("Cannot create file " + failed + "\r\n\r\n" + *name +
                         " is left as it was; the definitions are saved once it can be copied.");
    }
    *pending = false;
  }
}

void DefinitionFile::Save(const KeysList& list) {
  // The rebuild after an incomplete load stores nothing: only a change is worth the
  // backup and the rewrite, and the user may have freed the file by then.
  if (incomplete_ && PairImage(list) == loadedImage_) return;
  KeepBackup();
  incomplete_ = false;
  loadedImage_.clear();
  // The companion is staged whole before Keys.fil changes, and takes its place after.
  const std::string next = CompanionNextName();
  bool companion = false;
  if (codePage_) {
    for (std::size_t i = 0; i < list.Count() && !companion; ++i)
      companion = !list.ConditionsAt(i).Plain();
    companion = companion || fs_.Exists(companionName_);
    if (companion) {
      const std::string text = WriteCompanion(list, StampOfRecords(list), *codePage_);
      if (!StageAndReplace(fs_, next, [&text](ByteFile& file) {
            return WriteAll(file, text.data(), text.size());
          }))
        throw EFileError("Cannot create file " + companionName_);
    } else if (fs_.Exists(next)) {
      fs_.Remove(next);
    }
  }
  auto finish = [&] {
    if (companion && !fs_.Replace(next, companionName_))
      throw EFileError("Cannot create file " + companionName_);
  };
  if (list.Empty()) {
    if (fs_.Exists(fileName_) && !fs_.Remove(fileName_))
      throw EFileError("Cannot delete file " + fileName_);
    finish();
    return;
  }
  // One write per record, as the records stream out of the list.
  const bool saved = StageAndReplace(fs_, fileName_, [&list](ByteFile& file) {
    for (std::size_t i = 0; i < list.Count(); ++i)
      if (!WriteAll(file, list.At(i), kKeyRecSize)) return false;
    return true;
  });
  if (!saved) throw EFileError("Cannot create file " + fileName_);
  finish();
}

}  // namespace ostrel
