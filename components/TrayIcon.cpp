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
    Add();
  else
    Remove();
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

bool TTrayIcon::HandleMessage(std::uint32_t msg, std::uintptr_t /*wParam*/, std::intptr_t lParam) {
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

bool TTrayIcon::Remove() { return port_.ShellNotifyIcon(kNimDelete, record_); }

void TTrayIcon::Click(TMouseButton button, const TMouseEvent& event) {
  ScreenPoint at = port_.CursorPos();
  // The popup is modal: the event follows only once the menu has closed.
  if (PopupMenu) PopupMenu(at.x, at.y);
  if (event) event(*this, button, at.x, at.y);
}

}  // namespace ostrel
