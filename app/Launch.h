// Starting what a definition names: variables in its texts, a running copy brought
// forward instead of a second one, the window state, running as administrator, and the
// words of a launch the shell refused. The dispatcher (Dispatcher.cpp) runs it; these
// are its rules, each with only the ports it needs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/KeyRec.h"
#include "catalogue/LaunchOptions.h"
#include "platform/CodePage.h"
#include "platform/ProgramPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// The value of an environment variable; nothing for one that is not set.
using VariableLookup = std::function<std::optional<std::string>(const std::string&)>;

// `text` with every %NAME% the environment knows replaced by its value and "%%" by one
// "%". An unknown %NAME% stays as it stands, and its second "%" may open the next name.
// The result may be longer than any field: it is used, never stored.
std::string ExpandVariables(std::string_view text, const VariableLookup& lookup);

// The SW_* command for a window state; `kindShow`, the kind's own, for the default.
int ShowCommand(ShowState show, int kindShow);

// The window of a running copy of `programPath` (case ignored) in the program's own
// session: the first visible top-level window in z-order, which is the one last active.
// With a `title` (a file's name without folder and extension) only a window whose
// title holds it counts, so another document of the same program is not taken for it.
// 0 when none.
WindowHandle RunningWindow(ProgramPort& programs, WindowPort& windows,
                           const std::string& programPath, const std::string& title);

// Brings `wnd` in front, restored if minimised. With `toggle`, a window already in front
// (or one of its own dialogs) is minimised instead, its top owner with it.
void BringForward(ProgramPort& programs, WindowPort& windows, WindowHandle wnd, bool toggle);

// The file's name without its folder and its extension: "C:\Notes\todo.txt" -> "todo".
std::string FileStem(std::string_view path);

// The balloon's text for a launch the shell refused, naming the definition as the tree
// does ("Tools: Editor", or "Editor" without a group) and the system's reason, within the
// balloon's limit and never cut inside a character:
//   "Tools: Editor" could not run: The system cannot find the file specified.
std::string LaunchFailureText(const TKeyRec& def, const std::string& reason, const LeadBytes& lead);

}  // namespace ostrel
