#include "components/SysHot.h"

namespace ostrel {

// clang-format off
constexpr std::array<std::uint8_t, kKeyCount> kKeyTable = {
    0x00,                                            // 0: no key
    0x03, 0x08, 0x09, 0x0C, 0x0D, 0x13, 0x14, 0x1B,  // 1-8: cancel .. escape
    0x20,                                            // 9: space
    0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,  // 10-17: page up .. down arrow
    0x29, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,              // 18-23: select, execute .. help
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39,  // 24-33: digits
    0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D,  // 34-46
    0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A,  // 47-59
    0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,  // 60-69: numeric pad 0-9
    0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,              // 70-75: numeric pad operators
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B,  // 76-87: F1-F12
    0x7C, 0x7D, 0x7E, 0x7F, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87,  // 88-99: F13-F24
    0x90, 0x91,                                      // 100-101: num lock, scroll lock
};
// clang-format on
// A short initialiser list would zero-fill the tail without complaint.
static_assert(kKeyTable[kKeyCount - 1] == 0x91 && kKeyTable[kKeyCount - 2] == 0x90);

// The editor's names of the key indexes, in the same order as kKeyTable.
// clang-format off
constexpr std::array<std::string_view, kKeyCount> kKeyNames = {
    "None", "Cancel", "Back", "Tab", "Clear", "Return", "Pause", "Capital", "Escape", "Space",
    "Prior", "Next", "End", "Home", "Left", "Up", "Right", "Down", "Select", "Execute",
    "Snapshot", "Insert", "Delete", "Help", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R",
    "S", "T", "U", "V", "W", "X", "Y", "Z", "Numpad0", "Numpad1", "Numpad2", "Numpad3",
    "Numpad4", "Numpad5", "Numpad6", "Numpad7", "Numpad8", "Numpad9", "Multiply", "Add",
    "Separator", "Subtract", "Decimal", "Divide", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8",
    "F9", "F10", "F11", "F12", "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21",
    "F22", "F23", "F24", "Numlock", "Scroll",
};
// clang-format on
static_assert(kKeyNames[kKeyCount - 1] == "Scroll" && kKeyNames[kKeyCount - 2] == "Numlock");

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
}};

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

unsigned ModifierFlags(THotKeyModifiers mods) {
  unsigned flags = 0;
  for (const ModifierFlag& m : kModifierFlags)
    if (mods & m.bit) flags |= m.flag;
  return flags;
}

TSysHotKey::TSysHotKey(HotKeyPort& port) : port_(port) {}

TSysHotKey::~TSysHotKey() { Clear(); }

void TSysHotKey::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (active)
      Register(i);
    else
      Unregister(i);
  }
}

void TSysHotKey::AddHotKey(std::uint8_t key, THotKeyModifiers modifiers) {
  entries_.push_back(THotKeyEntry{modifiers, key, false});
  if (active_) Register(entries_.size() - 1);
}

void TSysHotKey::Clear() {
  if (active_)
    for (std::size_t i = 0; i < entries_.size(); ++i) Unregister(i);
  entries_.clear();
}

void TSysHotKey::WmHotKey(std::uintptr_t wParam) {
  if (OnHotKey) OnHotKey(*this, static_cast<std::int32_t>(wParam & 0xFFFF));
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
  entry.Registered = port_.RegisterHotKey(static_cast<int>(i), ModifierFlags(entry.Modifiers),
                                          kKeyTable[entry.Key]);
}

void TSysHotKey::Unregister(std::size_t i) {
  THotKeyEntry& entry = entries_[i];
  if (!entry.Registered) return;
  port_.UnregisterHotKey(static_cast<int>(i));
  entry.Registered = false;
}

}  // namespace ostrel
