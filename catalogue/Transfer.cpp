#include "catalogue/Transfer.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "catalogue/FunCatalogue.h"
#include "platform/Paths.h"

namespace ostrel {
namespace {

// The whole content of a file: "" when read, else the text for the user.
std::string ReadAll(FileSystem& fs, const std::string& path, std::string& bytes) {
  bytes.clear();
  std::unique_ptr<ByteFile> file = fs.OpenRead(path);
  if (!file) return "Cannot open file " + path;
  return ReadToEnd(*file, bytes) ? std::string() : "Cannot read file " + path;
}

bool ReadWhole(FileSystem& fs, const std::string& path, std::string& bytes) {
  return ReadAll(fs, path, bytes).empty();
}

bool WriteWhole(FileSystem& fs, const std::string& path, const std::string& bytes) {
  return StageAndReplace(
      fs, path, [&bytes](ByteFile& file) { return WriteAll(file, bytes.data(), bytes.size()); });
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

TKeyRec RecordAt(std::string_view bytes, std::size_t i) {
  TKeyRec rec;
  std::memcpy(&rec, bytes.data() + i * kKeyRecSize, kKeyRecSize);
  return rec;
}

}  // namespace

std::string CheckDefinitionBytes(std::string_view bytes, const std::string& fileName) {
  if (bytes.empty()) return fileName + " is empty: it holds no definitions.";
  if (bytes.size() % kKeyRecSize != 0)
    return fileName + " is not a file of Ostrel's definitions: its size, " +
           std::to_string(bytes.size()) + " bytes, is not a whole number of " +
           std::to_string(kKeyRecSize) + "-byte definitions.";
  for (std::size_t i = 0; i < bytes.size() / kKeyRecSize; ++i) {
    const TKeyRec rec = RecordAt(bytes, i);
    const struct {
      const char* field;
      std::size_t len, capacity;
    } strings[] = {{"name", rec.Name.len, rec.Name.capacity},
                   {"group", rec.Group.len, rec.Group.capacity},
                   {"target", rec.Target.len, rec.Target.capacity},
                   {"parameters", rec.Parms.len, rec.Parms.capacity},
                   {"working folder", rec.Dir.len, rec.Dir.capacity}};
    for (const auto& s : strings)
      if (s.len > s.capacity)
        return fileName + " is damaged: definition " + std::to_string(i + 1) + " claims a " +
               s.field + " of " + std::to_string(s.len) + " characters, more than the " +
               std::to_string(s.capacity) + " its field holds.";
  }
  return {};
}

std::vector<IncomingDefinition> IncomingDefinitions(std::string_view bytes,
                                                    const std::vector<CompanionSection>& sections,
                                                    CollateFn collate) {
  // The companion names definitions by key text, as Keys.ini does: a list of the set
  // gives each its conditions, while `order` keeps the file's order.
  KeysList index(collate);
  std::vector<std::string> order;
  for (std::size_t i = 0; i < bytes.size() / kKeyRecSize; ++i) {
    auto rec = std::make_unique<TKeyRec>(RecordAt(bytes, i));
    std::string key = KeyText(*rec);
    if (index.Find(key) != KeysList::npos) continue;  // the first counts
    order.push_back(key);
    index.Add(key, std::move(rec));
  }
  ApplyCompanion(index, sections);
  std::vector<IncomingDefinition> defs;
  defs.reserve(order.size());
  for (const std::string& key : order) {
    const auto at = static_cast<std::size_t>(index.Find(key));
    defs.push_back({*index.At(at), index.ConditionsAt(at)});
  }
  return defs;
}

IncomingSet ReadDefinitionSet(FileSystem& fs, const std::string& path, CodePagePort& codePage,
                              CollateFn collate) {
  IncomingSet set;
  std::string bytes;
  if (!fs.Exists(path)) {
    set.error = "Cannot find file " + path;
    return set;
  }
  set.error = ReadAll(fs, path, bytes);
  if (set.error.empty()) set.error = CheckDefinitionBytes(bytes, path);
  if (!set.error.empty()) return set;
  CompanionContent companion;
  const std::string iniName = CompanionName(path);
  if (fs.Exists(iniName)) {
    std::string text;
    set.error = ReadAll(fs, iniName, text);
    if (!set.error.empty()) return set;
    companion = ReadCompanion(text, codePage);
    // Half the conditions would bring hotkeys in for programs they were not meant for.
    if (!companion.damage.empty()) {
      set.error = iniName + " could not be read whole: " + companion.damage + ".";
      return set;
    }
  }
  set.defs = IncomingDefinitions(bytes, companion.sections, collate);
  return set;
}

MergeReport MergeDefinitions(KeysList& into, const IncomingSet& set, FileSystem& fs,
                             const std::string& sourceDir, const std::string& dataDir) {
  MergeReport report;
  using Combination = std::pair<std::int32_t, std::int32_t>;
  std::map<Combination, std::vector<Conditions>> onKeys;
  std::vector<Conditions> abbreviated;  // switched on, with an abbreviation
  for (std::size_t i = 0; i < into.Count(); ++i) {
    const TKeyRec& rec = *into.At(i);
    if (rec.Key != 0 && !into.ConditionsAt(i).hotkeyOff)
      onKeys[{rec.Key, rec.KeyMod}].push_back(into.ConditionsAt(i));
    if (!into.ConditionsAt(i).abbreviation.text.empty() && !into.ConditionsAt(i).hotkeyOff)
      abbreviated.push_back(into.ConditionsAt(i));
  }
  // Each source list file is placed once, however many definitions name it.
  std::map<std::string, std::string> placed;
  auto fail = [&](std::string error) {
    UndoMerge(into, report, fs);
    report.added.clear();
    report.switchedOff.clear();
    report.abbreviationsOff.clear();
    report.copiedLists.clear();
    report.error = std::move(error);
    return report;
  };

  for (const IncomingDefinition& in : set.defs) {
    const std::string key = KeyText(in.rec);
    if (into.Find(key) != KeysList::npos) {
      report.skipped.push_back(&in.rec);
      continue;
    }
    auto rec = std::make_unique<TKeyRec>(in.rec);
    Conditions conditions = in.conditions;
    bool switchedOff = false;
    // Its abbreviation first: switched off for it, the definition holds no key either.
    const bool abbreviationOff =
        std::any_of(abbreviated.begin(), abbreviated.end(),
                    [&](const Conditions& other) { return AbbreviationsClash(conditions, other); });
    if (abbreviationOff) conditions.hotkeyOff = true;
    if (!conditions.hotkeyOff && !conditions.abbreviation.text.empty())
      abbreviated.push_back(conditions);
    if (rec->Key != 0 && !conditions.hotkeyOff) {
      std::vector<Conditions>& sharers = onKeys[{rec->Key, rec->KeyMod}];
      for (const Conditions& other : sharers)
        if (Overlap(conditions, other)) switchedOff = true;
      if (switchedOff)
        conditions.hotkeyOff = true;
      else
        sharers.push_back(conditions);
    }

    const std::string target = rec->Target.str();
    if (IsMacroMenu(*rec) && !TrimText(target).empty()) {
      const std::string source = sourceDir + target;
      auto done = placed.find(LowerAscii(target));
      if (done != placed.end()) {
        rec->Target.assign(done->second);
      } else if (!fs.Exists(source)) {
        report.missingLists.push_back(target);
        placed[LowerAscii(target)] = target;
      } else {
        std::string bytes, present;
        if (std::string error = ReadAll(fs, source, bytes); !error.empty()) return fail(error);
        std::string name = target;
        const bool ownNameFits = PlainFileName(target) &&
                                 (!fs.Exists(dataDir + target) ||
                                  (ReadWhole(fs, dataDir + target, present) && present == bytes));
        if (!ownNameFits) {
          name = FreeListFileName(fs, dataDir);
          if (fs.Exists(dataDir + name))
            return fail("Cannot create file " + dataDir + name +
                        "\r\n\r\nEvery name for a new list file is taken.");
        }
        if (!fs.Exists(dataDir + name)) {
          if (!WriteWhole(fs, dataDir + name, bytes))
            return fail("Cannot create file " + dataDir + name);
          report.copiedLists.push_back(dataDir + name);
        }
        placed[LowerAscii(target)] = name;
        rec->Target.assign(name);
      }
    }

    PKeyRec added = rec.get();
    into.Add(key, std::move(rec), std::move(conditions));
    report.added.push_back(added);
    if (switchedOff) report.switchedOff.push_back(added);
    if (abbreviationOff) report.abbreviationsOff.push_back(added);
  }
  return report;
}

void UndoMerge(KeysList& into, const MergeReport& report, FileSystem& fs) {
  for (PKeyRec rec : report.added) {
    const std::ptrdiff_t at = into.IndexOf(rec);
    if (at != KeysList::npos) into.Delete(static_cast<std::size_t>(at));
  }
  for (const std::string& path : report.copiedLists) fs.Remove(path);
}

ExportOutcome ExportDefinitionSet(FileSystem& fs, const KeysList& from, const std::string& group,
                                  const std::string& path, const std::string& dataDir,
                                  CodePagePort& codePage) {
  ExportOutcome out;
  const CollateFn collate = from.Collation();
  const std::string wanted = TrimText(group);
  KeysList set(collate);
  bool conditions = false;
  for (std::size_t i = 0; i < from.Count(); ++i) {
    const TKeyRec& rec = *from.At(i);
    if (!wanted.empty() && collate(TrimText(rec.Group.str()), wanted) != 0) continue;
    set.Add(from.KeyAt(i), std::make_unique<TKeyRec>(rec), from.ConditionsAt(i));
    conditions = conditions || !from.ConditionsAt(i).Plain();
  }
  if (set.Empty()) {
    out.error = wanted.empty() ? "There are no definitions to export."
                               : "The group " + wanted + " holds no definitions to export.";
    return out;
  }

  const bool written = StageAndReplace(fs, path, [&set](ByteFile& file) {
    for (std::size_t i = 0; i < set.Count(); ++i)
      if (!WriteAll(file, set.At(i), kKeyRecSize)) return false;
    return true;
  });
  if (!written) {
    out.error = "Cannot create file " + path;
    return out;
  }
  const std::string iniName = CompanionName(path);
  if (conditions) {
    if (!WriteWhole(fs, iniName, WriteCompanion(set, StampOfRecords(set), codePage))) {
      out.error = "Cannot create file " + iniName;
      return out;
    }
  } else if (fs.Exists(iniName) && !fs.Remove(iniName)) {
    // A companion of an older export would give these definitions its conditions.
    out.error = "Cannot delete file " + iniName;
    return out;
  }

  const std::string folder = FolderOf(path);
  std::map<std::string, bool> copied;
  for (std::size_t i = 0; i < set.Count(); ++i) {
    const std::string target = set.At(i)->Target.str();
    if (!IsMacroMenu(*set.At(i)) || !PlainFileName(target)) continue;
    if (!copied.emplace(LowerAscii(target), true).second) continue;
    const std::string source = dataDir + target, dest = folder + target;
    if (!fs.Exists(source)) continue;  // the import names it as missing
    std::string bytes, present;
    out.error = ReadAll(fs, source, bytes);
    if (!out.error.empty()) return out;
    // The same bytes, the definitions' own folder among them: nothing to write.
    if (fs.Exists(dest) && ReadWhole(fs, dest, present) && present == bytes) continue;
    if (fs.Exists(dest)) {
      const std::string failed = CopyToFreeBackup(fs, dest);
      if (!failed.empty()) {
        out.error = "Cannot create file " + failed;
        return out;
      }
    }
    if (!WriteWhole(fs, dest, bytes)) {
      out.error = "Cannot create file " + dest;
      return out;
    }
  }
  out.written = set.Count();
  return out;
}

std::string FreeListFileName(FileSystem& files, const std::string& dir) {
  int n = 1;
  while (n < 1001 && files.Exists(dir + "SendKeyList_" + std::to_string(n) + ".skl")) ++n;
  return "SendKeyList_" + std::to_string(n) + ".skl";
}

}  // namespace ostrel
