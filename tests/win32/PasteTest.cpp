// Long macros pasted through the real clipboard into an EDIT control of another thread:
// the text arrives whole, Enter still typed between the paragraphs, and whatever the user
// had on the clipboard (text, a web fragment, a picture, a file list, a private format,
// or nothing at all) is there again afterwards, byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "macro/SendKeys.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Ports.h"
#include "support/win32/ClipboardSamples.h"
#include "support/win32/EditThread.h"

namespace ostrel {
namespace {

// What the target found on the clipboard each time it was told to paste; written by the
// target's thread, read after EditThread::Drain.
struct PasteWatch {
  WNDPROC edit = nullptr;
  int pastes = 0;
  int keptOutOfHistory = 0;  // pastes whose clipboard carried the three formats
};
PasteWatch g_watch;

LRESULT CALLBACK WatchPaste(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PASTE) {
    ++g_watch.pastes;
    const std::string zero(4, '\0');
    const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
    const UINT cloud = RegisterClipboardFormatA("CanUploadToCloudClipboard");
    // Not the text: asking for it here would let the macro go on, and put the clipboard
    // back, between this look and the edit's own paste.
    auto now = clipsamples::Read({exclude, history, cloud});
    if (now.count(exclude) && now.count(history) && now.count(cloud) &&
        now[history].substr(0, 4) == zero && now[cloud].substr(0, 4) == zero)
      ++g_watch.keptOutOfHistory;
  }
  return CallWindowProcA(g_watch.edit, h, msg, wp, lp);
}

// `n` characters of a paragraph, accented letters of the code page among them.
std::string Paragraph(std::size_t n, char first) {
  std::string p;
  for (std::size_t i = 0; p.size() < n; ++i)
    p += i % 9 == 4 ? '\xE9' : i % 7 == 6 ? ' ' : first + i % 5;
  return p;
}

TEST(PasteWine, LongRunsArriveWholeAndTheClipboardComesBackByteForByte) {
  EditThread target(true);
  ASSERT_TRUE(target.Ready());
  g_watch.edit = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(target.Edit(0), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchPaste)));
  Win32Windows windows;
  Win32System system;
  Win32Keyboard keyboard{[] { Win32Keyboard::PumpMessages(); }};
  Win32CodePage codePage;
  Win32Clipboard clipboard;
  const MacroPorts ports{windows, system, keyboard, codePage, &clipboard};

  // Two paragraphs long enough to paste, a blank line, and a short one that is typed.
  const std::string first = Paragraph(160, 'a'), second = Paragraph(101, 'k');
  const std::string macro = first + "{ENTER}" + second + "{ENTER 2}Kind regards";
  const std::string typed = first + "\r\n" + second + "\r\n\r\nKind regards";

  for (const bool empty : {false, true}) {
    SCOPED_TRACE(empty ? "an empty clipboard" : "five formats on the clipboard");
    const auto samples = empty ? std::vector<clipsamples::Sample>{} : clipsamples::Samples();
    ASSERT_TRUE(clipsamples::Put(samples));
    const std::map<UINT, std::string> before = clipsamples::Read();
    ASSERT_EQ(before.empty(), empty);
    for (const auto& s : samples)
      ASSERT_EQ(before.count(s.format) ? before.at(s.format) : "", s.bytes)
          << clipsamples::FormatName(s.format) << " was not put on the clipboard";
    target.Clear(0);
    g_watch.pastes = g_watch.keptOutOfHistory = 0;

    SendKeys(ports, macro, reinterpret_cast<WindowHandle>(target.Window()));
    ASSERT_TRUE(target.Drain());
    EXPECT_EQ(target.Text(0), typed);
    EXPECT_EQ(g_watch.pastes, 2);
    EXPECT_EQ(g_watch.keptOutOfHistory, 2);

    // Windows makes the formats it derives (CF_TEXT from the text, a bitmap from the
    // picture) again from the ones put back, so the whole clipboard reads as before.
    const std::map<UINT, std::string> after = clipsamples::Read();
    for (const auto& [format, bytes] : before) {
      const auto back = after.find(format);
      EXPECT_TRUE(back != after.end() && back->second == bytes)
          << clipsamples::FormatName(format) << " did not come back as it was";
    }
    for (const auto& [format, bytes] : after)
      EXPECT_TRUE(before.count(format)) << clipsamples::FormatName(format) << " was left behind";
  }
  SetWindowLongPtrA(target.Edit(0), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_watch.edit));
}

}  // namespace
}  // namespace ostrel
