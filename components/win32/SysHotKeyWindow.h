// The hidden window behind a TSysHotKey: it holds the hotkey registrations and receives
// WM_HOTKEY. It is built first and handed to the component as its HotKeyPort; Bind then
// points its messages at that component.
//
//   SysHotKeyWindow window;
//   TSysHotKey hotKeys(window);
//   window.Bind(&hotKeys);
//
// Declared in this order, the component goes first (giving up its registrations through
// the still-living window) and the window after it.
#pragma once

#include "components/SysHotKey.h"
#include "components/win32/WindowedComponent.h"
#include "platform/win32/Handles.h"

namespace ostrel {

class SysHotKeyWindow : public TWindowedComponent, public HotKeyPort {
 public:
  // Where WM_HOTKEY and WM_DESTROY go; nullptr stops them.
  void Bind(TSysHotKey* component) { component_ = component; }

  bool RegisterHotKey(int id, unsigned modFlags, unsigned vk) override;
  bool UnregisterHotKey(int id) override;
  // Hands the press on (PassOnPress) with the real keyboard, hook and clock.
  void PassOn(int id, unsigned modFlags, unsigned vk, std::uint32_t waitMs) override;
  // A WH_MOUSE_LL hook on this thread, one for the process: its buttons and wheel go to
  // the bound component's MouseMessage with the modifiers held then.
  bool HookMouse(bool on) override;
  void MaskModifierRelease() override;
  ~SysHotKeyWindow() override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  static LRESULT CALLBACK WatchMouse(int code, WPARAM wParam, LPARAM lParam);

  TSysHotKey* component_ = nullptr;
  Hook mouseHook_;
};

}  // namespace ostrel
