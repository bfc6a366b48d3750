#include "components/PassOn.h"

#include <utility>

#include "components/KeyReplay.h"

namespace ostrel {

namespace {

// One replay's keys on their way: sent, then waited for until the watch has seen all
// `total` sent so far or the wait from `start` is over.
struct Replay {
  PassOnPort& port;
  PassOnPort::KeyWatch& watch;
  std::uint32_t start;
  std::uint32_t waitMs;
  std::size_t total = 0;

  bool WaitOver() const { return port.TickCount() - start >= waitMs; }

  void SendAndWait(const std::vector<KeyInput>& keys) {
    if (keys.empty()) return;
    // Keys the system refused are never seen: then the whole wait stands.
    bool counted = watch.Watching();
    if (port.SendInput(keys) != keys.size()) counted = false;
    total += keys.size();
    while (!counted || watch.Seen() < total) {
      const std::uint32_t elapsed = port.TickCount() - start;
      if (elapsed >= waitMs) return;
      port.WaitForSentMessages(waitMs - elapsed);
    }
  }
};

}  // namespace

void PassOnPress(PassOnPort& port, int id, unsigned modFlags, unsigned vk, std::uint32_t waitMs) {
  // The watch goes with this scope, however it is left.
  const std::unique_ptr<PassOnPort::KeyWatch> watch = port.WatchKeys();
  std::vector<KeyInput> keys;
  for (const ReplayKey& k :
       ReplayKeys(modFlags, vk, [&](unsigned key) { return port.KeyHeld(key); })) {
    // A scan code too: some programs read it rather than the virtual key.
    keys.push_back({k.vk, port.ScanCode(k.vk),
                    (k.up ? kKeyEventUp : 0) | (k.extended ? kKeyEventExtended : 0)});
  }
  port.UnregisterHotKey(id);
  Replay replay{port, *watch, port.TickCount(), waitMs};
  replay.SendAndWait(keys);
  port.RegisterHotKey(id, modFlags, vk);
  // The keys held back go on; any that come while they do are held back in turn. Once
  // the wait is over, whatever comes goes on at once.
  for (std::vector<KeyInput> held = watch->TakeHeldBack(); !held.empty();
       held = watch->TakeHeldBack()) {
    if (replay.WaitOver()) watch->StopHoldingBack();
    replay.SendAndWait(held);
  }
}

}  // namespace ostrel
