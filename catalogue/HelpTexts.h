// The program's help texts, by number: 0 the configuration window, the function types
// by their id (their texts are in their catalogue rows), 30..39, 43..46 and 48..50 the
// hotkey editor's controls (30 + the control's Tag) and 40 the macro-menu editor.
#pragma once

#include <string>
#include <string_view>

namespace ostrel {

// The help page's section of the configuration window, which the hotkey editor's help
// button opens too.
inline constexpr int kMainHelpContext = 99;

// The text of help number `id`, or an empty view when there is none.
std::string_view HelpText(int id);

// Every "@" becomes CR LF CR LF: the texts mark paragraph breaks with "@".
std::string ExpandParagraphs(std::string_view text);

}  // namespace ostrel
