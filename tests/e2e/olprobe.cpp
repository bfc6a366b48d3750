// olprobe: looks into the Wine desktop for the end-to-end tests, where xdotool sees
// only the one virtual-desktop window. Each command prints what it found and exits 0,
// or exits 1 when the window is not there (in time).
//   olprobe wait <title> <ms>             a visible top-level window with that title
//   olprobe gone <title> <ms>             no visible window with that title any more
//   olprobe info <title>                  the window, its icon and every child control
//   olprobe dialog <title> <ms>           a message box: prints its text, presses OK
//   olprobe close <title>                 posts WM_CLOSE, as the close box does
//   olprobe kill <title>                  ends the window's process
//   olprobe hold <file> <ms>              keeps a file open with no sharing, as another
//                                         program can, until <file>.release appears
//   olprobe hold <file> <ms> <class>      the same, but the <ms> count from the moment a
//                                         window of that class exists (at most 60 s on)
//   olprobe window <title> <class> <ms>   shows a top-level window of that class (a plain
//                                         program window, or "Progman" for a desktop) and
//                                         keeps it until closed or <ms> have passed;
//                                         prints how many OstrelMenu requests it got
//   olprobe front <title>                 brings the window to the foreground
//   olprobe foreground                    prints the foreground window's title
//   olprobe post <title> <message>        posts a message (number) with no parameters
//   olprobe send <title> <message>        sends it, as Windows sends the end-of-session
//                                         messages, and prints the answer
//   olprobe caret <title>                 the caret of the window's thread: its rectangle
//                                         on the screen
//   olprobe menu <ms>                     a popup menu is open: prints its rectangle
//   olprobe nomenu <ms>                   no popup menu is open (any more)
//   olprobe workarea                      the primary screen's work area: its rectangle
//   olprobe edittext <title>              the text of the window's first edit control,
//                                         written to stdout byte for byte (UTF-8)
//   olprobe windows                       every window, top-level and child: its class,
//                                         title, process and visibility, one per line
//   olprobe hook <title> <dll> <ms>       sets the library's exported CallWndProc as a
//                                         WH_CALLWNDPROC hook on the window's thread
//                                         (which loads the library into its process) and
//                                         keeps it <ms>; prints "hooked" once set
//   olprobe clipput                       puts text, "HTML Format", a picture, a file
//                                         list and a private format on the clipboard
//   olprobe clipdump                      every format on the clipboard and its bytes in
//                                         hex, one per line in the order of their numbers
//   olprobe clipseq                       the clipboard's sequence number
//   olprobe password <title> <ms>         a window with a password box that has the focus;
//                                         prints "password=<text>" as it closes
//   olprobe editbox <title> <ms>          the same with a plain edit box
//   olprobe keylog <title> <file> <ms>    a plain window like "window" that appends a line
//                                         to <file> for each key message it gets: "+53 CA"
//                                         a key down (hex virtual key) with the modifiers
//                                         held (C, A, S, W), "-53" a key up; a mouse
//                                         message "m207 0 C": its number, the high word
//                                         of wParam (X button, wheel turn), modifiers
//   olprobe register <mods> <vk>          whether the combination (MOD_* flags and virtual
//                                         key, numbers) can be registered now: prints
//                                         "free" (and lets it go) or exits 1 "taken"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/win32/ClipboardSamples.h"

namespace {

struct Search {
  std::string title;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (s->title != text) return TRUE;
  if (s->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

HWND FindTop(const std::string& title, bool visibleOnly) {
  Search s{title, visibleOnly, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitFor(const std::string& title, DWORD ms, bool visibleOnly = true) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND h = FindTop(title, visibleOnly)) return h;
    if (GetTickCount() - start > ms) return nullptr;
    Sleep(100);
  }
}

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = '|';
  return text;
}

// A control's text, asked of its own thread (GetWindowText does not across processes).
std::string TextOf(HWND h) {
  static wchar_t wide[8192];
  wide[0] = 0;
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, sizeof wide / sizeof wide[0], reinterpret_cast<LPARAM>(wide),
                      SMTO_ABORTIFHUNG, 2000, &got);
  static char text[8192];
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return OneLine(text);
}

