// The application object: the message loop, the application-wide message filter, the
// minimise and restore events, and the main form. One per program.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ContrastPort.h"
#include "toolkit/HintWindow.h"

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

  // Pop-up hints. A window registered with SetHintSource names the hint of the part under
  // a point of its client area. Resting the mouse on such a part for hintPause ms shows
  // its hint in the hint window, which goes after hintHidePause ms, when the mouse leaves
  // the part, at a click or a key, or when CancelHint is called.
  struct HintTarget {
    int id = -1;  // -1: no part with a hint there
    std::string text;
  };
  using HintSource = std::function<HintTarget(POINT client)>;
  int hintPause = 500;
  int hintHidePause = 2500;
  int hintShortPause = 50;  // from one hint straight on to the next
  COLORREF hintColor = RGB(255, 255, 225);  // the system's tool-tip colour after Initialize
  void SetHintSource(HWND window, HintSource source);
  void RemoveHintSource(HWND window);
  bool ShowHint() const { return showHint_; }
  // Off hides and destroys the hint window; the next hint makes a new one of the class
  // in force then.
  void SetShowHint(bool show);
  const HintWindowClass& GetHintWindowClass() const { return hintClass_; }
  // An empty class is the toolkit's plain hint window.
  void SetHintWindowClass(HintWindowClass windowClass) { hintClass_ = std::move(windowClass); }
  void CancelHint();
  HintWindow* Hint() const { return hintWindow_.get(); }
  bool HintShowing() const { return hintShowing_; }
  // The system's high-contrast switch, handed over by WinMain (which makes the adapter);
  // none: never on. toolkit/Colours.h asks it for every surface the program draws.
  void SetContrast(const ContrastPort* contrast) { contrast_ = contrast; }
  bool HighContrast() const { return contrast_ && contrast_->HighContrastOn(); }
  // True once the application object is being torn down.
  bool Destroying() const { return destroying_; }

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
  Application() = default;
  ~Application();
  void Dispatch(MSG& msg);
  void HintMessage(const MSG& msg);
  void StartHintTimer(UINT_PTR& timer, int ms);
  void StopHintTimers();
  void ActivateHintNow();
  void HideHintNow();
  static void CALLBACK HintTimerProc(HWND, UINT, UINT_PTR timer, DWORD);

  HINSTANCE instance_ = nullptr;
  const ContrastPort* contrast_ = nullptr;
  Form* mainForm_ = nullptr;
  bool minimized_ = false;
  std::vector<Form*> modalForms_;

  std::map<HWND, HintSource> hintSources_;
  HintWindowClass hintClass_;
  std::unique_ptr<HintWindow> hintWindow_;
  bool showHint_ = true;
  bool hintShowing_ = false;
  bool destroying_ = false;
  HWND hintControl_ = nullptr;  // the window and part the mouse rests on
  int hintId_ = -1;
  std::string hintText_;
  UINT_PTR pauseTimer_ = 0;
  UINT_PTR hideTimer_ = 0;
};

}  // namespace ostrel::tk
