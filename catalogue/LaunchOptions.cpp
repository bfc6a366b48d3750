#include "catalogue/LaunchOptions.h"

#include <array>

#include "catalogue/FunCatalogue.h"

namespace ostrel {
namespace {

constexpr std::array<std::string_view, 3> kIfRunningWords = {"start", "activate", "toggle"};
constexpr std::array<std::string_view, 4> kShowWords = {"", "normal", "minimized", "maximized"};

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

}  // namespace

bool TakesLaunchOptions(std::int32_t funType) {
  return funType == ftOpenFile || funType == ftRunProgram;
}

bool TakesVariables(std::int32_t funType) {
  return (funType >= ftExploreFolder && funType <= ftRunProgram) || funType == ftBrowseFile;
}

std::string_view IfRunningWord(IfRunning value) {
  return kIfRunningWords[static_cast<std::size_t>(value)];
}

std::string_view ShowWord(ShowState value) { return kShowWords[static_cast<std::size_t>(value)]; }

std::optional<IfRunning> ParseIfRunning(std::string_view word) {
  for (std::size_t i = 0; i < kIfRunningWords.size(); ++i)
    if (SameWord(word, kIfRunningWords[i])) return static_cast<IfRunning>(i);
  return std::nullopt;
}

std::optional<ShowState> ParseShow(std::string_view word) {
  // The default has no word of its own: an empty value is no word at all.
  for (std::size_t i = 1; i < kShowWords.size(); ++i)
    if (SameWord(word, kShowWords[i])) return static_cast<ShowState>(i);
  return std::nullopt;
}

std::string LaunchText(const LaunchOptions& options) {
  constexpr std::array<std::string_view, 3> running = {"", "forward", "toggle"};
  constexpr std::array<std::string_view, 4> show = {"", "normal", "min", "max"};
  std::string text;
  auto add = [&text](std::string_view note) {
    if (!note.empty()) text += (text.empty() ? "" : ", ") + std::string(note);
  };
  add(running[static_cast<std::size_t>(options.ifRunning)]);
  add(show[static_cast<std::size_t>(options.show)]);
  if (options.elevated) add("admin");
  return text;
}

}  // namespace ostrel
