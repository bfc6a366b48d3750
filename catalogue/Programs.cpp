#include "catalogue/Programs.h"

#include <algorithm>

#include "catalogue/Conditions.h"

namespace ostrel {

std::string ProgramInFront(ProgramPort& port) {
  const WindowHandle front = port.ForegroundWindow();
  if (!front) return {};
  const std::uint32_t frontProcess = port.ProcessOfWindow(front);
  std::string name = port.ProcessFileName(frontProcess);
  if (ProgramKey(name) != ProgramKey(kStoreFrameHost)) return name;
  // The frame hosts the app's own window: name the app, not the host.
  std::vector<WindowHandle> inside;
  if (WindowHandle focus = port.FocusWindow()) inside.push_back(focus);
  for (WindowHandle child : port.ChildWindows(front)) inside.push_back(child);
  for (WindowHandle wnd : inside) {
    const std::uint32_t process = port.ProcessOfWindow(wnd);
    if (process == frontProcess || process == 0) continue;
    std::string app = port.ProcessFileName(process);
    if (!app.empty()) return app;
  }
  return name;
}

std::vector<std::string> OpenPrograms(ProgramPort& port) {
  std::vector<std::string> names;
  for (WindowHandle wnd : port.VisibleTopLevelWindows()) {
    std::string name = port.ProcessFileName(port.ProcessOfWindow(wnd));
    if (!name.empty() && !NamesProgram(names, name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return ProgramKey(a) < ProgramKey(b);
  });
  return names;
}

}  // namespace ostrel
