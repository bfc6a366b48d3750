#include "dialogs/FunctionChooser.h"

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"

namespace ostrel {

FunctionChooser::FunctionChooser(std::int32_t& chosenFunction, std::string& chosenFunctionName)
    : chosenFunction_(chosenFunction), chosenFunctionName_(chosenFunctionName) {}

std::vector<std::string> FunctionChooser::FormCreate() {
  chosenType_ = -1;
  chosenPosition_ = -1;
  chosenFunction_ = -1;
  std::vector<std::string> items;
  items.reserve(kChooserOrder.size());
  for (int i = 0; i < ItemCount(); ++i) items.push_back(std::to_string(i));
  return items;
}

int FunctionChooser::ItemCount() { return static_cast<int>(kChooserOrder.size()); }

std::int32_t FunctionChooser::TypeAt(int position) {
  if (position < 0 || position >= ItemCount()) return -1;
  return kChooserOrder[static_cast<std::size_t>(position)];
}

std::string FunctionChooser::Description(int position) {
  const FunTypeInfo* info = FindFunType(TypeAt(position));
  if (!info) return {};
  // The descriptions are shown as they are: "@" is part of the macro text {@} here,
  // not a paragraph mark.
  std::string text(info->displayName);
  text += "\r\n\r\n";
  text += HelpText(info->id);
  return text;
}

bool FunctionChooser::Select(int position) {
  const std::int32_t type = TypeAt(position);
  if (type < 0) return false;
  chosenType_ = type;
  chosenPosition_ = position;
  return true;
}

int FunctionChooser::OkClick() {
  chosenFunction_ = chosenType_;
  if (chosenType_ >= 0) {
    if (const FunTypeInfo* info = FindFunType(TypeAt(chosenPosition_)))
      chosenFunctionName_ = std::string(info->displayName);
  }
  return mrOk;
}

int FunctionChooser::CancelClick() { return mrCancel; }

}  // namespace ostrel
