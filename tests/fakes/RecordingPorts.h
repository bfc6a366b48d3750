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

// A desktop of a few windows: each handle is visible or not.
class FakeWindows : public WindowPort {
 public:
  explicit FakeWindows(CallLog& log) : log_(log) {}
  std::map<std::string, WindowHandle> classes;
  std::map<WindowHandle, bool> visible;
  WindowHandle FindWindowByClass(const std::string& cls) override {
    log_.Add("FindWindow " + cls);
    auto it = classes.find(cls);
    return it == classes.end() ? 0 : it->second;
  }
  bool IsWindowVisible(WindowHandle w) override { return visible[w]; }
  bool ShowWindow(WindowHandle w, int cmd) override {
    log_.Add("ShowWindow " + std::to_string(w) + " " + std::to_string(cmd));
    visible[w] = cmd != kSwHide && cmd != kSwMinimize;
    return true;
  }
  bool SetForegroundWindow(WindowHandle w) override {
    log_.Add("SetForegroundWindow " + std::to_string(w));
    return true;
  }

 private:
  CallLog& log_;
};

class FakeSystem : public SystemPort {
 public:
  explicit FakeSystem(CallLog& log) : log_(log) {}
  std::string exePath = "C:\\Program Files\\Ostrel\\Ostrel.exe";
  std::string ModuleFileName() override { return exePath; }
  std::uint32_t CurrentThreadId() override { return 42; }
  void Sleep(std::uint32_t ms) override { log_.Add("Sleep " + std::to_string(ms)); }

 private:
  CallLog& log_;
};

}  // namespace ostrel::testing
