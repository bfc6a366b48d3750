// Opens the help page beside the program in the user's browser at a help context.
#pragma once

#include <windows.h>

namespace ostrel {

// Runs the program that opens ".htm" files (or else the one that opens "http" addresses)
// with the page's address, so the browser keeps the "#context-n" part, which the shell
// drops when it turns a file address back into a path; failing that, asks the shell to
// open the address. When nothing opens it,
// or the page is not beside the program, says so in an error box.
void OpenHelpPage(HWND owner, int context);

}  // namespace ostrel
