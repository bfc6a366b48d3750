#include "app/Home.h"

#include "catalogue/FunCatalogue.h"
#include "platform/Paths.h"

namespace ostrel {
namespace {

constexpr const char* kProbeName = "~Ostrel-write-test.tmp";

// A file copied whole or not at all: a copy broken off part-way stays a staging file
// that the next copy replaces, never a Keys.fil cut short.
bool CopyWhole(FileSystem& files, const std::string& from, const std::string& to) {
  const std::string staging = StagingName(to);
  if (files.Copy(from, staging) && files.Replace(staging, to)) return true;
  files.Remove(staging);
  return false;
}

std::string CannotCopy(const std::string& from, const std::string& to) {
  return "Cannot copy " + from + " to " + to;
}

}  // namespace

bool FolderWritable(FileSystem& files, const std::string& folder) {
  const std::string probe = folder + kProbeName;
  std::unique_ptr<ByteFile> file = files.Create(probe);
  if (!file) return false;
  const bool written = WriteAll(*file, "x", 1) && file->Commit();
  file.reset();
  // Removed whatever the write did: the probe must never stay behind.
  const bool removed = files.Remove(probe);
  return written && removed;
}

Home ChooseHome(FileSystem& files, const std::string& appDir, const std::string& appData) {
  if (FolderWritable(files, appDir)) return {appDir, {}, false};
  if (appData.empty())
    return {appDir,
            "Ostrel cannot write in its own folder " + appDir +
                ", and Windows names no folder for your own files, so changes to your "
                "definitions cannot be saved.",
            true};
  std::string folder = appData;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  folder += "\\Ostrel";
  const bool made = files.CreateFolder(folder);
  const std::string home = folder + "\\";
  if (!(made || files.FolderExists(folder)) || !FolderWritable(files, home))
    return {appDir,
            "Ostrel cannot write in its own folder " + appDir + " or in " + home +
                ", so changes to your definitions cannot be saved.",
            true};
  if (!made) return {home, {}, false};

  // The first time: the definitions kept beside the program come along. Keys.fil goes
  // first, so a companion never stands without the records it belongs to.
  std::string failed;
  for (const char* name : {"Keys.fil", "Keys.ini"}) {
    const std::string from = appDir + name;
    if (files.Exists(from) && !CopyWhole(files, from, home + name))
      failed += "\n" + CannotCopy(from, home + name);
  }
  Home chosen{
      home, "Ostrel cannot write in its own folder, so your definitions are kept in " + home + ".",
      false};
  if (!failed.empty()) {
    chosen.notice += "\n" + failed.substr(1) + "; the file beside the program is left as it is.";
    chosen.error = true;
  }
  return chosen;
}

std::vector<std::string> CopyMissingListFiles(FileSystem& files, const KeysList& keys,
                                              const std::string& appDir,
                                              const std::string& dataDir) {
  std::vector<std::string> failed;
  if (appDir == dataDir) return failed;
  for (std::size_t i = 0; i < keys.Count(); ++i) {
    const TKeyRec& def = *keys.At(i);
    if (!IsMacroMenu(def)) continue;
    const std::string name = def.Target.str();
    if (!PlainFileName(name) || files.Exists(dataDir + name) || !files.Exists(appDir + name))
      continue;
    if (!CopyWhole(files, appDir + name, dataDir + name))
      failed.push_back(CannotCopy(appDir + name, dataDir + name));
  }
  return failed;
}

std::string WhereKeptText(const std::string& dataDir) {
  // Without the final "\": a line too long for the window keeps the folder's own name at
  // its end and gives up the middle.
  std::string folder = dataDir;
  if (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return "  Definitions are kept in " + folder;
}

std::string ExamplesHint(const std::string& appDir) {
  return "To start from examples, click Import... and open Examples.fil in Ostrel's folder, " +
         appDir + ".";
}

}  // namespace ostrel
