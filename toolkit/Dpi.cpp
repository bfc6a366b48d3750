#include "toolkit/Dpi.h"

#include <string>

#include "toolkit/Application.h"
#include "toolkit/Gdi.h"

namespace ostrel::tk {

namespace {

// The per-monitor calls, where the system has them (Windows 10 1607 and later; shcore's
// GetDpiForMonitor from Windows 8.1).
struct DpiCalls {
  using ForWindow = UINT(WINAPI*)(HWND);
  using MetricsForDpi = int(WINAPI*)(int, UINT);
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  ForWindow forWindow = nullptr;
  MetricsForDpi metrics = nullptr;
  AdjustForDpi adjust = nullptr;
  ForMonitor forMonitor = nullptr;

  DpiCalls() {
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
      forWindow = reinterpret_cast<ForWindow>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
      metrics = reinterpret_cast<MetricsForDpi>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetSystemMetricsForDpi")));
      adjust = reinterpret_cast<AdjustForDpi>(
          reinterpret_cast<void*>(GetProcAddress(user, "AdjustWindowRectExForDpi")));
    }
    // Loaded from the system folder only, and kept for the program's life.
    if (HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, 0x00000800 /* SYSTEM32 */))
      forMonitor = reinterpret_cast<ForMonitor>(
          reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
  }
};

const DpiCalls& Calls() {
  static const DpiCalls calls;
  return calls;
}

UINT Valid(UINT dpi) { return dpi ? dpi : ScreenDpi(); }

}  // namespace

UINT ScreenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT WindowDpi(HWND window) {
  if (window && Calls().forWindow) return Valid(Calls().forWindow(window));
  return ScreenDpi();
}

UINT DpiAt(POINT screen) {
  if (Calls().forMonitor) {
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST);
    if (monitor && SUCCEEDED(Calls().forMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)))
      return Valid(y);
  }
  return ScreenDpi();
}

int Metric(int index, UINT dpi) {
  if (Calls().metrics) return Calls().metrics(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

void AdjustWindowRectFor(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  if (Calls().adjust && Calls().adjust(&rect, style, FALSE, exStyle, dpi)) return;
  // Without the call the frame is the screen's, scaled to `dpi` as a metric is.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const auto at = [dpi](LONG v) {
    return static_cast<LONG>(MulDiv(v, static_cast<int>(dpi), static_cast<int>(ScreenDpi())));
  };
  rect.left += at(frame.left);
  rect.top += at(frame.top);
  rect.right += at(frame.right);
  rect.bottom += at(frame.bottom);
}

const char* FaceFor(const char* face, UINT dpi) {
  return dpi != kBaseDpi && lstrcmpiA(face, "MS Sans Serif") == 0 ? "Tahoma" : face;
}

HFONT CreateUiFont(int points, bool bold, UINT dpi) {
  const int height = -MulDiv(points, static_cast<int>(Valid(dpi)), 72);
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, FaceFor("MS Sans Serif", Valid(dpi)));
}

UINT ArtDpi(UINT dpi) {
  for (UINT drawn : {192u, 144u, 120u})
    if (dpi >= drawn) return drawn;
  return kBaseDpi;
}

namespace {

// The drawing for `dpi` or, where that one is missing, the next smaller that is there.
template <typename Load>
auto LoadDrawn(const char* name, int baseSize, UINT dpi, Load load) -> decltype(load("", 0)) {
  for (UINT drawn = ArtDpi(dpi);; drawn = ArtDpi(drawn - 1)) {
    const int size = Scale(baseSize, drawn);
    const std::string resource =
        drawn == kBaseDpi ? std::string(name) : std::string(name) + "_" + std::to_string(size);
    if (auto loaded = load(resource.c_str(), size); loaded || drawn == kBaseDpi) return loaded;
  }
}

// A bitmap resource as a section of its own, or, where it is run-length encoded (which a
// section cannot hold), as a bitmap of the screen's.
HBITMAP LoadBitmapResource(const char* resource) {
  HINSTANCE inst = Application::Get().Instance();
  if (auto section = static_cast<HBITMAP>(
          LoadImageA(inst, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)))
    return section;
  return static_cast<HBITMAP>(LoadImageA(inst, resource, IMAGE_BITMAP, 0, 0, 0));
}

}  // namespace

HBITMAP LoadArt(const char* name, int baseSize, UINT dpi) {
  return LoadDrawn(name, baseSize, dpi,
                   [](const char* resource, int) { return LoadBitmapResource(resource); });
}

// The strip is loaded and copied into a 24-bit list: an image list loaded straight from a
// strip with a colour table does not keep its colours.
HIMAGELIST LoadArtList(const char* name, int baseSize, UINT dpi, int grow, COLORREF mask) {
  return LoadDrawn(name, baseSize, dpi, [&](const char* resource, int size) -> HIMAGELIST {
    const GdiObject<HBITMAP> strip(LoadBitmapResource(resource));
    BITMAP info{};
    if (!strip.get() || !GetObjectA(strip.get(), sizeof info, &info)) return nullptr;
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, info.bmWidth / size, grow);
    if (list && ImageList_AddMasked(list, strip.get(), mask) < 0) {
      ImageList_Destroy(list);
      list = nullptr;
    }
    return list;
  });
}

}  // namespace ostrel::tk
