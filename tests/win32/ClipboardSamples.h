// The clipboard as a user may have left it before a macro pastes: text, a fragment of a
// web page, a picture, a file list and a program's private format, each with bytes of its
// own; and the clipboard read back, format by format and byte for byte. The Wine ring and
// olprobe (for the end-to-end tests) both use it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <map>
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

inline std::string Wide(const std::wstring& s) {
  return Bytes(s.c_str(), (s.size() + 1) * sizeof(wchar_t));
}

// "HTML Format" as browsers put it: a header of offsets into the bytes that follow.
inline std::string HtmlFormat() {
  const std::string before = "<html><body><!--StartFragment-->";
  const std::string fragment = "<b>bold</b> and <i>caf\xC3\xA9</i>";
  const std::string after = "<!--EndFragment--></body></html>";
  const char* kHeader =
      "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
      "EndFragment:%010zu\r\n";
  char header[160];
  const std::size_t head =
      static_cast<std::size_t>(std::snprintf(header, sizeof header, kHeader, std::size_t{0},
                                             std::size_t{0}, std::size_t{0}, std::size_t{0}));
  std::snprintf(header, sizeof header, kHeader, head,
                head + before.size() + fragment.size() + after.size(), head + before.size(),
                head + before.size() + fragment.size());
  return header + before + fragment + after + std::string(1, '\0');
}

// A 3 x 2 picture of 24 bits, its rows padded to four bytes.
inline std::string Dib() {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = 3;
  h.biHeight = 2;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = 2 * 12;
  std::string bytes = Bytes(&h, sizeof h);
  for (int i = 0; i < 24; ++i) bytes += static_cast<char>(i * 37 + 11);
  return bytes;
}

// Two files copied in Explorer: DROPFILES and the wide paths, each ended, then one more 0.
inline std::string FileList() {
  DROPFILES d{};
  d.pFiles = sizeof d;
  d.fWide = TRUE;
  const wchar_t kPaths[] = L"C:\\users\\public\\one.txt\0C:\\users\\public\\two \u00E9.txt\0";
  return Bytes(&d, sizeof d) + Bytes(kPaths, sizeof kPaths);
}

inline UINT PrivateFormat() { return RegisterClipboardFormatA("Ostrel test private"); }

inline std::vector<Sample> Samples() {
  return {
      {CF_UNICODETEXT, Wide(L"Copied before the macro: caf\u00E9 \u2192 done")},
      {RegisterClipboardFormatA("HTML Format"), HtmlFormat()},
      {CF_DIB, Dib()},
      {CF_HDROP, FileList()},
      // Bytes that no text format would keep: NULs, high bytes, no terminator.
      {PrivateFormat(), std::string("\x00\x01\xFF\xFE private \x00\x7F", 16)},
  };
}

// Opens the clipboard for `owner`, a second at most while another program holds it.
inline bool OpenWithin(HWND owner, DWORD ms) {
  for (DWORD start = GetTickCount();; Sleep(10)) {
    if (OpenClipboard(owner)) return true;
    if (GetTickCount() - start > ms) return false;
  }
}

// Puts `samples` on the clipboard as its only content (none: an empty clipboard).
inline bool Put(const std::vector<Sample>& samples) {
  if (!OpenWithin(nullptr, 1000)) return false;
  bool ok = EmptyClipboard() != 0;
  for (const Sample& s : samples) {
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, s.bytes.size());
    void* p = g ? GlobalLock(g) : nullptr;
    if (!p) {
      if (g) GlobalFree(g);
      ok = false;
      continue;
    }
    std::memcpy(p, s.bytes.data(), s.bytes.size());
    GlobalUnlock(g);
    if (!SetClipboardData(s.format, g)) {
      GlobalFree(g);
      ok = false;
    }
  }
  CloseClipboard();
  return ok;
}

// Formats held as other kinds of handle, which have no bytes to compare.
inline bool HandleFormat(UINT f) {
  return f == CF_BITMAP || f == CF_METAFILEPICT || f == CF_PALETTE || f == CF_ENHMETAFILE ||
         f == CF_OWNERDISPLAY || f == CF_DSPBITMAP || f == CF_DSPMETAFILEPICT ||
         f == CF_DSPENHMETAFILE;
}

// Every format on the clipboard with its bytes (empty for handle formats and for data
// that could not be read).
inline std::map<UINT, std::string> Read() {
  std::map<UINT, std::string> all;
  if (!OpenWithin(nullptr, 1000)) return all;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
    std::string& bytes = all[f];
    if (HandleFormat(f)) continue;
    HANDLE h = GetClipboardData(f);
    const void* p = h ? GlobalLock(h) : nullptr;
    if (!p) continue;
    bytes = Bytes(p, GlobalSize(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return all;
}

inline std::string FormatName(UINT f) {
  char name[128];
  if (GetClipboardFormatNameA(f, name, sizeof name) > 0) return name;
  return "format " + std::to_string(f);
}

}  // namespace ostrel::clipsamples
