// FunctionChooserWindow, the modal dialog "Add a new Hotkey": the twenty function icons in a narrow
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

// Control ids of FunctionChooserWindow (none is IDOK or IDCANCEL).
enum FunctionChooserControl : int {
  idChooserListPanel = 501,
  idChooserListLabel,
  idChooserList,
  idChooserMainPanel,
  idChooserHeading,
  idChooserPicture,
  idChooserDescription,
  idChooserButtonPanel,
  idChooserOk,      // OK
  idChooserCancel,  // Cancel
};

inline constexpr const char* kFunctionChooserClass = "FunctionChooserWindow";
inline constexpr int kChooserItemHeight = 34;

class FunctionChooserWindow : public tk::Form {
 public:
  // `owner` is disabled while the dialog is shown modally; it may be null. The two
  // fields are the caller's ChosenFunction and ChosenFunctionName.
  FunctionChooserWindow(HWND owner, std::int32_t& chosenFunction, std::string& chosenFunctionName);
  ~FunctionChooserWindow() override;

  FunctionChooser& Chooser() { return chooser_; }
  HWND Control(int id) const { return GetDlgItem(Handle(), id); }
  // The picture is a child of the heading.
  HWND Image() const { return pictureControl_.Handle(); }
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
  tk::Static pictureControl_;
  tk::IconOwner picture_;
  tk::ImageListOwner icons_;
};

// The Add command's chooser: create the dialog, show it modally, release it. Returns
// tk::mrOk or tk::mrCancel; with OK, chosenFunction holds the chosen type.
int ShowFunctionChooser(HWND owner, std::int32_t& chosenFunction, std::string& chosenFunctionName);

}  // namespace ostrel
