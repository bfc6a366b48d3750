#include "catalogue/HelpTexts.h"

#include <array>
#include <utility>

namespace ostrel {
namespace {

constexpr std::array<std::pair<int, std::string_view>, 32> kHelpTexts = {{
    {0,
     "This is the hotkey definition panel. @You can add hotkeys by selecting the 'Add' button "
     "at the bottom of the Hotkey list. @You can also Change or Delete an existing Hotkey by "
     "first selecting the item you wish from the hotkey list and then selecting the applicable "
     "button. @To have Ostrel start automatically when windows is started check the "
     "'Automatically Start at windows startup' box. @To have Ostrel hide itself from view when "
     "it first starts, check the 'Automatically hide Configuration panel' box. @To not have the "
     "OstrelMenu feature enabled, check the 'Disable OstrelMenu mouse activation' box. @For "
     "additional help select the ? box on any Ostrel panel. @To terminate the Ostrel "
     "application, select 'Terminate' from the OstrelMenu. @"},
    {1,
     "This function invokes the windows explorer to explore a folder. The Windows explorer "
     "will have both, the Folders and the Files panels visible."},
    {2,
     "This function invokes the windows explorer to open a folder. The Windows explorer will "
     "have only, the Files panel visible."},
    {3,
     "This function opens a file using the windows default application associated with the "
     "file. Example: opening a file with a .doc extension would start Word and load the "
     "specified file automatically."},
    {4,
     "This function will start any program that you specify. You can specify the default "
     "directory  and any additional parameters."},
    {5,
     "This function toggles between hiding and showing the currently active window. If you "
     "need to quickly hide the current active window. e.g. a game, then you could set a hotkey "
     "to hide the currently active window. If a window is already hidden then this key makes "
     "it visible again."},
    {6,
     "This function causes the Ostrel configuration window to be displayed so that you can "
     "modify Ostrel options, keys or menus."},
    {7,
     "This function causes the OstrelMenu to appear after which you can select from any of the "
     "available options. This is like clicking on the 'Ostrel' icon on the application task "
     "bar."},
    {8,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then loads the file you wish to browse from your local machine. The correct "
     "specification is 'file://' followed by the local file directory path and file name."},
    {9,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts an FTP session with the location you specify. The correct specification is "
     "'ftp://' followed by the ftp  server address. Example: ftp://ftp.debian.org/debian/"},
    {10,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a gopher session with the location you specify. The correct specification "
     "is 'gopher://' followed by the gopher server address."},
    {11,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then loads the web page at the location you specify. For example, you could bind "
     "http://www.wikipedia.org to a hotkey. Pressing that hotkey would then start your browser "
     "at the Wikipedia home page."},
    {12,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then loads the secure web page at the location you specify. The correct specification "
     "is 'https://' followed by the server address."},
    {13,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a your Internet mail program with address you specify. For example, you "
     "could specify mailto:friend@example.com. Pressing the hotkey would then open a new "
     "message addressed to friend@example.com. You could also specify mailto:new for a new "
     "message."},
    {14,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a your Internet news program with news server address you specify. The "
     "correct specification is 'news:' followed by the news server address."},
    {15,
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a you Internet Telnet program with Telnet server address you specify. The "
     "correct specification is 'telnet:' followed by the telnet server address"},
    {16,
     "This function sends keystrokes directly to the currently active window. You specify the "
     "information that you wish to send, including enter, tab, alt, etc. keys. See the help "
     "file for a complete list of keys that can be sent. Special keys such as enter, tab, up, "
     "down, left, right etc. must be enclosed within braces. E.g. {enter} or {tab}. If you "
     "want to send an alt key then you would specify {@}. Example to send Alt+F you would code "
     "{@}F. If you wanted to pause between keystrokes you can code {pause nn} which pauses nn "
     "tenths of a second."},
    {17,
     "This function creates a menu of sendkey items. You defined each item in the menu and "
     "what keystrokes are assigned to it. When that item is selected from the menu, it's "
     "associated keystrokes are then sent to the current active window. If you assign a "
     "hotkey to this function then when the hotkey is pressed the menu will appear and you can "
     "quickly select the entry you wish. This is good when you want to group items such as "
     "Name, Address, Phone but don't want to assign a hotkey to each of them."},
    {18,
     "This function minimizes all currently active windows. When you have too many windows "
     "open and you want to quickly minimize all open windows you can use this function."},
    {19,
     "This function toggles between hiding and showing the windows desktop. This is good if "
     "you have a cluttered desktop and you wish to hide temporarily while you work"},
    {20,
     "This function disables all active hotkeys. This option is also available from the "
     "OstrelMenu. This is good when you have defined a hotkey that conflicts with an "
     "application defined key. You can re-enabled hotkeys from the OstrelMenu."},
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
    {40,
     "To add a new Sendkey Menu Item select the 'Add' button. Enter the Item name and then the "
     "keyboard data associated with this item. @To delete a Menu item select the item from the "
     "Sendkey Menu Item list and then select the 'Delete' key. @To update or change the "
     "associated keyboard data, select the item you wish to update from the Sendkey Menu Item "
     "list and then change the information in the Keyboard Macro window. Select the 'Ok' button "
     "when finished or select another Sendkey Menu Item.@"},
}};

}  // namespace

std::string_view HelpText(int id) {
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
