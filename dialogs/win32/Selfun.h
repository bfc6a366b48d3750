// TSelfun, the modal dialog "Add a new Hotkey": the twenty function icons in a narrow
// owner-drawn list and the selected function's description. A thin view over
// FunctionChooser, which keeps the choice and hands it to the caller.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "dialogs/FunctionChooser.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace ostrel {

// Control ids of TSelfun (none is IDOK or IDCANCEL).
enum SelfunControl : int {
  idSelfunPanel4 = 501,
  idSelfunLabel1,
  idSelfunListBox2,
  idSelfunPanel3,
  idSelfunPanel2,
  idSelfunImage1,
  idSelfunMemo1,
  idSelfunPanel1,
  idSelfunButton1,  // OK
  idSelfunButton2,  // Cancel
};

inline constexpr const char* kSelfunClass = "TSelfun";
inline constexpr int kSelfunItemHeight = 34;

class TSelfun : public tk::Form {
 public:
  // `owner` is disabled while the dialog is shown modally; it may be null. The two
  // fields are the caller's ChosenFunction and ChosenFunctionName.
  TSelfun(HWND owner, std::int32_t& chosenFunction, std::string& chosenFunctionName);
  ~TSelfun() override;

  FunctionChooser& Chooser() { return chooser_; }
  HWND Control(int id) const { return GetDlgItem(Handle(), id); }
  // Image1 is a child of Panel2.
  HWND Image() const { return image1_.Handle(); }
  // The image list the items are drawn from; null when the bitmap is missing.
  HIMAGELIST Icons() const { return icons_.get(); }

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnDpiChanged() override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  void DrawPanel(const DRAWITEMSTRUCT& item);
  // The list's selection is at `position`: it becomes the choice, and the description
  // pane shows it.
  void SelectionAt(int position);

  FunctionChooser chooser_;
  tk::ListBox list_;
  tk::InfoPane memo_;
  HWND ok_ = nullptr;
  tk::Static image1_;
  tk::IconOwner picture_;
  tk::ImageListOwner icons_;
};

// The Add command's chooser: create the dialog, show it modally, release it. Returns
// tk::mrOk or tk::mrCancel; with OK, chosenFunction holds the chosen type.
int RunSelfun(HWND owner, std::int32_t& chosenFunction, std::string& chosenFunctionName);

}  // namespace ostrel
