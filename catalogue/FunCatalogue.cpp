#include "catalogue/FunCatalogue.h"

namespace ostrel {

const std::array<FunTypeInfo, kFunTypeCount> kFunTypes = {{
    {1, "ftExploreFolder", "Explore a Folder", "Folder to explore:", ""},
    {2, "ftOpenFolder", "Open a Folder", "Folder to Open:", ""},
    {3, "ftOpenFile", "Open a File", "File to open:", ""},
    {4, "ftRunProgram", "Run a program", "Program to run:", ""},
    {5, "ftHideShowWindow", "Hide/Show Active Window", "", ""},
    {6, "ftShowConfig", "Show Configuration Panel", "", ""},
    {7, "ftShowMenu", "Show OstrelMenu ", "", ""},
    {8, "ftBrowseFile", "Browse a file", "File to browse:", "file://"},
    {9, "ftBrowseFtp", "Browse an ftp site", "Ftp site:", "ftp://"},
    {10, "ftBrowseGopher", "Browse a gopher site", "Gopher site:", "gopher://"},
    {11, "ftBrowseWeb", "Browse a website", "Weburl:", "http://"},
    {12, "ftBrowseSecureWeb", "Browse a secure website", "Weburl:", "https://"},
    {13, "ftNewMail", "Start a new email", "Mail addres:", "mailto:"},
    {14, "ftNews", "Start a news session", "News site:", "news:"},
    {15, "ftTelnet", "Start a telnet session", "Telnet site:", "telnet:"},
    {16, "ftSendKeys", "Send Keys to the active window", "Keystrokes to send:", ""},
    {17, "ftSendKeysMenu", "Sendkeys Menu", "Sendkey menu item:", ""},
    {18, "ftMinimizeAll", "Minimize all", "", ""},
    {19, "ftHideShowDesktop", "Hide/Show Desktop", "", ""},
    {20, "ftDisableHotKeys", "Disable HotKeys", "", ""},
}};

const FunTypeInfo* FindFunType(std::int32_t id) {
  if (id < 1 || id > kFunTypeCount) return nullptr;
  return &kFunTypes[static_cast<std::size_t>(id - 1)];
}

std::string FunTypeName(const TKeyRec* rec) {
  if (!rec) return {};
  const FunTypeInfo* info = FindFunType(rec->FunType);
  return info ? std::string(info->displayName) : std::string();
}

}  // namespace ostrel
