// A scripted user for modal windows in the Wine ring: steps run one per tick of a thread
// timer, which whichever message loop is running dispatches (a dialog's, an input box's,
// a message box's), so a test can act inside nested modal loops.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "toolkit/Form.h"

namespace ostrel::testing {

// A user who acts on each tick of a thread timer. The timer is dispatched by whichever
// message loop runs: the dialog's, the input box's or the message box's.
struct Script {
  std::vector<std::function<void()>> steps;
  std::size_t next = 0;
  DWORD deadline = 0;
  HWND form = nullptr;
  // Finds the window to close when the script stalls, for a form made out of reach.
  std::function<HWND()> findForm;
  bool timedOut = false;
};
inline Script* g_script = nullptr;

inline void EndModalLoops(Script& s);

inline void CALLBACK ScriptTick(HWND, UINT, UINT_PTR, DWORD) {
  Script& s = *g_script;
  if (s.next < s.steps.size() && !s.timedOut) {
    auto step = s.steps[s.next++];  // a step may open a loop that ticks again
    step();
  } else if (GetTickCount() > s.deadline) {
    s.timedOut = true;
    EndModalLoops(s);
  }
}

struct Find {
  const char* cls;
  HWND found;
};

inline BOOL CALLBACK FindOwnProc(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  char name[64] = {};
  GetClassNameA(h, name, sizeof name);
  if (lstrcmpiA(name, f->cls) == 0 && IsWindowVisible(h)) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of our thread with this class.
inline HWND FindOwn(const char* cls) {
  Find f{cls, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindOwnProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// A dialog (a message box, the shell's) is ended; a form shown over the window it disabled
// (an input box) is closed, which cancels it.
inline BOOL CALLBACK EndModalProc(HWND h, LPARAM) {
  if (!IsWindowVisible(h)) return TRUE;
  char name[16] = {};
  GetClassNameA(h, name, sizeof name);
  const HWND owner = GetWindow(h, GW_OWNER);
  if (lstrcmpA(name, "#32770") == 0) {
    EndDialog(h, IDCANCEL);
  } else if (owner && !IsWindowEnabled(owner)) {
    PostMessageA(h, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

// A stalled script ends every modal loop of the thread, on each tick until `run` returns:
// an open menu, the dialogs and forms over others, and the script's form. A step that
// failed before its last action leaves no window open for ever.
inline void EndModalLoops(Script& s) {
  EndMenu();
  EnumThreadWindows(GetCurrentThreadId(), EndModalProc, 0);
  HWND form = s.form ? s.form : s.findForm ? s.findForm() : nullptr;
  if (form && IsWindow(form)) PostMessageA(form, WM_CLOSE, 0, 0);
}

inline void PressKey(HWND target, WPARAM vk) {
  PostMessageA(target, WM_KEYDOWN, vk, 1);
  PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

inline void Click(HWND form, int id) {
  PostMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(form, id)));
}

// Runs `run` (which shows a modal window) while `script` acts, 8 s at most; returns what
// `run` returns.
inline int RunScripted(Script& script, const std::function<int()>& run) {
  g_script = &script;
  script.deadline = GetTickCount() + 8000;
  UINT_PTR timer = SetTimer(nullptr, 0, 60, ScriptTick);
  int result = run();
  KillTimer(nullptr, timer);
  EXPECT_FALSE(script.timedOut) << "the modal window was still open after 8 s, at step "
                                << script.next << " of " << script.steps.size();
  EXPECT_EQ(script.next, script.steps.size());
  return result;
}

// Shows `form` modally while `script` acts; returns the modal result.
inline int RunScripted(Script& script, tk::Form& form) {
  script.form = form.Handle();
  return RunScripted(script, [&form] { return form.ShowModal(); });
}

}  // namespace ostrel::testing
