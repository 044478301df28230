// The schematic of lighting lines: the zones a QFP line moves and adds, and the position
// check boxes of the connection rows.
#include <gtest/gtest.h>

#include "linear_test_support.h"
#include "ref_line_edit_support.h"
#include "reference/ref_line_page.h"
#include "reference/ref_schematic_layout.h"

namespace {

constexpr int kConnections = 3, kFixing = 4;
constexpr CRefRect kClient{0, 0, 800, 500};
constexpr int kH = 20, kW = 300;

const CRefSchematicRow* RowOf(const CRefSchematicZone& zone, int caption) {
  for (const CRefSchematicRow& row : zone.lines)
    if (row.captionControl == caption) return &row;
  return nullptr;
}

CRefSchematicLayout QfpLayout(int group, int lineMode) {
  CRefEditFixture fixture(0, 20);
  fixture.line.group = group;
  fixture.line.lineMode = lineMode;
  fixture.line.components[24] = 3;
  fixture.line.components[28] = 2;  // the extra feed counts from line mode 10 on
  fixture.context.choices[kFamilyFixing] = 9;
  return LayOutRefSchematic(fixture.context, kClient, kH, kW);
}

TEST(RefSchematicLuminairesTest, AQfpLightingLineWidensTheFixingAndLiftsTheConnections) {
  CEnglishTexts texts;
  const CRefSchematicLayout plain = QfpLayout(2, 2);
  const CRefSchematicLayout lighting = QfpLayout(3, 2);
  const CRefRect& before = plain.zones[kFixing].rect;
  const CRefRect& after = lighting.zones[kFixing].rect;
  EXPECT_EQ(after.right - after.left, before.right - before.left + kW / 4);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + kH);
  EXPECT_EQ(lighting.zones[kConnections].rect.top,
            plain.zones[kConnections].rect.top - (kH + kH / 2 - 1));
  // The cable range stands under the fixing, for every QFP line.
  EXPECT_NE(RowOf(lighting.zones[kFixing], 1360), nullptr);
  EXPECT_NE(RowOf(plain.zones[kFixing], 1360), nullptr);
  // In line mode 1 the connections keep their place.
  EXPECT_EQ(QfpLayout(3, 1).zones[kConnections].rect.top, plain.zones[kConnections].rect.top);
}

TEST(RefSchematicLuminairesTest, TheLuminaireOptionsBoxShowsFromLineModeTwo) {
  CEnglishTexts texts;
  struct Case {
    int lineMode;
    bool shown;
    const char* total;  // components 24-36 without 28 below mode 10, without 29 outside 11
  } cases[] = {{1, false, ""}, {2, true, "3"}, {10, true, "5"}};
  for (const Case& c : cases) {
    const CRefSchematicLayout layout = QfpLayout(3, c.lineMode);
    EXPECT_EQ(!layout.options.rect.Empty(), c.shown) << c.lineMode;
    if (!c.shown) continue;
    ASSERT_EQ(layout.options.lines.size(), 1u);
    EXPECT_EQ(layout.options.lines[0].caption, c.total) << c.lineMode;
    EXPECT_EQ(layout.options.lines[0].chooseButton, 1267);
    EXPECT_EQ(layout.options.titleMessage, 32211);
    EXPECT_GT(layout.options.rect.top, layout.zones[kConnections].rect.bottom);
  }
}

TEST(RefSchematicLuminairesTest, PositionBoxesStandOnTheFirstTwoConnectionRows) {
  CEnglishTexts texts;
  struct Case {
    const char* fault;
    int entry1, entry2, conductors;
    bool flag;
    int first, second;
  } cases[] = {
      {"both positions set", 5, 6, 1, false, 1476, 1477},
      {"no second position", 5, 0, 1, false, 1476, 0},
      {"no first position", 0, 6, 1, false, 0, 1477},
      {"the spread cannot hold 4+2 conductors", 96, 6, 3, true, 0, 1477},
      {"the spread holds four conductors", 96, 6, 1, true, 1476, 1477},
  };
  for (const Case& c : cases) {
    CRefEditFixture fixture(1, 25);
    fixture.line.group = 3;
    fixture.line.conductors = c.conductors;
    fixture.context.connectionFlag = c.flag;
    auto& states = fixture.config.Product(1).states;
    for (int s = 48; s <= 54; ++s) states[static_cast<std::size_t>(s)] = s <= 50 ? 1 : 0;
    fixture.config.Connection(1) = {-1, c.entry1, c.entry2, 0, 0};
    const CRefSchematicLayout layout = LayOutRefSchematic(fixture.context, kClient, kH, kW);
    const auto& rows = layout.zones[kConnections].lines;
    ASSERT_EQ(rows.size(), 4u) << c.fault;  // the units, then components 48-50
    EXPECT_EQ(rows[1].checkControl, c.first) << c.fault;
    EXPECT_EQ(rows[2].checkControl, c.second) << c.fault;
    EXPECT_EQ(rows[3].checkControl, 0) << c.fault;
  }
}

TEST(RefSchematicLuminairesTest, PositionChecksShowWhetherTheCountSitsOnThePosition) {
  CEnglishTexts texts;
  CRefEditFixture fixture(1, 25);
  fixture.line.group = 3;
  fixture.line.count = fixture.context.count = 6;
  auto& states = fixture.config.Product(1).states;
  states[48] = states[49] = 1;
  fixture.config.Connection(1) = {0, 5, 6, 0, 0};
  fixture.context.DistributeItemSlots(1, true, true);
  const CRefSchematicLayout layout = LayOutRefSchematic(fixture.context, kClient, kH, kW);
  EXPECT_TRUE(fixture.context.Checked(kCheckPosition1));
  EXPECT_TRUE(layout.zones[kConnections].lines[1].checked);  // the rows show it
  EXPECT_FALSE(layout.zones[kConnections].lines[2].checked);
  EXPECT_FALSE(fixture.context.Checked(kCheckPosition2));
  EXPECT_EQ(RefSlotUnitTotal(fixture.line), 6);
  fixture.context.DistributeItemSlots(1, false, true);  // clicked while checked: emptied
  LayOutRefSchematic(fixture.context, kClient, kH, kW);
  EXPECT_FALSE(fixture.context.Checked(kCheckPosition1));
  EXPECT_EQ(RefSlotUnitTotal(fixture.line), 0);
}

TEST(RefSchematicLuminairesTest, WithoutTheFirstPositionTheFirstBoxShowsTheSecond) {
  CEnglishTexts texts;
  CRefEditFixture fixture(1, 25);
  fixture.line.group = 3;
  fixture.line.count = fixture.context.count = 6;
  auto& states = fixture.config.Product(1).states;
  states[48] = 0;  // withdrawn: the first box stands on the row of the second position
  states[49] = states[50] = 1;
  states[51] = states[52] = states[53] = states[54] = 0;
  fixture.config.Connection(1) = {0, 5, 6, 0, 0};
  fixture.context.DistributeItemSlots(1, true, true);  // the first box, clicked
  const CRefSchematicLayout layout = LayOutRefSchematic(fixture.context, kClient, kH, kW);
  const auto& rows = layout.zones[kConnections].lines;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].component, 49);
  EXPECT_EQ(rows[1].checkControl, kCheckPosition1);
  EXPECT_TRUE(rows[1].checked);  // the count sits where the box stands
  EXPECT_EQ(RefSlotUnitTotal(fixture.line), 6);
}

}  // namespace
