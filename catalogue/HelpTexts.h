// The program's help texts, by number: 0 the configuration window, 1..20 the function
// types (number = type id), 40 the macro-menu editor; the hotkey editor adds 30..39.
#pragma once

#include <string>
#include <string_view>

namespace ostrel {

// The text of help number `id`, or an empty view when there is none.
std::string_view HelpText(int id);

// Every "@" becomes CR LF CR LF: the texts mark paragraph breaks with "@".
std::string ExpandParagraphs(std::string_view text);

}  // namespace ostrel
