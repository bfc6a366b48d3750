// paste: a long macro-menu item chosen in the real Ostrel.exe and typed into Notepad:
// fifty lines of 200 characters (10,000 in all, accented ones and {U+...} words among
// them) with {ENTER} between the lines, which the program pastes line by line through
// the clipboard. The time runs from the choice (the Return that picks the item) until
// Notepad holds the last character. Target: at most 1 s. Then, in the same run, the same
// item with pasting off ("OLPasteLong" "0"), typed key by key, and the two as a ratio.
// Every run checks the text exactly and that the clipboard the bench set before is back.
// Beside it, Notepad's own pace for the same pastes and Enters sent straight to its edit
// control: what the edit control itself takes, which no way of pasting can beat.
#include <cstdio>
#include <cstring>

#include "bench/win32/BenchSupport.h"
#include "components/SysHotKey.h"
#include "platform/HookLibraryProtocol.h"
#include "support/win32/ClipboardSamples.h"
#include "support/win32/OstrelLaunch.h"

namespace ostrel::bench {
namespace {

// A macro and what it types, as Notepad holds it.
struct LongItem {
  std::string macro;
  std::wstring typed;
  std::size_t characters = 0;
};

// `lines` lines of `perLine` characters each, {ENTER} between them.
LongItem MakeItem(std::size_t lines, std::size_t perLine) {
  struct Word {
    const char* macro;
    const wchar_t* typed;
  };
  static const Word kWords[] = {
      {"caf\xE9", L"caf\u00E9"},
      {"na\xEFve", L"na\u00EFve"},
      {"Stra\xDF"
       "e",
       L"Stra\u00DFe"},
      {"se\xF1or", L"se\u00F1or"},
      {"\xFC"
       "ber",
       L"\u00FCber"},
      {"d\xE9j\xE0", L"d\u00E9j\u00E0"},
      {"reply", L"reply"},
      {"paragraph", L"paragraph"},
      {"Ostrel", L"Ostrel"},
      {"boilerplate", L"boilerplate"},
      {"{U+2192}", L"\u2192"},
      {"{U+20AC}", L"\u20AC"},
      {"{U+1F600}", L"\U0001F600"},
      {"{U+03A9}", L"\u03A9"},
  };
  LongItem item;
  for (std::size_t line = 0; line < lines; ++line) {
    if (line > 0) {
      item.macro += "{ENTER}";
      item.typed += L"\r\n";
    }
    std::size_t n = 0;
    for (std::size_t w = line; n < perLine; w += 3) {
      const Word& word = kWords[w % std::size(kWords)];
      const std::string macro = std::string(word.macro) + " ";
      const std::size_t chars = macro[0] == '{' ? 2 : macro.size();
      if (n + chars > perLine) {
        item.macro += std::string(perLine - n, 'x');
        item.typed += std::wstring(perLine - n, L'x');
        n = perLine;
        break;
      }
      item.macro += macro;
      item.typed += std::wstring(word.typed) + L" ";
      n += chars;
    }
    item.characters += n;
  }
  return item;
}

bool MenuOpen() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu);
}

bool WaitMenu(bool open, double limitMs) {
  const double t0 = NowMs();
  while (MenuOpen() != open) {
    if (NowMs() - t0 > limitMs) return false;
    Sleep(10);
  }
  return true;
}

// Ostrel.exe started beside its "Sendkeys Menu" definition and list file, with its OstrelMenu
// popped up once (the macro menu appears only after it).
bool StartOstrel(OstrelCopy& app) {
  HWND window = app.Start() ? app.WaitForWindow(15000) : nullptr;
  if (!window) return Fail("Ostrel.exe did not start: " + app.Error());
  Sleep(1000);
  PostMessageA(window, MSG_SHOW_MENU, 0, 0);
  if (!WaitMenu(true, 10000)) return Fail("the OstrelMenu did not pop up");
  PressKey(VK_ESCAPE);
  if (!WaitMenu(false, 10000)) return Fail("Escape did not close the OstrelMenu");
  return true;
}

// Pops the macro menu up with the hotkey over Notepad and chooses the item; the ms from
// the choice until Notepad holds as many characters as the item types (negative when
// the menu did not come), and in `exact` whether they are the item's.
double ChooseAndTime(Notepad& notepad, const Combo& combo, const LongItem& item, double limitMs,
                     bool& exact) {
  exact = false;
  notepad.Clear();
  SetForegroundWindow(notepad.window);
  for (int i = 0; i < 100 && GetForegroundWindow() != notepad.window; ++i) Sleep(20);
  PressKey(kKeyTable[combo.key].code, FlagsOf(combo.keyMod));
  if (!WaitMenu(true, 10000)) {
    Fail("the hotkey did not pop the macro menu up");
    return -1;
  }
  Sleep(1000);  // a menu closed within half a second of opening comes back
  PressKey(VK_DOWN);
  const double t0 = NowMs();
  PressKey(VK_RETURN);
  const double ms = notepad.Until(item.typed.size(), t0, limitMs);
  const std::wstring held = EditText(notepad.edit);
  exact = held == item.typed;
  if (exact) return ms;
  std::size_t at = 0;
  while (at < held.size() && at < item.typed.size() && held[at] == item.typed[at]) ++at;
  char where[120];
  std::snprintf(where, sizeof where, " of the item: from unit %zu it holds U+%04X, not U+%04X", at,
                at < held.size() ? static_cast<unsigned>(held[at]) : 0u,
                at < item.typed.size() ? static_cast<unsigned>(item.typed[at]) : 0u);
  Fail("Notepad holds " + std::to_string(held.size()) + " UTF-16 units, not the " +
       std::to_string(item.typed.size()) + where);
  return held.size() == item.typed.size() ? ms : -1;
}

