#include "toolkit/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <set>

#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/DpiQueries.h"
#include "toolkit/UiFont.h"

namespace ostrel::tk {

namespace {
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE
}  // namespace

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::Create(const FormStyle& style) {
  static std::set<std::string> registered;
  HINSTANCE inst = Application::Get().Instance();
  if (!registered.count(style.className)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = style.className.c_str();
    if (style.iconId) wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(style.iconId));
    RegisterClassExA(&wc);
    registered.insert(style.className);
  }
  fixedSize_ = style.fixedSize;
  iconId_ = style.iconId;

  style_ = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  exStyle_ = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
  if (style.dialogFrame) {
    style_ = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    exStyle_ = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
  } else if (!fixedSize_) {
    style_ |= WS_THICKFRAME | WS_MAXIMIZEBOX;
  }
  clientUnits_ = SIZE{style.width, style.height};
  if (!style.clientExtent) {
    // A whole-window size: the client area is what the frame leaves of it at 96 DPI.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectFor(frame, style_, exStyle_, kBaseDpi);
    clientUnits_.cx -= frame.right - frame.left;
    clientUnits_.cy -= frame.bottom - frame.top;
  }
  // The DPI of the screen the window opens on: where its centre, or its corner, will be.
  const bool centred = style.left < 0 || style.top < 0;
  dpi_ = DpiAt(centred ? POINT{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2}
                       : POINT{style.left, style.top});
  font_.Reset(CreateUiFont(8, false, dpi_));
  boldFont_.Reset(CreateUiFont(8, true, dpi_));
  const SIZE extent = WindowExtent(dpi_);
  int x = style.left >= 0 ? style.left : (GetSystemMetrics(SM_CXSCREEN) - extent.cx) / 2;
  int y = style.top >= 0 ? style.top : (GetSystemMetrics(SM_CYSCREEN) - extent.cy) / 2;
  // A window given a place keeps it while it fits its screen; at a larger scale it moves
  // in so that all of it shows.
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  if (!centred && GetMonitorInfoA(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &screen)) {
    const RECT& work = screen.rcWork;
    x = static_cast<int>(std::max<LONG>(work.left, std::min<LONG>(x, work.right - extent.cx)));
    y = static_cast<int>(std::max<LONG>(work.top, std::min<LONG>(y, work.bottom - extent.cy)));
  }
  CreateWindowExA(exStyle_, style.className.c_str(), style.caption.c_str(), style_, x, y, extent.cx,
                  extent.cy, style.owner, nullptr, inst, this);
  if (!hwnd_) return;
  SetIcons();
  // The system may have put the window on a screen of another DPI.
  const UINT actual = WindowDpi(hwnd_);
  if (actual != dpi_) ApplyDpi(actual, nullptr);
}

