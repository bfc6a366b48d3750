// Paths as Windows reads them: "\" and "/" both separate folders, and a drive ("C:")
// is a folder of its own.
#pragma once

#include <cstddef>
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

// A path read through a call that fills a buffer as GetModuleFileNameA does: `fill(buffer,
// size)` gives the count it wrote, 0 on failure, and a count that fills the buffer whole
// says the path may have been cut. The buffer then grows and the call is made again, so
// a long path is never cut. Empty on failure, or when a path longer than any Windows
// takes (32767 characters of two bytes at most in a code page) still fills the buffer.
template <typename Fill>
std::string ReadWholePath(Fill fill) {
  constexpr std::size_t kLongestPath = 2 * 32767;
  std::string path(260, '\0');
  for (;;) {
    const std::size_t n = fill(path.data(), path.size());
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() > kLongestPath) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace ostrel
