#include "app/window_placement.h"

#include <gtest/gtest.h>

namespace {

const std::vector<CRect> kOneScreen = {{0, 0, 1920, 1080}};
const std::vector<CRect> kTwoScreens = {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};

TEST(WindowPlacementTest, TextFormsRoundTrip) {
  CRect rect{8, 16, 632, 464};
  EXPECT_EQ(PlacementRectToText(rect), "Left 8, Top 16, Right 632, Bottom 464");
  EXPECT_EQ(PlacementRectFromText(PlacementRectToText(rect)), rect);
  EXPECT_EQ(PlacementPointToText({-8, 30}), "Left -8, Top 30, Right -8, Bottom 30");
  EXPECT_EQ(PlacementPointFromText("Left -8, Top 30, Right -8, Bottom 30"), (CPoint{-8, 30}));
}

TEST(WindowPlacementTest, BadTextsGiveNothing) {
  const char* bad[] = {"",
                       "8,16,632,464",
                       "Left 8, Top 16, Right 632",
                       "Left x, Top 1, Right 2, Bottom 3",
                       "Left 9999999, Top 0, Right 1, Bottom 1",
                       "Top 1, Left 2, Right 3, Bottom 4",
                       "Left -99999999999999999999999, Top 0, Right 1, Bottom 1"};
  for (const char* text : bad) EXPECT_FALSE(PlacementRectFromText(text).has_value()) << text;
}

TEST(WindowPlacementTest, ShowCommandTable) {
  struct Row {
    unsigned in, out;
  };
  const Row rows[] = {{6, 9}, {2, 9}, {3, 3}, {1, 1}, {9, 9}, {0, 0}, {12, 9}, {4000000000u, 9}};
  for (const Row& row : rows) {
    CWindowPlacement placement;
    placement.showCmd = row.in;
    EXPECT_EQ(SanitizePlacement(placement, kOneScreen).showCmd, row.out) << row.in;
  }
}

TEST(WindowPlacementTest, NormalRectangleOffEveryScreenIsReset) {
  struct Row {
    CRect in;
    bool reset;
    const char* guards;
  };
  const Row rows[] = {
      {{100, 100, 900, 700}, false, "on screen"},
      {{2000, 100, 2600, 700}, true, "right of a single screen"},
      {{100, 1200, 900, 1700}, true, "below the screen"},
      {{-900, 100, -100, 700}, true, "left of the screen"},
      {{100, -900, 900, -100}, true, "above the screen"},
      {{1910, 100, 2600, 700}, true, "only a sliver on screen"},
      {{500, 500, 400, 700}, true, "inverted"},
      {{500, 500, 500, 500}, true, "empty"},
  };
  for (const Row& row : rows) {
    CWindowPlacement placement;
    placement.normalPos = row.in;
    CRect out = SanitizePlacement(placement, kOneScreen).normalPos;
    EXPECT_EQ(out == (CRect{8, 16, 632, 464}), row.reset) << row.guards;
  }
  CWindowPlacement placement;
  placement.normalPos = {2000, 100, 2600, 700};
  EXPECT_EQ(SanitizePlacement(placement, kTwoScreens).normalPos, placement.normalPos)
      << "a second screen keeps its window";
  placement.normalPos = {100, 50, 100000, 60000};
  EXPECT_EQ(SanitizePlacement(placement, kOneScreen).normalPos, (CRect{0, 0, 1920, 1080}))
      << "an oversized window is cut to its screen";
}

TEST(WindowPlacementTest, MinAndMaxPositionsOffScreenBecomeOrigin) {
  CWindowPlacement placement;
  placement.minPos = {5000, 10};
  placement.maxPos = {-4, -4};
  CWindowPlacement out = SanitizePlacement(placement, kOneScreen);
  EXPECT_EQ(out.minPos, (CPoint{0, 0}));
  EXPECT_EQ(out.maxPos, (CPoint{0, 0}));
  placement.minPos = {300, 20};
  EXPECT_EQ(SanitizePlacement(placement, kOneScreen).minPos, (CPoint{300, 20}));
}

}  // namespace
