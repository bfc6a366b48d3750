// Where the definitions are kept: Keys.fil, Keys.ini and the macro list files. Beside the
// program whenever its folder can be written; where it cannot (a portable copy unpacked
// into Program Files), in "<application data>\Ostrel\", which starts as a copy of what
// was beside the program. A home's Keys.fil is read only while the program's folder
// cannot be written, so the user's files are never in two places at once.
#pragma once

#include <string>
#include <vector>

#include "catalogue/KeysList.h"
#include "platform/FilePort.h"

namespace ostrel {

struct Home {
  // The folder the definitions are kept in, with its final "\".
  std::string dataDir;
  // To be told once: the home was made just now, or nowhere can be written (`error`).
  std::string notice;
  bool error = false;
};

// Whether a file can be made in `folder` (ending with "\"): a small probe file is created
// and removed again.
bool FolderWritable(FileSystem& files, const std::string& folder);

// The home for a program in `appDir` (ending with "\"), given the user's application-data
// folder (empty when there is none). The first time the home is made, Keys.fil and
// Keys.ini beside the program are copied into it.
Home ChooseHome(FileSystem& files, const std::string& appDir, const std::string& appData);

// A home lacks the list files of macro menus added beside the program after it was
// made, or of those it was made with: each list file that a macro menu of `keys` names,
// that `dataDir` lacks and `appDir` has, is copied; one the home has is never replaced.
// Returns the texts of the copies that failed.
std::vector<std::string> CopyMissingListFiles(FileSystem& files, const KeysList& keys,
                                              const std::string& appDir,
                                              const std::string& dataDir);

// The status line's text while no definition is selected: the folder, without its final
// "\".
std::string WhereKeptText(const std::string& dataDir);

// The help pane's hint for a new user, who has no Keys.fil yet.
std::string ExamplesHint(const std::string& appDir);

}  // namespace ostrel
