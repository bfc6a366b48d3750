// The folder browser on the real shell dialog: a thread timer, dispatched by the
// dialog's own modal loop, finds the dialog among the test's windows and acts as the
// user. Checked: the dialog's owner and place, the pre-selected folder, OK and Cancel,
// the custom button (place, text, font, enabling, click), the status line, the events,
// and OK switched off for an item that is not a file-system folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "components/win32/BrowseFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/Subclass.h"
#include "win32/WindowInspection.h"

namespace ostrel {
namespace {

using testing::RectIn;
using testing::Text;

// A user who acts on the ticks of a thread timer. A step returns false to be tried
// again on the next tick (waiting for something to appear).
struct Script {
  std::vector<std::function<bool()>> steps;
  std::size_t next = 0;
  DWORD deadline = 0;
  bool timedOut = false;
};
Script* g_script = nullptr;

HWND FindDialog();

// Past the deadline every tick ends the dialog, whether the script is still waiting or
// a failed step left it open, so Execute always returns.
void CALLBACK ScriptTick(HWND, UINT, UINT_PTR, DWORD) {
  Script& s = *g_script;
  if (s.next < s.steps.size() && !s.timedOut) {
    if (s.steps[s.next]()) ++s.next;
  }
  if (GetTickCount() > s.deadline) {
    s.timedOut = true;
    if (HWND dlg = FindDialog()) EndDialog(dlg, IDCANCEL);
  }
}

BOOL CALLBACK FindDialogProc(HWND h, LPARAM lp) {
  char cls[32] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(h)) {
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
  }
  return TRUE;
}

// The visible dialog of the test's thread, if one is up.
HWND FindDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&found));
  return found;
}

struct ChildSearch {
  std::string text;
  HWND found = nullptr;
};

BOOL CALLBACK FindStaticProc(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  char cls[32] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0 && IsWindowVisible(h) && Text(h) == s->text) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

// A visible static control of the dialog showing exactly `text`.
HWND FindStatic(HWND dialog, const std::string& text) {
  ChildSearch s{text};
  EnumChildWindows(dialog, FindStaticProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Windows keeps a folder's case but ignores it.
::testing::AssertionResult SamePath(const std::string& a, const std::string& b) {
  if (lstrcmpiA(a.c_str(), b.c_str()) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << '"' << a << "\" is not \"" << b << '"';
}

std::string WindowsFolder() {
  char buf[MAX_PATH] = {};
  GetWindowsDirectoryA(buf, MAX_PATH);
  return buf;
}

class BrowseFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
    owner = CreateWindowExA(0, "STATIC", "Browse owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 140, 60,
                            600, 420, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(owner);
    // Folders the system has had all along: under load, Wine's dialog at times fails to
    // select one made a moment before.
    // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
    // None under System32: a 32-bit program on 64-bit Windows lists SysWOW64 there, and
    // the dialog cannot select what its tree does not list.
    base = WindowsFolder() + "\\Performance\\WinSAT";
    first = base + "\\DataStore";
    second = WindowsFolder() + "\\Resources\\Themes";
    g_script = &script;
    static bool warmedUp = false;
    if (!warmedUp) {
      warmedUp = true;
      WarmUp();
    }
  }
  void TearDown() override {
    if (IsWindow(owner)) DestroyWindow(owner);
    g_script = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    OleUninitialize();
  }

  // Runs Execute while the script acts; the first step always waits for the dialog.
  bool Run(TBrowseFolder& b) {
    script.steps.insert(script.steps.begin(), [this] {
      dialog = FindDialog();
      return dialog != nullptr;
    });
    script.deadline = GetTickCount() + 10000;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ScriptTick);
    const bool result = b.Execute();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(script.timedOut) << "the dialog was still open after 10 s, at step " << script.next
                                  << " of " << script.steps.size();
    EXPECT_EQ(script.next, script.steps.size());
    return result;
  }
  // In a Wine prefix made moments ago, the first dialogs of a process can take seconds
  // before they select a folder by its path; the tests start once one has. This asserts
  // nothing: a dialog that never does fails the tests themselves.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  void WarmUp() {
    for (int attempt = 0; attempt < 3; ++attempt) {
      TBrowseFolder b(owner);
      const DWORD until = GetTickCount() + 5000;
      bool selected = false;
      script = Script{};
      script.steps.push_back([&] {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(first.c_str()));
        selected = SamePath(b.Selection(), first);
        return selected || GetTickCount() > until;
      });
      Then([&] { Press(dialog, IDCANCEL); });
      script.steps.insert(script.steps.begin(), [this] { return (dialog = FindDialog()) != nullptr; });
      script.deadline = GetTickCount() + 10000;
      UINT_PTR timer = SetTimer(nullptr, 0, 50, ScriptTick);
      b.Execute();
      KillTimer(nullptr, timer);
      if (selected) break;
    }
    script = Script{};
    dialog = nullptr;
  }
  void Then(std::function<void()> step) {
    script.steps.push_back([step] {
      step();
      return true;
    });
  }

  HWND owner = nullptr;
  HWND dialog = nullptr;
  std::string base, first, second;
  Script script;
};

