// The help page: an HTML file beside the program, opened in the user's browser at the
// section of a help context ("context-99" for the configuration window, "context-40" for
// the macro-menu editor).
#pragma once

#include <string>
#include <string_view>

namespace ostrel {

// The page's file name; the build copies it beside Ostrel.exe.
inline constexpr std::string_view kHelpPageName = "ostrel.htm";

// The page's path: the program's folder (its path up to and including the last "\",
// "/" or ":") followed by the page's name.
std::string HelpPagePath(std::string_view modulePath);

// The page's address at a help context, from the program's own path:
// "C:\Some Dir\Ostrel.exe", 99 gives "file:///C:/Some%20Dir/ostrel.htm#context-99".
// Backslashes become slashes; every byte but letters, digits, "-._~", the slashes and
// the drive's colon is percent-encoded, so the address holds no blank, "#", "%" or
// quote of its own and passes as one argument unquoted. Bytes above 127 are encoded as
// they are: give the path in UTF-8. A network path "\\server\share\..." gives
// "file://server/share/..."; the "\\?\" prefix of a long path is dropped.
std::string HelpPageAddress(std::string_view modulePath, int context);

// The command line that opens the page's address with a program: `registered` is the
// command it registered to open ".htm" files or "http" addresses, its environment
// variables already expanded. The address takes the place of each "%1" or "%L" ("%l"),
// "%*" (the further arguments: there are none) goes, any other "%" stays; a command that
// names no place for the address gets it at its end after a blank. The address holds no
// blank or quote of its own, so it needs no quoting.
std::string HelpCommandLine(std::string_view registered, std::string_view address);

}  // namespace ostrel
