// How a modal dialog ended, as its buttons set it. The toolkit's forms, the dialogs'
// logic in the core and the tests all speak these values; no <windows.h>, so the core
// can use them too.
#pragma once

namespace ostrel {

inline constexpr int mrNone = 0;  // still open, or ended without a result
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

}  // namespace ostrel
