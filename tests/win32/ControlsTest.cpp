// The toolkit's controls where the windows use them: the teal information pane of every
// dialog, whose brush goes with the dialog, the typed calls' "nothing" (-1, null), and
// the drawing objects' owners letting go in the right order.
// (The configuration window's pane is checked with that window's tests.)
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/win32/KeyEditorWindow.h"
#include "dialogs/win32/FunctionChooserWindow.h"
#include "macro/win32/MacroListEditorWindow.h"
#include "platform/Paths.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Ports.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"
#include "win32/WindowInspection.h"

namespace ostrel {
namespace {

using namespace testing;

TEST(InfoPane, EveryDialogPaintsItsPaneTealWithABrushThatGoesWithTheDialog) {
  tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
  std::vector<HBRUSH> brushes;
  auto check = [&](const char* name, HWND form, int paneId, int labelId) {
    SCOPED_TRACE(name);
    const ChildColours pane = AskColours(form, GetDlgItem(form, paneId));
    ExpectInfoPaneColours(pane);
    // A label beside it keeps the system's colours.
    const ChildColours label = AskColours(form, GetDlgItem(form, labelId));
    EXPECT_NE(label.brush, pane.brush);
    EXPECT_NE(label.back, kInfoPaneTeal);
    brushes.push_back(pane.brush);
  };
  {
    Win32FileSystem files;
    KeyEditorWindow keyEditor(nullptr, files, FolderOf(Win32System().ModuleFileName()));
    check("key editor", keyEditor.Handle(), idKdInfo, idKdNameLabel);
    std::int32_t chosen = -1;
    std::string chosenName;
    FunctionChooserWindow chooser(nullptr, chosen, chosenName);
    check("chooser", chooser.Handle(), idChooserDescription, idChooserListLabel);
    MacroListEditorWindow macroList(nullptr, files);
    check("macro list editor", macroList.Handle(), idMacroListHelpText, idMacroListLabel);
    ASSERT_EQ(brushes.size(), 3u);
    for (HBRUSH b : brushes) EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BRUSH));
  }
  for (HBRUSH b : brushes) EXPECT_EQ(GetObjectType(b), 0u) << "a pane's brush outlived its window";
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(Controls, NothingSelectedIsMinusOneOrNullAndTreeItemsKeepTheirData) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  HWND parent = CreateWindowExA(0, "STATIC", "controls", WS_OVERLAPPED, 0, 0, 200, 200, nullptr,
                                nullptr, inst, nullptr);
  auto child = [&](const char* cls, DWORD style) {
    return CreateWindowExA(0, cls, "", WS_CHILD | style, 0, 0, 150, 150, parent, nullptr, inst,
                           nullptr);
  };
  const tk::ComboBox combo(child("COMBOBOX", CBS_DROPDOWNLIST));
  const tk::ListBox list(child("LISTBOX", 0));
  const tk::TreeView tree(child(WC_TREEVIEWA, 0));

  EXPECT_EQ(combo.SelectedIndex(), -1);
  EXPECT_EQ(combo.AddString("one"), 0);
  combo.SetSelection(0);
  EXPECT_EQ(combo.Text(), "one");
  combo.SetSelection(-1);
  EXPECT_EQ(combo.SelectedIndex(), -1);
  EXPECT_EQ(combo.Text(), "");

  list.AddString("a");
  list.AddString("b");
  list.SetSelection(1);
  EXPECT_EQ(list.SelectedIndex(), 1);
  list.Clear();
  EXPECT_EQ(list.SelectedIndex(), -1);

  EXPECT_EQ(tree.Selected(), nullptr);
  HTREEITEM group = tree.InsertItem(TVI_ROOT, "group", 0, 0, 10);
  HTREEITEM item = tree.InsertItem(group, "item", 1, 2, 11);
  tree.Select(item);
  EXPECT_EQ(tree.Selected(), item);
  EXPECT_EQ(tree.ItemData(item).value_or(-1), 11);
  EXPECT_EQ(tree.ItemData(group).value_or(-1), 10);
  tree.DeleteItem(group);  // with its children
  EXPECT_EQ(tree.Selected(), nullptr);
  DestroyWindow(parent);
}

// A bitmap is out of its context, and a font out of a context that lives on, once their
// owners go: freeing them then frees them. A region a window refuses is freed, not lost.
TEST(GdiOwners, SelectionsLetGoBeforeTheFreeAndARefusedRegionIsFreed) {
  const tk::WindowDc screen;
  const tk::MemoryDc lasting(CreateCompatibleDC(screen.get()));
  HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), 4, 4);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
  {
    const tk::BitmapDc held(screen.get(), bitmap);
    const tk::Selection selected(lasting.get(), font);
    EXPECT_EQ(GetCurrentObject(held.get(), OBJ_BITMAP), bitmap);
    EXPECT_EQ(GetCurrentObject(lasting.get(), OBJ_FONT), font);
  }
  EXPECT_NE(GetCurrentObject(lasting.get(), OBJ_FONT), font);
  DeleteObject(bitmap);
  DeleteObject(font);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  EXPECT_EQ(GetObjectType(font), 0u);

  HRGN refused = CreateRectRgn(0, 0, 10, 10);
  EXPECT_FALSE(tk::SetWindowRegion(nullptr, tk::Region(refused), false));
  EXPECT_EQ(GetObjectType(refused), 0u);
}

}  // namespace
}  // namespace ostrel
