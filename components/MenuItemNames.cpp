#include "components/MenuItemNames.h"

namespace ostrel {

std::string MenuItemText(std::string_view caption, std::string_view shortcut) {
  std::string text(caption);
  if (!shortcut.empty()) {
    text += '\t';
    text += shortcut;
  }
  return text;
}

std::u16string SpokenMenuText(std::string_view text, CodePagePort& codePage) {
  std::u16string spoken;
  if (codePage.MultiByteToWideChar(text, spoken)) return spoken;
  spoken.clear();
  const LeadBytes lead = SystemLeadBytes(codePage);
  std::u16string one;
  for (std::size_t at = 0, n = 0; at < text.size(); at += n) {
    n = lead.CharSize(text, at);
    if (codePage.MultiByteToWideChar(text.substr(at, n), one)) spoken += one;
  }
  return spoken;
}

}  // namespace ostrel
