// The clipboard as a user may have left it before a macro pastes: text, a fragment of a
// web page, a picture, a file list and a program's private format, each with bytes of its
// own; and the clipboard read back, format by format and byte for byte. The Wine ring,
// olprobe (for the end-to-end tests) and the bench use it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace ostrel::clipsamples {

struct Sample {
  UINT format;
  std::string bytes;
};

inline std::string Bytes(const void* p, std::size_t n) {
  return std::string(static_cast<const char*>(p), n);
}

inline std::vector<Sample> Samples() {
  const wchar_t kText[] = L"Copied before the macro: caf\u00E9 \u2192 done";
  // "HTML Format" as browsers put it: a header of offsets into the page that follows.
  const std::string html =
      "Version:0.9\r\nStartHTML:0000000105\r\nEndHTML:0000000197\r\nStartFragment:0000000137\r\n"
      "EndFragment:0000000165\r\n<html><body><!--StartFragment--><b>bold</b> and <i>caf\xC3\xA9"
      "</i><!--EndFragment--></body></html>";
  // A 3 x 2 picture of 24 bits, its rows padded to four bytes.
  const BITMAPINFOHEADER dib{sizeof dib, 3, 2, 1, 24, BI_RGB, 24, 0, 0, 0, 0};
  std::string pixels;
  for (int i = 0; i < 24; ++i) pixels += static_cast<char>(i * 37 + 11);
  // Two files copied in Explorer: DROPFILES, then the wide paths, each ended, and one 0.
  const DROPFILES drop{sizeof drop, {}, FALSE, TRUE};
  const wchar_t kPaths[] = L"C:\\users\\public\\one.txt\0C:\\users\\public\\two \u00E9.txt\0";
  return {
      {CF_UNICODETEXT, Bytes(kText, sizeof kText)},
      {RegisterClipboardFormatA("HTML Format"), html + std::string(1, '\0')},
      {CF_DIB, Bytes(&dib, sizeof dib) + pixels},
      {CF_HDROP, Bytes(&drop, sizeof drop) + Bytes(kPaths, sizeof kPaths)},
      // Bytes that no text format would keep: NULs, high bytes, no terminator.
      {RegisterClipboardFormatA("Ostrel test private"), Bytes("\0\1\xFF\xFE private \0\x7F", 16)},
  };
}

// Opens the clipboard, a second at most while another program holds it.
inline bool Open() {
  for (DWORD start = GetTickCount(); !OpenClipboard(nullptr); Sleep(10))
    if (GetTickCount() - start > 1000) return false;
  return true;
}

// Puts `samples` on the clipboard as its only content (none: an empty clipboard).
inline bool Put(const std::vector<Sample>& samples) {
  if (!Open()) return false;
  bool ok = EmptyClipboard() != 0;
  for (const Sample& s : samples) {
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, s.bytes.size());
    void* p = g ? GlobalLock(g) : nullptr;
    if (p) {
      std::memcpy(p, s.bytes.data(), s.bytes.size());
      GlobalUnlock(g);
    }
    if (!p || !SetClipboardData(s.format, g)) {
      GlobalFree(g);
      ok = false;
    }
  }
  CloseClipboard();
  return ok;
}

// Every format on the clipboard with its bytes, or only those of `only` when it names
// some; none for those held as other kinds of handle (bitmaps, palettes, metafiles), which
// have no bytes to compare. Reading a format placed on request makes its owner render it.
inline std::map<UINT, std::string> Read(const std::set<UINT>& only = {}) {
  std::map<UINT, std::string> all;
  if (!Open()) return all;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
    if (!only.empty() && !only.count(f)) continue;
    std::string& bytes = all[f];
    if (f == CF_BITMAP || f == CF_METAFILEPICT || f == CF_PALETTE || f == CF_ENHMETAFILE) continue;
    HANDLE h = GetClipboardData(f);
    if (const void* p = h ? GlobalLock(h) : nullptr) {
      bytes = Bytes(p, GlobalSize(h));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return all;
}

inline std::string FormatName(UINT f) {
  char name[128];
  return GetClipboardFormatNameA(f, name, sizeof name) > 0 ? name : "format " + std::to_string(f);
}

}  // namespace ostrel::clipsamples
