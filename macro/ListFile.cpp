#include "macro/ListFile.h"

#include <memory>

namespace ostrel {

std::vector<std::string> ParseListText(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t brk = text.find_first_of("\r\n", start);
    if (brk == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, brk - start));
    start = brk + 1;
    if (text[brk] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string ListFileText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string ListItemName(std::string_view line) {
  std::size_t eq = line.find('=');
  return eq == std::string_view::npos ? std::string() : std::string(line.substr(0, eq));
}

std::string ListItemValue(const std::vector<std::string>& lines, std::string_view name,
                          CollateFn same) {
  for (const std::string& line : lines) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (same(std::string_view(line).substr(0, eq), name) == 0) return line.substr(eq + 1);
  }
  return {};
}

ListFileLoad LoadListFile(FileSystem& fs, const std::string& path) {
  ListFileLoad out;
  out.exists = fs.Exists(path);
  if (!out.exists) return out;
  std::unique_ptr<ByteFile> file = fs.OpenRead(path);
  if (!file) {
    out.error = "Cannot read file " + path;
    return out;
  }
  std::string text;
  if (!ReadToEnd(*file, text)) out.error = "Cannot read file " + path;
  std::string_view view = text;
  if (view.substr(0, 3) == "\xEF\xBB\xBF") {
    out.untaken = "a UTF-8 byte-order mark";
    view.remove_prefix(3);
  } else if (view.substr(0, 2) == "\xFF\xFE" || view.substr(0, 2) == "\xFE\xFF") {
    out.untaken = "a UTF-16 byte-order mark";
  } else if (view.find('\0') != std::string_view::npos) {
    out.untaken = "a NUL byte";
  }
  out.lines = ParseListText(view);
  return out;
}

std::string SaveListFile(FileSystem& fs, const std::string& path,
                         const std::vector<std::string>& lines) {
  const std::string text = ListFileText(lines);
  if (StageAndReplace(fs, path,
                      [&text](ByteFile& file) { return WriteAll(file, text.data(), text.size()); }))
    return {};
  return "Cannot create file " + path;
}

}  // namespace ostrel