BOOL CALLBACK PrintChild(HWND child, LPARAM lp) {
  HWND parent = reinterpret_cast<HWND>(lp);
  if (GetParent(child) != parent) return TRUE;
  char cls[128] = {};
  GetClassNameA(child, cls, sizeof cls);
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  std::printf("child id=%d class=%s visible=%d rect=%ld,%ld,%ld,%ld text=%s\n", GetDlgCtrlID(child),
              cls, IsWindowVisible(child) ? 1 : 0, r.left, r.top, r.right - r.left,
              r.bottom - r.top, TextOf(child).c_str());
  if (std::string(cls) == "ComboBox") {
    LRESULT count = SendMessageA(child, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      // Asked across processes, Wine marshals list texts reliably only in UTF-16.
      // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
      wchar_t wide[256] = {};
      SendMessageW(child, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
      char item[256] = {};
      WideCharToMultiByte(CP_ACP, 0, wide, -1, item, sizeof item, nullptr, nullptr);
      std::printf(
          "item id=%d index=%ld data=%ld text=%s\n", GetDlgCtrlID(child), static_cast<long>(i),
          static_cast<long>(SendMessageA(child, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)), item);
    }
    std::printf("selected id=%d index=%ld\n", GetDlgCtrlID(child),
                static_cast<long>(SendMessageA(child, CB_GETCURSEL, 0, 0)));
  }
  return TRUE;
}

int Info(HWND h) {
  char cls[128] = {};
  GetClassNameA(h, cls, sizeof cls);
  RECT r, c;
  GetWindowRect(h, &r);
  GetClientRect(h, &c);
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  std::printf(
      "window class=%s visible=%d iconic=%d rect=%ld,%ld,%ld,%ld client=%ld,%ld "
      "sizebox=%d maximizebox=%d zoomed=%d\n",
      cls, IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0, r.left, r.top, r.right - r.left,
      r.bottom - r.top, c.right, c.bottom, (style & WS_THICKFRAME) ? 1 : 0,
      (style & WS_MAXIMIZEBOX) ? 1 : 0, IsZoomed(h) ? 1 : 0);
  EnumChildWindows(h, PrintChild, reinterpret_cast<LPARAM>(h));
  return 0;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  char cls[64] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (std::string(cls) == "Static" && GetWindowTextLengthA(child) > 0)
    std::printf("text=%s\n", TextOf(child).c_str());
  return TRUE;
}

bool MenuOpen(RECT* where) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return false;
  if (where) GetWindowRect(menu, where);
  return true;
}

// How many OstrelMenu requests (0x2261) the plain window received.
int g_menuRequests = 0;

FILE* g_keyLog = nullptr;

// One line per key message of the key-log window, flushed at once: the test reads it while
// the window lives.
void LogKey(UINT msg, WPARAM wp) {
  const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
  std::fprintf(g_keyLog, "%c%02X", down ? '+' : '-', static_cast<unsigned>(wp));
  if (down) {
    auto held = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    std::fprintf(g_keyLog, " %s%s%s%s", held(VK_CONTROL) ? "C" : "", held(VK_MENU) ? "A" : "",
                 held(VK_SHIFT) ? "S" : "", held(VK_LWIN) || held(VK_RWIN) ? "W" : "");
  }
  std::fprintf(g_keyLog, "\n");
  std::fflush(g_keyLog);
}

LRESULT CALLBACK PlainWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == 0x2261) ++g_menuRequests;
  if (g_keyLog &&
      (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP)) {
    LogKey(msg, wp);
    return 0;
  }
  // Mouse messages are logged, then handled as usual (a right button's release still asks
  // for the context menu, 0x7B).
  if (g_keyLog && ((msg > WM_MOUSEMOVE && msg <= WM_MOUSEHWHEEL) || msg == WM_CONTEXTMENU)) {
    auto held = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    std::fprintf(g_keyLog, "m%X %d %s%s%s\n", msg,
                 msg == WM_CONTEXTMENU ? 0 : static_cast<short>(HIWORD(wp)),
                 held(VK_CONTROL) ? "C" : "", held(VK_MENU) ? "A" : "", held(VK_SHIFT) ? "S" : "");
    std::fflush(g_keyLog);
  }
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(h, msg, wp, lp);
}

int ShowPlainWindow(const std::string& title, const std::string& cls, DWORD ms) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = cls.c_str();
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, cls.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                           300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  if (!h) return 1;
  SetTimer(h, 1, ms, nullptr);
  std::printf("window %s\n", title.c_str());
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == h) break;
    DispatchMessageA(&msg);
  }
  std::printf("menu requests=%d\n", g_menuRequests);
  return 0;
}

