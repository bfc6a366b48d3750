// One running copy per user session. A second start finds the first, asks it to show
// its configuration window and ends before it touches anything: Keys.fil, the registry,
// the shared block and the notification area all stay the first copy's.
#pragma once

#include <cstdint>

#include "platform/OneCopyPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// The first copy's main window is found by its class.
inline constexpr const char* kMainWindowClass = "TOstrelForm";
// How long a second copy looks for a first copy whose window is not made yet (it starts
// with its mark), in steps of kFirstCopyPollMs.
inline constexpr std::uint32_t kFirstCopyWaitMs = 1500;
inline constexpr std::uint32_t kFirstCopyPollMs = 100;

// True when this is the only copy and goes on; false when it has handed over to the
// first copy (or found none in time) and must end at once.
bool ClaimOnlyCopy(OneCopyPort& copy, WindowPort& windows, SystemPort& system);

}  // namespace ostrel
