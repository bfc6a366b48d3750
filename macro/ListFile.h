// Macro list files: the named keystroke macros of one macro menu, one "name=macro" line
// each. Plain ANSI text; every line is written with CR LF after it, and reading accepts
// CR LF, CR or LF. Writing is crash-safe: the old file is replaced only by a complete
// new one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Collation.h"
#include "platform/FilePort.h"

namespace ostrel {

// The lines of a list file's text: a line ends at CR LF, CR or LF; a NUL ends the text;
// a final line break does not start another line; every line, an empty one too, counts.
std::vector<std::string> ParseListText(std::string_view text);

// The file's bytes: every line followed by CR LF; an empty list gives no bytes.
std::string ListFileText(const std::vector<std::string>& lines);

// The name of a line: the text before its first "=", empty when it has none.
std::string ListItemName(std::string_view line);

// The macro of the first line that contains "=" and whose name equals `name` without
// regard to case (same(a, b) == 0); empty if there is none.
std::string ListItemValue(const std::vector<std::string>& lines, std::string_view name,
                          CollateFn same);

struct ListFileLoad {
  bool exists = false;             // a file is there
  std::vector<std::string> lines;  // what was read
  std::string error;  // "Cannot read file <path>" when it exists but cannot be read
  // What in the file's bytes the reader could not take as they are ("a NUL byte", "a
  // UTF-16 byte-order mark", "a UTF-8 byte-order mark"); empty when it took them all.
  std::string untaken;
};

// Reads the list file at `path`. A missing file gives no lines and no error; a file that
// cannot be opened or breaks part-way gives the lines read before the failure and an error.
// A UTF-8 byte-order mark is left out of the first line; the text ends at a NUL byte.
ListFileLoad LoadListFile(FileSystem& fs, const std::string& path);

// Writes the whole list crash-safely (StageAndReplace). Returns "" or "Cannot create
// file <path>"; on failure the old file is untouched and no staging file is left behind.
std::string SaveListFile(FileSystem& fs, const std::string& path,
                         const std::vector<std::string>& lines);

}  // namespace ostrel
