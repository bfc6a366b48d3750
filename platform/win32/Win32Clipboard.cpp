#include "platform/win32/Win32Clipboard.h"

#include <cstring>

namespace ostrel {

namespace {

constexpr const char* kWindowClass = "Ostrel.Clipboard";

// A block of global memory holding `bytes`. An empty format gets a block of one zero
// byte: a block of none is a discarded one, which the system may refuse to copy.
GlobalMemory GlobalCopy(const std::string& bytes) {
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size()));
  if (!block) return block;
  const GlobalLockGuard lock(block.get());
  if (!lock.get()) return GlobalMemory();
  if (bytes.empty())
    *static_cast<char*>(lock.get()) = 0;
  else
    std::memcpy(lock.get(), bytes.data(), bytes.size());
  return block;
}

// Formats whose handle is no global memory, whatever a program put there.
bool HandleOnly(std::uint32_t format) {
  switch (format) {
    case kCfBitmap:
    case kCfMetafilePict:  // memory, but holding a metafile handle that goes with it
    case kCfPalette:
    case kCfEnhMetafile:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
      return true;
    default:
      return format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST;
  }
}

}  // namespace

Win32Clipboard::~Win32Clipboard() {
  if (!hwnd_) return;
  // The text of a paste the target never asked for goes to the clipboard now, as
  // WM_RENDERALLFORMATS would have it, so that no program is left asking a window gone.
  RenderAll();
}

HWND Win32Clipboard::Window() {
  if (hwnd_) return hwnd_.get();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassExA(&wc);  // already there for a second adapter: fine
  hwnd_.Reset(CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr));
  if (hwnd_) SetWindowLongPtrA(hwnd_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return hwnd_.get();
}

LRESULT CALLBACK Win32Clipboard::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32Clipboard*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self) {
    switch (msg) {
      case WM_RENDERFORMAT:
        self->Render(static_cast<UINT>(wp));
        return 0;
      case WM_RENDERALLFORMATS:
        self->RenderAll();
        return 0;
      case WM_DESTROYCLIPBOARD:
        self->onRequest_.clear();
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void Win32Clipboard::Render(UINT format) {
  auto it = onRequest_.find(format);
  if (it == onRequest_.end()) return;
  ++renders_;
  SetData(format, it->second);
}

// Only while the clipboard is still ours: another program may have emptied it already.
void Win32Clipboard::RenderAll() {
  if (onRequest_.empty() || !OpenClipboard(hwnd_.get())) return;
  if (GetClipboardOwner() == hwnd_.get())
    for (const auto& [format, bytes] : onRequest_) Render(format);
  CloseClipboard();
  onRequest_.clear();
}

bool Win32Clipboard::Open() {
  HWND w = Window();
  return w && OpenClipboard(w);
}

void Win32Clipboard::Close() { CloseClipboard(); }

bool Win32Clipboard::Empty() { return EmptyClipboard(); }

std::vector<std::uint32_t> Win32Clipboard::Formats() {
  std::vector<std::uint32_t> out;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) out.push_back(f);
  return out;
}

std::optional<std::string> Win32Clipboard::Data(std::uint32_t format) {
  if (HandleOnly(format)) return std::nullopt;
  HANDLE h = GetClipboardData(format);
  if (!h || GlobalFlags(h) == GMEM_INVALID_HANDLE) return std::nullopt;
  const SIZE_T size = GlobalSize(h);
  if (size == 0) return std::string();
  const GlobalLockGuard lock(h);
  if (!lock.get()) return std::nullopt;
  return std::string(static_cast<const char*>(lock.get()), size);
}

bool Win32Clipboard::SetData(std::uint32_t format, const std::string& bytes) {
  GlobalMemory block = GlobalCopy(bytes);
  if (!block || !SetClipboardData(format, block.get())) return false;
  block.Release();  // the clipboard owns it now
  return true;
}

// SetClipboardData(format, NULL) gives NULL whether or not it took the format, so the
// clipboard is asked.
bool Win32Clipboard::SetDataOnRequest(std::uint32_t format, const std::string& bytes) {
  onRequest_[format] = bytes;
  renders_ = 0;
  SetClipboardData(format, nullptr);
  if (IsClipboardFormatAvailable(format)) return true;
  onRequest_.erase(format);
  return false;
}

int Win32Clipboard::RenderRequests() { return renders_; }

std::uint32_t Win32Clipboard::RegisterFormat(const std::string& name) {
  return RegisterClipboardFormatA(name.c_str());
}

std::uint32_t Win32Clipboard::SequenceNumber() { return GetClipboardSequenceNumber(); }

}  // namespace ostrel
