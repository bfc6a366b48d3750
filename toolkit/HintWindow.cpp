#include "toolkit/HintWindow.h"

#include "toolkit/Application.h"
#include "toolkit/Colours.h"
#include "toolkit/DpiQueries.h"
#include "toolkit/UiFont.h"
#include "toolkit/Form.h"

namespace ostrel::tk {

namespace {

constexpr int kPlainMargin = 2;

void RegisterClassOnce(const char* className, UINT classStyle, WNDPROC proc) {
  WNDCLASSA existing;
  HINSTANCE inst = Application::Get().Instance();
  if (GetClassInfoA(inst, className, &existing)) return;
  WNDCLASSA wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
}

// The system's tool-tip font (the status font of the window metrics, given for the
// screen's DPI) for a screen of `dpi`.
HFONT CreateStatusFont(UINT dpi) {
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof m;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0))
    return CreateUiFont(8, false, dpi);
  m.lfStatusFont.lfHeight = MulDiv(m.lfStatusFont.lfHeight, static_cast<int>(dpi),
                                   static_cast<int>(ScreenDpi()));
  return CreateFontIndirectA(&m.lfStatusFont);
}

POINT CursorAt() {
  POINT at{0, 0};
  GetCursorPos(&at);
  return at;
}

}  // namespace

HintWindow::HintWindow() = default;

HintWindow::~HintWindow() {
  if (hwnd_) {
    // The derived parts are gone: the last messages go to the default procedure.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void HintWindow::CreateHandle(const char* className, DWORD style, DWORD exStyle) {
  RegisterClassOnce(className, 0, &HintWindow::Proc);
  // Owned by the main window, as the program's other pop-ups are: never on the taskbar.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  Form* main = Application::Get().MainForm();
  hwnd_ = CreateWindowExA(exStyle, className, "", style, 0, 0, 0, 0, main ? main->Handle() : nullptr,
                          nullptr, Application::Get().Instance(), this);
}

void HintWindow::SetCaption(const std::string& text) {
  caption_ = text;
  if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

LRESULT CALLBACK HintWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* self = static_cast<HintWindow*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HintWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->WndProc(msg, wp, lp);
}

LRESULT HintWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcA(hwnd_, msg, wp, lp);
  }
}

RECT HintWindow::CalcHintRect(int maxWidth, const std::string& text) {
  // The hint shows at the cursor: its font and margins are for that screen.
  const UINT dpi = DpiAt(CursorAt());
  if (!font_.get() || dpi != dpi_) font_.Reset(CreateStatusFont(dpi));
  dpi_ = dpi;
  RECT r{0, 0, maxWidth, 0};
  {
    const WindowDc dc;
    const Selection font(dc.get(), font_.get());
    DrawTextA(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }
  r.right += 2 * Scale(kPlainMargin, dpi) + 2;  // the margins and the border
  r.bottom += 2 * Scale(kPlainMargin, dpi) + 2;
  return r;
}

void HintWindow::ActivateHint(const RECT& rect, const std::string& text) {
  if (!hwnd_) CreateHandle("THintWindow", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW);
  SetCaption(text);
  SetWindowPos(hwnd_, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void HintWindow::Hide() {
  if (hwnd_ && IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
}

void HintWindow::Paint() {
  const PaintDc paint(hwnd_);
  HDC dc = paint.get();
  RECT r;
  GetClientRect(hwnd_, &r);
  const SurfaceColours colours =
      InfoColours({Application::Get().hintColor, GetSysColor(COLOR_INFOTEXT)});
  GdiObject<HBRUSH> fill(CreateSolidBrush(colours.back));
  FillRect(dc, &r, fill.get());
  const UINT dpi = dpi_ ? dpi_ : DpiAt(CursorAt());
  InflateRect(&r, -Scale(kPlainMargin, dpi), -Scale(kPlainMargin, dpi));
  if (!font_.get()) font_.Reset(CreateStatusFont(dpi));
  const Selection font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours.text);
  DrawTextA(dc, caption_.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

std::unique_ptr<HintWindow> MakePlainHintWindow() { return std::make_unique<HintWindow>(); }

}  // namespace ostrel::tk
