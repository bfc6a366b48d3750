#include "macro/UserKeys.h"

#include <utility>

#include "platform/VirtualKeys.h"

namespace ostrel {

bool UserKeys::Take(const KeyInput& key, std::uintptr_t mark) {
  const std::lock_guard<std::mutex> hold(lock_);
  if (mark == kMacroMark) ++seen_;
  if (IsOstrelMark(mark)) return false;
  const std::uint8_t code = (key.flags & kKeyEventUnicode) ? 0 : static_cast<std::uint8_t>(key.vk);
  Down& state = down_[code];
  // A press of Esc (or its repeat) stops the macro; one held since before it does not.
  if (code == vk::kEscape && !key.Up() && (state == kUp || state == kEscTaken)) {
    stop_ = true;
    state = kEscTaken;
    return true;
  }
  switch (state) {
    case kEscTaken:
      state = kUp;
      return true;  // the release of an Esc that stopped the macro
    case kReleasedAtStart:
    case kReleasedRepeating:
      // Already up since the macro let it go: the release and the repeats go nowhere. A
      // repeat shows the key is really held.
      state = key.Up() ? kUp : kReleasedRepeating;
      return true;
    case kAtStart:
      if (!key.Up()) return true;  // a repeat
      state = kUp;
      break;
    case kUp:
      break;
  }
  if (!holdAll_ || held_.size() >= kHeldLimit) return false;
  held_.push_back(key);
  return true;
}

void UserKeys::DownAtStart(std::uint8_t vk, bool released) {
  const std::lock_guard<std::mutex> hold(lock_);
  down_[vk] = released ? kReleasedAtStart : kAtStart;
}

bool UserKeys::StillHeld(std::uint8_t vk) const {
  const std::lock_guard<std::mutex> hold(lock_);
  return down_[vk] == kReleasedRepeating;
}

bool UserKeys::StopAsked() const {
  const std::lock_guard<std::mutex> hold(lock_);
  return stop_;
}

std::size_t UserKeys::MacroKeysSeen() const {
  const std::lock_guard<std::mutex> hold(lock_);
  return seen_;
}

std::vector<KeyInput> UserKeys::TakeHeld() {
  const std::lock_guard<std::mutex> hold(lock_);
  return std::exchange(held_, {});
}

}  // namespace ostrel
