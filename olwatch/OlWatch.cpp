// OLWATCH.DLL: watches the mouse for the corner gesture (olwatch/CornerGesture.h) and asks
// Ostrel to pop its menu up by posting MSG_SHOW_MENU to the window whose handle Ostrel
// keeps at offset 44 of the shared block "OLShare.DTA", provided that window belongs to
// the process the library is loaded in.
//
// The low-level mouse hook lives on a thread of the library's own with its own message
// loop. Ostrel's one thread often stops pumping messages for a while (sleeps between
// macro keys, waits), and a low-level hook on a thread that does not pump holds up every
// mouse move in the system until Windows gives up on it and removes the hook.
//
// The gesture, its timer and the hook callback all run on that thread, so they need no
// locking; only attaching and detaching are serialised.
#include <windows.h>

#include <cstdint>
#include <utility>

#include "olwatch/CornerGesture.h"
#include "platform/HookLibraryProtocol.h"
#include "platform/win32/Handles.h"

namespace {

// How long attach waits for the hook to be in place, and detach for the thread to end.
// A thread that does not end in time keeps the library loaded, but sends nothing more.
constexpr DWORD kThreadWaitMs = 5000;

HMODULE g_module = nullptr;  // this library, as DllMain was given it
SRWLOCK g_lock = SRWLOCK_INIT;
ostrel::KernelHandle g_mapping;
ostrel::FileView g_view;
const volatile std::uint32_t* g_window = nullptr;  // the handle in our view of the block
ostrel::KernelHandle g_thread;
// The thread that may send requests. DLLDETACH clears it before telling the thread to
// quit, so that nothing is sent from then on, even by a thread that is slow to end.
volatile LONG g_sender = 0;

// Watch-thread state.
UINT_PTR g_timer = 0;
ostrel::CornerGesture g_gesture;

void SendRequest() {
  if (!g_window ||
      static_cast<DWORD>(InterlockedCompareExchange(&g_sender, 0, 0)) != GetCurrentThreadId())
    return;
  // Window handles have 32 significant bits and are sign-extended on 64-bit Windows.
  auto value = static_cast<std::int32_t>(*g_window);
  if (value == 0) return;
  HWND target = reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
  // Any process may write the block. Only a window of the process that attached the
  // library (the one it is loaded in) gets the request, so the block cannot aim the
  // library's posts at another program.
  DWORD owner = 0;
  if (!GetWindowThreadProcessId(target, &owner) || owner != GetCurrentProcessId()) return;
  PostMessageA(target, ostrel::MSG_SHOW_MENU, 0, 0);
}

void Apply(ostrel::CornerGesture::Action action) {
  using Step = ostrel::CornerGesture::Step;
  switch (action.step) {
    case Step::kStartTimer:
      if (g_timer) KillTimer(nullptr, g_timer);
      g_timer = SetTimer(nullptr, 0, action.delayMs, nullptr);
      break;
    case Step::kCancelTimer:
      if (g_timer) KillTimer(nullptr, g_timer);
      g_timer = 0;
      break;
    case Step::kSendRequest:
      SendRequest();
      break;
    case Step::kNothing:
      break;
  }
}

// The hook reports where the mouse is going before the cursor is held inside the screen,
// so a mouse pushed hard into the corner reports a point beyond it. Take the point the
// cursor will land on: a point off every monitor is brought onto the nearest one.
POINT Landing(POINT pt) {
  if (MonitorFromPoint(pt, MONITOR_DEFAULTTONULL)) return pt;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info)) return pt;
  const RECT& r = info.rcMonitor;
  if (pt.x < r.left) pt.x = r.left;
  if (pt.x >= r.right) pt.x = r.right - 1;
  if (pt.y < r.top) pt.y = r.top;
  if (pt.y >= r.bottom) pt.y = r.bottom - 1;
  return pt;
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == WM_MOUSEMOVE) {
    POINT pt = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
    // Only a point up and to the left can land in the corner; every other move costs
    // just this comparison.
    if (pt.x <= 1 && pt.y <= 1) pt = Landing(pt);
    Apply(g_gesture.Move(pt.x, pt.y, GetTickCount()));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Watches until told to quit, then removes its hook. Everything it owns goes before it
// lets go of the library, which does not return.
void Watch(HANDLE ready) {
  MSG msg;
  // Make the thread's message queue before anyone posts WM_QUIT to it.
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  g_gesture = {};
  g_timer = 0;
  const ostrel::Hook hook(SetWindowsHookExA(WH_MOUSE_LL, MouseHook, g_module, 0));
  {
    const ostrel::KernelHandle readyCopy(ready);  // the thread's own copy
    SetEvent(readyCopy.get());
  }
  if (hook) {
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER && !msg.hwnd) {
        // One-shot; a firing of a timer that has since been replaced is stale.
        if (msg.wParam != g_timer) continue;
        KillTimer(nullptr, g_timer);
        g_timer = 0;
        Apply(g_gesture.TimerFired(GetTickCount()));
        continue;
      }
      DispatchMessageA(&msg);
    }
  }
  if (g_timer) KillTimer(nullptr, g_timer);
  g_timer = 0;
}

