#include <gtest/gtest.h>

#include "ref_line_edit_support.h"

namespace {

constexpr std::int32_t kP54 = 54 << 16;

struct SpreadCase {
  const char* name;
  int connection, conductors, count;
  std::array<std::int32_t, 4> slots;
};

class RefEvenSpreadTest : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(RefEvenSpreadTest, ModeFiveSpreadsByTheConnectionCode) {
  const SpreadCase& c = GetParam();
  CRefEditFixture fixture(1, 25);
  fixture.line.connection = c.connection;
  fixture.line.conductors = c.conductors;
  fixture.line.slots[150] = 9;
  fixture.context.count = c.count;
  fixture.context.DistributeItemSlots(5, true, true);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(fixture.line.slots[i], c.slots[i]) << i;
  EXPECT_EQ(fixture.line.slots[150], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefEvenSpreadTest,
    ::testing::Values(SpreadCase{"ThreeWays", 2, 1, 7, {3 + kP54, 2 + kP54, 2 + kP54, 0}},
                      SpreadCase{"TwoThirdsAndOneThird", 0, 2, 7, {5 + kP54, 0, 2 + kP54, 0}},
                      SpreadCase{"AllOnOne", 0, 1, 7, {7 + kP54, 0, 0, 0}},
                      SpreadCase{"TwoWays", 1, 1, 7, {4 + kP54, 0, 3 + kP54, 0}},
                      SpreadCase{"LastSlot", 3, 1, 7, {0, 0, 0, 7 + kP54}},
                      SpreadCase{"Nowhere", 4, 1, 7, {0, 0, 0, 0}},
                      SpreadCase{"CappedCounts", 0, 1, 20000, {9999 + kP54, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RefItemSlotTest, AConnectionCodeOutsideTheTableChangesNothing) {
  CRefEditFixture fixture(1, 25);
  fixture.line.connection = 5;
  fixture.line.slots[0] = 3;
  fixture.context.count = 7;
  fixture.context.DistributeItemSlots(5, true, true);
  EXPECT_EQ(fixture.line.slots[0], 3);
}

TEST(RefItemSlotTest, APositionTakesTheWholeCountAndItsProtection) {
  CRefEditFixture fixture(1, 25);
  CRefConfig::Record& record = fixture.config.Connection(1);
  record = {0, 12 | (3 << 16), 20 | (4 << 16), 0, 0};
  fixture.line.group = 3;
  fixture.line.slots[5] = 1;
  fixture.context.count = 7;
  fixture.context.DistributeItemSlots(1, true, true);  // state 48 of QYA is 1: position 1
  EXPECT_EQ(fixture.line.slots[12], 7 | (3 << 16));
  EXPECT_EQ(fixture.line.slots[5], 0);
  EXPECT_TRUE(fixture.context.Checked(kCheckPosition1));
  EXPECT_FALSE(fixture.context.Checked(kCheckPosition2));
  EXPECT_EQ(record[0], 1);
  EXPECT_EQ(fixture.context.texts[kStaticDistribution], "7 / 7");
  fixture.context.DistributeItemSlots(2, true, true);
  EXPECT_EQ(fixture.line.slots[20], 7 | (4 << 16));
  EXPECT_EQ(fixture.line.slots[12], 0);
  EXPECT_TRUE(fixture.context.Checked(kCheckPosition2));
  EXPECT_EQ(record[0], 2);
}

TEST(RefItemSlotTest, ClickingACheckedBoxEmptiesTheSlotsButKeepsAChoiceOf222) {
  for (int chosen : {1, 222}) {
    CRefEditFixture fixture(1, 25);
    CRefConfig::Record& record = fixture.config.Connection(1);
    record = {chosen, 12, 20, 0, 0};
    fixture.line.slots[12] = 7;
    fixture.context.count = 7;
    fixture.context.checks[kCheckPosition1] = true;
    fixture.context.DistributeItemSlots(1, false, true);
    EXPECT_EQ(fixture.line.slots, (std::array<std::int32_t, CRefLine::kSlotCount>{}));
    EXPECT_FALSE(fixture.context.Checked(kCheckPosition1));
    EXPECT_FALSE(fixture.context.Checked(kCheckPosition2));
    EXPECT_EQ(record[0], chosen == 222 ? 222 : 0);
  }
}

TEST(RefItemSlotTest, TheThreePhaseSlotsShareTheCount) {
  CRefEditFixture fixture(1, 25);
  fixture.config.Connection(1) = {0, 96 | (5 << 16), 0, 0, 0};
  fixture.context.connectionFlag = true;
  fixture.context.count = 7;
  fixture.context.DistributeItemSlots(1, true, true);
  EXPECT_EQ(fixture.line.slots[96], 3 | (5 << 16));
  EXPECT_EQ(fixture.line.slots[97], 2 | (5 << 16));
  EXPECT_EQ(fixture.line.slots[98], 2 | (5 << 16));
  fixture.line.conductors = 3;
  fixture.config.Connection(1)[0] = 9;
  fixture.context.DistributeItemSlots(1, true, true);
  EXPECT_EQ(fixture.line.slots, (std::array<std::int32_t, CRefLine::kSlotCount>{}));
  EXPECT_EQ(fixture.config.Connection(1)[0], 9);  // the operation ended before the record
}

TEST(RefItemSlotTest, ASlotNumberBeyondTheLineWritesNothing) {
  CRefEditFixture fixture(1, 25);
  fixture.config.Connection(1) = {0, 300, 0, 0, 0};
  fixture.line.group = 2;
  fixture.context.count = 1500;
  fixture.context.DistributeItemSlots(1, true, true);
  EXPECT_EQ(fixture.line.slots, (std::array<std::int32_t, CRefLine::kSlotCount>{}));
  EXPECT_EQ(fixture.context.texts[kStaticDistribution], "0");
}

TEST(RefItemSlotTest, TheCountsPutTheLineOnItsChosenPosition) {
  CRefEditFixture fixture(3, 63);
  fixture.config.Connection(3) = {222, 12, 20, 0, 0};
  fixture.line.group = 3;
  fixture.context.count = 1200;
  fixture.context.choices = {0, 3, 6, 9, 13};
  fixture.context.ComputeComponentCounts(0);
  EXPECT_EQ(fixture.line.slots[20], 1200);
  EXPECT_EQ(fixture.context.texts[kStaticDistribution], "1200/1200");
  EXPECT_EQ(fixture.config.Connection(3)[0], 222);
}

TEST(RefItemSlotTest, QfpSectionsTallyIntoTheirPositions) {
  CRefEditFixture fixture(0, 20);
  fixture.config.QfpPositions() = {10, 11, 12, 13, 14, 15, 16, 17, -1};
  fixture.config.Connection(0) = {0, 0, 40 | (7 << 16), 0, 0};
  CRefLine& line = fixture.line;
  line.lineMode = 10;
  auto section = [](int count, int position, int w) {
    CRefLineSection s;
    s.values[2] = count, s.values[3] = position, s.values[4] = w;
    return s;
  };
  line.sections = {section(2, 1, 1), section(3, 3, 2), section(4, 1, 2),
                   section(5, 5, 2), section(6, 6, 1), section(1, 1, 1)};
  fixture.context.TallyItemSlots();
  EXPECT_EQ(line.slots[10], 3);  // positions 1 of w = 1
  EXPECT_EQ(line.slots[16], 3);  // entry 3 + 3
  EXPECT_EQ(line.slots[40], 4);  // the connection record's slot
  int total = 0;
  for (std::int32_t slot : line.slots) total += slot;
  EXPECT_EQ(total, 10);  // entry 8 is negative, position 6 is outside 1-5
  line.lineMode = 2;
  fixture.context.count = 9;
  fixture.context.TallyItemSlots();
  EXPECT_EQ(line.slots[10], 9);
  fixture.config.QfpPositions()[0] = -1;
  fixture.context.TallyItemSlots();
  EXPECT_EQ(line.slots[40], 9);
}

TEST(RefItemSlotTest, DistributionChecksAreTriedWithoutChangingTheLine) {
  CRefEditFixture fixture(1, 25);
  fixture.config.Connection(1) = {0, 12, 20, 0, 0};
  fixture.context.count = 7;
  fixture.line.slots[20] = 7;
  fixture.context.texts[kStaticDistribution] = "shown";
  fixture.context.UpdateDistributionChecks();
  EXPECT_FALSE(fixture.context.Checked(kCheckPosition1));
  EXPECT_TRUE(fixture.context.Checked(kCheckPosition2));
  EXPECT_EQ(fixture.line.slots[20], 7);
  EXPECT_EQ(fixture.context.texts[kStaticDistribution], "shown");
}

}  // namespace

namespace {

TEST(RefItemSlotTest, TheLightingFixingCodeSteersTheNextCount) {
  CRefEditFixture qyx(6, 25);
  qyx.line.length = 7;
  qyx.line.components[17] = 9;
  qyx.context.choices = {0, 3, 6, 10, 13};
  qyx.context.lightingFixingCode = 5;
  qyx.context.ComputeComponentCounts(0);
  EXPECT_EQ(qyx.line.components[16], 4);  // 2 elements x 2 + 0 complements
  EXPECT_EQ(qyx.line.components[17], 9);
  EXPECT_EQ(qyx.line.components[18], 4);
  CRefEditFixture qya(1, 25);
  qya.line.length = 12;
  qya.context.count = 6;
  qya.context.choices = {0, 3, 6, 9, 13};
  qya.context.lightingFixingCode = 30 | (2 << 16);
  qya.context.ComputeComponentCounts(0);
  EXPECT_EQ(qya.line.slots[30], 6 | (2 << 16));
}

}  // namespace
