#include "app/owner_draw_rules.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/case_table.h"

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

// Picture options as a case table names them.
int PictureOptions(const std::string& names) {
  if (names == "default") return kPictureDefaultOptions;
  int options = 0;
  std::istringstream words(names);
  for (std::string name; std::getline(words, name, '|');) {
    options |= name == "centre-x"       ? kPictureCenterHorizontally
               : name == "right"        ? kPictureAlignRight
               : name == "centre-y"     ? kPictureCenterVertically
               : name == "bottom"       ? kPictureAlignBottom
               : name == "always-scale" ? kPictureAlwaysScale
                                        : 0;
  }
  return options;
}

TEST(OwnerDrawRulesTest, PicturesArePlacedByTheirOptions) {
  for (const CCaseRow& row : ReadCaseTable("app/place_picture.tsv", 10)) {
    SCOPED_TRACE(row.where + " " + row[9]);
    const auto at = [&row](std::size_t column) { return static_cast<int>(row.Int(column)); };
    EXPECT_EQ(PlacePicture(at(0), at(1), at(2), at(3), PictureOptions(row[4])),
              (CRect{at(5), at(6), at(7), at(8)}));
  }
}

TEST(OwnerDrawRulesTest, BitmapListItemsAreAsHighAsTheTextOrTheFirstBitmap) {
  EXPECT_EQ(BitmapListItemHeight(13, 32), 32);
  EXPECT_EQ(BitmapListItemHeight(13, 8), 13);
  EXPECT_EQ(BitmapListItemHeight(13, std::nullopt), 13);
}

}  // namespace
