// A top-level window whose messages go to a virtual handler, with the few child
// controls the program's windows are built from and the timers they own.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "toolkit/Gdi.h"

namespace ostrel::tk {

struct FormStyle {
  std::string className;  // the window class, registered on first use
  std::string caption;
  int width = 0;
  int height = 0;
  bool fixedSize = true;  // the window keeps its size: no sizing frame, no maximise
  int iconId = 0;         // resource id of the window's icon; 0 for none
};

class Form {
 public:
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Handle() const { return hwnd_; }
  void Show();
  void Hide();
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  // Destroys the window, as a close that was allowed does.
  void Destroy();

  // Timers owned by the window; enabling a disabled one starts a fresh interval, enabling
  // an enabled one changes nothing.
  void AddTimer(UINT id, UINT intervalMs, std::function<void()> onTimer);
  void SetTimerEnabled(UINT id, bool enabled);
  bool TimerEnabled(UINT id) const;

  // The window's font: "MS Sans Serif" 8 pt, and a bold face of it.
  HFONT Font() const { return font_.get(); }
  HFONT BoldFont() const { return boldFont_.get(); }

 protected:
  Form() = default;
  // Creates the window (hidden, centred on the screen); runs OnCreate.
  void Create(const FormStyle& style);

  virtual void OnCreate() {}
  // Return false to refuse the close.
  virtual bool OnCloseQuery() { return true; }
  virtual void OnDestroy() {}
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual LRESULT OnNotify(NMHDR* /*hdr*/) { return 0; }
  // Everything else; return true with `result` set when handled.
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) {
    return false;
  }

  // A child control with the window's font.
  HWND AddControl(const char* className, const std::string& text, DWORD style, int x, int y, int w,
                  int h, int id, DWORD exStyle = 0, HWND parent = nullptr);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  struct TimerSlot {
    UINT interval;
    bool enabled;
    std::function<void()> onTimer;
  };

  HWND hwnd_ = nullptr;
  bool fixedSize_ = true;
  SIZE fixedExtent_{};
  GdiObject<HFONT> font_;
  GdiObject<HFONT> boldFont_;
  std::map<UINT, TimerSlot> timers_;
};

}  // namespace ostrel::tk
