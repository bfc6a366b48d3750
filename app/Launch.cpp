#include "app/Launch.h"

#include "components/TrayIcon.h"

namespace ostrel {
namespace {

inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowMinNoActive = 7;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// A window's top owner: minimising a dialog alone would leave its owner in front.
WindowHandle TopOwner(WindowPort& windows, WindowHandle wnd) {
  // Owners form no cycles, but a window destroyed meanwhile must not keep the loop going.
  for (int depth = 0; depth < 16; ++depth) {
    const WindowHandle owner = windows.GetWindowOwner(wnd);
    if (!owner) break;
    wnd = owner;
  }
  return wnd;
}

}  // namespace

std::string ExpandVariables(std::string_view text, const VariableLookup& lookup) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('%', i);
    if (open == std::string_view::npos) break;
    out.append(text, i, open - i);
    if (open + 1 < text.size() && text[open + 1] == '%') {
      out += '%';
      i = open + 2;
      continue;
    }
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) {
      i = open;
      break;
    }
    const std::string name(text.substr(open + 1, close - open - 1));
    const std::optional<std::string> value = lookup ? lookup(name) : std::nullopt;
    if (value) {
      out += *value;
      i = close + 1;
    } else {
      // "%20%41" in an address names no variable: both "%" stay, and the second may
      // still open one.
      out += '%';
      out += name;
      i = close;
    }
  }
  out.append(text, i);
  return out;
}

int ShowCommand(ShowState show, int kindShow) {
  switch (show) {
    case ShowState::kNormal:
      return kSwShowNormal;
    // Started minimised, it does not take the user's input from the window in front.
    case ShowState::kMinimized:
      return kSwShowMinNoActive;
    case ShowState::kMaximized:
      return kSwShowMaximized;
    case ShowState::kDefault:
      break;
  }
  return kindShow;
}

WindowHandle RunningWindow(ProgramPort& programs, WindowPort& windows,
                           const std::string& programPath, const std::string& title) {
  if (programPath.empty()) return 0;
  const std::string wanted = Lower(programPath), word = Lower(title);
  const std::uint32_t session = programs.OwnSession();
  for (WindowHandle wnd : programs.VisibleTopLevelWindows()) {
    const std::uint32_t process = programs.ProcessOfWindow(wnd);
    if (process == 0 || Lower(programs.ProcessImagePath(process)) != wanted) continue;
    // Another user's copy on the same computer is not this user's to bring forward.
    if (programs.ProcessSession(process) != session) continue;
    if (!word.empty() && Lower(windows.GetWindowTextA(wnd)).find(word) == std::string::npos)
      continue;
    return wnd;
  }
  return 0;
}

void BringForward(ProgramPort& programs, WindowPort& windows, WindowHandle wnd, bool toggle) {
  // A minimised window may still be the active one, but it is not in front.
  const bool iconic = programs.IsIconic(wnd);
  if (toggle && !iconic && programs.ForegroundWindow() == wnd) {
    windows.ShowWindow(TopOwner(windows, wnd), kSwMinimize);
    return;
  }
  if (iconic) windows.ShowWindow(wnd, kSwRestore);
  // The hotkey's press was the last input, which lets the program that received it hand
  // the foreground on.
  windows.SetForegroundWindow(wnd);
}

std::string FileStem(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/:");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

std::string LaunchFailureText(const TKeyRec& def, const std::string& reason,
                              const LeadBytes& lead) {
  const std::string group = TrimText(def.Group.str()), name = TrimText(def.Name.str());
  const std::string who = "\"" + (group.empty() ? name : group + ": " + name) + "\"";
  return lead.Cut(who + " could not run: " + reason, kBalloonTextLimit);
}

}  // namespace ostrel
