#include <gtest/gtest.h>

#include "linear_test_support.h"
#include "ref_line_edit_support.h"

namespace {

struct ReductionCase {
  const char* name;
  int kind, special, rating, connection;
  std::vector<int> withdrawn;
  std::vector<int> kept;
};

class RefChoiceReductionTest : public ::testing::TestWithParam<ReductionCase> {};

TEST_P(RefChoiceReductionTest, TheLineWithdrawsComponents) {
  const ReductionCase& c = GetParam();
  CRefEditFixture fixture(c.kind, c.rating, c.special);
  fixture.config.Product(c.kind).states[44] = 2;
  fixture.line.connection = c.connection;
  const std::vector<int> table = fixture.context.GetChoiceTable(1);
  ASSERT_EQ(table.size(), 56u);
  for (int component : c.withdrawn) EXPECT_EQ(table[component], 0) << component;
  for (int component : c.kept) EXPECT_NE(table[component], 0) << component;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefChoiceReductionTest,
    ::testing::Values(ReductionCase{"QpaAt400", 4, 0, 400, 0, {28, 29}, {30, 31, 44, 1}},
                      ReductionCase{"QpaAt630", 4, 0, 630, 0, {29, 30, 31, 44}, {28, 8}},
                      ReductionCase{"QpaAt1000", 4, 0, 1000, 0, {8, 29, 30, 31, 44}, {28}},
                      ReductionCase{"QpcBelow400", 8, 0, 250, 0, {1, 28}, {0, 30}},
                      ReductionCase{"QyaAt40", 1, 0, 40, 0, {0, 3}, {4, 5, 8, 39, 40}},
                      ReductionCase{"QyaAt25WithConnection1", 1, 0, 25, 1, {0, 3, 5, 8}, {4, 6}},
                      ReductionCase{"QyaConnection7KeepsFive", 1, 0, 25, 7, {8}, {5}},
                      ReductionCase{"QdaAt160", 3, 0, 160, 0, {5, 23, 26}, {3, 4}},
                      ReductionCase{"QdaConnection2", 3, 0, 63, 2, {5, 23}, {26}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RefChoiceTableTest, TheReductionMovesChoicesAndClearsCounts) {
  CRefEditFixture fixture(4, 400);
  fixture.context.choices = {28, 3, 6, 44, 13};
  fixture.config.Product(4).states[44] = 2;
  fixture.line.components[8] = 1;
  fixture.context.GetChoiceTable(1);
  EXPECT_EQ(fixture.context.choices[kFamilyFeed], 0);  // 29 is withdrawn too
  EXPECT_EQ(fixture.context.choices[kFamilyFixing], 44);
  fixture.line.rating = 1000;
  const std::vector<int> table = fixture.context.GetChoiceTable(1);
  EXPECT_EQ(fixture.context.choices[kFamilyFixing], 9);
  EXPECT_EQ(fixture.line.components[8], 0);
  EXPECT_EQ(table[37], 2);  // fixing 9 keeps 37 and 38 as offered
  CRefEditFixture qda(3, 160);
  qda.context.choices = {0, 5, 6, 9, 13};
  qda.line.components[23] = 4;
  qda.context.GetChoiceTable(1);
  EXPECT_EQ(qda.context.choices[kFamilyStraight], 3);
  EXPECT_EQ(qda.line.components[23], 0);
}

TEST(RefChoiceTableTest, ModesAndTheLineModeChangeTheTable) {
  CRefEditFixture special3(1, 25, 3);
  special3.line.connection = 7;
  EXPECT_EQ(special3.context.GetChoiceTable(1)[48], -1);
  CRefEditFixture special2(2, 25, 2);
  special2.line.conductors = 2;
  special2.line.components[17] = 5;
  special2.context.choices = {0, 4, 6, 9, 13};
  const std::vector<int> table = special2.context.GetChoiceTable(1);
  EXPECT_EQ(table[17], 0);
  EXPECT_EQ(special2.line.components[17], 0);
  EXPECT_EQ(special2.context.choices[kFamilyFeed], 1);
  CRefEditFixture lineMode3(1, 25);
  lineMode3.line.lineMode = 3;
  const std::vector<int> mode3 = lineMode3.context.GetChoiceTable(1);
  EXPECT_EQ(std::vector<int>(mode3.begin() + 13, mode3.begin() + 16), std::vector<int>(3, 0));
  EXPECT_EQ(std::vector<int>(mode3.begin() + 48, mode3.begin() + 52),
            std::vector<int>({1, 1, 0, 0}));
  CRefEditFixture flagged(4, 630);
  flagged.line.extraCode = 1;
  flagged.context.connectionFlag = true;
  EXPECT_EQ(flagged.context.GetChoiceTable(1)[48], 0);
}

TEST(RefChoiceTableTest, OtherKindsGiveRatingsConnectionsAndSlots) {
  CRefEditFixture fixture(4, 400, 2);
  fixture.config.Product(4).optionSlots[8] = 630;
  EXPECT_EQ(fixture.context.GetChoiceTable(2),
            std::vector<int>({100, 160, 250, 400, 500, 630, 0, 0, 0, 0}));
  EXPECT_EQ(fixture.context.GetChoiceTable(3), std::vector<int>({0, 1, 0, 0, 0}));
  EXPECT_EQ(fixture.context.GetChoiceTable(4), std::vector<int>({1, 0, 0, 0, 0, 1, 1, 0}));
  EXPECT_TRUE(fixture.context.GetChoiceTable(7).empty());
  fixture.line.productKind = 2;
  EXPECT_EQ(fixture.context.GetChoiceTable(3), std::vector<int>({0, 1, 0, 0, 1}));
  fixture.line.productKind = 12;
  EXPECT_TRUE(fixture.context.GetChoiceTable(1).empty());
  fixture.context.ComputeComponentCounts(0);
  EXPECT_TRUE(fixture.context.edits.empty());
}

struct DefaultsCase {
  const char* name;
  int kind, special, rating, conductors, component8;
  std::array<int, 6> params;
};

class RefLineDefaultsTest : public ::testing::TestWithParam<DefaultsCase> {};

TEST_P(RefLineDefaultsTest, SixParametersByProduct) {
  const DefaultsCase& c = GetParam();
  CRefEditFixture fixture(c.kind, c.rating, c.special);
  fixture.line.conductors = c.conductors;
  fixture.line.components[8] = c.component8;
  fixture.context.params.fill(77);
  fixture.context.ApplyLineDefaults(fixture.line);
  EXPECT_EQ(fixture.context.params, c.params);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefLineDefaultsTest,
    ::testing::Values(DefaultsCase{"Qfp", 0, 0, 20, 1, 0, {120, 135, 150, 240, 270, 300}},
                      DefaultsCase{"QpaAbove400FourPoles", 4, 0, 630, 1, 1, {18, 10, 0, 6, 10, 0}},
                      DefaultsCase{"QpaAbove400", 4, 0, 630, 1, 0, {10, 6, 0, 6, 4, 0}},
                      DefaultsCase{"QpaAt400", 4, 0, 400, 1, 0, {10, 6, 0, 8, 6, 0}},
                      DefaultsCase{"QpaAt400FourPoles", 4, 0, 400, 1, 3, {20, 12, 0, 8, 12, 0}},
                      DefaultsCase{"QpcAt250", 5, 0, 250, 1, 0, {0, 6, 0, 8, 6, 0}},
                      DefaultsCase{"QybDoubled", 2, 0, 25, 2, 0, {-1, 5, -1, 3, -1, 0}},
                      DefaultsCase{"QybDoubledInSpecialTwo", 2, 2, 25, 2, 0, {10, 6, 0, 6, 0, 0}},
                      DefaultsCase{"QyaSpecialOneAt40", 1, 1, 40, 1, 0, {2, 6, 5, 2, 3, 0}},
                      DefaultsCase{"QyaSpecialTwo", 1, 2, 40, 1, 0, {5, 3, 0, 3, 3, 0}},
                      DefaultsCase{"UnknownProduct", 11, 0, 40, 1, 0, {0, 0, 0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RefChooseComponentTest, AChosenMemberBecomesTheChoiceWithItsCaptionAndCounts) {
  CEnglishTexts english;
  CRefEditFixture fixture(4, 400);
  fixture.line.length = 16;
  CRefLineEditContext& context = fixture.context;
  context.choices = {0, 3, 6, 9, 13};
  context.ChooseComponent(1, 4);
  EXPECT_EQ(context.choices[kFamilyStraight], 4);
  EXPECT_EQ(context.Edit(kEditStraightCount), 4);  // 16 / 3 with a remainder of 1
  EXPECT_FALSE(context.texts[kCaptionStraight].empty());
  EXPECT_FALSE(context.enabled[kEditStraightCount]);  // state 1: the count is fixed
  fixture.config.Product(4).states[4] = 4;
  context.ChooseComponent(1, 4);
  EXPECT_TRUE(context.enabled[kEditStraightCount]);
  context.ChooseComponent(1, 20);  // not a straight element
  EXPECT_EQ(context.choices[kFamilyStraight], 4);
  fixture.line.components[37] = 5;
  context.ChooseComponent(4, 10);
  EXPECT_EQ(fixture.line.components[37], 0);
  EXPECT_EQ(context.choices[kFamilyFixing], 10);
}

TEST(RefChooseComponentTest, QyaStraightChoicePicksItsComplement) {
  struct Case {
    int rating, connection, member, complement;
  };
  for (const Case& c :
       {Case{25, 0, 3, 6}, Case{25, 0, 5, 7}, Case{40, 0, 4, 7}, Case{25, 1, 3, 7}}) {
    CRefEditFixture fixture(1, c.rating);
    fixture.line.connection = c.connection;
    fixture.context.choices = {0, 3, 6, 9, 13};
    fixture.context.ChooseComponent(1, c.member);
    EXPECT_EQ(fixture.context.choices[kFamilyComplement], c.complement) << c.rating << c.member;
  }
}

TEST(RefLineOptionsTest, FixingCableRangeAndEquipmentSums) {
  CEnglishTexts english;
  CRefEditFixture fixture(0, 20);
  CRefLineEditContext& context = fixture.context;
  context.choices = {0, 3, 2, 9, 13};
  context.EditLineOptions(1, 44, 3);
  EXPECT_EQ(context.choices[kFamilyFixing], 44);
  EXPECT_EQ(fixture.line.components[13], 2);
  EXPECT_FALSE(context.enabled[kEditFixingCount]);
  for (int c = 24; c <= 36; ++c) fixture.line.components[c] = 1;
  context.EditLineOptions(3);
  EXPECT_EQ(context.texts[kStaticEquipment], "11");
  fixture.line.lineMode = 11;
  context.EditLineOptions(3);
  EXPECT_EQ(context.texts[kStaticEquipment], "13");
}

TEST(RefLineOptionsTest, TheSectionsFollowTheCountBeforeTheirDialog) {
  CRefEditFixture fixture(0, 20);
  fixture.line.lineMode = 10;
  fixture.context.count = 5;
  fixture.context.EditLineOptions(0);
  int total = 0;
  for (const CRefLineSection& section : fixture.line.sections) total += section.values[2];
  EXPECT_EQ(total, 5);
  fixture.context.count = 2;
  fixture.context.EditLineOptions(0);
  EXPECT_EQ(fixture.line.sections.size(), 2u);
}

TEST(RefLineOptionsTest, StoringTheFamilyCountsGivesTheOtherMembersZero) {
  CRefEditFixture fixture(3, 63);
  CRefLineEditContext& context = fixture.context;
  fixture.line.components[4] = 9;
  context.choices = {1, 3, 6, 10, 13};
  context.edits = {{kEditFeedCount, 1}, {kEditStraightCount, 5}, {kEditFixingCount, 7}};
  context.StoreFamilyCounts();
  EXPECT_EQ(fixture.line.components[1], 1);
  EXPECT_EQ(fixture.line.components[3], 5);
  EXPECT_EQ(fixture.line.components[4], 0);
  EXPECT_EQ(fixture.line.components[10], 7);
  EXPECT_EQ(fixture.line.components[9], 0);
}

}  // namespace
