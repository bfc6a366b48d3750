// TWindowedComponent: gives a non-visual component a hidden top-level window of its own,
// so that it can receive window messages. The window is never shown; it is created on
// the first read of Handle() and destroyed with the component.
#pragma once

#include <windows.h>

#include "platform/win32/Handles.h"

namespace ostrel {

class TWindowedComponent {
 public:
  TWindowedComponent() = default;
  virtual ~TWindowedComponent();
  TWindowedComponent(const TWindowedComponent&) = delete;
  TWindowedComponent& operator=(const TWindowedComponent&) = delete;

  // Creates the window on the first read.
  HWND Handle();
  bool HandleAllocated() const { return static_cast<bool>(window_); }

 protected:
  // Every message of the window; the default is DefWindowProcA.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  // Destroyed with the component (after the destructor above has unbound it).
  WindowOwner window_;
};

}  // namespace ostrel
