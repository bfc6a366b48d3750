#include "app/OneCopy.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace ostrel {

namespace {

// The words of a command line: separated by blanks, a double-quoted stretch being part
// of its word without its quotes.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

bool IsSlash(char c) { return c == '\\' || c == '/'; }

bool HasDrive(const std::string& p) {
  return p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]));
}

// "C:" of "C:\dir", or "\\server\share" of a UNC folder.
std::string RootOf(const std::string& folder) {
  if (HasDrive(folder)) return folder.substr(0, 2);
  if (folder.size() > 2 && IsSlash(folder[0]) && IsSlash(folder[1])) {
    std::size_t server = folder.find_first_of("\\/", 2);
    if (server == std::string::npos) return folder;
    std::size_t share = folder.find_first_of("\\/", server + 1);
    return folder.substr(0, share);
  }
  return {};
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && !IsSlash(folder.back())) folder += '\\';
  return folder;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::string FullPath(const std::string& path, const std::string& currentFolder) {
  if (HasDrive(path) && path.size() > 2 && IsSlash(path[2])) return path;
  if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) return path;
  if (!path.empty() && IsSlash(path[0])) return RootOf(currentFolder) + path;
  if (HasDrive(path)) {
    // "D:file": against the current folder when that is on D:, else D:'s root.
    if (Lower(RootOf(currentFolder)) == Lower(path.substr(0, 2)))
      return WithSlash(currentFolder) + path.substr(2);
    return path.substr(0, 2) + "\\" + path.substr(2);
  }
  return WithSlash(currentFolder) + path;
}

StartRequest ParseCommandLine(const std::string& commandLine, const std::string& currentFolder) {
  const std::vector<std::string> words = Words(commandLine);
  if (words.empty() || words[0].empty() || (words[0][0] != '/' && words[0][0] != '-')) return {};
  const std::string sw = Lower(words[0].substr(1));
  StartRequest request;
  if (sw == "import")
    request.kind = StartRequest::kImport;
  else if (sw == "export")
    request.kind = StartRequest::kExport;
  if (request.kind == StartRequest::kNone || words.size() != 2 || words[1].empty())
    return {StartRequest::kUsage, {}};
  request.path = FullPath(words[1], currentFolder);
  return request;
}

std::optional<StartRequest> ReadStartRequest(std::uintptr_t id, const void* data,
                                             std::size_t size) {
  StartRequest request;
  if (id == kImportRequestId)
    request.kind = StartRequest::kImport;
  else if (id == kExportRequestId)
    request.kind = StartRequest::kExport;
  else
    return std::nullopt;
  if (!data) return std::nullopt;
  // The sender hands the path without a terminator; one within the bytes ends it.
  const auto* bytes = static_cast<const char*>(data);
  const void* nul = std::memchr(bytes, '\0', size);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;
  if (length == 0 || length > kMaxRequestPath) return std::nullopt;
  request.path.assign(bytes, length);
  return request;
}

StartOutcome ClaimOnlyCopy(OneCopyPort& copy, WindowPort& windows, SystemPort& system,
                           const StartRequest& request, const Timings& timings) {
  if (request.kind == StartRequest::kUsage) {
    copy.Tell(kUsageText);
    return {false, 2};
  }
  if (copy.TakeRunningMark()) return {};
  const bool handsOver = request.kind != StartRequest::kNone;
  // The first copy takes its mark before it makes its window: give it a moment.
  std::uint64_t start = system.TickCount();
  WindowHandle first = windows.FindWindowByClass(kMainWindowClass);
  while (!first && system.TickCount() - start < timings.firstCopyWaitMs) {
    system.Sleep(timings.firstCopyPollMs);
    first = windows.FindWindowByClass(kMainWindowClass);
  }
  // Without a window the first copy is starting or ending; either way it holds the
  // hotkeys and the file, and a second copy would only fight it for them.
  if (!first) return {false, handsOver ? 1 : 0};
  copy.AllowForeground(first);
  if (!handsOver) {
    windows.PostMessageA(first, copy.ShowRequestMessage(), 0, 0);
    return {false, 0};
  }
  const std::uintptr_t id =
      request.kind == StartRequest::kImport ? kImportRequestId : kExportRequestId;
  // A first copy still setting up has no definitions to export yet: ask again.
  start = system.TickCount();
  for (;;) {
    const std::optional<std::uintptr_t> answer =
        copy.SendRequest(first, id, request.path, timings.requestAnswerMs);
    if (answer != kRequestNotReady || system.TickCount() - start >= timings.requestSetupWaitMs)
      return {false, answer == kRequestDone ? 0 : 1};
    system.Sleep(timings.firstCopyPollMs);
  }
}

}  // namespace ostrel
