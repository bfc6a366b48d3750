#include "components/TrayIcon.h"

namespace ostrel {

TTrayIcon::TTrayIcon(NotifyIconPort& port) : port_(port) {}

TTrayIcon::~TTrayIcon() {
  if (active_) Remove();
}

void TTrayIcon::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active)
    Show();
  else
    Remove();
}

void TTrayIcon::Show() {
  shown_ = Add();
  // A refused add may still have put the icon there (the shell answered too late):
  // when a change of it is taken, it is there.
  if (!shown_) shown_ = port_.ShellNotifyIcon(kNimModify, record_);
  if (retrying_ != !shown_) {
    retrying_ = !shown_;
    port_.SetRetryTimer(retrying_);
  }
}

void TTrayIcon::SetIcon(std::uintptr_t icon) {
  icon_ = icon;
  Modify();
}

void TTrayIcon::SetToolTip(const std::string& tip) {
  // Cut to fit the record's 64-byte text field.
  toolTip_ = tip.substr(0, kToolTipLimit);
  Modify();
}

bool TTrayIcon::ShowBalloon(const std::string& text) {
  if (!active_ || !shown_) return false;
  Fill();
  // The balloon alone: the icon and its tip stay as they are.
  NotifyIconData balloon = record_;
  balloon.uFlags = kNifInfo;
  balloon.szInfo = text.substr(0, kBalloonTextLimit);
  balloon.dwInfoFlags = kNiifWarning;
  return port_.ShellNotifyIcon(kNimModify, balloon);
}

bool TTrayIcon::HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == kWmTimer && wParam == kTrayRetryTimerId) {
    if (active_ && !shown_) {
      Show();
    } else if (retrying_) {
      retrying_ = false;
      port_.SetRetryTimer(false);
    }
    return true;
  }
  // The shell started again: the icons of the one before are gone.
  if (msg != 0 && msg == port_.TaskbarCreatedMessage()) {
    if (active_) Show();
    return false;  // a broadcast: the default procedure may see it too
  }
  if (msg == kTrayRefreshMessage) {
    SetToolTip(toolTip_);
    return true;
  }
  if (msg != kTrayCallbackMessage) return false;
  switch (static_cast<std::uint32_t>(lParam)) {
    case kWmLButtonUp:
      Click(TMouseButton::mbLeft, OnMouseClick);
      break;
    case kWmLButtonDblClk:
      if (OnDblClick) OnDblClick(*this);
      break;
    case kWmRButtonUp:
      Click(TMouseButton::mbRight, OnRightClick);
      break;
    default:
      break;
  }
  return true;
}

void TTrayIcon::Fill() {
  record_.hWnd = port_.Handle();
  record_.uID = kTrayIconId;
  record_.uFlags = kTrayFlags;
  record_.hIcon = icon_;
  record_.szTip = toolTip_;
  record_.uCallbackMessage = kTrayCallbackMessage;
}

bool TTrayIcon::Add() {
  Fill();
  bool ok = port_.ShellNotifyIcon(kNimAdd, record_);
  if (toolTip_.empty()) port_.PostToolTipRefresh();
  return ok;
}

bool TTrayIcon::Modify() {
  Fill();
  if (!active_) return true;
  return port_.ShellNotifyIcon(kNimModify, record_);
}

bool TTrayIcon::Remove() {
  if (retrying_) {
    retrying_ = false;
    port_.SetRetryTimer(false);
  }
  shown_ = false;
  return port_.ShellNotifyIcon(kNimDelete, record_);
}

void TTrayIcon::Click(TMouseButton button, const TMouseEvent& event) {
  ScreenPoint at = port_.CursorPos();
  // The popup is modal: the event follows only once the menu has closed.
  if (PopupMenu) PopupMenu(at.x, at.y);
  if (event) event(*this, button, at.x, at.y);
}

}  // namespace ostrel
