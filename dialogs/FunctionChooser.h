// FunctionChooserWindow, the function chooser "Add a new Hotkey": one item per function type in
// catalogue order, the description of the selected one, and the choice handed back to
// the Add command. The Win32 dialog (dialogs/win32/FunctionChooserWindow.*) forwards its events
// here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ModalResult.h"

namespace ostrel {

class FunctionChooser {
 public:
  // The caller's ChosenFunction and ChosenFunctionName, written by FormCreate and OK.
  FunctionChooser(std::int32_t& chosenFunction, std::string& chosenFunctionName);

  // Resets the choice (and the caller's ChosenFunction) to -1; returns the list's item
  // texts, the decimal positions "0".."19". They are never shown: an item's position is
  // its catalogue position.
  std::vector<std::string> FormCreate();

  // The number of items, and the function type at a position (-1 outside the list).
  static int ItemCount();
  static std::int32_t TypeAt(int position);
  // What the description pane shows for a position: the display name, a blank line and
  // the type's description. Empty outside the list.
  static std::string Description(int position);

  // The selection moved to `position`: it becomes the choice. False (and nothing
  // changes) for a position outside the list.
  bool Select(int position);

  std::int32_t ChosenType() const { return chosenType_; }
  int ChosenPosition() const { return chosenPosition_; }
  bool HasChoice() const { return chosenType_ >= 0; }

  // OK: hands the choice to the caller (the name only when there is one) and returns
  // the modal result OK.
  int OkClick();
  // Cancel: returns the modal result Cancel; the caller's values stay as they are.
  int CancelClick();

 private:
  std::int32_t& chosenFunction_;
  std::string& chosenFunctionName_;
  std::int32_t chosenType_ = -1;
  int chosenPosition_ = -1;
};

}  // namespace ostrel
