// One running copy per user session. A second start finds the first, asks it to show
// its configuration window and ends before it touches anything: Keys.fil, the registry,
// the shared block and the notification area all stay the first copy's.
#pragma once

#include "app/Timings.h"
#include "platform/OneCopyPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// The first copy's main window is found by its class.
inline constexpr const char* kMainWindowClass = "TOstrelForm";

// True when this is the only copy and goes on; false when it has handed over to the
// first copy (or found none within the wait of `timings`) and must end at once.
bool ClaimOnlyCopy(OneCopyPort& copy, WindowPort& windows, SystemPort& system,
                   const Timings& timings = {});

}  // namespace ostrel
