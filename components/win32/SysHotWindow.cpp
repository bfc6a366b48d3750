#include "components/win32/SysHotWindow.h"

#include <vector>

namespace ostrel {

static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT &&
              kModWin == MOD_WIN);

bool SysHotWindow::RegisterHotKey(int id, unsigned modFlags, unsigned vk) {
  return ::RegisterHotKey(Handle(), id, modFlags, vk) != 0;
}

bool SysHotWindow::UnregisterHotKey(int id) { return ::UnregisterHotKey(Handle(), id) != 0; }

void SysHotWindow::PassOn(int id, unsigned modFlags, unsigned vk) {
  static constexpr struct {
    unsigned flag;
    WORD vk;
  } kModifierKeys[] = {{MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT},
                       {MOD_WIN, VK_LWIN}};
  std::vector<INPUT> input;
  auto key = [&input](WORD code, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = code;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.push_back(in);
  };
  std::vector<WORD> pressed;
  for (const auto& m : kModifierKeys) {
    if (!(modFlags & m.flag) || (::GetAsyncKeyState(m.vk) & 0x8000)) continue;
    if (m.vk == VK_LWIN && (::GetAsyncKeyState(VK_RWIN) & 0x8000)) continue;
    key(m.vk, false);
    pressed.push_back(m.vk);
  }
  key(static_cast<WORD>(vk), false);
  key(static_cast<WORD>(vk), true);
  for (auto it = pressed.rbegin(); it != pressed.rend(); ++it) key(*it, true);
  // Held, the hotkey would catch its own replay.
  ::UnregisterHotKey(Handle(), id);
  ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  ::RegisterHotKey(Handle(), id, modFlags, vk);
}

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
