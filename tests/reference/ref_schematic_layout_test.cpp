#include "reference/ref_schematic_layout.h"

#include <gtest/gtest.h>

#include "linear_test_support.h"
#include "ref_line_edit_support.h"

namespace {

TEST(RefSchematicLayoutTest, TheFeedZoneHasARowPerOfferedFeed) {
  struct Case {
    const char* fault;
    int state0, state1, state2;
    int rows;
  } cases[] = {
      {"feed, its alternative and end closure", 4, 4, 4, 3},
      {"only the feed", 4, 0, 0, 2},
      {"only the end closure", 0, 0, 4, 2},
  };
  for (const Case& c : cases) {
    CRefEditFixture fixture(1, 25);  // 25 A keeps the QYA feed 0 offered
    auto& states = fixture.config.Product(1).states;
    states[0] = c.state0, states[1] = c.state1, states[2] = c.state2;
    EXPECT_EQ(RefZoneRows(fixture.context)[0], c.rows) << c.fault;
  }
}

TEST(RefSchematicLayoutTest, ZonesFollowTheirGroupRules) {
  CRefEditFixture fixture(6, 25);
  fixture.line.group = 3;
  auto& states = fixture.config.Product(6).states;
  states[13] = 4, states[55] = 0;
  std::array<int, 6> rows = RefZoneRows(fixture.context);
  EXPECT_EQ(rows[3], 0);  // a QYX lighting line has no connection zone
  EXPECT_EQ(rows[2], 0);  // no supplementary equipment offered
  EXPECT_EQ(rows[5], 2);
  fixture.line.group = 2;
  rows = RefZoneRows(fixture.context);
  EXPECT_EQ(rows[5], 0);  // luminaire fixing only in lighting
  EXPECT_GE(rows[3], 1);
}

TEST(RefSchematicLayoutTest, ZonesLieInTheCornersOfTheArea) {
  CEnglishTexts texts;
  CRefEditFixture fixture(3, 63);
  const CRefRect client{0, 0, 800, 500};
  const int h = 20, w = 300;
  const CRefSchematicLayout layout = LayOutRefSchematic(fixture.context, client, h, w);
  const CRefRect& feed = layout.zones[0].rect;
  const CRefRect& straight = layout.zones[1].rect;
  const CRefRect& fixing = layout.zones[4].rect;
  EXPECT_EQ(feed.left, h / 2);
  EXPECT_EQ(feed.bottom, 500 - h / 2 - 2 * h - h / 2);
  EXPECT_EQ(straight.right, 800 - h / 2);
  EXPECT_EQ(straight.top, h / 2);
  EXPECT_EQ(fixing.left, h / 2);
  EXPECT_EQ(feed.bottom - feed.top, layout.zones[0].rows * h);
  EXPECT_EQ(layout.pictureTop, straight.top);
  EXPECT_EQ(layout.zones[0].titleMessage, 32012);
  for (const CRefSchematicZone& zone : layout.zones) EXPECT_EQ(zone.rect.Empty(), zone.rows == 0);
}

TEST(RefSchematicLayoutTest, EachProductHasItsPicture) {
  const int cases[][4] = {{0, 1, 0, 31004}, {0, 10, 0, 31060}, {1, 1, 0, 262},   {1, 3, 0, 31057},
                          {1, 1, 1, 31032}, {2, 3, 0, 31063},  {2, 1, 2, 31035}, {3, 1, 0, 31005},
                          {8, 1, 0, 31006}, {7, 1, 0, 31065},  {6, 1, 0, 31059}, {9, 1, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(RefPictureOf(c[0], c[1], c[2]), c[3]) << c[0] << "/" << c[1];
}

const CRefSchematicRow* RowOfCaption(const CRefSchematicLayout& layout, int caption) {
  for (const CRefSchematicZone& zone : layout.zones)
    for (const CRefSchematicRow& row : zone.lines)
      if (row.captionControl == caption) return &row;
  return nullptr;
}

// The caption of a row of the layout, "-" when no row has that caption control.
std::string CaptionOf(const CRefSchematicLayout& layout, int caption) {
  const CRefSchematicRow* row = RowOfCaption(layout, caption);
  return row != nullptr ? row->caption : "-";
}

TEST(RefSchematicLayoutTest, FeedAndComplementRowsFollowProductAndMode) {
  CEnglishTexts texts;
  const CRefRect client{0, 0, 800, 500};
  // QPA's end feed reads as option 0 while the other end's feed is offered.
  CRefEditFixture qpa(4, 630);
  qpa.config.Product(4).states[28] = 2;
  qpa.context.choices[kFamilyFeed] = 0;
  std::string caption = CaptionOf(LayOutRefSchematic(qpa.context, client, 20, 300), kCaptionFeed);
  EXPECT_EQ(caption, DescribeChoice(4, kChoiceFeed, 0, false, false, qpa.context.ChoiceContext()));
  qpa.config.Product(4).states[28] = 0;
  caption = CaptionOf(LayOutRefSchematic(qpa.context, client, 20, 300), kCaptionFeed);
  EXPECT_EQ(caption, DescribeChoice(4, kChoiceFeed, 1, false, false, qpa.context.ChoiceContext()));
  // QYA in special mode 2 with the straight member 4 has no complement row.
  CRefEditFixture qya(1, 25, 2);
  qya.config.Product(1).states[4] = qya.config.Product(1).states[6] = 2;
  qya.context.choices[kFamilyStraight] = 4;
  EXPECT_EQ(CaptionOf(LayOutRefSchematic(qya.context, client, 20, 300), kCaptionComplement), "-");
  qya.config.Product(1).states[3] = 2;
  qya.context.choices[kFamilyStraight] = 3;
  EXPECT_NE(CaptionOf(LayOutRefSchematic(qya.context, client, 20, 300), kCaptionComplement), "-");
}

}  // namespace
