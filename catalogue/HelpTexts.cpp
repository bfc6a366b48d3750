#include "catalogue/HelpTexts.h"

#include <array>
#include <utility>

#include "catalogue/FunCatalogue.h"

namespace ostrel {
namespace {

constexpr std::array<std::pair<int, std::string_view>, 21> kHelpTexts = {{
    {0,
     "This is the hotkey definition panel. @You can add hotkeys by selecting the 'Add' button "
     "at the bottom of the Hotkey list. @You can also Change or Delete an existing Hotkey by "
     "first selecting the item you wish from the hotkey list and then selecting the applicable "
     "button. @To have Ostrel start automatically when windows is started check the "
     "'Automatically Start at windows startup' box. @To have Ostrel hide itself from view when "
     "it first starts, check the 'Automatically hide Configuration panel' box. @To not have the "
     "OstrelMenu feature enabled, check the 'Disable OstrelMenu mouse activation' box. @With "
     "the 'Paste long text through the clipboard' box checked, a keyboard macro's text of more "
     "than 100 characters between its key words arrives at once through the clipboard, and "
     "whatever you had copied is put back afterwards; uncheck it to have every macro typed key "
     "by key. @With the 'Type macros as keyboard input' box checked, macros are typed as a "
     "keyboard types, which every program takes, consoles included; your own keys wait until "
     "the macro is through, and Esc stops it. Uncheck it to have keys posted to the window "
     "as older versions did. @For "
     "additional help select the ? box on any Ostrel panel. @To terminate the Ostrel "
     "application, select 'Terminate' from the OstrelMenu. @"},
    // The hotkey editor's context help: 30 + the Tag of the control that has the focus.
    {30,
     "Enter a user friendly name (one that makes sense) which is used for no other purpose "
     "other than to identify this Hotkey."},
    {31,
     "This item will appear on the OstrelMenu, If you wish it as a subitem under a main group "
     "then enter a group name here (max of 10 characters ). This is not a required field, you "
     "do not need to enter a group name."},
    {32,
     "This is the actual Keyboard key that you are assigning to this function. If you do not "
     "want a HotKey assigned to this function then you do not have to assign it a one. You can "
     "still use the function from the OstrelMenu."},
    {33,
     "If you wish to combine your HotKey with a special key, like the ctrl, alt or Shift keys "
     "then select the combination that you wish to combine your Hotkey with."},
    {34, "Enter the keystrokes that you wish sent when this function is selected."},
    {35, "Enter the applicable information associated with the function you have selected."},
    {36, "This button helps you locate the folder or file you wish to assign this function."},
    {37, "Enter any additional parameters that you wish sent to this program."},
    {38,
     "Enter the working directory that you wish associated with this program. The directory "
     "where this program will load and save files from. Example: If all of your Word document "
     "are in a particular directory then if you are invoking Word you may want this to be your "
     "working directory."},
    {39, "This button helps you select the working directory name."},
    {43,
     "Check this box to switch the HotKey off without losing it: Ostrel does not hold the key, "
     "so other programs may use it, and the function still runs from the OstrelMenu. Uncheck "
     "it to switch the HotKey on again."},
    {44,
     "Choose where the HotKey works. All: in every program. Only in: only while one of the "
     "programs named beside it is in front. All but: in every program except those named. "
     "Where the HotKey does not work, the key goes on to the program in front as if Ostrel "
     "did not hold it, so several definitions may share one HotKey for different programs."},
    {45,
     "Enter the programs by their file names, separated by \";\" (for example "
     "notepad.exe;wordpad.exe). Case does not matter and \".exe\" may be left out."},
    {46,
     "This button lists the programs that have windows open now. Choose one to add it to the "
     "programs."},
    {48,
     "Choose what a press does while the program already runs: start another copy, bring its "
     "window forward (restored if minimised), or bring it forward and minimise it when it is "
     "in front already. A file is brought forward when its program shows its name."},
    {49,
     "Choose how the program's window opens: as usual, normal, minimised or maximised. %NAME% "
     "in the target, parameters and directory is taken from the environment, e.g. "
     "%SystemRoot%\\notepad.exe."},
    {50,
     "Check this to start the program as administrator; Windows asks you first. Declining "
     "does nothing more."},
    {53,
     "Type a few characters (up to 40, no blanks, e.g. ;addr) that run this function when you "
     "type them in any program and end the word with a blank, Enter, Tab or a mark such as . "
     "or ,. They are erased first; a keyboard macro types its text in their case (;Addr gives "
     "an initial capital, ;ADDR capitals), then the mark that ended the word."},
    {54,
     "Check this to run the function as soon as the abbreviation's last character is typed, "
     "without waiting for the end of the word."},
    {40,
     "To add a new Sendkey Menu Item select the 'Add' button. Enter the Item name and then the "
     "keyboard data associated with this item. @To delete a Menu item select the item from the "
     "Sendkey Menu Item list and then select the 'Delete' key. @To update or change the "
     "associated keyboard data, select the item you wish to update from the Sendkey Menu Item "
     "list and then change the information in the Keyboard Macro window. Select the 'Ok' button "
     "when finished or select another Sendkey Menu Item.@"},
}};
// The function types' numbers are their ids: they must stay below the editor's.
static_assert(kFunTypeCount < 30);

}  // namespace

std::string_view HelpText(int id) {
  // A function type's text lives in its catalogue row.
  if (const FunTypeInfo* type = FindFunType(id)) return type->helpText;
  for (const auto& [number, text] : kHelpTexts)
    if (number == id) return text;
  return {};
}

std::string ExpandParagraphs(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  for (char c : text) {
    if (c == '@')
      out += "\r\n\r\n";
    else
      out += c;
  }
  return out;
}

}  // namespace ostrel