DWORD WINAPI WatchThread(void* ready) {
  Watch(ready);
  // The thread holds a reference to the library (taken when it was started) so that its
  // code stays mapped even if the library is freed while it runs; it lets go as it ends.
  FreeLibraryAndExitThread(g_module, 0);
}

void CreateBlock() {
  if (g_mapping) return;
  ostrel::KernelHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                  static_cast<DWORD>(ostrel::kSharedBlockSize),
                                                  ostrel::kSharedBlockName));
  if (!mapping) return;
  ostrel::FileView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return;
  g_mapping = std::move(mapping);
  g_view = std::move(view);
  g_window = &static_cast<const volatile ostrel::SharedBlock*>(g_view.get())->common.mainWindow;
}

void StartWatching() {
  if (g_thread) {
    if (WaitForSingleObject(g_thread.get(), 0) == WAIT_TIMEOUT) return;  // watching already
    g_thread.Reset();  // it ended without a hook: try again
  }
  // The thread's reference to the library, handed over to it once it runs.
  ostrel::Module pin;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCSTR>(&WatchThread), pin.Receive()))
    return;
  HANDLE process = GetCurrentProcess();
  const ostrel::KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ostrel::KernelHandle threadsReady;  // the thread's own copy, handed over to it
  if (!ready || !DuplicateHandle(process, ready.get(), process, threadsReady.Receive(), 0, FALSE,
                                 DUPLICATE_SAME_ACCESS))
    return;
  DWORD id = 0;
  ostrel::KernelHandle thread(CreateThread(nullptr, 0, WatchThread, threadsReady.get(), 0, &id));
  if (!thread) return;
  threadsReady.Release();
  pin.Release();
  // The hook holds up every mouse move in the system until it returns.
  SetThreadPriority(thread.get(), THREAD_PRIORITY_ABOVE_NORMAL);
  g_thread = std::move(thread);
  InterlockedExchange(&g_sender, static_cast<LONG>(id));
  // Return only once the hook is in place (or the thread has given up), so the library
  // is watching when DLLATTACH returns. Bounded: a caller holding the loader lock would
  // keep the thread from starting at all.
  HANDLE either[] = {ready.get(), g_thread.get()};
  WaitForMultipleObjects(2, either, FALSE, kThreadWaitMs);
}

}  // namespace

extern "C" {

// No arguments: with none, cdecl and stdcall are the same call, and cdecl keeps the
// names undecorated in the 32-bit build too, so one .def file serves both builds.
void DLLATTACH() {
  AcquireSRWLockExclusive(&g_lock);
  CreateBlock();
  StartWatching();
  ReleaseSRWLockExclusive(&g_lock);
}

void DLLDETACH() {
  AcquireSRWLockExclusive(&g_lock);
  if (g_thread) {
    auto id = static_cast<DWORD>(InterlockedExchange(&g_sender, 0));
    PostThreadMessageA(id, WM_QUIT, 0, 0);
    WaitForSingleObject(g_thread.get(), kThreadWaitMs);
    g_thread.Reset();
  }
  ReleaseSRWLockExclusive(&g_lock);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Freed by FreeLibrary. A running watch thread keeps the library loaded, so none runs
    // now; only the block is left to let go. (At process exit the system takes the hook,
    // the thread and the block away; the owners, which the runtime destroys after this,
    // close only the handles that are left.)
    g_window = nullptr;
    g_view.Reset();
    g_mapping.Reset();
  }
  return TRUE;
}

}  // extern "C"
