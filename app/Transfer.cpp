// Export and import of definition sets: the controller's side. The rules of reading,
// merging and writing a set are in catalogue/Transfer.*; here they meet the live list,
// its one save and the boxes.
#include <string>

#include "app/OstrelController.h"
#include "catalogue/RecordStream.h"
#include "catalogue/Transfer.h"
#include "platform/Paths.h"

namespace ostrel {
namespace {

constexpr const char* kNothingImported = "\n\nNothing was imported.";

std::string Counted(std::size_t n, const char* one) {
  return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

// Paths as Windows compares them: case and the two separators alike.
bool SamePath(std::string a, std::string b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) {
      if (c == '/') return '\\';
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

std::string ImportReportText(const std::string& path, const MergeReport& report) {
  std::string text = report.added.empty() ? "Nothing new was imported from " + path + "."
                                          : Counted(report.added.size(), "definition") +
                                                " imported from " + path + ".";
  if (!report.skipped.empty())
    text += "\n\nSkipped, already present (" + std::to_string(report.skipped.size()) +
            "):" + DefinitionLines(report.skipped);
  if (!report.switchedOff.empty())
    text += "\n\nHotkey switched off, its key is taken by another definition (" +
            std::to_string(report.switchedOff.size()) + "):" +
            DefinitionLines(
                std::vector<const TKeyRec*>(report.switchedOff.begin(), report.switchedOff.end()));
  if (!report.abbreviationsOff.empty())
    text += "\n\nSwitched off, another definition has the same abbreviation (" +
            std::to_string(report.abbreviationsOff.size()) +
            "):" + DefinitionLines(report.abbreviationsOff);
  if (!report.missingLists.empty()) {
    text += "\n\nNot found beside " + path + ", so these macro menus have no items:";
    for (std::size_t i = 0; i < report.missingLists.size(); ++i) {
      // Cut as the lines of definitions are.
      if (i == kRefusedLinesShown) {
        text += "\n... and " + std::to_string(report.missingLists.size() - i) + " more.";
        break;
      }
      text += "\n" + report.missingLists[i];
    }
  }
  return text;
}

}  // namespace

bool OstrelController::ExportDefinitions(const std::string& path, const std::string& group) {
  if (!Alive()) return false;
  // A part of the set written over the set itself would lose the rest at the next start.
  if (SamePath(path, keysFileName_) ||
      SamePath(CompanionName(path), CompanionName(keysFileName_))) {
    p_.view.ShowError(path + " is where Ostrel keeps its definitions. Choose another name.");
    return false;
  }
  const ExportOutcome out =
      ExportDefinitionSet(p_.files, *keys_, group, path, DataDir(), p_.codePage);
  if (!out.error.empty()) {
    p_.view.ShowError(out.error);
    return false;
  }
  p_.view.SetStatusText("  " + Counted(out.written, "definition") + " exported to " + path);
  return true;
}

bool OstrelController::ImportDefinitions(const std::string& path) {
  if (!Alive()) return false;
  const IncomingSet set = ReadDefinitionSet(p_.files, path, p_.codePage, p_.collate);
  if (!set.error.empty()) {
    p_.view.ShowError(set.error + kNothingImported);
    return false;
  }
  const MergeReport report = MergeDefinitions(*keys_, set, p_.files, FolderOf(path), DataDir());
  if (!report.error.empty()) {
    p_.view.ShowError(report.error + kNothingImported);
    return false;
  }
  // Written now: the rebuild's boxes handle messages, and the program may end under them.
  std::string text = ImportReportText(path, report);
  // An imported plain left or right click comes in switched off, as one loaded at a start.
  if (const std::vector<PKeyRec> off = SwitchOffUsersClicks(*keys_); !off.empty())
    text += "\n\n" + UsersClicksText(off);
  // One save for the whole set; what cannot be stored is not kept in memory either.
  if (!report.added.empty() && !editing_.UpdateKeysList([this, &report] {
        UndoMerge(*keys_, report, p_.files);
        // A save can fail after Keys.fil was replaced (its companion not renamed): the
        // disk then gets the list as it was again, where it can.
        try {
          keysFile_->Save(*keys_);
        } catch (const EFileError&) {
        }
        return std::string(kNothingImported);
      }))
    return false;
  if (!Alive()) return false;
  p_.view.ShowInfo(text);
  return true;
}

}  // namespace ostrel
