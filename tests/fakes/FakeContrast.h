// The high-contrast switch as a test sets it (Wine cannot switch the system's own).
#pragma once

#include "platform/ContrastPort.h"

namespace ostrel::testing {

struct FakeContrast : ContrastPort {
  bool on = false;
  bool HighContrastOn() const override { return on; }
};

}  // namespace ostrel::testing
