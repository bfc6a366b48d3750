#include "app/OneCopy.h"

namespace ostrel {

bool ClaimOnlyCopy(OneCopyPort& copy, WindowPort& windows, SystemPort& system,
                   const Timings& timings) {
  if (copy.TakeRunningMark()) return true;
  // The first copy takes its mark before it makes its window: give it a moment.
  const std::uint64_t start = system.TickCount();
  WindowHandle first = windows.FindWindowByClass(kMainWindowClass);
  while (!first && system.TickCount() - start < timings.firstCopyWaitMs) {
    system.Sleep(timings.firstCopyPollMs);
    first = windows.FindWindowByClass(kMainWindowClass);
  }
  // Without a window the first copy is starting or ending; either way it holds the
  // hotkeys and the file, and a second copy would only fight it for them.
  if (!first) return false;
  copy.AllowForeground(first);
  windows.PostMessageA(first, copy.ShowRequestMessage(), 0, 0);
  return false;
}

}  // namespace ostrel
