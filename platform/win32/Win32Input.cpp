#include "platform/win32/Win32Input.h"

#include <windows.h>

#include <atomic>
#include <thread>
#include <utility>

#include "platform/win32/Handles.h"

namespace ostrel {

static_assert(kKeyEventExtended == KEYEVENTF_EXTENDEDKEY && kKeyEventUp == KEYEVENTF_KEYUP &&
              kKeyEventUnicode == KEYEVENTF_UNICODE);

std::size_t Win32Input::SendInput(const std::vector<KeyInput>& keys, std::uintptr_t mark) {
  return SendKeyInputs(keys, mark);
}

std::size_t SendKeyInputs(const std::vector<KeyInput>& keys, std::uintptr_t mark) {
  if (keys.empty()) return 0;
  std::vector<INPUT> inputs(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[i].vk;
    inputs[i].ki.wScan = keys[i].scan;
    inputs[i].ki.dwFlags = keys[i].flags;
    inputs[i].ki.dwExtraInfo = mark;
  }
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::int16_t Win32Input::CharacterKey(char16_t ch, std::uint32_t thread) {
  return ::VkKeyScanExW(static_cast<WCHAR>(ch), ::GetKeyboardLayout(thread));
}

std::uint16_t Win32Input::ScanCode(std::uint8_t vk, std::uint32_t thread) {
  return static_cast<std::uint16_t>(
      ::MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(thread)));
}

bool Win32Input::KeyDown(std::uint8_t vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

namespace {

// The filter of the hook in place; one at a time (macros do not run side by side).
std::atomic<InputPort::KeyFilter*> activeFilter{nullptr};

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  InputPort::KeyFilter* filter = activeFilter.load();
  if (code != HC_ACTION || !filter) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  KeyInput in{static_cast<std::uint16_t>(key->vkCode), static_cast<std::uint16_t>(key->scanCode),
              static_cast<std::uint32_t>((key->flags & LLKHF_UP ? KEYEVENTF_KEYUP : 0) |
                                         (key->flags & LLKHF_EXTENDED ? KEYEVENTF_EXTENDEDKEY : 0))};
  // A character sent as itself: its unit is in the scan code.
  if (in.vk == VK_PACKET) in.vk = 0, in.flags |= KEYEVENTF_UNICODE;
  bool take = false;
  try {
    take = (*filter)(in, key->dwExtraInfo);
  } catch (...) {
  }
  return take ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

// How long the hook's thread may take to set its hook up.
constexpr DWORD kHookStartLimitMs = 2000;

class ThreadHold : public InputPort::Hold {
 public:
  explicit ThreadHold(InputPort::KeyFilter filter) : filter_(std::move(filter)) {
    InputPort::KeyFilter* none = nullptr;
    if (!activeFilter.compare_exchange_strong(none, &filter_)) return;
    owner_ = true;
    const KernelHandle ready(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return;
    thread_ = std::thread([this, event = ready.get()] {
      threadId_ = ::GetCurrentThreadId();
      // Every key the system handles waits for this thread's answer, ours included: on a
      // busy machine it must not wait for a time slice.
      ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
      // The message queue exists before anyone posts WM_QUIT to it.
      MSG msg;
      ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
      const Hook hook(::SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, ::GetModuleHandleA(nullptr), 0));
      active_ = static_cast<bool>(hook);
      ::SetEvent(event);
      if (!hook) return;
      while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    });
    ::WaitForSingleObject(ready.get(), kHookStartLimitMs);
  }
  ~ThreadHold() override {
    if (thread_.joinable()) {
      while (threadId_ == 0) ::Sleep(1);
      ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
      thread_.join();
    }
    if (owner_) activeFilter.store(nullptr);
  }
  ThreadHold(const ThreadHold&) = delete;
  ThreadHold& operator=(const ThreadHold&) = delete;

  bool Active() const override { return active_; }

 private:
  InputPort::KeyFilter filter_;
  bool owner_ = false;
  std::atomic<bool> active_{false};
  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
};

}  // namespace

std::unique_ptr<InputPort::Hold> Win32Input::HoldKeyboard(KeyFilter filter) {
  return std::make_unique<ThreadHold>(std::move(filter));
}

}  // namespace ostrel
