#include "components/Menus97.h"

#include <gtest/gtest.h>

#include <string_view>

#include "components/MenuItemNames.h"
#include "fakes/FakeCodePage.h"

namespace ostrel {
namespace {

constexpr Rgb97 kAqua = MakeRgb(0, 255, 255);
constexpr Rgb97 kTeal = MakeRgb(0, 128, 128);

// The 16 bands of a 100-pixel banner are read back from the screen in the Wine ring.
TEST(Menus97Gradient, DegenerateCounts) {
  EXPECT_TRUE(GradientBands(100, 0, kAqua, kTeal).empty());
  EXPECT_TRUE(GradientBands(100, -3, kAqua, kTeal).empty());
  const auto one = GradientBands(100, 1, kAqua, kTeal);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].y0, 0);
  EXPECT_EQ(one[0].y1, 100);
  EXPECT_EQ(one[0].color, kAqua);
  // Rising components and more bands than rows.
  const auto up = GradientBands(3, 5, MakeRgb(0, 0, 0), MakeRgb(255, 10, 100));
  ASSERT_EQ(up.size(), 5u);
  EXPECT_EQ(up.back().color, MakeRgb(255, 10, 100));
  EXPECT_EQ(up.back().y1, 3);
  EXPECT_EQ(MulDiv97(1, 1, 0), -1);
  EXPECT_EQ(MulDiv97(-5, 1, 2), -3);                   // halves away from zero, as the platform's
  EXPECT_EQ(MulDiv97(0x40000000, 8, 16), 0x20000000);  // the product needs 64 bits
  EXPECT_EQ(ScaleUnits(-13, 144), MulDiv97(-13, 144, 96));  // sizes scale with that rounding
  EXPECT_EQ(ScaleUnits(15, 144), 23);
}

TEST(Menus97Banner, TextOriginForTheThreeJustifications) {
  const Rect97 area{0, 0, 20, 100};
  // 40 long, 17 high: x = (20 - 17) / 2 for every justification.
  EXPECT_EQ(BannerTextOrigin(area, 40, 17, bjCenter).x, 1);
  EXPECT_EQ(BannerTextOrigin(area, 40, 17, bjCenter).y, 69);
  EXPECT_EQ(BannerTextOrigin(area, 40, 17, bjTop).y, 41);
  EXPECT_EQ(BannerTextOrigin(area, 40, 17, bjBottom).y, 99);
  // A text higher than the banner is wide rounds towards zero.
  EXPECT_EQ(BannerTextOrigin(area, 41, 23, bjCenter).x, -1);
  EXPECT_EQ(BannerTextOrigin(area, 41, 23, bjCenter).y, 70);
  // At 192 DPI the text keeps two pixels off the banner's ends.
  EXPECT_EQ(BannerTextOrigin(Rect97{0, 0, 40, 200}, 80, 34, bjTop, 192).y, 82);
  EXPECT_EQ(BannerTextOrigin(Rect97{0, 0, 40, 200}, 80, 34, bjBottom, 192).y, 198);
}

TEST(Menus97Measure, SiblingWidthsAndCorrections) {
  // No shortcuts: the widest caption (a submenu counts its arrow) plus the mark.
  EXPECT_EQ(SiblingsWidth({{50, 0, false}, {40, 0, true}}, 20), 80);
  // An only child gets half a mark more.
  EXPECT_EQ(SiblingsWidth({{50, 0, false}}, 20), 80);
  EXPECT_EQ(SiblingsWidth({{50, 0, false}}, 21), 81);
  // A shortcut column lines up beside the widest captioned-with-shortcut sibling.
  EXPECT_EQ(SiblingsWidth({{50, 30, false}, {60, 0, false}}, 20), 50 + 30 + 40);
  // ... unless a caption without one is wider than both together.
  EXPECT_EQ(SiblingsWidth({{10, 5, false}, {100, 0, false}}, 20), 120);
  EXPECT_EQ(BarItemWidth(30, -1, true, 16), 35);
  EXPECT_EQ(BarItemWidth(30, 256, true, 16), 53);
  EXPECT_EQ(BarItemWidth(30, 256, false, 16), 35);
  EXPECT_TRUE(IsBarTag(-1));
  EXPECT_FALSE(IsBarTag(-2));
  EXPECT_FALSE(IsBarTag(255));
  EXPECT_EQ(FinishItemWidth(100, "&Add", 8, false, 20), 92);
  EXPECT_EQ(FinishItemWidth(100, "Add", 8, true, 20), 120);
  EXPECT_EQ(MeasuredItemHeight(20, 15), 20);
  EXPECT_EQ(MeasuredItemHeight(20, 17), 21);
  EXPECT_EQ(MarkSizeFor(16, 16, 17, 17).width, 20);
  EXPECT_EQ(MarkSizeFor(0, 0, 17, 17).height, 21);
  EXPECT_EQ(InitialMarkSize(15, 15, 17, 17).width, 21);
  EXPECT_EQ(InitialMarkSize(24, 24, 17, 17).height, 24);
  // At 192 DPI the gaps are twice theirs; images, marks and text come measured for it.
  EXPECT_EQ(BarItemWidth(60, 256, true, 32, 192), 60 + 10 + 32 + 4);
  EXPECT_EQ(MeasuredItemHeight(40, 34, 192), 42);
  EXPECT_EQ(MarkSizeFor(32, 32, 34, 34, 192).width, 40);
  EXPECT_EQ(MarkSizeFor(0, 0, 34, 34, 192).height, 42);
  EXPECT_EQ(InitialMarkSize(30, 30, 34, 34, 192).width, 42);
}

