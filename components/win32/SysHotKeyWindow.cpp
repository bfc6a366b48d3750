#include "components/win32/SysHotKeyWindow.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "components/PassOn.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Input.h"

namespace ostrel {

static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT &&
              kModWin == MOD_WIN);

namespace {

// The replay in flight on this thread: how many of its keys the system has handled, and
// the user's keys held back meanwhile, in their order.
struct WatchState {
  std::size_t seen = 0;
  std::vector<KeyInput> heldBack;
};
WatchState* activeWatch = nullptr;

LRESULT CALLBACK WatchReplay(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION || !activeWatch) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  // Every key of a replay carries kReplayMark, so the watch knows its own keys from the
  // user's.
  if (key->dwExtraInfo == kReplayMark) {
    ++activeWatch->seen;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  // Any other key waits until the replay is through, then goes on as it came.
  std::uint32_t flags = (key->flags & LLKHF_UP ? KEYEVENTF_KEYUP : 0) |
                        (key->flags & LLKHF_EXTENDED ? KEYEVENTF_EXTENDEDKEY : 0);
  WORD vk = static_cast<WORD>(key->vkCode);
  if (vk == VK_PACKET) flags |= KEYEVENTF_UNICODE, vk = 0;
  activeWatch->heldBack.push_back({vk, static_cast<WORD>(key->scanCode), flags});
  return 1;
}

// A low-level keyboard hook that lives only for one replay. A replay started while
// another waits watches for itself, and the outer one's watch is back when it goes.
class ReplayWatch : public PassOnPort::KeyWatch {
 public:
  ReplayWatch() : outer_(std::exchange(activeWatch, &state_)) {
    hook_.Reset(SetWindowsHookExA(WH_KEYBOARD_LL, WatchReplay, GetModuleHandleA(nullptr), 0));
  }
  ~ReplayWatch() override {
    hook_.Reset();
    activeWatch = outer_;
  }
  ReplayWatch(const ReplayWatch&) = delete;
  ReplayWatch& operator=(const ReplayWatch&) = delete;

  bool Watching() const override { return static_cast<bool>(hook_); }
  std::size_t Seen() const override { return state_.seen; }
  std::vector<KeyInput> TakeHeldBack() override { return std::exchange(state_.heldBack, {}); }
  void StopHoldingBack() override { activeWatch = outer_; }

 private:
  WatchState state_;
  WatchState* outer_;
  Hook hook_;
};

// The calls of a replay, on the window that holds the hotkeys.
class ReplayCalls : public PassOnPort {
 public:
  explicit ReplayCalls(HWND window) : window_(window) {}
  std::unique_ptr<KeyWatch> WatchKeys() override { return std::make_unique<ReplayWatch>(); }
  bool KeyHeld(unsigned vk) override {
    return (::GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0;
  }
  std::uint16_t ScanCode(unsigned vk) override {
    return static_cast<std::uint16_t>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  }
  bool RegisterHotKey(int id, unsigned modFlags, unsigned vk) override {
    return ::RegisterHotKey(window_, id, modFlags, vk) != 0;
  }
  bool UnregisterHotKey(int id) override { return ::UnregisterHotKey(window_, id) != 0; }
  std::size_t SendInput(const std::vector<KeyInput>& keys) override {
    return SendKeyInputs(keys, kReplayMark);
  }
  std::uint32_t TickCount() override { return ::GetTickCount(); }
  void WaitForSentMessages(std::uint32_t ms) override {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }

 private:
  HWND window_;
};

// The window whose component the mouse hook reports to; one hook for the process.
SysHotKeyWindow* mouseWatcher = nullptr;

// An unassigned virtual key: pressed between a modifier's press and release, it keeps the
// release from meaning "open the menu bar" or "open the Start menu", and means nothing else.
constexpr WORD kMaskKey = 0xE8;

THotKeyModifiers HeldModifiers() {
  auto held = [](int vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; };
  return static_cast<THotKeyModifiers>(
      (held(VK_SHIFT) ? hkShift : 0) | (held(VK_CONTROL) ? hkCtrl : 0) |
      (held(VK_MENU) ? hkAlt : 0) | (held(VK_LWIN) || held(VK_RWIN) ? hkWin : 0));
}

}  // namespace

static_assert(WM_MOUSEHWHEEL == 0x020E && XBUTTON1 == 1 && XBUTTON2 == 2);

LRESULT CALLBACK SysHotKeyWindow::WatchMouse(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && mouseWatcher && mouseWatcher->component_) {
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    TSysHotKey& hotKeys = *mouseWatcher->component_;
    const auto message = static_cast<std::uint32_t>(wParam);
    // Moves, and clicks no entry is on, go on without a look at the keyboard: each key
    // state asked costs the click a little more time.
    if (wParam != WM_MOUSEMOVE && hotKeys.WatchesMouse(message, HIWORD(m->mouseData)) &&
        hotKeys.MouseMessage(message, HIWORD(m->mouseData), HeldModifiers()))
      return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool SysHotKeyWindow::HookMouse(bool on) {
  mouseHook_.Reset();
  if (mouseWatcher == this) mouseWatcher = nullptr;
  if (!on) return true;
  mouseHook_.Reset(SetWindowsHookExA(WH_MOUSE_LL, WatchMouse, GetModuleHandleA(nullptr), 0));
  if (mouseHook_) mouseWatcher = this;
  return static_cast<bool>(mouseHook_);
}

void SysHotKeyWindow::MaskModifierRelease() {
  INPUT keys[2] = {};
  for (INPUT& k : keys) k.type = INPUT_KEYBOARD, k.ki.wVk = kMaskKey;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
}

SysHotKeyWindow::~SysHotKeyWindow() { HookMouse(false); }

bool SysHotKeyWindow::RegisterHotKey(int id, unsigned modFlags, unsigned vk) {
  return ::RegisterHotKey(Handle(), id, modFlags, vk) != 0;
}

bool SysHotKeyWindow::UnregisterHotKey(int id) { return ::UnregisterHotKey(Handle(), id) != 0; }

// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
// On Windows, SendInput only queues the keys: the system's input thread checks them
// against the hotkeys later, one after the other, so registering again as soon as
// SendInput returns can catch the replay (and hand it on again, for ever). Under Wine the
// server checks each key as it is queued, unless a low-level hook must see it first.
// Either way a key reaches the low-level keyboard hooks before that check, and the next
// key only after the check of the one before: which is what PassOnPress waits on.
void SysHotKeyWindow::PassOn(int id, unsigned modFlags, unsigned vk, std::uint32_t waitMs) {
  ReplayCalls calls(Handle());
  PassOnPress(calls, id, modFlags, vk, waitMs);
}

LRESULT SysHotKeyWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
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
