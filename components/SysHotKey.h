// TSysHotKey: an ordered list of system-wide hotkeys, registered with the window system
// while the component is active. A hotkey's id is its position in the list, and a press
// is reported with that id. The hidden window that owns the registrations and receives
// WM_HOTKEY is the HotKeyPort's business (components/win32/WindowedComponent.h on Windows).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// THotKeyModifiers: one byte of set bits.
using THotKeyModifiers = std::uint8_t;
inline constexpr THotKeyModifiers hkShift = 1;
inline constexpr THotKeyModifiers hkCtrl = 2;
inline constexpr THotKeyModifiers hkAlt = 4;
inline constexpr THotKeyModifiers hkWin = 8;

// The window system's modifier flags (MOD_*).
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;
inline constexpr unsigned kModWin = 8;

// A key index (0..132, as stored in a definition): its virtual-key code and the name the
// hotkey editor lists for it ("None", "Cancel", ... "Scroll", ";", ... "Play/Pause").
// Index 0 is no key. An index beyond the table (a damaged file, or one written by a
// later version) names no key and gets no hotkey.
struct KeyEntry {
  std::uint8_t code;
  std::string_view name;
};
inline constexpr std::size_t kKeyCount = 133;
extern const std::array<KeyEntry, kKeyCount> kKeyTable;

// Modifier index (0..15, as stored in a definition): the editor's text and the modifier
// set it stands for. The order of the list is not the order of the sets' bit values.
struct KeyModEntry {
  std::string_view text;
  THotKeyModifiers set;
};
inline constexpr std::size_t kKeyModCount = 16;
extern const std::array<KeyModEntry, kKeyModCount> kKeyModTable;

// "Ctrl+Alt+T", "F5" (modifiers "None"): a hotkey as the editor's lists name it; empty
// for key index 0 or an index outside the lists.
std::string HotKeyName(std::int32_t key, std::int32_t keyMod);

// The MOD_* flags of a modifier set (the bit order differs from the flag order).
unsigned ModifierFlags(THotKeyModifiers mods);

// What the component needs of the window system: RegisterHotKey / UnregisterHotKey on
// its own hidden window (created on first use).
class HotKeyPort {
 public:
  virtual ~HotKeyPort() = default;
  virtual bool RegisterHotKey(int id, unsigned modFlags, unsigned vk) = 0;
  virtual bool UnregisterHotKey(int id) = 0;
  // The press of hotkey `id` goes on to the program in front as if no hotkey held it: one
  // press of `vk` with the modifiers of `modFlags` down (those the user has let go of are
  // pressed again and released after), not caught as the hotkey again; the hotkey is
  // back at the latest `waitMs` later (components/PassOn.h).
  virtual void PassOn(int id, unsigned modFlags, unsigned vk, std::uint32_t waitMs) = 0;
};

struct THotKeyEntry {
  THotKeyModifiers Modifiers = 0;
  std::uint8_t Key = 0;
  bool Registered = false;
};

class TSysHotKey {
 public:
  using THotKeyEvent = std::function<void(TSysHotKey& sender, std::int32_t index)>;

  explicit TSysHotKey(HotKeyPort& port);
  ~TSysHotKey();
  TSysHotKey(const TSysHotKey&) = delete;
  TSysHotKey& operator=(const TSysHotKey&) = delete;

  bool Active() const { return active_; }
  // false -> true registers every entry in list order; true -> false unregisters them.
  void SetActive(bool active);

  // Appends an entry; registers it at once when active. Never reports a refusal: the
  // entry's Registered flag tells.
  void AddHotKey(std::uint8_t key, THotKeyModifiers modifiers);
  // Unregisters (when active) and drops every entry; Active keeps its value.
  void Clear();

  // The press of entry `i` goes on to the program in front (HotKeyPort::PassOn); nothing
  // for an entry that is not registered.
  void PassOn(std::size_t i);

  std::size_t Count() const { return entries_.size(); }
  const THotKeyEntry& Entry(std::size_t i) const { return entries_[i]; }

  THotKeyEvent OnHotKey;
  // How long a press handed on may take to pass before its hotkey is taken back
  // regardless; the owner sets it from the program's delays.
  std::uint32_t ReplayWaitMs = 0;

  // Messages of the hidden window.
  void WmHotKey(std::uintptr_t wParam);  // a press: OnHotKey(low word of wParam)
  void WmDestroy();                      // the window goes: no longer active

 private:
  void Register(std::size_t i);
  void Unregister(std::size_t i);

  HotKeyPort& port_;
  bool active_ = false;
  std::vector<THotKeyEntry> entries_;
};

}  // namespace ostrel
