// The main window as a test makes it: with a set of the platform's adapters of its own,
// made before the window and gone after it, as WinMain makes them.
#pragma once

#include "app/win32/Adapters.h"
#include "app/win32/OstrelForm.h"

namespace ostrel::testing {

// The adapters are a base named first, so they are made before the window and outlive it.
class OwnedForm : private Win32Adapters, public TOstrelForm {
 public:
  explicit OwnedForm(Timings timings = {})
      : Win32Adapters(), TOstrelForm(Ports(), timings) {}
};

}  // namespace ostrel::testing
