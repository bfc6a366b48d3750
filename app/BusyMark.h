// A busy mark held for the length of a scope: set on entry, put back as it was on the
// way out, however the guarded work ends.
#pragma once

namespace ostrel {

class BusyMark {
 public:
  explicit BusyMark(bool& mark) : mark_(mark), was_(mark) { mark_ = true; }
  ~BusyMark() { mark_ = was_; }
  BusyMark(const BusyMark&) = delete;
  BusyMark& operator=(const BusyMark&) = delete;

 private:
  bool& mark_;
  bool was_;
};

}  // namespace ostrel
