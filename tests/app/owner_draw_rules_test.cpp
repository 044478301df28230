#include "app/owner_draw_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(OwnerDrawRulesTest, TreeImagesZeroAndOneToggleWithTheItemsState) {
  struct Case {
    int image;
    bool children;
    bool expanded;
    bool buttons;
    int shown;
    const char* guards;
  };
  const Case cases[] = {
      {0, true, false, true, 0, "collapsed parent"},
      {1, true, true, true, 1, "expanded parent"},
      {0, true, true, false, 1, "expanded parent, whatever its own index"},
      {1, true, false, false, 0, "collapsed parent, whatever its own index"},
      {1, false, false, true, 0, "leaf with buttons"},
      {0, false, false, false, 2, "leaf without buttons"},
      {2, true, true, true, 2, "other indexes are kept"},
      {7, false, false, false, 7, "other indexes are kept"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TreeItemImage(c.image, c.children, c.expanded, c.buttons), c.shown) << c.guards;
}

TEST(OwnerDrawRulesTest, TheImageAreaIsSixteenPixelsNineteenLeftOfTheText) {
  EXPECT_FALSE(IsOnTreeImage(80, 100));
  EXPECT_TRUE(IsOnTreeImage(81, 100));
  EXPECT_TRUE(IsOnTreeImage(96, 100));
  EXPECT_FALSE(IsOnTreeImage(97, 100));
}

TEST(OwnerDrawRulesTest, ExpandBoxesShowAPlusOnlyWhenCollapsed) {
  CTreeExpandBox collapsed = TreeExpandBox(20, 30, true);
  EXPECT_EQ(collapsed.frame, (CRect{16, 26, 25, 35}));
  EXPECT_EQ(collapsed.bar, (CRect{18, 30, 23, 31}));
  ASSERT_TRUE(collapsed.upright);
  EXPECT_EQ(*collapsed.upright, (CRect{20, 28, 21, 33}));
  EXPECT_FALSE(TreeExpandBox(20, 30, false).upright);
  EXPECT_EQ(TreeConnectorEnd(40, 19), 29);
}

TEST(OwnerDrawRulesTest, TabFillFollowsTheTabsState) {
  const CRect tab{10, 0, 90, 20};
  EXPECT_EQ(TabFillRect(tab, true, false), (CRect{12, 3, 89, 21}));
  EXPECT_EQ(TabFillRect(tab, true, true), (CRect{12, 3, 89, 21})) << "pressed wins";
  EXPECT_EQ(TabFillRect(tab, false, true), (CRect{10, 1, 90, 23}));
  EXPECT_EQ(TabFillRect(tab, false, false), (CRect{10, 3, 90, 23}));
  EXPECT_EQ(TabTextShift(true), -1);
  EXPECT_EQ(TabTextShift(false), 2);
}

TEST(OwnerDrawRulesTest, PicturesArePlacedByTheirOptions) {
  struct Case {
    int width, height, clientWidth, clientHeight, options;
    CRect placed;
    const char* guards;
  };
  const Case cases[] = {
      {40, 20, 200, 100, kPictureDefaultOptions, {80, 40, 120, 60}, "smaller: own size, centred"},
      {40, 20, 200, 100, 0, {0, 0, 40, 20}, "top left"},
      {40,
       20,
       200,
       100,
       kPictureAlignRight | kPictureAlignBottom,
       {160, 80, 200, 100},
       "bottom right"},
      {40,
       20,
       200,
       100,
       kPictureAlignRight | kPictureCenterHorizontally,
       {160, 0, 200, 20},
       "right before centre"},
      {400,
       100,
       200,
       100,
       kPictureDefaultOptions,
       {0, 25, 200, 75},
       "wider: scaled to the width, height in proportion"},
      {100,
       400,
       200,
       100,
       kPictureDefaultOptions,
       {87, 0, 112, 100},
       "too high after scaling: scaled to the height"},
      {40, 20, 200, 100, kPictureAlwaysScale, {0, 0, 200, 100}, "always scaled"},
      {0, 20, 200, 100, kPictureDefaultOptions, {0, 0, 0, 0}, "no picture"},
      {40, 20, 0, 0, kPictureDefaultOptions, {0, 0, 0, 0}, "no room"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlacePicture(c.width, c.height, c.clientWidth, c.clientHeight, c.options), c.placed)
        << c.guards;
}

TEST(OwnerDrawRulesTest, BitmapListItemsAreAsHighAsTheTextOrTheFirstBitmap) {
  EXPECT_EQ(BitmapListItemHeight(13, 32), 32);
  EXPECT_EQ(BitmapListItemHeight(13, 8), 13);
  EXPECT_EQ(BitmapListItemHeight(13, std::nullopt), 13);
}

}  // namespace
