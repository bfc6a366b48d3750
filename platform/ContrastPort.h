// Whether the system's high-contrast mode is on: while it is, every surface the program
// draws itself takes the system's colours instead of its own (toolkit/Colours.h).
#pragma once

namespace ostrel {

class ContrastPort {
 public:
  virtual ~ContrastPort() = default;
  // SystemParametersInfo(SPI_GETHIGHCONTRAST) has HCF_HIGHCONTRASTON set; asked afresh at
  // each call, so a theme changed while the program runs shows at its next drawing.
  virtual bool HighContrastOn() const = 0;
};

}  // namespace ostrel
