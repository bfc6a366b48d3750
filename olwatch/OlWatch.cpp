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

#include "olwatch/CornerGesture.h"
#include "platform/HookLibraryProtocol.h"

namespace {

// How long attach waits for the hook to be in place, and detach for the thread to end.
// A thread that does not end in time keeps the library loaded, but sends nothing more.
constexpr DWORD kThreadWaitMs = 5000;

HMODULE g_module = nullptr;
SRWLOCK g_lock = SRWLOCK_INIT;
HANDLE g_mapping = nullptr;
void* g_view = nullptr;
const volatile std::uint32_t* g_window = nullptr;  // the handle in our view of the block
HANDLE g_thread = nullptr;
// The thread that may send requests. DLLDETACH clears it before telling the thread to
// quit, so that nothing is sent from then on, even by a thread that is slow to end.
volatile LONG g_sender = 0;

// Watch-thread state.
HHOOK g_hook = nullptr;
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

DWORD WINAPI WatchThread(void* ready) {
  MSG msg;
  // Make the thread's message queue before anyone posts WM_QUIT to it.
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  g_gesture = {};
  g_timer = 0;
  g_hook = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, g_module, 0);
  SetEvent(ready);
  CloseHandle(ready);
  if (g_hook) {
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
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
  }
  if (g_timer) KillTimer(nullptr, g_timer);
  g_timer = 0;
  // The thread holds a reference to the library (taken when it was started) so that its
  // code stays mapped even if the library is freed while it runs; it lets go as it ends.
  FreeLibraryAndExitThread(g_module, 0);
}

void CreateBlock() {
  if (g_mapping) return;
  HANDLE mapping =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                         static_cast<DWORD>(ostrel::kSharedBlockSize), ostrel::kSharedBlockName);
  if (!mapping) return;
  g_view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  if (!g_view) {
    CloseHandle(mapping);
    return;
  }
  g_mapping = mapping;
  g_window = &static_cast<const volatile ostrel::SharedBlock*>(g_view)->common.mainWindow;
}

void StartWatching() {
  if (g_thread) {
    if (WaitForSingleObject(g_thread, 0) == WAIT_TIMEOUT) return;  // watching already
    CloseHandle(g_thread);  // it ended without a hook: try again
    g_thread = nullptr;
  }
  HMODULE pin = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCSTR>(&WatchThread), &pin))
    return;
  HANDLE process = GetCurrentProcess();
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE threadsReady = nullptr;  // the thread's own copy, closed by it
  DWORD id = 0;
  HANDLE thread = nullptr;
  if (ready &&
      DuplicateHandle(process, ready, process, &threadsReady, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    thread = CreateThread(nullptr, 0, WatchThread, threadsReady, 0, &id);
    if (!thread) CloseHandle(threadsReady);
  }
  if (!thread) {
    if (ready) CloseHandle(ready);
    FreeLibrary(pin);
    return;
  }
  // The hook holds up every mouse move in the system until it returns.
  SetThreadPriority(thread, THREAD_PRIORITY_ABOVE_NORMAL);
  g_thread = thread;
  InterlockedExchange(&g_sender, static_cast<LONG>(id));
  // Return only once the hook is in place (or the thread has given up), so the library
  // is watching when DLLATTACH returns. Bounded: a caller holding the loader lock would
  // keep the thread from starting at all.
  HANDLE either[] = {ready, thread};
  WaitForMultipleObjects(2, either, FALSE, kThreadWaitMs);
  CloseHandle(ready);
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
    WaitForSingleObject(g_thread, kThreadWaitMs);
    CloseHandle(g_thread);
    g_thread = nullptr;
  }
  ReleaseSRWLockExclusive(&g_lock);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Freed by FreeLibrary. A running watch thread keeps the library loaded, so none runs
    // now; only the block is left to let go. (At process exit there is nothing to do: the
    // system takes the hook, the thread and the block away.)
    g_window = nullptr;
    if (g_view) UnmapViewOfFile(g_view);
    if (g_mapping) CloseHandle(g_mapping);
    g_view = nullptr;
    g_mapping = nullptr;
  }
  return TRUE;
}

}  // extern "C"
