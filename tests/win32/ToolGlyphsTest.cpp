// The configuration window's toolbar buttons carry their glyphs from the program's
// resources, and the three under the tree still fit in their row.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/win32/OstrelForm.h"
#include "toolkit/Application.h"

namespace ostrel {
namespace {

class ToolGlyphsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
    form = std::make_unique<TOstrelForm>();
    tk::Application::Get().SetMainForm(form.get());
    hwnd = form->Handle();
  }
  void TearDown() override {
    form->Controller().SetTerminating(true);
    form.reset();
    tk::Application::Get().SetMainForm(nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // The button's image index and style, found by its command id.
  TBBUTTON Button(int bar, int id) {
    HWND h = GetDlgItem(hwnd, bar);
    TBBUTTON b{};
    LRESULT at = SendMessageA(h, TB_COMMANDTOINDEX, id, 0);
    EXPECT_GE(at, 0) << "no button " << id;
    SendMessageA(h, TB_GETBUTTON, at, reinterpret_cast<LPARAM>(&b));
    return b;
  }
  std::unique_ptr<TOstrelForm> form;
  HWND hwnd = nullptr;
};

TEST_F(ToolGlyphsTest, EveryButtonShowsItsOwnGlyphAndTheHelpButtonOnlyItsGlyph) {
  for (int bar : {idTreeToolbar, idTopToolbar}) {
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(GetDlgItem(hwnd, bar), TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 5);  // the four of ToolGlyphs and HelpGlyph
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
  }
  const struct {
    int bar, id, image;
    bool text;
  } buttons[] = {{idTreeToolbar, idAddButton, 0, true},
                 {idTreeToolbar, idUpdateButton, 1, true},
                 {idTreeToolbar, idDeleteButton, 2, true},
                 {idTopToolbar, idShowMenuButton, 3, true},
                 {idTopToolbar, idHelpButton, 4, false}};
  for (const auto& want : buttons) {
    TBBUTTON b = Button(want.bar, want.id);
    EXPECT_EQ(b.iBitmap, want.image) << "button " << want.id;
    EXPECT_EQ((b.fsStyle & BTNS_SHOWTEXT) != 0, want.text) << "button " << want.id;
  }
}

TEST_F(ToolGlyphsTest, TreeButtonsFitTheirRowAndHelpStaysRightmost) {
  HWND tree = GetDlgItem(hwnd, idTreeToolbar);
  RECT bar;
  GetClientRect(tree, &bar);
  EXPECT_EQ(bar.right, 236);
  RECT last{};
  ASSERT_TRUE(SendMessageA(tree, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&last)));
  EXPECT_LE(last.right, bar.right);
  EXPECT_LE(last.bottom, bar.bottom);

  // The upper toolbar still ends at the right edge of the window.
  HWND top = GetDlgItem(hwnd, idTopToolbar);
  RECT help{}, client{}, topRect{};
  ASSERT_TRUE(SendMessageA(top, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&help)));
  GetClientRect(hwnd, &client);
  GetWindowRect(top, &topRect);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&topRect), 2);
  EXPECT_NEAR(topRect.left + help.right, client.right - 2, 1);
}

}  // namespace
}  // namespace ostrel
