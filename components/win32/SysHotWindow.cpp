#include "components/win32/SysHotWindow.h"

namespace ostrel {

static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT &&
              kModWin == MOD_WIN);

bool SysHotWindow::RegisterHotKey(int id, unsigned modFlags, unsigned vk) {
  return ::RegisterHotKey(Handle(), id, modFlags, vk) != 0;
}

bool SysHotWindow::UnregisterHotKey(int id) { return ::UnregisterHotKey(Handle(), id) != 0; }

LRESULT SysHotWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (component_) {
    if (msg == WM_HOTKEY) {
      component_->WmHotKey(wParam);
      return 0;
    }
    if (msg == WM_DESTROY) component_->WmDestroy();
  }
  return TWindowedComponent::WndProc(msg, wParam, lParam);
}

}  // namespace ostrel
