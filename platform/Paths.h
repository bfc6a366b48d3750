// Paths as Windows reads them: "\" and "/" both separate folders, and a drive ("C:")
// is a folder of its own.
#pragma once

#include <string>
#include <string_view>

namespace ostrel {

// The folder of a path: everything up to and including its last "\", "/" or ":";
// empty when it has none of them.
inline std::string FolderOf(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

// A name of a file in a folder itself: no folder, no drive, not "." or "..". Only such a
// name is taken relative to the definitions' folder when a file is copied there.
inline bool PlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace ostrel
