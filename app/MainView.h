// What the controller needs of its main window (the configuration window) and of the
// application object around it. The Win32 form implements it; tests record it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel {

struct FunTypeEntry {
  std::string name;
  std::int32_t id;
};

class MainView {
 public:
  virtual ~MainView() = default;
  virtual void SetMemoText(const std::string& text) = 0;
  // The application's ShowMainForm: whether the message loop shows the window itself.
  virtual void SetShowMainForm(bool show) = 0;
  // Timer2, the one-shot timer of the delayed set-up.
  virtual void SetSetupTimer(bool enabled) = 0;
  // How long the pointer rests before a hint shows, and how long the hint stays.
  virtual void SetHintTimes(int pauseMs, int hidePauseMs) = 0;
  // Fills the hidden function-type list and selects its first entry.
  virtual void FillFunTypes(const std::vector<FunTypeEntry>& entries) = 0;
  // Visible := true, restore the application window, bring the window to the front.
  virtual void ShowConfigWindow() = 0;
  // The application's Minimize.
  virtual void MinimizeApp() = 0;
  // The toolkit's message boxes (caption "Error" / "Information", one OK button).
  virtual void ShowError(const std::string& text) = 0;
  virtual void ShowInfo(const std::string& text) = 0;
};

}  // namespace ostrel
