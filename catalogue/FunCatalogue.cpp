#include "catalogue/FunCatalogue.h"

#include "platform/WindowPort.h"

namespace ostrel {

// Columns: type, constant, display name, help text; the editor's target field, its
// label and prefilled scheme, the "..." kind, the parameters and folder; the action,
// its shell verb and show command.
constexpr std::array<FunTypeInfo, kFunTypeCount> kFunTypes = {{
    {ftExploreFolder, "ftExploreFolder", "Explore a Folder",
     "This function invokes the windows explorer to explore a folder. The Windows explorer "
     "will have both, the Folders and the Files panels visible.",
     TargetField::kText, "Folder to explore:", "", BrowseKind::kFolder, false,
     FunAction::kShellExecute, "Explore", kSwShowNormal},
    {ftOpenFolder, "ftOpenFolder", "Open a Folder",
     "This function invokes the windows explorer to open a folder. The Windows explorer will "
     "have only, the Files panel visible.",
     TargetField::kText, "Folder to Open:", "", BrowseKind::kFolder, false,
     FunAction::kShellExecute, "Open", kSwShowNormal},
    {ftOpenFile, "ftOpenFile", "Open a File",
     "This function opens a file using the windows default application associated with the "
     "file. Example: opening a file with a .doc extension would start Word and load the "
     "specified file automatically.",
     TargetField::kText, "File to open:", "", BrowseKind::kFile, false, FunAction::kShellExecute,
     "Open", kSwShowNormal},
    {ftRunProgram, "ftRunProgram", "Run a program",
     "This function will start any program that you specify. You can specify the default "
     "directory  and any additional parameters.",
     TargetField::kText, "Program to run:", "", BrowseKind::kFile, true, FunAction::kRunProgram,
     "open", kSwShowDefault},
    {ftHideShowWindow, "ftHideShowWindow", "Hide/Show Active Window",
     "This function toggles between hiding and showing the currently active window. If you "
     "need to quickly hide the current active window. e.g. a game, then you could set a hotkey "
     "to hide the currently active window. If a window is already hidden then this key makes "
     "it visible again.",
     TargetField::kNone, "", "", BrowseKind::kNone, false, FunAction::kHideShowWindow, nullptr, 0},
    {ftShowConfig, "ftShowConfig", "Show Configuration Panel",
     "This function causes the Ostrel configuration window to be displayed so that you can "
     "modify Ostrel options, keys or menus.",
     TargetField::kNone, "", "", BrowseKind::kNone, false, FunAction::kShowConfiguration, nullptr,
     0},
    {ftShowMenu, "ftShowMenu", "Show OstrelMenu ",
     "This function causes the OstrelMenu to appear after which you can select from any of the "
     "available options. This is like clicking on the 'Ostrel' icon on the application task "
     "bar.",
     TargetField::kNone, "", "", BrowseKind::kNone, false, FunAction::kShowMenu, nullptr, 0},
    {ftBrowseFile, "ftBrowseFile", "Browse a file",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then loads the file you wish to browse from your local machine. The correct "
     "specification is 'file://' followed by the local file directory path and file name.",
     TargetField::kText, "File to browse:", "file://", BrowseKind::kNone, false,
     FunAction::kShellExecute, nullptr, kSwShowDefault},
    {ftBrowseFtp, "ftBrowseFtp", "Browse an ftp site",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts an FTP session with the location you specify. The correct specification is "
     "'ftp://' followed by the ftp  server address. Example: ftp://ftp.debian.org/debian/",
     TargetField::kText, "Ftp site:", "ftp://", BrowseKind::kNone, false, FunAction::kShellExecute,
     nullptr, kSwShowDefault},
    {ftBrowseGopher, "ftBrowseGopher", "Browse a gopher site",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a gopher session with the location you specify. The correct specification "
     "is 'gopher://' followed by the gopher server address.",
     TargetField::kText, "Gopher site:", "gopher://", BrowseKind::kNone, false,
     FunAction::kShellExecute, nullptr, kSwShowDefault},
    {ftBrowseWeb, "ftBrowseWeb", "Browse a website",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then loads the web page at the location you specify. For example, you could bind "
     "http://www.wikipedia.org to a hotkey. Pressing that hotkey would then start your browser "
     "at the Wikipedia home page.",
     TargetField::kText, "Weburl:", "http://", BrowseKind::kNone, false, FunAction::kShellExecute,
     nullptr, kSwShowDefault},
    {ftBrowseSecureWeb, "ftBrowseSecureWeb", "Browse a secure website",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then loads the secure web page at the location you specify. The correct specification "
     "is 'https://' followed by the server address.",
     TargetField::kText, "Weburl:", "https://", BrowseKind::kNone, false, FunAction::kShellExecute,
     nullptr, kSwShowDefault},
    {ftNewMail, "ftNewMail", "Start a new email",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a your Internet mail program with address you specify. For example, you "
     "could specify mailto:friend@example.com. Pressing the hotkey would then open a new "
     "message addressed to friend@example.com. You could also specify mailto:new for a new "
     "message.",
     // "Mail addres:" is the program's own spelling, kept on purpose.
     TargetField::kText, "Mail addres:", "mailto:", BrowseKind::kNone, false,
     FunAction::kShellExecute, nullptr, kSwShowDefault},
    {ftNews, "ftNews", "Start a news session",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a your Internet news program with news server address you specify. The "
     "correct specification is 'news:' followed by the news server address.",
     TargetField::kText, "News site:", "news:", BrowseKind::kNone, false, FunAction::kShellExecute,
     nullptr, kSwShowDefault},
    {ftTelnet, "ftTelnet", "Start a telnet session",
     "This function starts the program associated with the Internet (e.g. your browser). It "
     "then starts a you Internet Telnet program with Telnet server address you specify. The "
     "correct specification is 'telnet:' followed by the telnet server address",
     TargetField::kText, "Telnet site:", "telnet:", BrowseKind::kNone, false,
     FunAction::kShellExecute, nullptr, kSwShowDefault},
    {ftSendKeys, "ftSendKeys", "Send Keys to the active window",
     "This function sends keystrokes directly to the currently active window. You specify the "
     "information that you wish to send, including enter, tab, alt, etc. keys. See the help "
     "file for a complete list of keys that can be sent. Special keys such as enter, tab, up, "
     "down, left, right etc. must be enclosed within braces. E.g. {enter} or {tab}. If you "
     "want to send an alt key then you would specify {@}. Example to send Alt+F you would code "
     "{@}F. If you wanted to pause between keystrokes you can code {pause nn} which pauses nn "
     "tenths of a second.",
     TargetField::kKeystrokes, "Keystrokes to send:", "", BrowseKind::kNone, false,
     FunAction::kSendKeys, nullptr, 0},
    {ftSendKeysMenu, "ftSendKeysMenu", "Sendkeys Menu",
     "This function creates a menu of sendkey items. You defined each item in the menu and "
     "what keystrokes are assigned to it. When that item is selected from the menu, it's "
     "associated keystrokes are then sent to the current active window. If you assign a "
     "hotkey to this function then when the hotkey is pressed the menu will appear and you can "
     "quickly select the entry you wish. This is good when you want to group items such as "
     "Name, Address, Phone but don't want to assign a hotkey to each of them.",
     TargetField::kText, "Sendkey menu item:", "", BrowseKind::kMacroList, false,
     FunAction::kSendKeysMenu, nullptr, 0},
    {ftMinimizeAll, "ftMinimizeAll", "Minimize all",
     "This function minimizes all currently active windows. When you have too many windows "
     "open and you want to quickly minimize all open windows you can use this function.",
     TargetField::kNone, "", "", BrowseKind::kNone, false, FunAction::kMinimizeAll, nullptr, 0},
    {ftHideShowDesktop, "ftHideShowDesktop", "Hide/Show Desktop",
     "This function toggles between hiding and showing the windows desktop. This is good if "
     "you have a cluttered desktop and you wish to hide temporarily while you work",
     TargetField::kNone, "", "", BrowseKind::kNone, false, FunAction::kHideShowDesktop, nullptr, 0},
    {ftDisableHotKeys, "ftDisableHotKeys", "Disable HotKeys",
     "This function disables all active hotkeys. This option is also available from the "
     "OstrelMenu. This is good when you have defined a hotkey that conflicts with an "
     "application defined key. You can re-enabled hotkeys from the OstrelMenu.",
     TargetField::kNone, "", "", BrowseKind::kNone, false, FunAction::kDisableHotKeys, nullptr, 0},
}};

namespace {

// A row that is missing leaves a zero-filled row at the end; a row too many does not
// compile. Either way the type ids must run 1, 2, 3... with the rows.
constexpr bool RowsFollowTheTypes() {
  for (std::size_t i = 0; i < kFunTypes.size(); ++i)
    if (kFunTypes[i].id != static_cast<std::int32_t>(i + 1) || kFunTypes[i].constant.empty() ||
        kFunTypes[i].displayName.empty() || kFunTypes[i].helpText.empty())
      return false;
  return true;
}
static_assert(RowsFollowTheTypes(), "every function type needs its row, in the order of the ids");

// A target needs its label (the editor's check names it), and only a target box has
// a "..." button or a scheme to prefill.
constexpr bool LayoutsHoldTogether() {
  for (const FunTypeInfo& f : kFunTypes) {
    if ((f.target == TargetField::kNone) != f.targetLabel.empty()) return false;
    if (f.target != TargetField::kText && (f.browse != BrowseKind::kNone || !f.prefill.empty()))
      return false;
    if (f.parmsAndDir && f.action != FunAction::kRunProgram) return false;
  }
  return true;
}
static_assert(LayoutsHoldTogether());

constexpr bool ChooserListsEveryTypeOnce() {
  for (std::int32_t id = 1; id <= kFunTypeCount; ++id) {
    int seen = 0;
    for (std::int32_t listed : kChooserOrder) seen += listed == id;
    if (seen != 1) return false;
  }
  return true;
}
static_assert(ChooserListsEveryTypeOnce(), "the chooser lists every function type once");

}  // namespace

const FunTypeInfo* FindFunType(std::int32_t id) {
  if (id < 1 || id > kFunTypeCount) return nullptr;
  return &kFunTypes[static_cast<std::size_t>(id - 1)];
}

std::string FunTypeName(const TKeyRec* rec) {
  if (!rec) return {};
  const FunTypeInfo* info = FindFunType(rec->FunType);
  return info ? std::string(info->displayName) : std::string();
}

bool IsMacroMenu(const TKeyRec& rec) {
  const FunTypeInfo* info = FindFunType(rec.FunType);
  return info && info->action == FunAction::kSendKeysMenu;
}

}  // namespace ostrel
