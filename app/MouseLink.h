// The mouse link: the companion mouse-watch library, attached and detached, told our
// window through its shared block; and the OstrelMenu that it (or the tray icon, or a
// definition) asks for, popped up at the cursor.
#pragma once

#include <cstdint>

#include "app/MainView.h"
#include "app/Timings.h"
#include "platform/HookLibraryPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// What popping the menu up needs to know of the session the set-up has learnt.
struct MenuSession {
  bool ready = false;  // the set-up is done
  WindowHandle desktop = 0;
  std::uint32_t uiThread = 0;
};

class MouseLink {
 public:
  MouseLink(MainView& view, WindowPort& windows, SystemPort& system, HookLibraryPort& hook,
            const Timings& timings);
  MouseLink(const MouseLink&) = delete;
  MouseLink& operator=(const MouseLink&) = delete;

  // The create step starts from a detached library and no menu up.
  void Reset();
  // Again=false attaches only a detached library; again=true repeats an attach.
  void AttachTheDll(bool again);
  void DetachTheDll();
  bool HookAttached() const { return hookAttached_; }

  // The library's requests (attach again, show the menu). Returns true when the message
  // was one of them and goes no further.
  bool AppMessage(std::uint32_t msg, const MenuSession& session);
  void ShowMenuAtCursor(const MenuSession& session);
  // A menu takes the keyboard, and closes at a click elsewhere, only while its owner is
  // in front: the main window comes forward, ten tries at most.
  void BringMainToFront(WindowHandle previous);

  // Where the OstrelMenu last appeared.
  ScreenPoint MenuPoint() const { return menuPoint_; }
  WindowHandle MenuFocus() const { return menuFocus_; }
  // The window that was in front when the OstrelMenu last opened; 0 when none was.
  WindowHandle MenuForeground() const { return menuForeground_; }

 private:
  MainView& view_;
  WindowPort& windows_;
  SystemPort& system_;
  HookLibraryPort& hook_;
  const Timings& timings_;
  bool hookAttached_ = false;
  bool sharedMapped_ = false;
  bool menuBusy_ = false;
  std::uint64_t nextMenuTime_ = 0;
  ScreenPoint menuPoint_{};
  WindowHandle menuForeground_ = 0;
  WindowHandle menuFocus_ = 0;
};

}  // namespace ostrel
