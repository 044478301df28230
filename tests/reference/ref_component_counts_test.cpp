#include <gtest/gtest.h>

#include "app/message_text.h"
#include "linear_test_support.h"
#include "ref_line_edit_support.h"

namespace {

struct CountCase {
  const char* name;
  int kind, special, rating, length, component36, count;
  int straight, complement, fixing, spacing, component8;
  // Expected: straight edit 1169, complement edit 1170, component 8 edit 1172, fixing
  // edit 1171 (-1: not written), and the complement choice afterwards.
  int straightCount, complementCount, component8Count, fixingCount, complementChoice;
};

class RefComponentCountTest : public ::testing::TestWithParam<CountCase> {};

int EditOrMinusOne(const CRefLineEditContext& context, int control) {
  return context.edits.contains(control) ? context.Edit(control) : -1;
}

TEST_P(RefComponentCountTest, CountsFollowTheLengthAndTheSteps) {
  const CountCase& c = GetParam();
  CRefEditFixture fixture(c.kind, c.rating, c.special);
  CRefLine& line = fixture.line;
  line.length = c.length;
  line.components[36] = c.component36;
  line.components[8] = c.component8;
  line.fixingSpacing = c.spacing;
  CRefLineEditContext& context = fixture.context;
  context.count = c.count;
  context.choices = {0, c.straight, c.complement, c.fixing, 13};
  context.ComputeComponentCounts(0);
  EXPECT_EQ(EditOrMinusOne(context, kEditStraightCount), c.straightCount);
  EXPECT_EQ(EditOrMinusOne(context, kEditComplementCount), c.complementCount);
  EXPECT_EQ(EditOrMinusOne(context, kEditComponent8Count), c.component8Count);
  EXPECT_EQ(EditOrMinusOne(context, kEditFixingCount), c.fixingCount);
  EXPECT_EQ(context.choices[kFamilyComplement], c.complementChoice);
  EXPECT_TRUE(fixture.notifier.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefComponentCountTest,
    ::testing::Values(
        // 10 / 3 = 3 remainder 1: one element less, (10 - 6) / 2 = 2 complements.
        CountCase{"QdaTenMetres", 3, 0, 63, 10, 0, 0, 3, 6, 9, 300, 0, 2, 2, -1, 4, 6},
        CountCase{"QdaTwelveMetres", 3, 0, 63, 12, 0, 0, 3, 6, 9, 300, 0, 4, 0, -1, 5, 6},
        CountCase{"QdaElevenMetres", 3, 0, 63, 11, 0, 0, 3, 6, 9, 300, 0, 3, 1, -1, 4, 6},
        // The sample's QPA straights are 3 m long, as it prices them: 16 / 3 = 5 remainder
        // 1, so 4 elements and (16 - 12) / 2 = 2 complements of 2 m. A 5 m step left a
        // third of a 36 m line without elements.
        CountCase{"QpaSixteenMetresThreeMetreElements", 4, 0, 400, 16, 0, 0, 3, 6, 9, 300, 0, 4, 2,
                  -1, 6, 6},
        CountCase{"QpaFifteenMetresNoRest", 4, 0, 400, 15, 0, 0, 3, 7, 9, 300, 0, 5, 0, -1, 6, 6},
        CountCase{"QpaThreeMetreStep", 4, 0, 400, 16, 0, 0, 4, 6, 9, 300, 0, 4, 2, -1, 6, 6},
        // QYX counts centimetres: 306 per element, 153 per complement.
        CountCase{"QyxSevenMetres", 6, 0, 25, 7, 0, 0, 3, 6, 10, 300, 0, 2, 0, -1, 3, 6},
        CountCase{"QyxSevenSeventy", 6, 0, 25, 7, 170, 0, 3, 6, 10, 300, 0, 2, 1, -1, 3, 6},
        CountCase{"QyxNineFiftyIsFiftyCentimetres", 6, 0, 25, 9, 150, 0, 3, 6, 10, 300, 0, 3, 0, -1,
                  4, 6},
        // Without a count every element goes on component 8.
        CountCase{"QyaWithoutCountAllOnComponent8", 1, 0, 25, 12, 0, 0, 3, 6, 9, 300, 0, 0, 0, 4, 5,
                  6},
        // q = 3 x 10 / 2 = 15: 10 - 9 / 5 - 1 = 8 on component 8.
        CountCase{"QyaTwoLuminaires", 1, 0, 25, 30, 0, 2, 3, 6, 9, 300, 0, 2, 0, 8, 11, 6},
        CountCase{"QyaTenLuminaires", 1, 0, 25, 30, 0, 10, 3, 6, 9, 300, 0, 10, 0, 0, 11, 6},
        CountCase{"QyaNegativeComponent8KeepsAll", 1, 0, 25, 30, 0, 2, 3, 6, 9, 300, -1, 10, 0, 0,
                  11, 6},
        // Special mode 2: 12 m rounds up to 15, lowered to 13; 2 of 5 m and 1 of 3 m.
        CountCase{"QyaSpecialTwoFiveMetreStep", 1, 2, 25, 12, 0, 1, 3, 6, 9, 300, -1, 2, 1, 0, 5,
                  6},
        // Special mode 1: 10 m rounds up to 12; no complement offered.
        CountCase{"QyaSpecialOneRoundsUp", 1, 1, 40, 10, 0, 10, 4, 6, 9, 300, 0, 4, -1, 0, 4, 6},
        CountCase{"QfpCountsMetres", 0, 0, 20, 37, 0, 0, 3, 2, 9, 300, 0, 37, -1, -1, 13, 2},
        CountCase{"ASpacingOfZeroCountsNoFixing", 3, 0, 63, 10, 0, 0, 3, 6, 9, 0, 0, 2, 2, -1, 0,
                  6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RefComponentCountCapTest, CountsAboveTheCapAreKeptAt9999AndToldOnce) {
  CEnglishTexts english;
  CRefEditFixture fixture(1, 25);
  fixture.line.length = 1000;
  fixture.line.fixingSpacing = 1;
  fixture.context.count = 6000;
  fixture.context.choices = {0, 3, 6, 9, 13};
  fixture.context.ComputeComponentCounts(0);
  EXPECT_EQ(fixture.context.Edit(kEditFixingCount), 9999);
  EXPECT_EQ(fixture.context.Edit(kEditLuminaireFixingCount), 9999);
  ASSERT_EQ(fixture.notifier.messages.size(), 1u);
  EXPECT_EQ(fixture.notifier.messages[0], StringText(32165));
  EXPECT_FALSE(fixture.notifier.messages[0].empty());
}

TEST(RefComponentCountCapTest, HugeLengthsCountIn64Bits) {
  CRefEditFixture fixture(3, 63);
  fixture.line.length = 2147483647;
  fixture.line.fixingSpacing = 7;
  fixture.context.choices = {0, 3, 6, 9, 13};
  fixture.context.ComputeComponentCounts(3);
  EXPECT_EQ(fixture.context.Edit(kEditFixingCount), 9999);
  EXPECT_EQ(fixture.notifier.messages.size(), 1u);
}

TEST(RefComponentCountTest, FeedAndEndClosureAndQpJoints) {
  CRefEditFixture fixture(4, 400);
  CRefLineEditContext& context = fixture.context;
  fixture.line.length = 15;
  fixture.line.connection = 5;
  context.choices = {1, 3, 6, 9, 13};
  context.ComputeComponentCounts(0);
  EXPECT_EQ(context.Edit(kEditFeedCount), 1);
  EXPECT_EQ(context.Edit(kEditEndClosureCount), 2);
  EXPECT_EQ(fixture.line.components[39], 5);  // 15 m of 3 m elements
  fixture.line.connection = 6;
  context.count = 11;
  context.choices[kFamilyFeed] = 0;
  context.ComputeComponentCounts(2);
  EXPECT_EQ(fixture.line.components[39], 3);  // 11 / 3
  context.ComputeComponentCounts(1);
  EXPECT_EQ(context.Edit(kEditEndClosureCount), 1);
  // Without an offered straight element there is no step: no joints, no division by zero.
  context.choices[kFamilyStraight] = 5;
  context.ComputeComponentCounts(2);
  EXPECT_EQ(fixture.line.components[39], 0);
}

TEST(RefComponentCountTest, QfpSectionsCountTheirAccessories) {
  CRefEditFixture fixture(0, 20);
  CRefLine& line = fixture.line;
  line.lineMode = 10;
  line.components[29] = 5;
  line.components[33] = 8;
  CRefLineSection section;
  section.values = {2, 0, 3, 1, 1, 2, 2, 3, 0, 0};
  line.sections = {section};
  fixture.context.choices = {0, 3, 2, 9, 13};
  fixture.context.ComputeComponentCounts(0);
  EXPECT_EQ(line.components[30], 3);  // table A of code 2
  EXPECT_EQ(line.components[28], 3);  // 3 x (2 - 1)
  EXPECT_EQ(line.components[31], 3);  // table A of code 3
  EXPECT_EQ(line.components[36], 6);  // (2 + 0) x 3
  EXPECT_EQ(line.components[29], 5);  // kept in line mode 10
  EXPECT_EQ(line.components[33], 0);
  line.lineMode = 11;
  line.sections[0].values = {2, 2, 3, 1, 2, 0, 1, 3, 7, 0};
  fixture.context.ComputeComponentCounts(0);
  // Table B: code 1 is 24; code 7 reads table A's second entry, no component.
  EXPECT_EQ(line.components[24], 3);
  EXPECT_EQ(line.components[28], 6);  // a = 2 and b = 2
  EXPECT_EQ(line.components[31], 6);  // 3 x a
  EXPECT_EQ(line.components[29], 0);
}

TEST(RefComponentCountTest, TheQyxLengthKeepsTwoDecimals) {
  struct Case {
    const char* text;
    int length, component36;
  };
  for (const Case& c :
       {Case{"6.5", 6, 150}, Case{"6.05", 6, 105}, Case{"6,12", 6, 112}, Case{"7", 7, 0},
        Case{"7.00", 7, 0}, Case{"1x2.5a", 12, 150}, Case{"99999.999", 9999, 199}}) {
    CRefEditFixture fixture(6, 25);
    fixture.context.SetQyxLengthText(c.text);
    EXPECT_EQ(fixture.line.length, c.length) << c.text;
    EXPECT_EQ(fixture.line.components[36], c.component36) << c.text;
    EXPECT_EQ(CRefLineEditContext::QyxExtraCentimetres(fixture.line.components[36]),
              c.component36 ? c.component36 - 100 : 0);
  }
}

}  // namespace
