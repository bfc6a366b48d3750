#include "toolkit/Subclass.h"

namespace ostrel::tk {

// The subclass's own address tells it from any other party's in the window's chain.
bool Subclass::Install(HWND wnd, void* owner, Call call) {
  Detach();
  if (!wnd || !owner) return false;
  owner_ = owner;
  call_ = call;
  const auto self = reinterpret_cast<UINT_PTR>(this);
  if (!SetWindowSubclass(wnd, &Subclass::Proc, self, static_cast<DWORD_PTR>(self))) return false;
  wnd_ = wnd;
  return true;
}

void Subclass::Detach() {
  if (!wnd_) return;
  RemoveWindowSubclass(wnd_, &Subclass::Proc, reinterpret_cast<UINT_PTR>(this));
  wnd_ = nullptr;
}

LRESULT CALLBACK Subclass::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<Subclass*>(ref);
  // Read before the call: the owner, and this subclass with it, may be destroyed while
  // the message goes on through the chain.
  void* const owner = self->owner_;
  const Call call = self->call_;
  if (msg == WM_NCDESTROY) self->Detach();
  return call(owner, wnd, msg, wp, lp);
}

}  // namespace ostrel::tk
