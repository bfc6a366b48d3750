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

// The replay in flight on this thread: how many of its keys the system has handled.
struct ReplayWatch {
  std::size_t seen = 0;
};
ReplayWatch* activeWatch = nullptr;

LRESULT CALLBACK WatchReplay(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && activeWatch) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (key->dwExtraInfo == kReplayMark) ++activeWatch->seen;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Held(unsigned vk) { return (::GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0; }

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
// delivered, and the hotkey can be taken back. The hook lives only for the replay, while
// this thread waits for it and answers nothing but sent messages (the hook's calls are
// those), so the user's typing never waits on a busy thread of ours.
void SysHotWindow::PassOn(int id, unsigned modFlags, unsigned vk) {
  std::vector<INPUT> input;
  for (const ReplayKey& k : ReplayKeys(modFlags, vk, Held)) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k.vk;
    // A scan code too: some programs read it rather than the virtual key.
    in.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(k.vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (k.up ? KEYEVENTF_KEYUP : 0) | (k.extended ? KEYEVENTF_EXTENDEDKEY : 0);
    in.ki.dwExtraInfo = kReplayMark;
    input.push_back(in);
  }

  ReplayWatch watch;
  ReplayWatch* outer = activeWatch;
  activeWatch = &watch;
  HHOOK hook = ::SetWindowsHookExA(WH_KEYBOARD_LL, WatchReplay, ::GetModuleHandleA(nullptr), 0);
  ::UnregisterHotKey(Handle(), id);
  const UINT sent = ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  // Without a hook there is nothing to see the replay pass: the whole wait stands in.
  const std::size_t expected = hook && sent == input.size() ? input.size() : SIZE_MAX;
  const DWORD start = ::GetTickCount();
  while (sent > 0 && watch.seen < expected) {
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= kReplayWaitMs) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kReplayWaitMs - elapsed, QS_SENDMESSAGE);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  if (hook) ::UnhookWindowsHookEx(hook);
  activeWatch = outer;
  ::RegisterHotKey(Handle(), id, modFlags, vk);
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
