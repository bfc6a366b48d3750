// Benchmarks of the real Win32 program, run in the Wine session of a Windows build tree:
//
//   rebuild   UpdateKeysList over 1,000 definitions (400 with hotkeys) on the real
//             configuration window: sort, crash-safe save, tree, menu, re-registration.
//             Target: under 100 ms.
//   dispatch  a synthesised key press to the moment the desktop window is hidden or shown
//             by the dispatcher. Target: the 100 ms hand-off plus at most 5 ms.
//   programs  the dispatch of a definition kept for this program (Keys.ini), and a press
//             whose definition is for another program, handed on to the window in front
//             (the press to the key's arrival). Targets: the hand-off plus at most 5 ms;
//             at most 15 ms.
//   mouse     a middle click to the run of the definition on it (the mouse hook), and a
//             side-button click no definition is for to its arrival in the window in
//             front, with the hook in and without. Targets: the hand-off plus at most
//             5 ms; the hook adds at most 0.5 ms (medians).
//   macro     a press to the first character of its macro in the window in front,
//             typed as keyboard input and posted. Target: the same for both.
//   idle      CPU time the real Ostrel.exe spends over a quiet window, without and with
//             OLWATCH.DLL beside it. Target: nothing, as it never polls.
//   menu      the OstrelMenu of 1,000 definitions in 30 groups, from the request to the
//             menu painted and idle, with its banner drawing and as a plain menu.
//             Target: median under 30 ms, at most 5 ms above the plain menu. Then the
//             banner menu drawn for a screen of 192 DPI (with the images drawn for it
//             where the program has them) against the same at 96 DPI: at most 1.2 x.
//   typing    SendKeys typing 1,000 plain characters into an EDIT control that another
//             thread owns, and into Notepad (another process), with every idle wait in
//             place. Target: into Notepad 0.9 x Notepad's own pace (the same characters
//             posted at once); into the edit control no slower than the 370
//             characters/s measured before the catch-up was limited to the keys that
//             need it. The time is split by where it went.
//             Then 1,000 accented and {U+...} characters into Notepad, against
//             Notepad's own pace for the same characters posted at once: 0.9 x at least.
//             Between them the plain text as keyboard input, against Notepad's pace for
//             the characters posted at once (1.0 x) and for the same keys sent at once.
//   paste     a macro-menu item of fifty lines of 200 characters (10,000, accented and
//             {U+...} ones among them) chosen in the real Ostrel.exe and pasted into
//             Notepad line by line, from the choice to the last character. Target: at
//             most 1 s. Then the same typed key by key ("OLPasteLong" "0"), as a ratio.
//   abbreviations  the key that ends an abbreviation to the first Backspace the real
//             Ostrel.exe sends to erase it (target: at most 20 ms median), and the
//             keyboard hook's own time per key over 10,000 keys (at most 0.1 ms median,
//             1 ms at the 99th percentile).
//   soak      10,000 OstrelMenu openings and 1,000 rebuilds on the real configuration
//             window, with the process's GDI and USER objects and its private memory
//             before and after. Target: object counts flat (within 2), memory growth
//             under 1 MB.
//
//   ostrel_bench                       every measure, full length
//   ostrel_bench rebuild [reps]
//   ostrel_bench dispatch [presses]
//   ostrel_bench programs [presses]
//   ostrel_bench mouse [clicks]
//   ostrel_bench macro [presses]
//   ostrel_bench forward [presses]
//   ostrel_bench idle [seconds]
//   ostrel_bench typing [reps] [characters]
//   ostrel_bench menu [reps]
//   ostrel_bench paste [reps] [lines] [pasted]   pasted: without the typed run
//   ostrel_bench soak [openings [rebuilds]]
//   ostrel_bench abbreviations [reps] [keys]
//   ostrel_bench --smoke               each measure once or twice; non-zero if any fails
//
// The in-process measures use the real TOstrelForm, so Keys.fil is laid beside this
// executable (the controller's AppDir) and removed afterwards. Each measure has a file
// of its own; what they share is in BenchSupport.h.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/win32/BenchSupport.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  using namespace ostrel;
  using namespace ostrel::bench;
  const std::string mode = argc > 1 ? argv[1] : "all";
  const double count = argc > 2 ? std::atof(argv[2]) : 0;
  tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
  const bool smoke = mode == "--smoke";
  constexpr int kReps = 25;
  bool ok = true;
  PrintHeader();
  if (smoke) {
    ok = BenchRebuild(2) && ok;
    ok = BenchMenu(2) && ok;
    ok = BenchDispatch(2) && ok;
    ok = BenchPrograms(2) && ok;
    ok = BenchMouse(2) && ok;
    ok = BenchMacro(2) && ok;
    ok = BenchIdle(1.0, 500) && ok;
    ok = BenchTyping(1, 50) && ok;
    ok = BenchPaste(1, 1, true) && ok;
    ok = BenchSoak(20, 5) && ok;
    ok = BenchAbbreviations(2, 100) && ok;
  } else if (mode == "all") {
    ok = BenchRebuild(kReps) && ok;
    ok = BenchMenu(kReps) && ok;
    ok = BenchDispatch(kReps) && ok;
    ok = BenchPrograms(kReps) && ok;
    ok = BenchMouse(kReps) && ok;
    ok = BenchMacro(kReps) && ok;
    ok = BenchForward(kReps) && ok;
    ok = BenchIdle(10.0, 2000) && ok;
    ok = BenchTyping(5, 1000) && ok;
    ok = BenchPaste(5, 50, true) && ok;
    ok = BenchAbbreviations(kReps, 10000) && ok;
  } else if (mode == "rebuild") {
    ok = BenchRebuild(count > 0 ? static_cast<int>(count) : kReps);
  } else if (mode == "dispatch") {
    ok = BenchDispatch(count > 0 ? static_cast<int>(count) : kReps);
  } else if (mode == "forward") {
    ok = BenchForward(count > 0 ? static_cast<int>(count) : kReps);
  } else if (mode == "programs") {
    ok = BenchPrograms(count > 0 ? static_cast<int>(count) : kReps);
  } else if (mode == "macro") {
    ok = BenchMacro(count > 0 ? static_cast<int>(count) : kReps);
  } else if (mode == "mouse") {
    ok = BenchMouse(count > 0 ? static_cast<int>(count) : kReps);
  } else if (mode == "idle") {
    ok = BenchIdle(count > 0 ? count : 10.0, 2000);
  } else if (mode == "menu") {
    ok = BenchMenu(count > 0 ? static_cast<int>(count) : kReps);
  } else if (mode == "typing") {
    const int chars = argc > 3 ? std::atoi(argv[3]) : 0;
    ok = BenchTyping(count > 0 ? static_cast<int>(count) : 5,
                     chars > 0 ? static_cast<std::size_t>(chars) : 1000);
  } else if (mode == "paste") {
    const int lines = argc > 3 ? std::atoi(argv[3]) : 0;
    ok = BenchPaste(count > 0 ? static_cast<int>(count) : 5,
                    lines > 0 ? static_cast<std::size_t>(lines) : 50,
                    argc <= 4 || std::string(argv[4]) != "pasted");
  } else if (mode == "abbreviations") {
    const int keys = argc > 3 ? std::atoi(argv[3]) : 0;
    ok = BenchAbbreviations(count > 0 ? static_cast<int>(count) : kReps,
                            keys > 0 ? static_cast<std::size_t>(keys) : 10000);
  } else if (mode == "soak") {
    const double rebuilds = argc > 3 ? std::atof(argv[3]) : 0;
    ok = BenchSoak(count > 0 ? static_cast<int>(count) : 10000,
                   rebuilds > 0 ? static_cast<int>(rebuilds) : 1000);
  } else {
    std::fprintf(stderr,
                 "usage: ostrel_bench [rebuild [reps] | dispatch [presses] | programs [presses] | "
                 "mouse [clicks] | macro [presses] | "
                 "forward [presses] | "
                 "idle [s] | typing [reps] [characters] | paste [reps] [lines] [pasted] | "
                 "menu [reps] | soak [openings [rebuilds]] | abbreviations [reps] [keys] | "
                 "--smoke]\n");
    return 2;
  }
  return ok ? 0 : 1;
}