TEST(Menus97Columns, BreaksFillEachColumnAndKeepTheFixedCommandsTogether) {
  // A digit is an item of that many tens of pixels, "s" a separator of 10.
  const auto breaks = [](std::string_view heights, int columnHeight, std::size_t keep) {
    std::vector<ColumnItem97> items;
    for (char c : heights) items.push_back({c == 's' ? 10 : 10 * (c - '0'), c == 's'});
    return ColumnBreaks(items, columnHeight, keep);
  };
  using B = std::vector<std::size_t>;
  EXPECT_EQ(breaks("2222", 80, 0), B{});          // fits exactly: one column, as always
  EXPECT_EQ(breaks("222222222", 60, 0), (B{3, 6}));
  EXPECT_EQ(breaks("2292", 60, 0), (B{2, 3}));    // an item taller than a column stands alone
  EXPECT_EQ(breaks("22s22", 40, 0), (B{1, 3}));   // no column starts with a separator,
  EXPECT_EQ(breaks("9s2", 90, 0), B{1});          // unless the item above is alone
  EXPECT_EQ(breaks("2222s1111", 100, 4), B{5});   // a separator may end a column
  EXPECT_EQ(breaks("2221111", 70, 0), B{4});
  EXPECT_EQ(breaks("2221111", 70, 4), B{3});      // the last four move together,
  EXPECT_EQ(breaks("2s1111", 30, 4), (B{2, 5}));  // unless they are taller than a column
  EXPECT_EQ(ColumnsAcross(930, 300, 30), 3u);     // three columns of 300 beside 30
  EXPECT_EQ(ColumnsAcross(929, 300, 30), 2u);
  EXPECT_EQ(ColumnsAcross(200, 300, 30), 1u);
}

TMenuItem97 Item(std::uint32_t id, std::string caption, std::uintptr_t menu, bool enabled = true) {
  TMenuItem97 item;
  item.command = id;
  item.caption = std::move(caption);
  item.menu = menu;
  item.enabled = enabled;
  return item;
}

TEST(Menus97Items, Accelerators) {
  TMenuItem97 root;
  root.items.push_back(Item(1, "Tools", 100));
  root.items[0].subMenu = 200;
  root.items[0].items.push_back(Item(2, "&Zoom", 200, false));
  root.items[0].items.push_back(Item(3, "Z&oom", 200));
  root.items[0].items.push_back(Item(4, "Fish && &Chips", 200));
  root.items.push_back(Item(0, "-", 100));
  root.items.push_back(Item(5, "&zebra", 100));
  LinkParents(root);
  EXPECT_EQ(AcceleratorOf("Fish && &Chips"), 'C');
  EXPECT_EQ(AcceleratorOf("Fish && Chips"), 0);
  EXPECT_EQ(AcceleratorOf("Trailing&"), 0);
  // The disabled "&Zoom" is passed over; the search keeps to the menu of the message.
  EXPECT_EQ(FindAccelerator(root, 200, 'o'), 1);
  EXPECT_EQ(FindAccelerator(root, 200, 'Z'), -1);
  EXPECT_EQ(FindAccelerator(root, 200, 'c'), 2);
  EXPECT_EQ(FindAccelerator(root, 100, 'Z'), 2);
  EXPECT_EQ(FindAccelerator(root, 100, 0), -1);
  EXPECT_EQ(FindItem97(root, 4)->caption, "Fish && &Chips");
  EXPECT_EQ(FindItem97(root, 4)->parent, &root.items[0]);
  EXPECT_EQ(FindItem97(root, 0), nullptr);  // separators are not ours to find
}

// A screen reader's name, read through a Japanese code page; a lead byte without its
// trail (a damaged name) is left out and the rest still spoken.
TEST(Menus97Items, SpokenNamesAreReadThroughTheCodePage) {
  testing::FakeCodePage codePage;
  codePage.codePage932 = true;
  codePage.ansi = {{u'\u30DC', "\x83\x7B"}, {u'\u30BF', "\x83\x5E"}};
  EXPECT_EQ(SpokenMenuText(MenuItemText("&\x83\x7B\x83\x5E", "F1"), codePage),
            u"&\u30DC\u30BF\tF1");
  EXPECT_EQ(SpokenMenuText("a\x83\x7B\x83", codePage), u"a\u30DC");
  EXPECT_EQ(SpokenMenuText("x\x83\x31y", codePage), u"x1y");
}

}  // namespace
}  // namespace ostrel
