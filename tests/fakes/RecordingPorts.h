// Fakes of the controller's ports that record every call as one line of text, so a
// test can assert the exact order of what the program asked of the platform.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel::testing {

class CallLog {
 public:
  std::vector<std::string> calls;
  void Add(std::string call) { calls.push_back(std::move(call)); }
};

class RecordingView : public MainView {
 public:
  explicit RecordingView(CallLog& log) : log_(log) {}
  std::string memo;
  std::vector<FunTypeEntry> funTypes;
  void SetMemoText(const std::string& text) override {
    memo = text;
    log_.Add("memo");
  }
  void SetShowMainForm(bool show) override {
    log_.Add(std::string("showMainForm ") + (show ? "1" : "0"));
  }
  void SetSetupTimer(bool on) override { log_.Add(std::string("timer2 ") + (on ? "on" : "off")); }
  void FillFunTypes(const std::vector<FunTypeEntry>& entries) override {
    funTypes = entries;
    log_.Add("funtype " + std::to_string(entries.size()));
  }
  void SetHintTimes(int pauseMs, int hidePauseMs) override {
    log_.Add("hints " + std::to_string(pauseMs) + " " + std::to_string(hidePauseMs));
  }
  void ShowConfigWindow() override { log_.Add("showConfig"); }
  void MinimizeApp() override { log_.Add("minimize"); }
  void ShowError(const std::string& text) override { log_.Add("error " + text); }
  void ShowInfo(const std::string& text) override { log_.Add("info " + text); }

 private:
  CallLog& log_;
};

// A desktop of a few windows, each visible or not, with an owner, a style and a thread;
// a foreground window, a focus window, and the cursor.
class FakeWindows : public WindowPort {
 public:
  explicit FakeWindows(CallLog& log) : log_(log) {}
  struct Window {
    bool visible = true;
    WindowHandle owner = 0;
    std::uint32_t style = kWsSysMenu;
    std::uint32_t thread = 7;
  };
  std::map<std::string, WindowHandle> classes;
  std::map<WindowHandle, Window> windows;  // in z-order, as EnumWindows reports them
  std::vector<WindowHandle> zOrder;        // when set, EnumWindows follows it instead
  WindowHandle foreground = 0;
  WindowHandle focus = 0;
  ScreenPoint cursor{};
  bool attachSucceeds = true;
  // When set, SetForegroundWindow succeeds only for these.
  std::vector<WindowHandle> refuseForeground;

  WindowHandle FindWindowByClass(const std::string& cls) override {
    log_.Add("FindWindow " + cls);
    auto it = classes.find(cls);
    return it == classes.end() ? 0 : it->second;
  }
  bool IsWindowVisible(WindowHandle w) override { return windows[w].visible; }
  bool ShowWindow(WindowHandle w, int cmd) override {
    log_.Add("ShowWindow " + std::to_string(w) + " " + std::to_string(cmd));
    windows[w].visible = cmd != kSwHide && cmd != kSwMinimize;
    return true;
  }
  bool SetForegroundWindow(WindowHandle w) override {
    log_.Add("SetForegroundWindow " + std::to_string(w));
    for (WindowHandle r : refuseForeground)
      if (r == w) return false;
    foreground = w;
    return true;
  }
  WindowHandle GetForegroundWindow() override { return foreground; }
  WindowHandle GetDesktopWindow() override { return 1; }
  void EnumWindows(const std::function<bool(WindowHandle)>& each) override {
    std::vector<WindowHandle> order = zOrder;
    if (order.empty())
      for (auto& [w, info] : windows) order.push_back(w);
    for (WindowHandle w : order)
      if (!each(w)) return;
  }
  WindowHandle GetWindowOwner(WindowHandle w) override { return windows[w].owner; }
  std::uint32_t GetWindowStyle(WindowHandle w) override { return windows[w].style; }
  bool PostMessageA(WindowHandle w, std::uint32_t msg, std::uintptr_t wp,
                    std::intptr_t lp) override {
    log_.Add("PostMessage " + std::to_string(w) + " " + std::to_string(msg) + " " +
             std::to_string(wp) + " " + std::to_string(lp));
    return true;
  }
  std::uint32_t GetWindowThread(WindowHandle w) override { return w ? windows[w].thread : 0; }
  bool AttachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) override {
    log_.Add("AttachThreadInput " + std::to_string(from) + " " + std::to_string(to) + " " +
             (attach ? "1" : "0"));
    return attachSucceeds;
  }
  WindowHandle GetFocus() override { return focus; }
  ScreenPoint GetCursorPos() override { return cursor; }

 private:
  CallLog& log_;
};

class FakeSystem : public SystemPort {
 public:
  explicit FakeSystem(CallLog& log) : log_(log) {}
  std::string exePath = "C:\\Program Files\\Ostrel\\Ostrel.exe";
  std::string ModuleFileName() override { return exePath; }
  std::uint32_t CurrentThreadId() override { return 42; }
  std::uint64_t now = 100000;
  void Sleep(std::uint32_t ms) override {
    log_.Add("Sleep " + std::to_string(ms));
    now += ms;
  }
  std::uint64_t TickCount() override { return now; }
  void TerminateProcess(std::uint32_t code) override {
    log_.Add("TerminateProcess " + std::to_string(code));
  }

 private:
  CallLog& log_;
};

}  // namespace ostrel::testing
