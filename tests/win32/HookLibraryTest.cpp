// The real OLWATCH.DLL (built beside this test program) through the program's adapter: the
// shared block, a missing library, and the corner gesture end to end with synthesised
// mouse input.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "platform/Paths.h"
#include "platform/win32/Win32HookLibrary.h"

namespace ostrel {
namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return FolderOf(path);
}

// The library watches on a thread of its own.
int ThreadsOfThisProcess() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  int n = 0;
  for (BOOL more = Thread32First(snap, &t); more; more = Thread32Next(snap, &t))
    n += t.th32OwnerProcessID == GetCurrentProcessId();
  CloseHandle(snap);
  return n;
}

// Absolute moves are given in 0..65535 across the primary screen.
void MoveTo(int x, int y) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ASSERT_EQ(SendInput(1, &in, sizeof in), 1u);
}

// A second, independent view of the block, as another process would have.
struct OtherView {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName);
  const unsigned char* bytes =
      mapping ? static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))
              : nullptr;
  ~OtherView() {
    if (bytes) UnmapViewOfFile(bytes);
    if (mapping) CloseHandle(mapping);
  }
  std::uint32_t At(std::size_t offset) const {
    std::uint32_t v;
    std::memcpy(&v, bytes + offset, sizeof v);
    return v;
  }
};

TEST(HookLibrary, AttachLoadsTheLibraryBesideTheProgramAndItsBlockCarriesTheHandle) {
  Win32HookLibrary lib;
  EXPECT_EQ(lib.LibraryPath(), ProgramFolder() + "OLWATCH.DLL");
  ASSERT_TRUE(lib.DllAttach());
  HMODULE loaded = GetModuleHandleA("OLWATCH.DLL");
  ASSERT_NE(loaded, nullptr);
  char loadedPath[MAX_PATH] = {};
  GetModuleFileNameA(loaded, loadedPath, MAX_PATH);
  EXPECT_EQ(lstrcmpiA(loadedPath, lib.LibraryPath().c_str()), 0) << loadedPath;

  ASSERT_TRUE(lib.MapSharedBlock());
  EXPECT_TRUE(lib.MapSharedBlock());  // mapped once, stays mapped
  lib.WriteShared(kSharedWindowOffset, 0x8badf00du);
  OtherView other;
  ASSERT_NE(other.bytes, nullptr);
  EXPECT_EQ(other.At(44), 0x8badf00du);

  // Writes that would reach past the block's known 48 bytes are refused.
  std::uint32_t beyond = other.At(48);
  lib.WriteShared(45, 0xffffffffu);
  lib.WriteShared(48, 0xffffffffu);
  lib.WriteShared(std::size_t(-2), 0xffffffffu);
  EXPECT_EQ(other.At(44), 0x8badf00du);
  EXPECT_EQ(other.At(48), beyond);

  lib.WriteShared(kSharedWindowOffset, 0);
  lib.DllDetach();
}

TEST(HookLibrary, WithoutTheLibraryOrItsExportsNothingIsAttached) {
  Win32HookLibrary missing(ProgramFolder() + "no-such-folder\\OLWATCH.DLL");
  EXPECT_FALSE(missing.DllAttach());
  EXPECT_FALSE(missing.DllAttach());
  missing.DllDetach();
  missing.WriteShared(kSharedWindowOffset, 1);  // nothing mapped: nothing written

  // A library that loads but lacks the two exports is not used either. A 32-bit program on
  // 64-bit Windows finds its own (SysWOW64's) version.dll under this name.
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  Win32HookLibrary foreign(std::string(system) + "\\version.dll");
  EXPECT_FALSE(foreign.DllAttach());
  foreign.DllDetach();
}

TEST(HookLibrary, FreedWhileWatchingItStaysLoadedUntilDetached) {
  // A copy of its own, so that this test holds the only reference to it.
  char tmp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, tmp);
  std::string copy =
      std::string(tmp) + "olwatch-unload-" + std::to_string(GetCurrentProcessId()) + ".dll";
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "OLWATCH.DLL").c_str(), copy.c_str(), FALSE));
  HMODULE lib = LoadLibraryA(copy.c_str());
  ASSERT_NE(lib, nullptr);
  auto attach =
      reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(lib, kHookAttachExport)));
  auto detach =
      reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(lib, kHookDetachExport)));
  ASSERT_TRUE(attach && detach);
  attach();
  FreeLibrary(lib);
  // Still watching, from code that must still be there.
  EXPECT_EQ(GetModuleHandleA(copy.c_str()), lib);
  MoveTo(200, 200);
  MoveTo(0, 0);
  Sleep(400);
  MoveTo(300, 300);

  ASSERT_EQ(LoadLibraryA(copy.c_str()), lib);
  detach();
  FreeLibrary(lib);
  EXPECT_EQ(GetModuleHandleA(copy.c_str()), nullptr) << "still loaded after its detach";
  EXPECT_TRUE(DeleteFileA(copy.c_str()));
}

