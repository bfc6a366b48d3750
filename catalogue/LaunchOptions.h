// How a definition that names a program or a file starts it: what happens when the program
// already runs, the window state it is asked for, and whether it runs as administrator.
// Kept in Keys.ini beside the definition's programs (IfRunning=, Show=, Elevated=); a
// definition that says nothing starts a new copy with its kind's show command, as always.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

enum class IfRunning : std::uint8_t {
  kStart,     // start another copy
  kActivate,  // bring the program's last active window in front, or else start it
  kToggle,    // as kActivate, but a window already in front is minimised
};

enum class ShowState : std::uint8_t {
  kDefault,  // the show command of the definition's kind
  kNormal,
  kMinimized,
  kMaximized,
};

struct LaunchOptions {
  IfRunning ifRunning = IfRunning::kStart;
  ShowState show = ShowState::kDefault;
  bool elevated = false;

  bool Plain() const { return *this == LaunchOptions{}; }
  bool operator==(const LaunchOptions&) const = default;
};

// The kinds that start a program or open a file: only they take the options.
bool TakesLaunchOptions(std::int32_t funType);
// The kinds whose target, parameters and folder are paths, in which %NAME% is expanded:
// folders, files, programs and file:// addresses (a web address keeps its "%20").
bool TakesVariables(std::int32_t funType);

// Keys.ini's words, in the order of the enumerations: "start", "activate", "toggle";
// "normal", "minimized", "maximized" (kDefault is written as no line at all).
std::string_view IfRunningWord(IfRunning value);
std::string_view ShowWord(ShowState value);
// A word read back, case ignored; nothing for a word Ostrel does not know.
std::optional<IfRunning> ParseIfRunning(std::string_view word);
std::optional<ShowState> ParseShow(std::string_view word);

// What the tree shows after a definition's name: "forward", "toggle", "max", "min",
// "normal", "admin", joined by ", "; empty when plain.
std::string LaunchText(const LaunchOptions& options);

}  // namespace ostrel
