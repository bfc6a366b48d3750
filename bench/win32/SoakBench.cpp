// soak: 10,000 OstrelMenu openings and 1,000 rebuilds on the real configuration window,
// with the process's GDI and USER objects and its private memory before and after.
// Target: object counts flat (within 2), memory growth under 1 MB.
#include "bench/win32/BenchSupport.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "toolkit/Application.h"

namespace ostrel::bench {
namespace {

// What the process holds. GetGuiResources answers on Windows; Wine's is a stub that
// answers 0, and there the objects are counted by looking at every handle value a
// process can hold: GDI objects by GetObjectType, menus by IsMenu and windows by
// IsWindow (those of this process). Both kinds accept a handle by its low word alone.
// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
struct Holdings {
  long gdi = 0;
  long user = 0;
  bool counted = false;  // by the handle scan rather than GetGuiResources
  double privateMb = 0;
  double workingSetMb = 0;
};

Holdings Measure() {
  Holdings h;
  HANDLE self = GetCurrentProcess();
  h.gdi = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS));
  h.user = static_cast<long>(GetGuiResources(self, GR_USEROBJECTS));
  if (h.gdi == 0 && h.user == 0) {
    h.counted = true;
    const DWORD pid = GetCurrentProcessId();
    for (std::uintptr_t v = 0x20; v < 0x10000; ++v) {
      if (GetObjectType(reinterpret_cast<HGDIOBJ>(v))) ++h.gdi;
      if (v % 2) continue;
      if (IsMenu(reinterpret_cast<HMENU>(v))) ++h.user;
      HWND w = reinterpret_cast<HWND>(v);
      DWORD owner = 0;
      if (IsWindow(w) && GetWindowThreadProcessId(w, &owner) && owner == pid) ++h.user;
    }
  }
  // Private memory as the committed private pages of the address space (Wine reports no
  // PrivateUsage): the heaps, stacks and anything else the process allocated itself.
  std::uint64_t committed = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (const char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;
       at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) committed += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  h.privateMb = static_cast<double>(committed) / (1024.0 * 1024.0);
  PROCESS_MEMORY_COUNTERS mem{};
  mem.cb = sizeof mem;
  if (GetProcessMemoryInfo(self, &mem, sizeof mem))
    h.workingSetMb = static_cast<double>(mem.WorkingSetSize) / (1024.0 * 1024.0);
  return h;
}

// Counts the OstrelMenu's openings as the menu itself reports them to its owner.
HHOOK g_menuHook = nullptr;
HMENU g_soakMenu = nullptr;
long g_menuOpenings = 0;

LRESULT CALLBACK CountOpenings(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (m->message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(m->wParam) == g_soakMenu)
      ++g_menuOpenings;
  }
  return CallNextHookEx(g_menuHook, code, wp, lp);
}

// Closes the menu that is up: a thread timer, which the menu's own loop dispatches.
void CALLBACK CloseStrayMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

}  // namespace

