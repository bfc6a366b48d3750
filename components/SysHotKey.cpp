#include "components/SysHotKey.h"

#include <algorithm>

namespace ostrel {

// clang-format off
constexpr std::array<KeyEntry, kKeyCount> kKeyTable = {{
    // 0: no key
    {0x00, "None"},
    // 1-8: cancel .. escape
    {0x03, "Cancel"}, {0x08, "Back"}, {0x09, "Tab"}, {0x0C, "Clear"}, {0x0D, "Return"},
    {0x13, "Pause"}, {0x14, "Capital"}, {0x1B, "Escape"},
    // 9: space
    {0x20, "Space"},
    // 10-17: page up .. down arrow
    {0x21, "Prior"}, {0x22, "Next"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"}, {0x26, "Up"},
    {0x27, "Right"}, {0x28, "Down"},
    // 18-23: select, execute .. help
    {0x29, "Select"}, {0x2B, "Execute"}, {0x2C, "Snapshot"}, {0x2D, "Insert"}, {0x2E, "Delete"},
    {0x2F, "Help"},
    // 24-33: digits
    {0x30, "0"}, {0x31, "1"}, {0x32, "2"}, {0x33, "3"}, {0x34, "4"}, {0x35, "5"}, {0x36, "6"},
    {0x37, "7"}, {0x38, "8"}, {0x39, "9"},
    // 34-59: letters
    {0x41, "A"}, {0x42, "B"}, {0x43, "C"}, {0x44, "D"}, {0x45, "E"}, {0x46, "F"}, {0x47, "G"},
    {0x48, "H"}, {0x49, "I"}, {0x4A, "J"}, {0x4B, "K"}, {0x4C, "L"}, {0x4D, "M"}, {0x4E, "N"},
    {0x4F, "O"}, {0x50, "P"}, {0x51, "Q"}, {0x52, "R"}, {0x53, "S"}, {0x54, "T"}, {0x55, "U"},
    {0x56, "V"}, {0x57, "W"}, {0x58, "X"}, {0x59, "Y"}, {0x5A, "Z"},
    // 60-69: numeric pad 0-9
    {0x60, "Numpad0"}, {0x61, "Numpad1"}, {0x62, "Numpad2"}, {0x63, "Numpad3"}, {0x64, "Numpad4"},
    {0x65, "Numpad5"}, {0x66, "Numpad6"}, {0x67, "Numpad7"}, {0x68, "Numpad8"}, {0x69, "Numpad9"},
    // 70-75: numeric pad operators
    {0x6A, "Multiply"}, {0x6B, "Add"}, {0x6C, "Separator"}, {0x6D, "Subtract"}, {0x6E, "Decimal"},
    {0x6F, "Divide"},
    // 76-87: F1-F12
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"},
    {0x76, "F7"}, {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    // 88-99: F13-F24
    {0x7C, "F13"}, {0x7D, "F14"}, {0x7E, "F15"}, {0x7F, "F16"}, {0x80, "F17"}, {0x81, "F18"},
    {0x82, "F19"}, {0x83, "F20"}, {0x84, "F21"}, {0x85, "F22"}, {0x86, "F23"}, {0x87, "F24"},
    // 100-101: num lock, scroll lock
    {0x90, "Numlock"}, {0x91, "Scroll"},
    // 102-112: the punctuation keys, named by their US labels (VK_OEM_1 .. VK_OEM_7)
    {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
    // 113: the menu (application) key
    {0x5D, "Menu"},
    // 114-131: browser, volume, media and launch keys, in code order
    {0xA6, "Browser Back"}, {0xA7, "Browser Forward"}, {0xA8, "Browser Refresh"},
    {0xA9, "Browser Stop"}, {0xAA, "Browser Search"}, {0xAB, "Browser Favorites"},
    {0xAC, "Browser Home"}, {0xAD, "Volume Mute"}, {0xAE, "Volume Down"}, {0xAF, "Volume Up"},
    {0xB0, "Next Track"}, {0xB1, "Previous Track"}, {0xB2, "Stop Media"}, {0xB3, "Play/Pause"},
    {0xB4, "Mail"}, {0xB5, "Select Media"}, {0xB6, "Start App 1"}, {0xB7, "Start App 2"},
    // 132: the extra key of ISO keyboards, beside the left Shift (VK_OEM_102)
    {0xE2, "ISO \\"},
    // 133-141: the mouse, taken by the mouse hook (the wheel has no virtual key). The left
    // and right buttons come last: they go only with Ctrl, Alt or Win.
    {0x04, "Middle button"}, {0x05, "Back button"}, {0x06, "Forward button"},
    {0x00, "Wheel up"}, {0x00, "Wheel down"}, {0x00, "Wheel left"}, {0x00, "Wheel right"},
    {0x01, "Left button"}, {0x02, "Right button"},
}};
// clang-format on
// A short initialiser list would zero-fill the tail without complaint.
// Indexes are stored in Keys.fil: the old ones never move, new keys only ever go last.
static_assert(kKeyTable[101].code == 0x91 && kKeyTable[101].name == "Scroll");
static_assert(kKeyTable[132].code == 0xE2 && kKeyTable[kMiddleButton].code == 0x04);
static_assert(kKeyTable[kKeyCount - 1].code == 0x02 && kRightButton == kKeyCount - 1);

constexpr std::array<KeyModEntry, kKeyModCount> kKeyModTable = {{
    {"None", 0},
    {"Shift", hkShift},
    {"Shift+Alt", hkShift | hkAlt},
    {"Shift+Ctrl", hkShift | hkCtrl},
    {"Shift+Ctrl+Alt", hkShift | hkCtrl | hkAlt},
    {"Ctrl", hkCtrl},
    {"Ctrl+Alt", hkCtrl | hkAlt},
    {"Alt", hkAlt},
    {"Win", hkWin},
    // 9-15: Win with the others, added after the stored indexes 0-8, which keep their meaning
    {"Win+Shift", hkWin | hkShift},
    {"Win+Ctrl", hkWin | hkCtrl},
    {"Win+Alt", hkWin | hkAlt},
    {"Win+Shift+Ctrl", hkWin | hkShift | hkCtrl},
    {"Win+Shift+Alt", hkWin | hkShift | hkAlt},
    {"Win+Ctrl+Alt", hkWin | hkCtrl | hkAlt},
    {"Win+Shift+Ctrl+Alt", hkWin | hkShift | hkCtrl | hkAlt},
}};
static_assert(kKeyModTable[kKeyModCount - 1].set == (hkWin | hkShift | hkCtrl | hkAlt));

namespace {

struct ModifierFlag {
  THotKeyModifiers bit;
  unsigned flag;
};
constexpr std::array<ModifierFlag, 4> kModifierFlags = {{
    {hkShift, kModShift},
    {hkCtrl, kModControl},
    {hkAlt, kModAlt},
    {hkWin, kModWin},
}};

}  // namespace

std::string HotKeyName(std::int32_t key, std::int32_t keyMod) {
  if (key <= 0 || key >= static_cast<std::int32_t>(kKeyCount) || keyMod < 0 ||
      keyMod >= static_cast<std::int32_t>(kKeyModCount))
    return {};
  const std::string name(kKeyTable[static_cast<std::size_t>(key)].name);
  if (keyMod == 0) return name;
  return std::string(kKeyModTable[static_cast<std::size_t>(keyMod)].text) + "+" + name;
}

unsigned ModifierFlags(THotKeyModifiers mods) {
  unsigned flags = 0;
  for (const ModifierFlag& m : kModifierFlags)
    if (mods & m.bit) flags |= m.flag;
  return flags;
}

MouseInput MouseInputOf(std::uint32_t message, std::uint16_t dataHigh) {
  // WM_*BUTTON*, WM_MOUSEWHEEL and WM_MOUSEHWHEEL; XBUTTON1 is 1, XBUTTON2 is 2.
  const int turn = static_cast<std::int16_t>(dataHigh);
  switch (message) {
    case 0x0201:
      return {kLeftButton, true};
    case 0x0202:
      return {kLeftButton, false};
    case 0x0204:
      return {kRightButton, true};
    case 0x0205:
      return {kRightButton, false};
    case 0x0207:
      return {kMiddleButton, true};
    case 0x0208:
      return {kMiddleButton, false};
    case 0x020B:
    case 0x020C:
      if (dataHigh != 1 && dataHigh != 2) return {};
      return {dataHigh == 1 ? kBackButton : kForwardButton, message == 0x020B};
    // Away from the user is up; a tilt to the right is positive.
    case 0x020A:
      if (turn == 0) return {};
      return {turn > 0 ? kWheelUp : kWheelDown, true, turn};
    case 0x020E:
      if (turn == 0) return {};
      return {turn > 0 ? kWheelRight : kWheelLeft, true, turn};
    default:
      return {};
  }
}

TSysHotKey::TSysHotKey(HotKeyPort& port) : port_(port) {}

TSysHotKey::~TSysHotKey() {
  Clear();
  takenButtons_ = 0;
  FollowMouseEntries();
}

void TSysHotKey::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (active)
      Register(i);
    else
      Unregister(i);
  }
  FollowMouseEntries();
}

void TSysHotKey::AddHotKey(std::uint8_t key, THotKeyModifiers modifiers) {
  entries_.push_back(THotKeyEntry{modifiers, key, false});
  if (!active_) return;
  Register(entries_.size() - 1);
  FollowMouseEntries();
}

void TSysHotKey::Clear() {
  if (active_)
    for (std::size_t i = 0; i < entries_.size(); ++i) Unregister(i);
  entries_.clear();
  FollowMouseEntries();
}

void TSysHotKey::FollowMouseEntries() {
  const bool any = std::any_of(entries_.begin(), entries_.end(),
                               [](const THotKeyEntry& e) { return IsMouseKey(e.Key); });
  // A press taken keeps the hook until its release has been taken too.
  const bool want = (active_ && any) || takenButtons_ != 0;
  if (want != mouseHooked_) mouseHooked_ = port_.HookMouse(want) && want;
  // Without the hook no mouse entry can fire: such an entry counts as refused.
  for (THotKeyEntry& e : entries_)
    if (IsMouseKey(e.Key)) e.Registered = active_ && mouseHooked_;
}

bool TSysHotKey::WatchesMouse(std::uint32_t message, std::uint16_t dataHigh) const {
  const MouseInput in = MouseInputOf(message, dataHigh);
  if (!in.key) return false;
  if (!in.down) return (takenButtons_ >> (in.key - kMiddleButton)) & 1;
  return active_ && std::any_of(entries_.begin(), entries_.end(), [&](const THotKeyEntry& e) {
           return e.Registered && e.Key == in.key;
         });
}

bool TSysHotKey::MouseMessage(std::uint32_t message, std::uint16_t dataHigh,
                              THotKeyModifiers held) {
  const MouseInput in = MouseInputOf(message, dataHigh);
  if (!in.key) return false;
  const auto bit = static_cast<std::uint16_t>(1u << (in.key - kMiddleButton));
  if (!in.down) {
    const bool taken = (takenButtons_ & bit) != 0;
    takenButtons_ = static_cast<std::uint16_t>(takenButtons_ & ~bit);
    if (taken) FollowMouseEntries();
    return taken;
  }
  if (!active_ || IsUsersClick(in.key, held)) return false;
  std::size_t id = 0;
  while (id < entries_.size() &&
         !(entries_[id].Registered && entries_[id].Key == in.key && entries_[id].Modifiers == held))
    ++id;
  if (id == entries_.size()) return false;
  int runs = 1;
  if (in.delta != 0) {
    // Turned the other way, what was left of a notch counts no more.
    if (wheelKey_ != in.key) wheelKey_ = in.key, wheelRest_ = 0;
    wheelRest_ += in.delta < 0 ? -in.delta : in.delta;
    runs = wheelRest_ / kWheelNotch;
    wheelRest_ %= kWheelNotch;
  }
  if (!OnMouseHotKey || !OnMouseHotKey(*this, static_cast<std::int32_t>(id), runs)) {
    wheelKey_ = 0;
    return false;
  }
  if (in.delta == 0) takenButtons_ = static_cast<std::uint16_t>(takenButtons_ | bit);
  // Alt let go would open the menu bar, Win the Start menu: the click they went with never
  // reached anyone.
  if (held & (hkAlt | hkWin)) port_.MaskModifierRelease();
  return true;
}

void TSysHotKey::WmHotKey(std::uintptr_t wParam) {
  if (OnHotKey) OnHotKey(*this, static_cast<std::int32_t>(wParam & 0xFFFF));
}

void TSysHotKey::PassOn(std::size_t i) {
  // A click that is not taken simply goes on: only keys are handed on.
  if (i >= entries_.size() || !entries_[i].Registered || IsMouseKey(entries_[i].Key)) return;
  const THotKeyEntry& entry = entries_[i];
  port_.PassOn(static_cast<int>(i), ModifierFlags(entry.Modifiers), kKeyTable[entry.Key].code,
               ReplayWaitMs);
}

void TSysHotKey::WmDestroy() { SetActive(false); }

void TSysHotKey::Register(std::size_t i) {
  THotKeyEntry& entry = entries_[i];
  // A key index from a damaged definition must not read past the table; such an entry
  // simply stays unregistered, like one the system refused.
  if (entry.Key >= kKeyCount) {
    entry.Registered = false;
    return;
  }
  // The hook takes the mouse's entries (FollowMouseEntries).
  if (IsMouseKey(entry.Key)) return;
  entry.Registered = port_.RegisterHotKey(static_cast<int>(i), ModifierFlags(entry.Modifiers),
                                          kKeyTable[entry.Key].code);
}

void TSysHotKey::Unregister(std::size_t i) {
  THotKeyEntry& entry = entries_[i];
  if (!entry.Registered) return;
  entry.Registered = false;
  if (IsMouseKey(entry.Key)) return;
  port_.UnregisterHotKey(static_cast<int>(i));
}

}  // namespace ostrel
