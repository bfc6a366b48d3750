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

// A key index (0..141, as stored in a definition): its virtual-key code and the name the
// hotkey editor lists for it ("None", "Cancel", ... "Scroll", ";", ... "Play/Pause",
// "Middle button", ... "Right button"). Index 0 is no key. An index beyond the table (a
// damaged file, or one written by a later version) names no key and gets no hotkey.
struct KeyEntry {
  std::uint8_t code;
  std::string_view name;
};
inline constexpr std::size_t kKeyCount = 142;
extern const std::array<KeyEntry, kKeyCount> kKeyTable;

// The mouse's indexes, last in the table. The system registers no hotkey on a button or
// the wheel: a low-level mouse hook takes them (HotKeyPort::HookMouse). A wheel "key" has
// no virtual-key code (0 in the table).
enum MouseKey : std::int32_t {
  kMiddleButton = 133,
  kBackButton,     // X button 1
  kForwardButton,  // X button 2
  kWheelUp,
  kWheelDown,
  kWheelLeft,
  kWheelRight,
  kLeftButton,
  kRightButton,
};
constexpr bool IsMouseKey(std::int32_t key) { return key >= kMiddleButton && key <= kRightButton; }
constexpr bool IsWheelKey(std::int32_t key) { return key >= kWheelUp && key <= kWheelRight; }
// The left or right button without Ctrl, Alt or Win among the modifiers: the user's own
// click, never taken as a hotkey (a plain left click taken would leave the mouse useless).
constexpr bool IsUsersClick(std::int32_t key, THotKeyModifiers mods) {
  return (key == kLeftButton || key == kRightButton) && !(mods & (hkCtrl | hkAlt | hkWin));
}
// What the editor says when it refuses such a click.
inline constexpr const char* kUsersClickText =
    "The left and right buttons need Ctrl, Alt or Win among the modifiers: a plain or "
    "Shift click stays the mouse's own.";

// One mouse message as the low-level hook sees it (WM_* number, the high word of
// mouseData): the key index it stands for and whether it is a press, a release or (for the
// wheel) how many notches it turns, signed. An index of 0 for any other message.
struct MouseInput {
  std::int32_t key = 0;
  bool down = false;
  int delta = 0;  // the wheel's turn in the system's units (120 a notch)
};
MouseInput MouseInputOf(std::uint32_t message, std::uint16_t dataHigh);
inline constexpr int kWheelNotch = 120;

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
  // A low-level mouse hook on this thread set (true) or removed (false); each button and
  // wheel message goes to TSysHotKey::MouseMessage with the modifiers held. False when the
  // system refuses the hook.
  virtual bool HookMouse(bool on) = 0;
  // One press and release of a key that means nothing (SendInput): Alt or Win let go
  // after a taken click then opens neither the menu bar nor the Start menu, as after any
  // other key.
  virtual void MaskModifierRelease() = 0;
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
  // A button press or wheel turn of entry `index`: true when a definition is for the
  // program in front and took it (the press and its release are then kept from that
  // program), false to let it pass. `runs` is 1 for a press, the whole notches turned for
  // the wheel (0 for a turn short of a notch, taken or passed all the same).
  std::function<bool(TSysHotKey& sender, std::int32_t index, int runs)> OnMouseHotKey;
  // How long a press handed on may take to pass before its hotkey is taken back
  // regardless; the owner sets it from the program's delays.
  std::uint32_t ReplayWaitMs = 0;

  // Messages of the hidden window.
  void WmHotKey(std::uintptr_t wParam);  // a press: OnHotKey(low word of wParam)
  void WmDestroy();                      // the window goes: no longer active
  // A mouse message from the hook (MouseInputOf) with the modifier set held: true when it
  // is taken. A button's release is taken exactly when its press was, so no program sees
  // a lone release; a wheel's turns add up to notches per direction.
  bool MouseMessage(std::uint32_t message, std::uint16_t dataHigh, THotKeyModifiers held);
  // Whether MouseMessage could take this message: the release of a taken press, or a
  // press on a button or wheel some entry is on. The hook asks the keyboard only then.
  bool WatchesMouse(std::uint32_t message, std::uint16_t dataHigh) const;

 private:
  void Register(std::size_t i);
  void Unregister(std::size_t i);
  // The hook is in exactly while the component is active with a mouse entry.
  void FollowMouseEntries();

  HotKeyPort& port_;
  bool active_ = false;
  bool mouseHooked_ = false;
  std::vector<THotKeyEntry> entries_;
  // The buttons whose press was taken, by key index less kMiddleButton: their release goes too.
  std::uint16_t takenButtons_ = 0;
  // Wheel turns short of a notch, kept per key until they add up to one.
  int wheelKey_ = 0;
  int wheelRest_ = 0;
};

}  // namespace ostrel
