// The name an owner-drawn menu item hands to assistive technology: the item's own text
// ("&" and all, a tab before its shortcut) in UTF-16, as a screen reader speaks it. The
// captions are ANSI bytes of the system's code page, so they are read through it: in
// code page 932 "&ボタン" is spoken as those three kana, not as the bytes' Latin look-alikes.
#pragma once

#include <string>
#include <string_view>

#include "platform/CodePagePort.h"

namespace ostrel {

// The text the item's string holds: the caption, and the shortcut after a tab.
std::string MenuItemText(std::string_view caption, std::string_view shortcut);

// `text` in UTF-16 through the code page. Bytes the code page refuses as text (a lead
// byte cut from its trail in a damaged file) are left out one character at a time, so
// the rest of the name is still spoken.
std::u16string SpokenMenuText(std::string_view text, CodePagePort& codePage);

}  // namespace ostrel
