#include "platform/win32/Win32Input.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/win32/Handles.h"
#include "platform/win32/TypingReader.h"

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

struct RemoveWinEventHook {
  void operator()(HWINEVENTHOOK h) const { UnhookWinEvent(h); }
};
using WinEventHook = Owner<HWINEVENTHOOK, RemoveWinEventHook>;

// The program's one low-level keyboard hook, on a thread of its own so the system never
// waits on a busy user-interface thread to hand a key on. It is in while a macro holds the
// keyboard or typing is watched; the mouse hook beside it only while typing is watched.
// A macro's filter takes precedence: while it is held the watch sees nothing. Beside the
// mouse hook two window event hooks tell the watch of each change of the window in front
// and of the focus.
class SharedHook {
 public:
  static SharedHook& Get() {
    static SharedHook hook;
    return hook;
  }

  // Another user of the hook (a hold or the watch): false when it could not be put in.
  bool Join() {
    const std::lock_guard<std::mutex> hold(lock_);
    if (users_++ == 0) Start();
    return active_;
  }
  void Leave() {
    const std::lock_guard<std::mutex> hold(lock_);
    if (--users_ == 0) Stop();
  }
  // A hook still in at the program's end (never, when every user left) is the system's to remove.
  ~SharedHook() {
    if (thread_.joinable()) thread_.detach();
  }

  std::atomic<InputPort::KeyFilter*> filter{nullptr};

  void SetWatch(std::shared_ptr<InputPort::TypingWatch> watch) {
    const bool on = watch != nullptr;
    {
      const std::lock_guard<std::mutex> hold(watchLock_);
      if ((watch_ != nullptr) == on) {
        watch_ = std::move(watch);
        return;
      }
      watch_ = std::move(watch);
    }
    if (on) {
      Join();
      PostToThread(kWatchOn);
    } else {
      PostToThread(kWatchOff);
      Leave();
    }
  }

 private:
  static constexpr UINT kWatchOn = WM_APP + 1, kWatchOff = WM_APP + 2;
  // How long the hook's thread may take to set its hook up.
  static constexpr DWORD kStartLimitMs = 2000;

  static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && Get().Key(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam))) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  // Another window in front, or the focus in another control: what was typed no longer
  // leads up to the caret, even when the first comes back before the next key. Called on
  // the hook's thread, as the keys are.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  static void CALLBACK FocusMoved(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    Get().reader_.Forget();
    if (std::shared_ptr<InputPort::TypingWatch> watch = Get().Watch()) watch->Reset();
  }
  static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN ||
                              wParam == WM_MBUTTONDOWN || wParam == WM_XBUTTONDOWN)) {
      Get().reader_.Forget();  // on the hook's thread, as the keys are
      if (std::shared_ptr<InputPort::TypingWatch> watch = Get().Watch()) watch->Reset();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  std::shared_ptr<InputPort::TypingWatch> Watch() {
    const std::lock_guard<std::mutex> hold(watchLock_);
    return watch_;
  }

  bool Key(const KBDLLHOOKSTRUCT& key) {
    const bool up = (key.flags & LLKHF_UP) != 0;
    if (InputPort::KeyFilter* held = filter.load()) {
      KeyInput in{
          static_cast<std::uint16_t>(key.vkCode), static_cast<std::uint16_t>(key.scanCode),
          static_cast<std::uint32_t>((up ? KEYEVENTF_KEYUP : 0) |
                                     (key.flags & LLKHF_EXTENDED ? KEYEVENTF_EXTENDEDKEY : 0))};
      // A character sent as itself: its unit is in the scan code.
      if (in.vk == VK_PACKET) in.vk = 0, in.flags |= KEYEVENTF_UNICODE;
      bool take = false;
      try {
        take = (*held)(in, key.dwExtraInfo);
      } catch (...) {
      }
      // The user's keys held back now go on later, marked: followed then.
      if (!take) reader_.Track(key, up);
      return take;
    }
    const std::shared_ptr<InputPort::TypingWatch> watch = Watch();
    return watch && reader_.Key(key, up, *watch);
  }

  void PostToThread(UINT msg) {
    const std::lock_guard<std::mutex> hold(lock_);
    if (threadId_) ::PostThreadMessageA(threadId_, msg, 0, 0);
  }

  void Start() {
    const KernelHandle ready(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return;
    thread_ = std::thread([this, event = ready.get()] { Run(event); });
    ::WaitForSingleObject(ready.get(), kStartLimitMs);
  }
  void Stop() {
    if (!thread_.joinable()) return;
    while (threadId_ == 0) ::Sleep(1);
    ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    threadId_ = 0;
    active_ = false;
  }

  void Run(HANDLE ready) {
    // Every key the system handles waits for this thread's answer, ours included: on a
    // busy machine it must not wait for a time slice.
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    // The message queue exists before anyone posts to it.
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    reader_ = TypingReader();  // the modifiers as they are now
    const HINSTANCE module = ::GetModuleHandleA(nullptr);
    const Hook keyboard(::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0));
    Hook mouse;
    WinEventHook foreground, focus;
    auto watchOn = [&] {
      mouse.Reset(::SetWindowsHookExA(WH_MOUSE_LL, MouseProc, module, 0));
      foreground.Reset(::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                         FocusMoved, 0, 0, WINEVENT_OUTOFCONTEXT));
      focus.Reset(::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, FocusMoved, 0,
                                    0, WINEVENT_OUTOFCONTEXT));
    };
    if (Watch()) watchOn();
    active_ = static_cast<bool>(keyboard);
    threadId_ = ::GetCurrentThreadId();
    ::SetEvent(ready);
    if (!keyboard) return;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == kWatchOn && !mouse) {
        watchOn();
      } else if (msg.message == kWatchOff) {
        mouse.Reset();
        foreground.Reset();
        focus.Reset();
      } else {
        ::DispatchMessageA(&msg);
      }
    }
  }

  std::mutex lock_;  // users, start and stop
  int users_ = 0;
  std::thread thread_;
  std::atomic<DWORD> threadId_{0};
  std::atomic<bool> active_{false};
  std::mutex watchLock_;
  std::shared_ptr<InputPort::TypingWatch> watch_;
  TypingReader reader_;  // used on the hook's thread only
};

class ThreadHold : public InputPort::Hold {
 public:
  explicit ThreadHold(InputPort::KeyFilter filter) : filter_(std::move(filter)) {
    // One hold at a time (macros do not run side by side).
    InputPort::KeyFilter* none = nullptr;
    if (!SharedHook::Get().filter.compare_exchange_strong(none, &filter_)) return;
    owner_ = true;
    active_ = SharedHook::Get().Join();
  }
  ~ThreadHold() override {
    if (!owner_) return;
    SharedHook::Get().Leave();
    SharedHook::Get().filter.store(nullptr);
  }
  ThreadHold(const ThreadHold&) = delete;
  ThreadHold& operator=(const ThreadHold&) = delete;

  bool Active() const override { return active_; }

 private:
  InputPort::KeyFilter filter_;
  bool owner_ = false;
  bool active_ = false;
};

}  // namespace

void Win32Input::WatchTyping(std::shared_ptr<TypingWatch> watch) {
  SharedHook::Get().SetWatch(std::move(watch));
}

std::unique_ptr<InputPort::Hold> Win32Input::HoldKeyboard(KeyFilter filter) {
  return std::make_unique<ThreadHold>(std::move(filter));
}

}  // namespace ostrel
