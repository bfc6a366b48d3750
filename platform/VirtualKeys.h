// Virtual-key codes by name, with the values Windows gives them (VK_ and the same name in
// winuser.h), for the portable code that builds or reads keystrokes without
// <windows.h>: the macro words, the typing engine and the keys a hotkey hands on. A key
// the program names is named here once.
#pragma once

#include <cstdint>

namespace ostrel::vk {

inline constexpr std::uint8_t kCancel = 0x03;  // Ctrl+Break
inline constexpr std::uint8_t kBack = 0x08;
inline constexpr std::uint8_t kTab = 0x09;
inline constexpr std::uint8_t kClear = 0x0C;
inline constexpr std::uint8_t kReturn = 0x0D;
inline constexpr std::uint8_t kShift = 0x10;
inline constexpr std::uint8_t kControl = 0x11;
inline constexpr std::uint8_t kMenu = 0x12;  // Alt
inline constexpr std::uint8_t kPause = 0x13;
inline constexpr std::uint8_t kCapital = 0x14;  // Caps Lock
inline constexpr std::uint8_t kEscape = 0x1B;
inline constexpr std::uint8_t kPrior = 0x21;  // Page Up
inline constexpr std::uint8_t kNext = 0x22;   // Page Down
inline constexpr std::uint8_t kEnd = 0x23;
inline constexpr std::uint8_t kHome = 0x24;
inline constexpr std::uint8_t kLeft = 0x25;
inline constexpr std::uint8_t kUp = 0x26;
inline constexpr std::uint8_t kRight = 0x27;
inline constexpr std::uint8_t kDown = 0x28;
inline constexpr std::uint8_t kSnapshot = 0x2C;  // Print Screen
inline constexpr std::uint8_t kInsert = 0x2D;
inline constexpr std::uint8_t kDelete = 0x2E;
inline constexpr std::uint8_t kHelp = 0x2F;
// The letter keys are their capitals.
inline constexpr std::uint8_t kA = 'A';
inline constexpr std::uint8_t kV = 'V';
inline constexpr std::uint8_t kZ = 'Z';
inline constexpr std::uint8_t kLWin = 0x5B;
inline constexpr std::uint8_t kRWin = 0x5C;
inline constexpr std::uint8_t kApps = 0x5D;  // the menu key
inline constexpr std::uint8_t kSleep = 0x5F;
inline constexpr std::uint8_t kDivide = 0x6F;  // the number pad's
inline constexpr std::uint8_t kF1 = 0x70;      // F1 to F24 follow one another
inline constexpr std::uint8_t kF24 = 0x87;
inline constexpr std::uint8_t kNumLock = 0x90;
inline constexpr std::uint8_t kScroll = 0x91;  // Scroll Lock
inline constexpr std::uint8_t kLShift = 0xA0;
inline constexpr std::uint8_t kRShift = 0xA1;
inline constexpr std::uint8_t kLControl = 0xA2;
inline constexpr std::uint8_t kRControl = 0xA3;
inline constexpr std::uint8_t kLMenu = 0xA4;
inline constexpr std::uint8_t kRMenu = 0xA5;
// The browser, volume, media and launch keys run from the first to the last.
inline constexpr std::uint8_t kBrowserBack = 0xA6;
inline constexpr std::uint8_t kLaunchApp2 = 0xB7;
// Pressed between a lone Alt or Windows key's press and release, so that the release
// opens neither the menu bar nor the Start menu.
inline constexpr std::uint8_t kUnassigned = 0xE8;  // a key no program acts on

// Whether the key's scan code is an extended (0xE0) one: the navigation block, the
// Windows and menu keys, the right Ctrl and Alt, the media and browser keys...
constexpr bool IsExtended(unsigned key) {
  switch (key) {
    case kCancel:
    case kSnapshot:
    case kInsert:
    case kDelete:
    case kLWin:
    case kRWin:
    case kApps:
    case kSleep:
    case kDivide:
    case kNumLock:
    case kRControl:
    case kRMenu:
      return true;
    default:
      // Page Up to Down arrow; the browser, volume, media and launch keys.
      return (key >= kPrior && key <= kDown) || (key >= kBrowserBack && key <= kLaunchApp2);
  }
}

}  // namespace ostrel::vk
