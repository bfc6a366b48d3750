#include "components/win32/TrayIconWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <cstddef>

namespace ostrel {

static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE &&
              kTrayFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP) &&
              kTrayCallbackMessage == WM_USER + 1 && kTrayRefreshMessage == WM_USER + 2 &&
              kWmLButtonUp == WM_LBUTTONUP && kWmLButtonDblClk == WM_LBUTTONDBLCLK &&
              kWmRButtonUp == WM_RBUTTONUP && kWmTimer == WM_TIMER && kNifInfo == NIF_INFO &&
              kNiifWarning == NIIF_WARNING);
// The record goes in its first form, which every shell accepts: 88 bytes in the 32-bit
// program, with a 64-byte tip; only a balloon needs the larger second form.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);
constexpr std::size_t kV1TipBytes = 64;
static_assert(NOTIFYICONDATAA_V1_SIZE == offsetof(NOTIFYICONDATAA, szTip) + kV1TipBytes);

WindowHandle TrayIconWindow::Handle() {
  return reinterpret_cast<WindowHandle>(TWindowedComponent::Handle());
}

bool TrayIconWindow::ShellNotifyIcon(int op, const NotifyIconData& record) {
  NOTIFYICONDATAA data{};
  const bool balloon = (record.uFlags & NIF_INFO) != 0;
  data.cbSize = balloon ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = reinterpret_cast<HWND>(record.hWnd);
  data.uID = record.uID;
  data.uFlags = record.uFlags;
  data.uCallbackMessage = record.uCallbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.hIcon);
  std::size_t n = std::min(record.szTip.size(), kV1TipBytes - 1);
  std::copy_n(record.szTip.data(), n, data.szTip);
  if (balloon) {
    n = std::min(record.szInfo.size(), sizeof data.szInfo - 1);
    std::copy_n(record.szInfo.data(), n, data.szInfo);
    data.dwInfoFlags = record.dwInfoFlags;
  }
  return Shell_NotifyIconA(static_cast<DWORD>(op), &data) != 0;
}

void TrayIconWindow::PostToolTipRefresh() {
  ::PostMessageA(TWindowedComponent::Handle(), kTrayRefreshMessage, 0, 0);
}

ScreenPoint TrayIconWindow::CursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return ScreenPoint{p.x, p.y};
}

std::uint32_t TrayIconWindow::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

void TrayIconWindow::SetRetryTimer(bool on) {
  HWND window = TWindowedComponent::Handle();
  if (on)
    SetTimer(window, kTrayRetryTimerId, kTrayRetryMs, nullptr);
  else
    KillTimer(window, kTrayRetryTimerId);
}

LRESULT TrayIconWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (component_ && component_->HandleMessage(msg, wParam, lParam)) return 0;
  return TWindowedComponent::WndProc(msg, wParam, lParam);
}

}  // namespace ostrel
