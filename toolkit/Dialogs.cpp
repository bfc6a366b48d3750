#include "toolkit/Dialogs.h"

namespace ostrel::tk {

void ShowMessage(HWND owner, MessageKind kind, const std::string& text) {
  const bool error = kind == MessageKind::mtError;
  MessageBoxA(owner, text.c_str(), error ? "Error" : "Information",
              MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace ostrel::tk