bool BenchSoak(int openings, int rebuilds) {
  const std::string folder = ExeFolder();
  const std::string keysFile = folder + "Keys.fil";
  constexpr std::size_t kSoakDefinitions = 200, kSoakKeys = 80, kSoakGroups = 20;
  std::size_t refused = 0;
  const std::vector<Combo> combos = PickCombos(kSoakKeys, refused);
  if (combos.size() != kSoakKeys) return Fail("too few hotkey combinations register");
  std::vector<TKeyRec> recs;
  for (std::size_t n = 0; n < kSoakDefinitions; ++n) {
    char name[40], group[12];
    std::snprintf(name, sizeof name, "Definition %03zu", n);
    std::snprintf(group, sizeof group, "Group %02zu", n % kSoakGroups);
    TKeyRec rec = Definition(static_cast<std::int32_t>(1 + n % 20), name, group);
    if (n % 5 < 2) {
      rec.Key = combos[n / 5 * 2 + n % 5].key;
      rec.KeyMod = combos[n / 5 * 2 + n % 5].keyMod;
    }
    recs.push_back(rec);
  }
  RemoveKeysFiles(folder);
  if (!WriteKeysFile(keysFile, recs)) return Fail("cannot write " + keysFile);

  bool ok = true;
  Holdings before, after;
  long opened = 0;
  double openMs = 0, rebuildMs = 0;
  {
    BoxWatch boxes;
    LiveForm form;
    form->SetSetupTimer(false);
    form->Show();
    form->Controller().FormSetup();
    form->Controller().TrayIcon().SetActive(true);
    PumpFor(200);
    g_menuHook = SetWindowsHookExA(WH_CALLWNDPROC, CountOpenings, nullptr, GetCurrentThreadId());
    const UINT_PTR closer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseStrayMenu);
    auto openOnce = [&] {
      g_soakMenu = form->OstrelMenu();
      form->PopupMenu(ScreenPoint{400, 300});
      tk::Application::Get().ProcessMessages();
    };
    auto rebuildOnce = [&] {
      form->Controller().UpdateKeysList();
      tk::Application::Get().ProcessMessages();
    };
    // Warm-up: what is made once and kept (fonts, caches, the menu's class) is made now.
    // Both samples are taken just after a rebuild: the banner drawing keeps a few bitmaps
    // for the menu last opened, as many as it got to draw before the menu closed, and a
    // rebuild gives them back.
    for (int i = 0; i < 50; ++i) openOnce();
    for (int i = 0; i < 10; ++i) rebuildOnce();
    PumpFor(200);
    before = Measure();
    const long openedBefore = g_menuOpenings;
    int rebuilt = 0;
    auto timedRebuild = [&] {
      const double r0 = NowMs();
      rebuildOnce();
      rebuildMs += NowMs() - r0;
      ++rebuilt;
    };
    // The rebuilds are spread among the openings, so the menu is replaced between them.
    const int every = rebuilds > 0 ? std::max(1, openings / rebuilds) : 0;
    const double t0 = NowMs();
    for (int i = 0; i < openings; ++i) {
      openOnce();
      if (every && i % every == 0 && rebuilt < rebuilds) timedRebuild();
    }
    openMs = NowMs() - t0;
    opened = g_menuOpenings - openedBefore;
    while (rebuilt < rebuilds) timedRebuild();
    rebuildOnce();
    PumpFor(300);
    after = Measure();
    KillTimer(nullptr, closer);
    UnhookWindowsHookEx(g_menuHook);
    g_menuHook = nullptr;
    if (opened != openings)
      ok = Fail("the menu opened " + std::to_string(opened) + " times of " +
                std::to_string(openings));
    if (form->Controller().Keys()->Count() != kSoakDefinitions)
      ok = Fail("definitions were lost in the rebuilds");
    if (boxes.Seen()) ok = Fail("a message box came up: \"" + boxes.Text() + "\"");
    form->Controller().TrayIcon().SetActive(false);
  }
  RemoveKeysFiles(folder);

  char line[200];
  std::snprintf(line, sizeof line,
                "soak: %ld OstrelMenu openings (%.2f ms each, rebuilds included) and %d rebuilds "
                "(%.1f ms each) of %zu definitions",
                opened, openings ? openMs / openings : 0.0, rebuilds,
                rebuilds ? rebuildMs / rebuilds : 0.0, kSoakDefinitions);
  Note(line);
  const char* how = before.counted ? "counted by handle scan" : "GetGuiResources";
  std::snprintf(line, sizeof line, "GDI objects  %ld -> %ld (%+ld)   [%s]", before.gdi, after.gdi,
                after.gdi - before.gdi, how);
  Note(line);
  std::snprintf(line, sizeof line, "USER objects %ld -> %ld (%+ld)   [%s]", before.user,
                after.user, after.user - before.user, how);
  Note(line);
  std::snprintf(line, sizeof line, "private memory %.2f -> %.2f MB (%+.3f MB); working set %.2f -> %.2f MB",
                before.privateMb, after.privateMb, after.privateMb - before.privateMb,
                before.workingSetMb, after.workingSetMb);
  Note(line);
  // The targets hold only for the full soak: a short run says whether it works.
  if (openings >= 10000 && rebuilds >= 1000) {
    if (std::labs(after.gdi - before.gdi) > 2 || std::labs(after.user - before.user) > 2)
      ok = Fail("object counts are not flat");
    if (after.privateMb - before.privateMb >= 1.0) ok = Fail("memory grew by 1 MB or more");
  }
  return ok;
}

}  // namespace ostrel::bench