SIZE Form::WindowExtent(UINT dpi) const {
  RECT r{0, 0, Scale(clientUnits_.cx, dpi), Scale(clientUnits_.cy, dpi)};
  AdjustWindowRectFor(r, style_, exStyle_, dpi);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The icons at the sizes the system asks for at the window's DPI, set on the window
// itself: the taskbar and other programs ask the window.
void Form::SetIcons() {
  if (!iconId_) return;
  HINSTANCE inst = Application::Get().Instance();
  auto load = [&](int cx, int cy) {
    return static_cast<HICON>(LoadImageA(inst, MAKEINTRESOURCEA(iconId_), IMAGE_ICON,
                                         Metric(cx, dpi_), Metric(cy, dpi_), 0));
  };
  IconOwner small(load(SM_CXSMICON, SM_CYSMICON)), big(load(SM_CXICON, SM_CYICON));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  // The old ones go once the window no longer shows them.
  smallIcon_ = std::move(small);
  bigIcon_ = std::move(big);
}

namespace {

struct FontSwap {
  HFONT from[2];
  HFONT to[2];
};

BOOL CALLBACK SwapFont(HWND child, LPARAM lp) {
  const auto& swap = *reinterpret_cast<const FontSwap*>(lp);
  const auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
  for (int i = 0; i < 2; ++i)
    if (font && font == swap.from[i]) Control(child).SetFont(swap.to[i]);
  return TRUE;
}

}  // namespace

// The window and every control laid out again for `dpi`, in the rectangle the system
// suggests (or the same size at the new scale, centred where the window is).
void Form::ApplyDpi(UINT dpi, const RECT* suggested) {
  if (!hwnd_ || !dpi) return;
  dpi_ = dpi;
  GdiObject<HFONT> oldFont(std::move(font_)), oldBold(std::move(boldFont_));
  font_.Reset(CreateUiFont(8, false, dpi));
  boldFont_.Reset(CreateUiFont(8, true, dpi));
  RECT r;
  if (suggested) {
    r = *suggested;
  } else {
    GetWindowRect(hwnd_, &r);
    const SIZE extent = WindowExtent(dpi);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    r = RECT{cx - extent.cx / 2, cy - extent.cy / 2, cx - extent.cx / 2 + extent.cx,
             cy - extent.cy / 2 + extent.cy};
  }
  fixedExtent_ = SIZE{r.right - r.left, r.bottom - r.top};
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& [child, units] : places_) {
    if (!IsWindow(child)) continue;
    // The corner and the size are scaled, as when the control was made: a size never
    // comes out smaller than its own scale, so text that fits it still fits.
    SetWindowPos(child, nullptr, Px(units.left), Px(units.top), Px(units.right - units.left),
                 Px(units.bottom - units.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FontSwap swap{{oldFont.get(), oldBold.get()}, {font_.get(), boldFont_.get()}};
  EnumChildWindows(hwnd_, SwapFont, reinterpret_cast<LPARAM>(&swap));
  SetIcons();
  OnDpiChanged();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::Show() {
  if (!hwnd_) return;
  OnShow();
  ShowWindow(hwnd_, SW_SHOW);
}

void Form::Close() {
  if (!hwnd_) return;
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

int Form::ShowModal() {
  if (!hwnd_ || modal_) return mrNone;
  Application& app = Application::Get();
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  const bool disableOwner = owner && IsWindowEnabled(owner);
  HWND ownerFocus = GetFocus();
  if (disableOwner) EnableWindow(owner, FALSE);
  modal_ = true;
  modalResult_ = mrNone;
  app.PushModal(this);
  OnShow();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) {
    if (!IsChild(hwnd_, GetFocus())) SetFocus(first);
  }

  while (hwnd_) {
    if (modalResult_ != mrNone) {
      if (OnCloseQuery()) break;
      modalResult_ = mrNone;
      continue;
    }
    if (!app.HandleMessage()) {
      // The program is ending: close as the close box would, whatever the close query says.
      if (modalResult_ == mrNone) modalResult_ = mrCancel;
      OnCloseQuery();
      break;
    }
  }

  app.PopModal(this);
  modal_ = false;
  // The owner comes back before this window goes, so that it is activated again.
  if (disableOwner) EnableWindow(owner, TRUE);
  if (hwnd_) {
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (owner && GetActiveWindow() != owner && IsWindowVisible(owner)) SetActiveWindow(owner);
  // The control that had the focus before gets it back.
  if (owner && ownerFocus && IsWindow(ownerFocus) && IsChild(owner, ownerFocus))
    SetFocus(ownerFocus);
  return modalResult_;
}

namespace {

// A character upper-cased as the system does it (CharUpperA on a single character).
char Upper(char c) {
  return static_cast<char>(reinterpret_cast<std::uintptr_t>(CharUpperA(
      reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(static_cast<unsigned char>(c))))));
}

// The underlined letter of a caption ("&&" is a plain "&"), upper-cased; 0 for none.
char UnderlinedLetter(const char* text) {
  for (const char* c = text; *c; ++c) {
    if (*c != '&') continue;
    if (c[1] != '&') return Upper(c[1]);
    ++c;
  }
  return 0;
}

struct MnemonicSearch {
  char wanted;
  HWND found = nullptr;
  int toolId = 0;  // the tool button, when `found` is a toolbar
};

BOOL CALLBACK FindMnemonic(HWND child, LPARAM lp) {
  auto& s = *reinterpret_cast<MnemonicSearch*>(lp);
  if (!IsWindowVisible(child) || !IsWindowEnabled(child)) return TRUE;
  char cls[32] = "";
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, TOOLBARCLASSNAMEA) == 0) {
    UINT id = 0;
    if (SendMessageA(child, TB_MAPACCELERATORA, static_cast<unsigned char>(s.wanted),
                     reinterpret_cast<LPARAM>(&id)) &&
        SendMessageA(child, TB_ISBUTTONENABLED, id, 0)) {
      s.found = child;
      s.toolId = static_cast<int>(id);
      return FALSE;
    }
    return TRUE;
  }
  const bool button = lstrcmpiA(cls, "Button") == 0;
  if (!button && lstrcmpiA(cls, "Static") != 0) return TRUE;
  if (!button && (GetWindowLongPtrA(child, GWL_STYLE) & SS_NOPREFIX)) return TRUE;
  char text[256] = "";
  GetWindowTextA(child, text, sizeof text);
  if (UnderlinedLetter(text) != s.wanted) return TRUE;
  s.found = child;
  return FALSE;
}

}  // namespace

bool Form::Mnemonic(char key) {
  MnemonicSearch search{Upper(key)};
  // Children come in z-order, which is the tab order.
  EnumChildWindows(hwnd_, FindMnemonic, reinterpret_cast<LPARAM>(&search));
  HWND found = search.found;
  if (!found) return false;
  if (search.toolId) {
    SendMessageA(GetParent(found), WM_COMMAND, MAKEWPARAM(search.toolId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(found));
    return true;
  }
  char cls[32] = "";
  GetClassNameA(found, cls, sizeof cls);
  const LONG_PTR type = GetWindowLongPtrA(found, GWL_STYLE) & BS_TYPEMASK;
  if (lstrcmpiA(cls, "Button") == 0 && type != BS_GROUPBOX) {
    SendMessageA(found, BM_CLICK, 0, 0);
    return true;
  }
  // A label or a group box: its control gets the focus, with its text selected.
  auto it = labelFor_.find(found);
  HWND target = it != labelFor_.end() ? it->second : GetNextDlgTabItem(hwnd_, found, FALSE);
  if (target && IsWindowVisible(target) && IsWindowEnabled(target))
    Control(target).FocusAndSelect();
  return true;
}

bool Form::PreTranslate(const MSG& msg) {
  if (!hwnd_ || (msg.message != WM_SYSCHAR && msg.message != WM_KEYDOWN)) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  if (msg.message == WM_SYSCHAR) return Mnemonic(static_cast<char>(msg.wParam));
  HWND focus = GetFocus();
  const bool ownFocus = focus && IsChild(hwnd_, focus);
  if (ownFocus && ToolBar::Is(focus) && GetKeyState(VK_MENU) >= 0 &&
      ToolBar(focus).HandleKey(msg.wParam))
    return true;
  if (msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    // Here rather than in the dialog navigation, which leaves Tab to a multi-line edit,
    // and the edit hands it on to a dialog procedure that a form does not have.
    HWND next = GetNextDlgTabItem(hwnd_, ownFocus ? focus : nullptr, GetKeyState(VK_SHIFT) < 0);
    if (next && next != focus) {
      if (ownFocus && ToolBar::Is(focus)) ToolBar(focus).SetHotItem(-1);
      Control(next).FocusAndSelect();
      if (ToolBar::Is(next) && ToolBar(next).HotItem() < 0) ToolBar(next).StepHotItem(1);
    }
    return true;
  }
  if (!defaultButton_ && !cancelButton_) return false;
  HWND press = nullptr;
  if (msg.wParam == VK_RETURN) {
    char cls[16] = "";
    if (ownFocus) GetClassNameA(focus, cls, sizeof cls);
    const LONG_PTR type = focus ? (GetWindowLongPtrA(focus, GWL_STYLE) & BS_TYPEMASK) : 0;
    if (lstrcmpiA(cls, "Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON))
      press = focus;
    else
      press = defaultButton_;
  } else if (msg.wParam == VK_ESCAPE) {
    // Without a cancel button Escape does nothing: a multi-line edit would close the form.
    press = cancelButton_;
    if (!press) return true;
  }
  if (!press || !IsWindowEnabled(press) || !IsWindowVisible(press)) return false;
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(press), BN_CLICKED),
               reinterpret_cast<LPARAM>(press));
  return true;
}

void Form::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Form::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form::AddTimer(UINT id, UINT intervalMs, std::function<void()> onTimer) {
  timers_[id] = TimerSlot{intervalMs, false, std::move(onTimer)};
}

void Form::SetTimerEnabled(UINT id, bool enabled) {
  auto it = timers_.find(id);
  if (it == timers_.end() || !hwnd_) return;
  // An enabled timer keeps running its interval: enabling it again does not restart it.
  if (it->second.enabled == enabled) return;
  it->second.enabled = enabled;
  if (enabled)
    SetTimer(hwnd_, id, it->second.interval, nullptr);
  else
    KillTimer(hwnd_, id);
}

bool Form::TimerEnabled(UINT id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second.enabled;
}

HWND Form::AddControl(const char* className, const std::string& text, DWORD style, int x, int y,
                      int w, int h, int id, DWORD exStyle, HWND parent) {
  HWND child = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | style, Px(x), Px(y),
                               Px(w), Px(h), parent ? parent : hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               Application::Get().Instance(), nullptr);
  if (!child) return nullptr;
  Control(child).SetFont(font_.get());
  places_[child] = RECT{x, y, x + w, y + h};
  return child;
}

HWND Form::AddHiddenLabel(HWND field, const std::string& text) {
  const RECT at = places_[field];
  HWND label = AddControl("STATIC", text, SS_LEFT | SS_NOPREFIX, at.left, at.top,
                          at.right - at.left, at.bottom - at.top, -1);
  HWND before = GetWindow(field, GW_HWNDPREV);
  SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return label;
}

void Form::Place(HWND control, int x, int y, int w, int h) {
  places_[control] = RECT{x, y, x + w, y + h};
  SetWindowPos(control, nullptr, Px(x), Px(y), Px(w), Px(h), SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (!form) return DefWindowProcA(hwnd, msg, wp, lp);
  return form->HandleMessage(msg, wp, lp);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_CREATE: {
      RECT r;
      GetWindowRect(hwnd_, &r);
      fixedExtent_ = SIZE{r.right - r.left, r.bottom - r.top};
      OnCreate();
      return 0;
    }
    case WM_GETMINMAXINFO:
      if (fixedSize_ && fixedExtent_.cx > 0) {
        // The window keeps the size it was made with.
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize = POINT{fixedExtent_.cx, fixedExtent_.cy};
        info->ptMaxTrackSize = POINT{fixedExtent_.cx, fixedExtent_.cy};
      }
      break;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    case kGetDpiScaledSize: {
      // Asked before a move to a screen of another DPI: the size that layout will take.
      *reinterpret_cast<SIZE*>(lp) = WindowExtent(static_cast<UINT>(wp));
      return TRUE;
    }
    case WM_TIMER: {
      auto it = timers_.find(static_cast<UINT>(wp));
      if (it != timers_.end()) {
        if (it->second.enabled && it->second.onTimer) it->second.onTimer();
        return 0;
      }
      break;
    }
    case WM_SIZE:
      if (Application::Get().MainForm() == this) {
        if (wp == SIZE_MINIMIZED)
          Application::Get().NotifyMinimized();
        else if (wp == SIZE_RESTORED)
          Application::Get().NotifyRestored();
      }
      break;
    case WM_SYSCOLORCHANGE:
      // Only top-level windows hear of a new colour scheme: the common controls among
      // the children (tree, tool bars) keep the old one until told.
      for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SYSCOLORCHANGE, wp, lp);
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_CLOSE:
      if (modal_) {
        // The modal loop asks the close query once it sees the result.
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
      } else if (OnCloseQuery()) {
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_DESTROY:
      for (auto& [id, slot] : timers_) KillTimer(hwnd_, id);
      OnDestroy();
      if (Application::Get().MainForm() == this) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND gone = hwnd_;
      SetWindowLongPtrA(gone, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      places_.clear();
      return DefWindowProcA(gone, msg, wp, lp);
    }
    default:
      break;
  }
  if (OnMessage(msg, wp, lp, result)) return result;
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace ostrel::tk
