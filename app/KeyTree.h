// The two views of the definitions that every change rebuilds from KeysList: the tree
// of the configuration window and the OstrelMenu. Both group definitions by their
// trimmed group name, one group node or submenu per run of equal names (compared
// exactly, while the list itself is sorted ignoring case).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/KeysList.h"
#include "platform/CodePagePort.h"

namespace ostrel {

// Images of the tree's image list (IMAGELIST1), shared by the tree and the menu.
inline constexpr int kImageGroup = 0;
inline constexpr int kImageDefinition = 1;  // also "HotKeys On"
inline constexpr int kImageShow = 2;
inline constexpr int kImageTerminate = 3;
inline constexpr int kImageHotKeysOff = 4;
inline constexpr int kImageHideMenu = 5;
inline constexpr int kNoImage = -2;

struct TreeNode {
  std::string text;
  int imageIndex = kImageGroup;
  int selectedIndex = kImageGroup;
  int parent = -1;         // index of the group node; -1 for a root node
  PKeyRec data = nullptr;  // the definition of a definition node; none for a group
};

// What choosing a menu item does. The item carries it, so a definition named like one
// of the fixed commands is still a different item from that command.
enum class MenuCommand {
  kNone,        // a group's submenu, a separator, the macro menu's "Quit": only closes
  kDefinition,  // runs the item's definition
  kHideMenu,
  kHotKeysSwitch,
  kShow,
  kTerminate,
  kMacro,  // the macro menu: types the macro of its own line
};

// A chosen item, as the view hands it back.
struct MenuChoice {
  MenuCommand command = MenuCommand::kNone;
  PKeyRec definition = nullptr;  // of kDefinition
  // Of kMacro: the position of its line in the list the menu was built from, and which
  // of the lists loaded one after another that was.
  std::size_t line = 0;
  std::uint32_t list = 0;
};

// A menu item; its tag is the image index the menu draws beside it.
struct MenuItem {
  std::string caption;
  int tag = kNoImage;
  MenuChoice choice;
  std::vector<MenuItem> items;  // a group's submenu
  bool separator = false;       // a line: drawn, never chosen
};

// An item that does `command`; a caption "-" makes a separator line instead, as the
// menus have always shown a definition or macro of that name.
MenuItem CommandItem(std::string caption, int tag, MenuChoice choice);

inline constexpr const char* kHotKeysOffCaption = "HotKeys Off";
inline constexpr const char* kHotKeysOnCaption = "HotKeys On";

// A definition's node: its name, then in brackets its abbreviation, the programs its
// hotkey is for and "off" for a hotkey switched off ("Signature (;sig, notepad.exe;
// wordpad.exe, off)"); the name alone for a definition global and on with no
// abbreviation. The abbreviation is shown in `codePage` (ASCII only without one). The
// OstrelMenu shows the name alone, and runs a switched-off definition as any other.
std::string TreeText(const std::string& name, const Conditions& c,
                     CodePagePort* codePage = nullptr);

// Nodes in display order: a group node is followed by its definition nodes.
std::vector<TreeNode> BuildTree(const KeysList& keys, CodePagePort* codePage = nullptr);

// The OstrelMenu: definitions shown on the menu, then the separator, "Hide Menu", the
// hotkey switch (reading "HotKeys Off"), "Show..." and "Terminate".
std::vector<MenuItem> BuildMenu(const KeysList& keys);
// The top-level item that does `command`; none when the menu has no such item.
MenuItem* FindCommandItem(std::vector<MenuItem>& menu, MenuCommand command);

}  // namespace ostrel
