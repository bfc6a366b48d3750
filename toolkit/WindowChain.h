// Window procedures put in front of a window's own by any number of parties, each
// knowing nothing of the others. The newest link is called first and may pass the
// message on to the one before it; the oldest passes on to the procedure the window had
// before the first link. Links may go in any order, also while a message is on its way
// through them: one removed meanwhile is passed over. When the last link goes, the
// window gets its own procedure back (unless someone else has put a procedure in front
// of ours meanwhile: then ours stays, passing straight through); a window destroyed
// first gets it back itself, and its links are forgotten.
#pragma once

#include <windows.h>

#include <functional>

namespace ostrel::tk {

// Passes the message on to the link before, or to the window's own procedure.
using PassOn = std::function<LRESULT()>;
using ChainedProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, const PassOn& previous)>;

// Puts `proc` in front of the window's procedure as the link `key` (a key names one link
// per window: usually the object that installs it).
void ChainWindowProc(HWND wnd, const void* key, ChainedProc proc);
void UnchainWindowProc(HWND wnd, const void* key);

}  // namespace ostrel::tk
