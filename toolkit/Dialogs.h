// The toolkit's message boxes (one OK button, caption "Error" or "Information") and its
// input box.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace ostrel::tk {

enum class MessageKind { mtError, mtInformation };

void ShowMessage(HWND owner, MessageKind kind, const std::string& text);

// The input box's window class, for whoever has to find it on the screen.
inline constexpr const char* kInputBoxClass = "TInputBox";
// Control ids inside the input box.
inline constexpr int kInputBoxEdit = 101;
inline constexpr int kInputBoxOk = IDOK;
inline constexpr int kInputBoxCancel = IDCANCEL;

// A small modal window with a caption, a prompt, an edit box holding `initial`, OK and
// Cancel. Returns the edit box's text after OK (or Enter), "" after Cancel, Escape or the
// close box.
std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                     const std::string& initial);

// The platform's open-file dialog for an existing file. `filter` pairs a description with
// a pattern, "|"-separated ("All files|*.*"). The full path, or nothing when cancelled.
// The working folder stays as it was.
std::optional<std::string> OpenFileDialog(HWND owner, const std::string& filter);

}  // namespace ostrel::tk
