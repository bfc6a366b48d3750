// The application object: the message loop, the application-wide message filter, the
// minimise and restore events, and the main form. One per program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ostrel::tk {

class Form;

class Application {
 public:
  static Application& Get();

  void Initialize(HINSTANCE instance);
  HINSTANCE Instance() const { return instance_; }

  std::string title;
  // When false, Run does not show the main form; the program shows it itself.
  bool showMainForm = true;
  // Sees every message the loop takes from the queue first; true means handled.
  std::function<bool(MSG&)> onMessage;
  std::function<void()> onMinimize;
  std::function<void()> onRestore;

  Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* form) { mainForm_ = form; }

  // Runs the message loop until the main form is destroyed; returns the exit code.
  int Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Waits for one message and handles it; false (with the quit message posted again)
  // when it was the quit message. Modal forms run their loops on it.
  bool HandleMessage();

  // The modal forms open now, innermost last (ShowModal keeps this).
  void PushModal(Form* form) { modalForms_.push_back(form); }
  void PopModal(Form* form);
  Form* ActiveModal() const { return modalForms_.empty() ? nullptr : modalForms_.back(); }
  void Minimize();
  void Restore();

  // Called by the main form when the system minimises or restores it.
  void NotifyMinimized();
  void NotifyRestored();

 private:
  void Dispatch(MSG& msg);

  HINSTANCE instance_ = nullptr;
  Form* mainForm_ = nullptr;
  bool minimized_ = false;
  std::vector<Form*> modalForms_;
};

}  // namespace ostrel::tk
