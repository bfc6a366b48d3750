#include "components/win32/SysHotWindow.h"

#include <cstdint>
#include <vector>

#include "components/KeyReplay.h"

namespace ostrel {

static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT &&
              kModWin == MOD_WIN);

namespace {

// Carried by every key of a replay, so the watch below knows its own keys from the user's.
constexpr ULONG_PTR kReplayMark = 0x4F73524C;
// How long a replay may take to pass the window system's input thread before the hotkey
// is taken back regardless (the input may have been dropped: a program in front with
// higher rights refuses injected keys).
constexpr DWORD kReplayWaitMs = 250;

// The replay in flight on this thread: how many of its keys the system has handled, and
// the user's keys held back meanwhile, in their order.
struct ReplayWatch {
  std::size_t seen = 0;
  std::vector<INPUT> heldBack;
};
ReplayWatch* activeWatch = nullptr;

INPUT KeyInput(WORD vk, WORD scan, DWORD flags) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = flags;
  in.ki.dwExtraInfo = kReplayMark;
  return in;
}

LRESULT CALLBACK WatchReplay(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION || !activeWatch) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  if (key->dwExtraInfo == kReplayMark) {
    ++activeWatch->seen;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  // Any other key waits until the replay is through, then goes on as it came.
  DWORD flags = (key->flags & LLKHF_UP ? KEYEVENTF_KEYUP : 0) |
                (key->flags & LLKHF_EXTENDED ? KEYEVENTF_EXTENDEDKEY : 0);
  WORD vk = static_cast<WORD>(key->vkCode);
  if (vk == VK_PACKET) flags |= KEYEVENTF_UNICODE, vk = 0;
  activeWatch->heldBack.push_back(KeyInput(vk, static_cast<WORD>(key->scanCode), flags));
  return 1;
}

bool Held(unsigned vk) { return (::GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0; }

// Sends `keys` and waits, answering only sent messages (the hook's calls are those), until
// the hook has seen `total` replayed keys or the wait is over.
void SendAndWait(std::vector<INPUT> keys, ReplayWatch& watch, std::size_t& total, bool hooked,
                 DWORD start) {
  if (keys.empty()) return;
  if (::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) != keys.size())
    hooked = false;  // some were refused: they will never be seen, so the whole wait stands
  total += keys.size();
  while (!hooked || watch.seen < total) {
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= kReplayWaitMs) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kReplayWaitMs - elapsed, QS_SENDMESSAGE);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

bool SysHotWindow::RegisterHotKey(int id, unsigned modFlags, unsigned vk) {
  return ::RegisterHotKey(Handle(), id, modFlags, vk) != 0;
}

bool SysHotWindow::UnregisterHotKey(int id) { return ::UnregisterHotKey(Handle(), id) != 0; }

// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
// While the combination is registered, its key-down would be caught again, so the hotkey
// is let go for the replay. On Windows, SendInput only queues the keys: the system's input
// thread checks them against the hotkeys later, one after the other, so registering again
// as soon as SendInput returns can catch the replay (and hand it on again, for ever). Under
// Wine the server checks each key as it is queued, unless a low-level hook must see it
// first. Either way a key reaches the low-level keyboard hooks before that check, and the
// next key only after the check of the one before: so once a hook of ours has seen the last
// key of the replay (a key-up, which no hotkey fires on), the key-down has been checked and
// delivered, and the hotkey can be taken back.
//
// The user is often letting go of the combination just then. Which modifiers are still
// held is asked once the hook is in, and from then on the hook holds back every other key
// and sends it on, in its order, after the replay: so a modifier taken as held stays held
// until the key has gone, none let go in between is lost from the press, and none pressed
// here is left down. The hook lives only for the replay, while this thread waits for it.
void SysHotWindow::PassOn(int id, unsigned modFlags, unsigned vk) {
  ReplayWatch watch;
  ReplayWatch* outer = activeWatch;
  activeWatch = &watch;
  HHOOK hook = ::SetWindowsHookExA(WH_KEYBOARD_LL, WatchReplay, ::GetModuleHandleA(nullptr), 0);

  std::vector<INPUT> replay;
  for (const ReplayKey& k : ReplayKeys(modFlags, vk, Held)) {
    // A scan code too: some programs read it rather than the virtual key.
    replay.push_back(
        KeyInput(k.vk, static_cast<WORD>(::MapVirtualKeyA(k.vk, MAPVK_VK_TO_VSC)),
                 (k.up ? KEYEVENTF_KEYUP : 0) | (k.extended ? KEYEVENTF_EXTENDEDKEY : 0)));
  }
  ::UnregisterHotKey(Handle(), id);
  std::size_t total = 0;
  const DWORD start = ::GetTickCount();
  SendAndWait(std::move(replay), watch, total, hook != nullptr, start);
  ::RegisterHotKey(Handle(), id, modFlags, vk);
  // The keys held back go on; any that come while they do are held back in turn. Once
  // the wait is over, whatever is left goes on at once.
  while (!watch.heldBack.empty()) {
    std::vector<INPUT> keys = std::move(watch.heldBack);
    watch.heldBack.clear();
    if (::GetTickCount() - start >= kReplayWaitMs) activeWatch = outer;
    SendAndWait(std::move(keys), watch, total, hook != nullptr, start);
  }
  if (hook) ::UnhookWindowsHookEx(hook);
  activeWatch = outer;
}

LRESULT SysHotWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (component_) {
    if (msg == WM_HOTKEY) {
      component_->WmHotKey(wParam);
      return 0;
    }
    if (msg == WM_DESTROY) component_->WmDestroy();
  }
  return TWindowedComponent::WndProc(msg, wParam, lParam);
}

}  // namespace ostrel
