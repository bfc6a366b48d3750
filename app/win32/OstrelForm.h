// TOstrelForm: the main window, which is also the configuration window. It builds the
// layout, forwards its events to OstrelController and renders what that asks for.
#pragma once

#include <windows.h>

#include <memory>

#include "app/MainView.h"
#include "app/OstrelController.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Form.h"

namespace ostrel {

// Control ids of the configuration window.
enum OstrelControlId : int {
  idHotKeyLabel = 100,
  idOLKeyTree = 101,
  idTreeToolbar = 102,
  idTopToolbar = 103,
  idMemo1 = 104,
  idOptionsGroup = 105,
  idAutostart = 106,
  idOlTaskBar = 107,
  idOLMouse = 108,
  idFuntype = 109,
  idShowOnMenu = 110,
  idStatus = 111,
  idAddButton = 200,     // Tag 0
  idUpdateButton = 201,  // Tag 1
  idDeleteButton = 202,  // Tag 2
  idShowMenuButton = 210,
  idHelpButton = 211,  // Tag 99
};

inline constexpr UINT kTimer2 = 2;
inline constexpr UINT kTimer3 = 3;
inline constexpr UINT MSG_SHOW_MENU = 0x2261;  // WM_USER + 7777

class TOstrelForm : public tk::Form, public MainView {
 public:
  TOstrelForm();
  ~TOstrelForm() override;

  OstrelController& Controller() { return *controller_; }

  // MainView
  void SetMemoText(const std::string& text) override;
  void SetShowMainForm(bool show) override;
  void SetSetupTimer(bool enabled) override;
  void SetHintTimes(int pauseMs, int hidePauseMs) override;
  void FillFunTypes(const std::vector<FunTypeEntry>& entries) override;
  void ShowConfigWindow() override;
  void MinimizeApp() override;
  void ShowError(const std::string& text) override;
  void ShowInfo(const std::string& text) override;

 protected:
  void OnCreate() override;
  bool OnCloseQuery() override;
  void OnDestroy() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* hdr) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void BuildLayout();
  HWND BuildToolbar(int id, const struct ToolButtonSpec* buttons, int count);
  void Dock972Resize();
  void ToolbarButton971Click();
  void ToolbarButton974Click(int tag);
  void ToolbarButton975Click(int tag);

  Win32FileSystem files_;
  Win32Windows windows_;
  Win32System system_;
  std::unique_ptr<OstrelController> controller_;
  tk::GdiObject<HBRUSH> memoBrush_;
  HWND memo_ = nullptr;
  RECT dock972_{};  // the dock of the upper toolbar, in client coordinates
};

}  // namespace ostrel
