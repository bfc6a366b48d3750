// What Ostrel and its mouse-watch library OLWATCH.DLL agree on, byte for byte: the
// library's two exports, the shared block it creates and the program's private
// messages. Another build of the library (or the program) relies on every value here,
// so none of them may change. Portable: the library, the program's port and adapter and
// the tests all include it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel {

// The exports, called by name without arguments (olwatch/olwatch.def lists the same).
inline constexpr const char* kHookAttachExport = "DLLATTACH";
inline constexpr const char* kHookDetachExport = "DLLDETACH";
inline constexpr const char* kHookLibraryName = "OLWATCH.DLL";

// The shared block, created by the library and opened by the program.
inline constexpr const char* kSharedBlockName = "OLShare.DTA";

// What the program may rely on in any library's block: its main window's handle, 32
// bits, at offset 44. The bytes before it are the library's.
struct SharedBlockMin {
  std::uint8_t library[44];
  std::uint32_t mainWindow;
};

// Our library's block: 16 more bytes of its own, unused so far. The program only
// trusts the first 48, since another library need not make more.
struct SharedBlock {
  SharedBlockMin common;
  std::uint8_t spare[16];
};

inline constexpr std::size_t kSharedWindowOffset = offsetof(SharedBlockMin, mainWindow);
inline constexpr std::size_t kSharedBlockMinSize = sizeof(SharedBlockMin);
inline constexpr std::size_t kSharedBlockSize = sizeof(SharedBlock);
static_assert(kSharedWindowOffset == 44, "the handle sits at offset 44");
static_assert(kSharedBlockMinSize == 48, "a block is at least 48 bytes");
static_assert(kSharedBlockSize == 64, "our library makes 64");
static_assert(offsetof(SharedBlock, common) == 0);

// The program's private messages (WM_USER range), accepted from any sender. The
// library sends MSG_SHOW_MENU; the others are there for any program that drives Ostrel.
inline constexpr std::uint32_t MSG_SHOW_MENU = 0x2261;  // WM_USER + 7777: pop the menu up
inline constexpr std::uint32_t MSG_TERMINATE = 0x2262;  // end the program at once
inline constexpr std::uint32_t MSG_REATTACH = 0x226C;   // attach the library again

}  // namespace ostrel