// Notepad's own pace for the same edits, the most any paste can reach: each line put on
// the clipboard by the bench and pasted with WM_PASTE, the Enters sent as characters,
// every message sent straight to the edit control and waited on. Sets `exact` as above.
double OwnPace(Notepad& notepad, const LongItem& item, bool& exact) {
  notepad.Clear();
  double ms = 0;
  for (std::size_t at = 0; at <= item.typed.size();) {
    std::size_t end = item.typed.find(L"\r\n", at);
    if (end == std::wstring::npos) end = item.typed.size();
    const std::wstring line = item.typed.substr(at, end - at);
    if (!OpenClipboard(nullptr)) return -1;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (line.size() + 1) * sizeof(wchar_t));
    if (block) {
      std::memcpy(GlobalLock(block), line.c_str(), (line.size() + 1) * sizeof(wchar_t));
      GlobalUnlock(block);
      if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
    const double t0 = NowMs();
    SendMessageW(notepad.edit, WM_PASTE, 0, 0);
    if (end < item.typed.size()) SendMessageW(notepad.edit, WM_CHAR, L'\r', 1);
    ms += NowMs() - t0;
    at = end + 2;
  }
  exact = EditText(notepad.edit) == item.typed;
  return ms;
}

}  // namespace

bool BenchPaste(int reps, std::size_t lines, bool typedToo) {
  const LongItem item = MakeItem(lines, 200);
  const Combo candidates[] = {{98, 4}, {97, 4}, {96, 4}};
  const Combo* combo = FirstRegistrable(candidates);
  if (!combo) return Fail("no free hotkey for the paste measure");
  TKeyRec list = Definition(17, "List", "Macros", combo->key, combo->keyMod);
  list.Target.assign("SendKeyList_1.skl");
  OstrelCopy app(ExeFolder() + "paste\\");
  if (!app.Lay(ExeFolder(), false, KeysFileBytes({list}))) return Fail(app.Error());
  const std::string listPath = app.Folder() + "SendKeyList_1.skl";
  if (FILE* f = std::fopen(listPath.c_str(), "wb")) {
    const std::string line = "Long reply=" + item.macro + "\r\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  } else {
    return Fail("cannot write " + listPath);
  }
  Notepad notepad;
  if (!notepad.edit) return Fail("no Notepad window with an edit control");

  StoredOption option("OLPasteLong");
  bool ok = option.Store(true);
  std::vector<double> pasted, typed, ratio, own, againstOwn;
  const auto samples = clipsamples::Samples();
  ok = ok && StartOstrel(app);
  // Each run right after Notepad's own pace, so that a machine busy with other work slows
  // both alike.
  for (int i = 0; i < reps && ok; ++i) {
    bool exact = false;
    const double mine = OwnPace(notepad, item, exact);
    ok = mine >= 0 && exact ? true : Fail("Notepad did not take the item's lines sent to it");
    own.push_back(mine);
    ok = ok && clipsamples::Put(samples);
    const auto before = clipsamples::Read();
    const double ms = ok ? ChooseAndTime(notepad, *combo, item, 60000, exact) : -1;
    ok = ok && ms >= 0 && exact;
    if (ok) pasted.push_back(ms);
    if (ok) againstOwn.push_back(ms / mine);
    // It is put back just after the last paste, which may be a moment after Notepad
    // shows the text.
    for (const double t0 = NowMs(); ok && clipsamples::Read() != before; Sleep(10))
      if (NowMs() - t0 > 2000) ok = Fail("the clipboard set before the item was not given back");
  }
  ok = app.End(5000) && ok;
  if (ok && typedToo) {
    ok = option.Store(false) && StartOstrel(app);
    // A run that typed the right number of characters, some out of order, still gives
    // its time; the bench fails all the same.
    bool exact = false;
    const double ms = ok ? ChooseAndTime(notepad, *combo, item, 600000, exact) : -1;
    ok = ms >= 0 && exact;
    if (ms >= 0) {
      typed.push_back(ms);
      for (double p : pasted) ratio.push_back(ms / p);
    }
    ok = app.End(5000) && ok;
  }
  DeleteFileA(listPath.c_str());
  app.Remove();

  char name[120];
  std::snprintf(name, sizeof name,
                "macro-menu item of %zu characters (%zu lines) into Notepad, choice to last "
                "character, pasted",
                item.characters, lines);
  PrintRow(name, pasted, "<= 1000 ms");
  PrintRow("  Notepad's own pace: each line pasted and Enter, sent to its edit control", own, "");
  PrintRow("  pasted against Notepad's own pace (x)", againstOwn, "");
  if (typedToo) {
    PrintRow("  the same typed key by key (OLPasteLong 0)", typed, "");
    PrintRow("  typed against pasted (x)", ratio, "");
  }
  return ok;
}

}  // namespace ostrel::bench