// The gesture end to end: a hidden window published in the block receives MSG_SHOW_MENU
// when the mouse rests in the top-left corner.
class CornerGestureEndToEnd : public ::testing::Test {
 protected:
  static inline int requests = 0;
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == MSG_SHOW_MENU) {
      ++requests;
      return 0;
    }
    return DefWindowProcA(h, msg, w, l);
  }

  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OlWatchTestTarget";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    requests = 0;
    MoveTo(512, 384);
    ASSERT_TRUE(lib.DllAttach());
    ASSERT_TRUE(lib.MapSharedBlock());
    lib.WriteShared(kSharedWindowOffset,
                    static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
  }
  void TearDown() override {
    lib.DllDetach();
    lib.WriteShared(kSharedWindowOffset, 0);
    MoveTo(512, 384);
    if (window) DestroyWindow(window);
  }

  // A relative move, as a mouse pushed on past the screen's edge makes.
  static void Nudge(int dx, int dy) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    ASSERT_EQ(SendInput(1, &in, sizeof in), 1u);
  }
  static void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      DWORD spent = GetTickCount() - start;
      if (spent >= ms) return;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    }
  }
  // Enters the corner, rests there for a second and leaves.
  static void Visit() {
    MoveTo(0, 0);
    Pump(1000);
    MoveTo(300, 200);
    Pump(100);
  }
  static std::string Cursor() {
    POINT p{};
    GetCursorPos(&p);
    return "cursor at " + std::to_string(p.x) + "," + std::to_string(p.y);
  }

  Win32HookLibrary lib;
  HWND window = nullptr;
};

TEST_F(CornerGestureEndToEnd, EachVisitSendsOneRequestWhileAttached) {
  // A second attach starts no second thread or hook.
  int threads = ThreadsOfThisProcess();
  ASSERT_TRUE(lib.DllAttach());
  EXPECT_EQ(ThreadsOfThisProcess(), threads);
  MoveTo(1, 1);
  Pump(150);
  EXPECT_EQ(requests, 0) << "sent before the mouse had rested long enough";
  Pump(850);
  EXPECT_EQ(requests, 1) << Cursor();
  // Moving about inside the corner is part of the same visit.
  MoveTo(0, 1);
  MoveTo(0, 0);
  Pump(600);
  EXPECT_EQ(requests, 1) << Cursor();

  MoveTo(300, 200);
  Pump(100);
  Visit();
  EXPECT_EQ(requests, 2) << Cursor();

  // A mouse pushed hard into the corner is reported beyond it, where the cursor cannot go.
  MoveTo(4, 3);
  Nudge(-40, -30);
  Pump(600);
  EXPECT_EQ(requests, 3) << Cursor();
  MoveTo(300, 200);
  Pump(100);

  // Leaving early sends nothing.
  MoveTo(0, 0);
  Pump(100);
  MoveTo(300, 200);
  Pump(600);
  EXPECT_EQ(requests, 3);
}

TEST_F(CornerGestureEndToEnd, DetachStopsTheRequestsAndAttachStartsThemAgain) {
  int threads = ThreadsOfThisProcess();
  DWORD start = GetTickCount();
  lib.DllDetach();
  EXPECT_LT(GetTickCount() - start, 1000u) << "the watch thread was slow to end";
  EXPECT_EQ(ThreadsOfThisProcess(), threads - 1);
  Visit();
  EXPECT_EQ(requests, 0);

  ASSERT_TRUE(lib.DllAttach());
  Visit();
  EXPECT_EQ(requests, 1) << Cursor();

  // The handle is read when a request is due, not when attaching: with none published
  // nothing is sent, and one published later is used.
  lib.WriteShared(kSharedWindowOffset, 0);
  Visit();
  EXPECT_EQ(requests, 1);
  lib.WriteShared(kSharedWindowOffset,
                  static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
  Visit();
  EXPECT_EQ(requests, 2) << Cursor();
}

// Any process may write the block. A handle of another process's window published there
// gets no request: the library posts only into the process it is loaded in.
TEST_F(CornerGestureEndToEnd, AWindowOfAnotherProcessGetsNoRequest) {
  const std::string probe = ProgramFolder() + "olprobe.exe";
  if (GetFileAttributesA(probe.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no olprobe.exe beside the tests";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + probe + "\" window \"Foreign Target\" OlWatchForeign 30000";
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &si, &pi));
  CloseHandle(writeEnd);
  HWND foreign = nullptr;
  for (DWORD start = GetTickCount(); !foreign && GetTickCount() - start < 20000; Sleep(100))
    foreign = FindWindowA("OlWatchForeign", "Foreign Target");
  ASSERT_NE(foreign, nullptr);

  lib.WriteShared(kSharedWindowOffset,
                  static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(foreign)));
  Visit();
  // One request of our own, to show that the window counts what it gets.
  PostMessageA(foreign, MSG_SHOW_MENU, 0, 0);
  PostMessageA(foreign, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "olprobe's window did not close within 20 s";
    TerminateProcess(pi.hProcess, 1);  // or the read below waits for its end
  }
  std::string out;
  char buf[256];
  DWORD got = 0;
  while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  CloseHandle(readEnd);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_NE(out.find("menu requests=1"), std::string::npos) << out;

  // The same visit with our own window published is answered: the gesture did fire.
  lib.WriteShared(kSharedWindowOffset,
                  static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
  Visit();
  EXPECT_EQ(requests, 1) << Cursor();
}

}  // namespace
}  // namespace ostrel
