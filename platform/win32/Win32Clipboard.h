// The clipboard behind ClipboardPort, through a hidden message-only window of our own:
// it opens the clipboard, owns what we put there, and hands over a format placed on
// request when a program asks for it. The window is made at the first use, on the
// thread that uses the port (the program's one thread).
#pragma once

#include <windows.h>

#include <map>

#include "platform/ClipboardPort.h"
#include "platform/win32/Handles.h"

namespace ostrel {

class Win32Clipboard : public ClipboardPort {
 public:
  Win32Clipboard() = default;
  // Hands over whatever is still placed on request, then destroys the window.
  ~Win32Clipboard() override;
  Win32Clipboard(const Win32Clipboard&) = delete;
  Win32Clipboard& operator=(const Win32Clipboard&) = delete;

  bool Open() override;
  void Close() override;
  bool Empty() override;
  std::vector<std::uint32_t> Formats() override;
  std::optional<std::string> Data(std::uint32_t format) override;
  bool SetData(std::uint32_t format, const std::string& bytes) override;
  bool SetDataOnRequest(std::uint32_t format, const std::string& bytes) override;
  int RenderRequests() override;
  std::uint32_t RegisterFormat(const std::string& name) override;
  std::uint32_t SequenceNumber() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND Window();
  // While the clipboard is open: hands `format` over from what was placed on request.
  void Render(UINT format);
  void RenderAll();

  std::map<UINT, std::string> onRequest_;
  int renders_ = 0;
  // Last, so the window goes first: it may still be asked to render while it is destroyed.
  WindowOwner hwnd_;
};

}  // namespace ostrel