// A window whose one child is an edit box (a password box, or a plain one) that holds the
// focus; what the box holds is printed when the window closes, from inside, whatever
// another process may read of it.
HWND g_passwordBox = nullptr;
LRESULT CALLBACK PasswordWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS && g_passwordBox) {
    SetFocus(g_passwordBox);
    return 0;
  }
  if (msg == WM_CLOSE) {
    char text[256] = {};
    GetWindowTextA(g_passwordBox, text, sizeof text);
    std::printf("password=%s\n", text);
    std::fflush(stdout);
  }
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(h, msg, wp, lp);
}

int ShowPasswordWindow(const std::string& title, DWORD ms, bool password) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PasswordWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "OlPassword";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                           60, 300, 120, nullptr, nullptr, wc.hInstance, nullptr);
  if (!h) return 1;
  g_passwordBox = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | (password ? ES_PASSWORD : 0),
                                  10, 10, 260, 24, h, nullptr, wc.hInstance, nullptr);
  SetFocus(g_passwordBox);
  SetTimer(h, 1, ms, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == h) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

BOOL CALLBACK ListWindow(HWND h, LPARAM depth) {
  char cls[128] = {}, text[128] = {};
  GetClassNameA(h, cls, sizeof cls);
  GetWindowTextA(h, text, sizeof text);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  // A tool tip (the notification area's balloon) answers its text only when asked.
  const std::string shown = std::string(cls) == "tooltips_class32" ? TextOf(h) : text;
  std::printf("%*swindow class=%s pid=%lu visible=%d title=%s\n", static_cast<int>(depth * 2), "",
              cls, static_cast<unsigned long>(pid), IsWindowVisible(h) ? 1 : 0, shown.c_str());
  if (depth == 0) EnumChildWindows(h, ListWindow, 1);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::string(argv[1]) == "menu" || std::string(argv[1]) == "nomenu")) {
    const bool want = std::string(argv[1]) == "menu";
    DWORD ms = argc > 2 ? static_cast<DWORD>(std::atol(argv[2])) : 0;
    RECT r{};
    for (DWORD start = GetTickCount();;) {
      if (MenuOpen(&r) == want) break;
      if (GetTickCount() - start > ms) return 1;
      Sleep(50);
    }
    if (want)
      std::printf("menu rect=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (argc >= 2 && std::string(argv[1]) == "workarea") {
    RECT r{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return 1;
    std::printf("workarea rect=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
    return 0;
  }
  if (argc >= 2 && std::string(argv[1]) == "windows") {
    EnumWindows(ListWindow, 0);
    return 0;
  }
  if (argc >= 2 && std::string(argv[1]) == "clipput")
    return ostrel::clipsamples::Put(ostrel::clipsamples::Samples()) ? 0 : 1;
  if (argc >= 2 && std::string(argv[1]) == "clipdump") {
    for (const auto& [format, bytes] : ostrel::clipsamples::Read()) {
      std::printf("%u %s ", format, ostrel::clipsamples::FormatName(format).c_str());
      for (unsigned char c : bytes) std::printf("%02x", c);
      std::printf("\n");
    }
    return 0;
  }
  if (argc >= 2 && std::string(argv[1]) == "clipseq") {
    std::printf("%lu\n", static_cast<unsigned long>(GetClipboardSequenceNumber()));
    return 0;
  }
  if (argc >= 2 && std::string(argv[1]) == "foreground") {
    char text[256] = {};
    GetWindowTextA(GetForegroundWindow(), text, sizeof text);
    std::printf("%s\n", text);
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: olprobe wait|gone|info|dialog|close|kill <title> [ms]\n");
    return 2;
  }
  std::string cmd = argv[1], title = argv[2];
  DWORD ms = argc > 3 ? static_cast<DWORD>(std::atol(argv[3])) : 0;

  if (cmd == "hold") {
    HANDLE f = CreateFileA(title.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    std::printf("holding %s\n", title.c_str());
    std::fflush(stdout);
    if (argc > 4)
      for (DWORD start = GetTickCount(); !FindWindowA(argv[4], nullptr);) {
        if (GetTickCount() - start > 60000) break;
        Sleep(10);
      }
    const std::string release = title + ".release";
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
      if (GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES) break;
      Sleep(100);
    }
    CloseHandle(f);
    std::printf("released\n");
    return 0;
  }

  if (cmd == "register" && argc >= 4) {
    const UINT mods = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    const UINT vk = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
    if (!RegisterHotKey(nullptr, 1, mods, vk)) {
      std::printf("taken\n");
      return 1;
    }
    UnregisterHotKey(nullptr, 1);
    std::printf("free\n");
    return 0;
  }
  if (cmd == "keylog" && argc >= 5) {
    g_keyLog = std::fopen(argv[3], "ab");
    if (!g_keyLog) return 1;
    return ShowPlainWindow(title, "OlKeyLog", static_cast<DWORD>(std::atol(argv[4])));
  }
  if (cmd == "password" || cmd == "editbox") return ShowPasswordWindow(title, ms, cmd == "password");
  if (cmd == "window") {
    if (argc < 5) return 2;
    return ShowPlainWindow(title, argv[3], static_cast<DWORD>(std::atol(argv[4])));
  }

  if (cmd == "wait") {
    HWND h = WaitFor(title, ms);
    if (!h) return 1;
    RECT r;
    GetWindowRect(h, &r);
    std::printf("found rect=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (cmd == "gone") {
    DWORD start = GetTickCount();
    while (FindTop(title, true)) {
      if (GetTickCount() - start > ms) return 1;
      Sleep(100);
    }
    return 0;
  }
  HWND h = cmd == "dialog" ? WaitFor(title, ms) : FindTop(title, false);
  if (!h) {
    std::fprintf(stderr, "olprobe: no window \"%s\"\n", title.c_str());
    return 1;
  }
  if (cmd == "info") return Info(h);
  if (cmd == "caret") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info) || !info.hwndCaret) return 1;
    POINT a{info.rcCaret.left, info.rcCaret.top}, b{info.rcCaret.right, info.rcCaret.bottom};
    ClientToScreen(info.hwndCaret, &a);
    ClientToScreen(info.hwndCaret, &b);
    std::printf("caret rect=%ld,%ld,%ld,%ld\n", a.x, a.y, b.x - a.x, b.y - a.y);
    return 0;
  }
  if (cmd == "dialog") {
    EnumChildWindows(h, PrintStatic, 0);
    std::fflush(stdout);
    PostMessageA(h, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (cmd == "edittext") {
    HWND edit = FindWindowExA(h, nullptr, "Edit", nullptr);
    if (!edit) return 1;
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &n)) return 1;
    std::wstring text(n + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(edit, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &got))
      return 1;
    text.resize(got);
    std::string utf8(text.size() * 3 + 1, '\0');
    int len = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    std::fwrite(utf8.data(), 1, static_cast<std::size_t>(len), stdout);
    return 0;
  }
  if (cmd == "hook") {
    if (argc < 5) return 2;
    HMODULE library = LoadLibraryA(argv[3]);
    FARPROC proc = library ? GetProcAddress(library, "CallWndProc") : nullptr;
    // Function pointers through FARPROC: GetProcAddress's own type.
    const auto hookProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(proc));
    HHOOK hook = proc ? SetWindowsHookExA(WH_CALLWNDPROC, hookProc, library,
                                          GetWindowThreadProcessId(h, nullptr))
                      : nullptr;
    if (!hook) {
      std::fprintf(stderr, "olprobe: could not hook %s with %s\n", title.c_str(), argv[3]);
      return 1;
    }
    std::printf("hooked\n");
    std::fflush(stdout);
    const DWORD keep = static_cast<DWORD>(std::atol(argv[4]));
    for (DWORD start = GetTickCount(); GetTickCount() - start < keep;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    UnhookWindowsHookEx(hook);
    return 0;
  }
  if (cmd == "close") return PostMessageA(h, WM_CLOSE, 0, 0) ? 0 : 1;
  if (cmd == "front") return SetForegroundWindow(h) ? 0 : 1;
  if (cmd == "post") {
    if (argc < 4) return 2;
    UINT msg = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
    return PostMessageA(h, msg, 0, 0) ? 0 : 1;
  }
  if (cmd == "send") {
    if (argc < 4) return 2;
    UINT msg = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
    DWORD_PTR answer = 0;
    // A program that ends while answering gives no answer: that is a result too.
    LRESULT ok = SendMessageTimeoutA(h, msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    std::printf("sent ok=%d answer=%ld\n", ok ? 1 : 0, static_cast<long>(answer));
    return 0;
  }
  if (cmd == "kill") {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) return 1;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    return 0;
  }
  std::fprintf(stderr, "olprobe: unknown command %s\n", cmd.c_str());
  return 2;
}
