// The toolkit's message boxes: one OK button, caption "Error" or "Information".
#pragma once

#include <windows.h>

#include <string>

namespace ostrel::tk {

enum class MessageKind { mtError, mtInformation };

void ShowMessage(HWND owner, MessageKind kind, const std::string& text);

}  // namespace ostrel::tk
