#include "toolkit/DpiQueries.h"

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
  const WindowDc dc;
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
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

}  // namespace ostrel::tk
