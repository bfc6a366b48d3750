// One subclass of one window, through comctl32: a member function of its owner sees the
// window's messages before the window's own procedure and passes each on with
// Subclass::Next (to the subclass put there before it, or to the window's procedure).
// Any number of parties may subclass one window, each knowing nothing of the others, and
// leave in any order, also while a message is on its way through them: comctl32 keeps
// the chain and gives the window its procedure back when the last one goes. A subclass
// goes with its owner, and at WM_NCDESTROY when the window goes first (the member still
// sees that message). Only the chain's own record names the owner: nothing is written
// into the window's data, so a window the program does not own can be subclassed too.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace ostrel::tk {

class Subclass {
 public:
  Subclass() = default;
  ~Subclass() { Detach(); }
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;

  // Puts `Member` of `owner` in front of `wnd`'s procedure, leaving the window attached
  // before. False (and nothing attached) for no window or one comctl32 refuses.
  template <auto Member, class T>
  bool Attach(HWND wnd, T* owner) {
    return Install(wnd, owner, [](void* o, HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      return (static_cast<T*>(o)->*Member)(w, msg, wp, lp);
    });
  }
  void Detach();
  // The window subclassed; none once detached or once the window has gone.
  HWND Window() const { return wnd_; }

  // For the member only, while it handles a message.
  static LRESULT Next(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefSubclassProc(wnd, msg, wp, lp);
  }

 private:
  using Call = LRESULT (*)(void* owner, HWND, UINT, WPARAM, LPARAM);
  bool Install(HWND wnd, void* owner, Call call);
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR ref);

  HWND wnd_ = nullptr;
  void* owner_ = nullptr;
  Call call_ = nullptr;
};

}  // namespace ostrel::tk
