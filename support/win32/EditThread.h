// A target to type into: a top-level window with two single-line edits, made by a
// thread of its own with a dialog-style message loop (TAB moves between the edits, keys
// are translated into characters), as another program's window would be. The SendKeys
// tests and the typing bench both type into it. Multi-line edits take Enter as a line
// break, for macros of several paragraphs.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace ostrel {

class EditThread {
 public:
  explicit EditThread(bool multiline = false) : multiline_(multiline) {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    drained_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
    ready_ok_ = WaitForSingleObject(ready_, 10000) == WAIT_OBJECT_0;
  }
  ~EditThread() {
    // Without its window the thread's loop still ends, so the join cannot wait for ever.
    if (window_) {
      PostMessageA(window_, WM_CLOSE, 0, 0);
    } else {
      PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    }
    thread_.join();
    CloseHandle(ready_);
    CloseHandle(drained_);
  }
  EditThread(const EditThread&) = delete;
  EditThread& operator=(const EditThread&) = delete;

  // Whether the thread made its window within 10 s.
  bool Ready() const { return ready_ok_; }
  HWND Window() const { return window_; }
  HWND Edit(int i) const { return edits_[i]; }
  DWORD ThreadId() const { return threadId_; }

  // Waits (10 s at most) until the thread has handled everything posted to it so far.
  bool Drain() {
    PostMessageA(window_, kMsgDrained, 0, 0);
    return WaitForSingleObject(drained_, 10000) == WAIT_OBJECT_0;
  }
  std::string Text(int i) const {
    DWORD_PTR n = 0;
    SendMessageTimeoutA(edits_[i], WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &n);
    std::string buf(n + 1, '\0');
    SendMessageTimeoutA(edits_[i], WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                        SMTO_BLOCK, 5000, &n);
    buf.resize(n);
    return buf;
  }
  void Clear(int i) const {
    SendMessageTimeoutA(edits_[i], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_BLOCK, 5000,
                        nullptr);
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
  }

 private:
  static constexpr UINT kMsgDrained = WM_APP + 1;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<EditThread*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
      case kMsgDrained:
        SetEvent(self->drained_);
        return 0;
      case WM_SETFOCUS:
        if (self) SetFocus(self->edits_[self->focusIndex_]);
        return 0;
      case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE && self) {
          HWND f = GetFocus();
          self->focusIndex_ = f == self->edits_[1] ? 1 : 0;
        }
        break;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }

  void Run() {
    threadId_ = GetCurrentThreadId();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OstrelEditThreadWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "Typing target", WS_OVERLAPPEDWINDOW, 100, 100,
                             320, 140, nullptr, nullptr, wc.hInstance, nullptr);
    const DWORD kind = multiline_ ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL
                                  : ES_AUTOHSCROLL;
    for (int i = 0; i < 2; ++i)
      edits_[i] =
          CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind,
                          10, 10 + 40 * i, 280, 28, w, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    SetFocus(edits_[0]);
    window_ = w;
    SetEvent(ready_);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (IsDialogMessageA(w, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    DestroyWindow(w);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
  }

  bool multiline_ = false;
  HANDLE ready_ = nullptr;
  HANDLE drained_ = nullptr;
  bool ready_ok_ = false;
  std::thread thread_;
  std::atomic<HWND> window_{nullptr};
  HWND edits_[2] = {};
  int focusIndex_ = 0;
  DWORD threadId_ = 0;
};

}  // namespace ostrel
