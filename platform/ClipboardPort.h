// What the macro engine needs of the clipboard to paste long text and give the user's
// clipboard back whole. Operations mirror user32 calls and take their values (CF_*
// numbers, registered format numbers). The adapter owns a hidden window: it opens the
// clipboard and answers requests for a format placed on request (delayed rendering).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostrel {

inline constexpr std::uint32_t kCfText = 1;          // CF_TEXT
inline constexpr std::uint32_t kCfBitmap = 2;        // CF_BITMAP
inline constexpr std::uint32_t kCfMetafilePict = 3;  // CF_METAFILEPICT
inline constexpr std::uint32_t kCfOemText = 7;       // CF_OEMTEXT
inline constexpr std::uint32_t kCfDib = 8;           // CF_DIB
inline constexpr std::uint32_t kCfPalette = 9;       // CF_PALETTE
inline constexpr std::uint32_t kCfUnicodeText = 13;  // CF_UNICODETEXT
inline constexpr std::uint32_t kCfEnhMetafile = 14;  // CF_ENHMETAFILE
inline constexpr std::uint32_t kCfHdrop = 15;        // CF_HDROP
inline constexpr std::uint32_t kCfLocale = 16;       // CF_LOCALE
inline constexpr std::uint32_t kCfDibV5 = 17;        // CF_DIBV5

class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  // OpenClipboard on the adapter's own window: false while another program holds it.
  virtual bool Open() = 0;
  // CloseClipboard.
  virtual void Close() = 0;
  // EmptyClipboard: the clipboard is empty and the adapter's window owns it.
  virtual bool Empty() = 0;
  // EnumClipboardFormats while open: every format present, in the clipboard's order.
  virtual std::vector<std::uint32_t> Formats() = 0;
  // The bytes of a format held in global memory (GetClipboardData and GlobalSize); nothing
  // for a format that is absent or held as another kind of handle (bitmaps, palettes,
  // metafiles, owner display).
  virtual std::optional<std::string> Data(std::uint32_t format) = 0;
  // SetClipboardData with global memory holding exactly `bytes`.
  virtual bool SetData(std::uint32_t format, const std::string& bytes) = 0;
  // SetClipboardData(format, NULL): the adapter keeps `bytes` and hands them over when a
  // program asks for the format (WM_RENDERFORMAT, or WM_RENDERALLFORMATS as its window
  // goes). RenderRequests() counts the requests answered since this call.
  virtual bool SetDataOnRequest(std::uint32_t format, const std::string& bytes) = 0;
  virtual int RenderRequests() = 0;
  // RegisterClipboardFormatA; 0 when refused.
  virtual std::uint32_t RegisterFormat(const std::string& name) = 0;
  // GetClipboardSequenceNumber.
  virtual std::uint32_t SequenceNumber() = 0;
};

}  // namespace ostrel
