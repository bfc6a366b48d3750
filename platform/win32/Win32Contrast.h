// The system's high-contrast switch, behind ContrastPort.
#pragma once

#include "platform/ContrastPort.h"

namespace ostrel {

class Win32Contrast : public ContrastPort {
 public:
  bool HighContrastOn() const override;
};

}  // namespace ostrel