TEST_F(BrowseFolderTest, OkConfirmsThePreselectedFolderInADialogPlacedOverTheForeground) {
  TBrowseFolder b(owner);
  b.SetTitle("Choose a folder");
  b.SetDirectory(first);
  int initialized = 0;
  std::vector<std::string> selections;
  HWND initDialog = nullptr, initForeground = nullptr;
  RECT foregroundRect{}, placedRect{};
  b.OnInitialized = [&](TBrowseFolder& sender, HWND dlg) {
    EXPECT_EQ(&sender, &b);
    ++initialized;
    initDialog = dlg;
    initForeground = GetForegroundWindow();
    GetWindowRect(initForeground, &foregroundRect);
    GetWindowRect(dlg, &placedRect);
  };
  b.OnSelectionChanged = [&](TBrowseFolder&, HWND dlg, LPCITEMIDLIST item, const std::string& dir) {
    EXPECT_EQ(dlg, b.DialogHandle());
    EXPECT_NE(item, nullptr);
    selections.push_back(dir);
  };

  Then([&] {
    EXPECT_EQ(dialog, b.DialogHandle());
    EXPECT_EQ(dialog, initDialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_NE(FindStatic(dialog, "Choose a folder"), nullptr);
    EXPECT_EQ(GetDlgItem(dialog, kCustomButtonId), nullptr);
    EXPECT_TRUE(SamePath(b.Selection(), first));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    // Still where the component put it once shown.
    RECT now;
    GetWindowRect(dialog, &now);
    EXPECT_EQ(now.left, placedRect.left);
    EXPECT_EQ(now.top, placedRect.top);
    Press(dialog, IDOK);
  });
  ASSERT_TRUE(Run(b));
  EXPECT_TRUE(SamePath(b.Directory(), first));
  EXPECT_EQ(initialized, 1);
  ASSERT_FALSE(selections.empty());
  EXPECT_TRUE(SamePath(selections.back(), first));
  EXPECT_EQ(b.DialogHandle(), nullptr);

  // Placed over the window in front when the dialog came up: our owner.
  EXPECT_EQ(initForeground, owner);
  const BrowsePoint expected = DialogPlacement(
      {foregroundRect.left, foregroundRect.top, foregroundRect.right, foregroundRect.bottom},
      placedRect.right - placedRect.left);
  EXPECT_EQ(placedRect.left, expected.x);
  EXPECT_EQ(placedRect.top, expected.y);
  EXPECT_EQ(placedRect.left, 140 + 300 - (placedRect.right - placedRect.left) / 2);
  EXPECT_EQ(placedRect.top, 60 + 105);
}

TEST_F(BrowseFolderTest, CancelLeavesDirectoryAndAMissingFolderIsNotPreselected) {
  TBrowseFolder b(owner);
  b.SetDirectory(first);
  Then([&] { EXPECT_TRUE(SamePath(b.Selection(), first)); });
  // The user moves to another folder (the dialog may still be filling its tree), then
  // cancels.
  script.steps.push_back([&] {
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(second.c_str()));
    return SamePath(b.Selection(), second);
  });
  Then([&] { Press(dialog, IDCANCEL); });
  EXPECT_FALSE(Run(b));
  EXPECT_TRUE(SamePath(b.Directory(), first));

  script = Script{};
  const std::string missing = base + "\\Not there";
  b.SetDirectory(missing);
  Then([&] {
    EXPECT_NE(b.Selection(), missing);
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(Run(b));
  EXPECT_EQ(b.Directory(), missing);
}

TEST_F(BrowseFolderTest, CustomButtonSitsInTheDialogAndReportsItsClick) {
  TBrowseFolder b(owner);
  b.SetDirectory(first);
  b.SetCustomButtonVisible(true);
  b.SetCustomButtonCaption("&Check");
  b.SetCustomButtonWidth(0);
  EXPECT_EQ(b.CustomButtonWidth(), 75);
  b.SetCustomButtonWidth(110);
  b.SetCustomButtonEnabled(false);
  std::vector<HWND> clicks;
  b.OnCustomButtonClick = [&](TBrowseFolder& sender, HWND dlg) {
    EXPECT_EQ(&sender, &b);
    clicks.push_back(dlg);
  };

  HWND button = nullptr;
  Then([&] {
    button = GetDlgItem(dialog, kCustomButtonId);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button, b.CustomButton());
    // The shell's dialog is subclassed, with nothing of ours in its window data.
    EXPECT_NE(GetWindowLongPtrA(dialog, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&b));
    char cls[32] = {};
    GetClassNameA(button, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "Button");
    EXPECT_EQ(Text(button), "&Check");
    const RECT r = RectIn(dialog, button);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 270);
    EXPECT_EQ(r.right - r.left, 110);
    EXPECT_EQ(r.bottom - r.top, 23);
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)),
                           sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_FALSE(IsWindowEnabled(button));
    // On a screen of 192 DPI the button's place, size and font follow its dialog.
    RECT suggested;
    GetWindowRect(dialog, &suggested);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    const RECT at192 = RectIn(dialog, button);
    EXPECT_EQ(at192.left, 24);
    EXPECT_EQ(at192.top, 540);
    EXPECT_EQ(at192.right - at192.left, 220);
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)),
                           sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -21);

    b.SetCustomButtonEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(button));
    b.SetCustomButtonCaption("Check &again");
    EXPECT_EQ(Text(button), "Check &again");
    SendMessageA(button, BM_CLICK, 0, 0);
  });
  Then([&] {
    EXPECT_EQ(clicks, std::vector<HWND>{dialog});
    // The click is ours: the dialog stays and the other commands still work.
    EXPECT_TRUE(IsWindowVisible(dialog));
    Press(dialog, IDOK);
  });
  ASSERT_TRUE(Run(b));
  EXPECT_TRUE(SamePath(b.Directory(), first));
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(b.CustomButton(), nullptr);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(BrowseFolderTest, StatusLineShowsTheShortenedPathOnlyWhenTheDialogHasOne) {
  ASSERT_GT(first.size(), kStatusPathLength);
  std::string shown;

  TBrowseFolder b(owner);
  b.SetDirectory(first);
  b.SetFlags({bfStatusText});
  b.SetShowPathInStatusArea(true);
  Then([&] {
    ASSERT_TRUE(SamePath(b.Selection(), first));
    shown = ShortenPath(b.Selection());
    EXPECT_LE(shown.size(), kStatusPathLength);
    EXPECT_NE(FindStatic(dialog, shown), nullptr) << shown;
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(Run(b));

  // The hotkey editor's settings: folders only, no status line to show it in.
  script = Script{};
  b.SetFlags({bfFileSysDirsOnly});
  Then([&] {
    EXPECT_TRUE(SamePath(b.Selection(), first));
    EXPECT_EQ(FindStatic(dialog, shown), nullptr);
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(Run(b));
  EXPECT_TRUE(SamePath(b.Directory(), first));
}

TEST_F(BrowseFolderTest, VirtualItemSwitchesOkAndTheSyncedButtonOff) {
  TBrowseFolder b(owner);
  b.SetRootFolder(foDesktop);
  b.SetCustomButtonVisible(true);
  b.SetCustomButtonCaption("Sync");
  b.SetSyncCustomButton(true);
  std::vector<std::string> selections;
  b.OnSelectionChanged = [&](TBrowseFolder&, HWND, LPCITEMIDLIST, const std::string& dir) {
    selections.push_back(dir);
  };
  LPITEMIDLIST computer = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
  // Each check comes a tick after the selection, once the dialog has settled.
  Then(
      [&] { SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer)); });
  Then([&] {
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ(selections.back(), "");
    EXPECT_EQ(b.Selection(), "");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    EXPECT_FALSE(IsWindowEnabled(b.CustomButton()));
    EXPECT_FALSE(b.CustomButtonEnabled());

    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("C:\\"));
  });
  Then([&] {
    EXPECT_EQ(selections.back(), "C:\\");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(IsWindowEnabled(b.CustomButton()));
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(Run(b));
  EXPECT_EQ(b.Directory(), "C:\\");
  CoTaskMemFree(computer);
}

TEST_F(BrowseFolderTest, HandlerExceptionClosesTheDialogAndLeavesExecute) {
  TBrowseFolder b(owner);
  b.SetDirectory(first);
  b.OnSelectionChanged = [](TBrowseFolder&, HWND, LPCITEMIDLIST, const std::string&) {
    throw std::runtime_error("handler failed");
  };
  // Only a stuck dialog would let this cancel it.
  script.steps.push_back([] { return false; });
  script.deadline = GetTickCount() + 10000;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ScriptTick);
  EXPECT_THROW(b.Execute(), std::runtime_error);
  KillTimer(nullptr, timer);
  EXPECT_FALSE(script.timedOut);
  EXPECT_EQ(FindDialog(), nullptr);
  EXPECT_TRUE(SamePath(b.Directory(), first));

  // The component is usable again.
  b.OnSelectionChanged = nullptr;
  script = Script{};
  Then([&] { Press(dialog, IDOK); });
  EXPECT_TRUE(Run(b));
  EXPECT_TRUE(SamePath(b.Directory(), first));
}

// The tree's first item.
std::string RootItemText(HWND dialog) {
  HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
  if (!tree) return "<no tree>";
  HTREEITEM root = TreeView_GetRoot(tree);
  char text[MAX_PATH] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = root;
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

TEST_F(BrowseFolderTest, HostOwnerWinsAndTheRootFolderHeadsTheTree) {
  HWND other = CreateWindowExA(0, "STATIC", "Other owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300,
                               300, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  LPITEMIDLIST computer = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME);
  CoTaskMemFree(computer);
  ASSERT_NE(info.szDisplayName[0], '\0');

  TBrowseFolder b(owner);
  b.SetOwnerWindow(other);
  b.SetRootFolder(foMyComputer);
  Then([&] {
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), other);
    EXPECT_EQ(RootItemText(dialog), info.szDisplayName);
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(Run(b));

  // A host owner that is no longer a window gives way to the constructor's.
  DestroyWindow(other);
  script = Script{};
  b.SetRootFolder(foDesktopExpanded);
  Then([&] {
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_NE(RootItemText(dialog), info.szDisplayName);
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(Run(b));
}

// The dialog is watched through a subclass. When the window goes before it, the member
// sees WM_NCDESTROY and the subclass lets go of the window.
TEST(Subclass, LetsGoOfAWindowDestroyedFirst) {
  HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(wnd, nullptr);
  struct Watch {
    UINT last = 0;
    LRESULT On(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
      last = msg;
      return tk::Subclass::Next(w, msg, wp, lp);
    }
  } watch;
  tk::Subclass subclass;
  ASSERT_TRUE(subclass.Attach<&Watch::On>(wnd, &watch));
  SetWindowTextA(wnd, "probe");
  EXPECT_EQ(watch.last, static_cast<UINT>(WM_SETTEXT));
  EXPECT_EQ(GetWindowTextLengthA(wnd), 5);  // passed on to the window's own procedure
  DestroyWindow(wnd);
  EXPECT_EQ(watch.last, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(subclass.Window(), nullptr);
}

}  // namespace
}  // namespace ostrel
