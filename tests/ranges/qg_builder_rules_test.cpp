#include "ranges/qg/part_builder_qg.h"

#include <gtest/gtest.h>

namespace {

TEST(QGBuilderRulesTest, ElbowCodesPickTheirFamilies) {
  struct Row {
    int code;
    const char* family;
    const char* variant;
    bool swap;
  };
  const Row rows[] = {
      {1, "LP", "A  ", false},  {2, "LP", "A  ", false},  {3, "LC", "A  ", false},
      {4, "LC", "A  ", false},  {12, "ZP", "   ", false}, {21, "ZP", "   ", false},
      {13, "CP", "2  ", false}, {24, "CP", "2  ", false}, {14, "CP", "1  ", false},
      {23, "CP", "1  ", false}, {31, "CP", "1  ", true},  {42, "CP", "1  ", true},
      {32, "CP", "2  ", true},  {41, "CP", "2  ", true},  {34, "ZC", "   ", false},
      {43, "ZC", "   ", false}, {11, "  ", "", false},    {22, "  ", "", false},
      {121, "  ", "", false},   {0, "  ", "", false},
  };
  for (const Row& row : rows) {
    const CElbowCode found = LookUpElbowCode(row.code);
    EXPECT_EQ(found.family, row.family) << row.code;
    EXPECT_EQ(found.variant, row.variant) << row.code;
    EXPECT_EQ(found.swapLegs, row.swap) << row.code;
  }
}

TEST(QGBuilderRulesTest, JointCountsGiveTheSecondAccessory) {
  const int rows[][2] = {{0, 0},  {1, 1},  {4, 4},  {5, 4},  {12, 4},
                         {13, 4}, {16, 4}, {17, 5}, {40, 10}};
  for (const auto& row : rows) EXPECT_EQ(JointAccessoryCount(row[0]), row[1]) << row[0];
}

TEST(QGBuilderRulesTest, HousingCoefficientsFollowTheTable) {
  struct Row {
    int w, h;
    double coefficient;
  };
  const Row rows[] = {{90, 90, 0.7},   {100, 90, 0},    {100, 110, 0.8},
                      {120, 130, 1.0}, {100, 380, 2.0}, {120, 540, 2.7},
                      {130, 130, 0},   {120, 100, 0},   {90, 110, 0}};
  for (const Row& row : rows) EXPECT_DOUBLE_EQ(HousingCoefficient(row.w, row.h), row.coefficient);
}

TEST(QGBuilderRulesTest, StraightAllowancesByType) {
  struct Row {
    int type, second, third, neutral, height;
    int allowance;
    bool sRule;
  };
  const Row rows[] = {
      {3, 100, 10, 4, 130, 95, false},  {3, 100, 10, 5, 130, 135, false},
      {4, 100, 10, 4, 130, 185, true},  {5, 100, 10, 4, 130, 110, true},
      {5, 100, 10, 5, 130, 150, true},  {6, 100, 10, 4, 130, 270, true},
      {6, 100, 10, 4, 380, 480, true},  {7, 100, 10, 4, 130, 230, false},
      {8, 100, 10, 4, 380, 370, false}, {1, 100, 10, 4, 130, 0, true},
  };
  for (const Row& row : rows) {
    const CAllowance a =
        StraightAllowance(row.type, row.second, row.third, row.neutral, row.height);
    EXPECT_EQ(a.allowance, row.allowance) << row.type;
    EXPECT_EQ(a.sRule, row.sRule) << row.type;
  }
}

TEST(QGBuilderRulesTest, KitStretchesTakeTheirLengthCode) {
  struct Row {
    long long length;
    const char* code;
  };
  const Row rows[] = {{299, ""},    {300, "10"},  {1000, "10"}, {1001, "15"}, {1500, "15"},
                      {2000, "20"}, {2001, "25"}, {3000, "30"}, {3001, ""},   {-5, ""}};
  for (const Row& row : rows) EXPECT_EQ(KitLengthCode(row.length), row.code) << row.length;
}

}  // namespace

namespace {

// Rating 10 (1000 A): 1000 / (100 t + 200) x 5/7 (5/14 for choice 7), rounded up, clips
// a conductor; the end clips' code from the clips' reach, 4 at most 40 mm.
TEST(QGBuilderRulesTest, ClipPlansFollowTheBarWidth) {
  struct Row {
    int k, width, thickness, rating;
    bool endClips, noSplit;
    int factor, count, split, endCode, endCount;
  };
  const Row rows[] = {
      {8, 100, 10, 10, true, false, 3, 2, 0, 41, 4},  // 5 x 2 + 10 + 20 = 40
      {7, 100, 10, 10, true, false, 3, 1, 0, 41, 4},  // 10 x 1 + 30 = 40
      {8, 60, 20, 10, true, false, 1, 3, 0, 43, 4},   // 5 x 3 + 40 = 55: 6
      {8, 200, 30, 10, true, false, 3, 2, 2, 43, 8},  // half of 2 kept: 5 + 50 = 55
      {8, 200, 30, 10, true, true, 3, 2, 0, 43, 4},   // 10 + 50 = 60: 6 -> 43
      {8, 350, 6, 10, true, false, 2, 2, 1, 41, 8},   // wide bar
      {8, 40, 90, 12, true, false, 1, 3, 0, 47, 4},   // 1250: 15 + 110 = 125: 13 -> 10
      {8, 40, 70, 12, true, false, 1, 3, 0, 47, 4},   // 15 + 90 = 105: 11 -> 10
      {8, 40, 60, 12, true, false, 1, 3, 0, 46, 4},   // 15 + 80 = 95: 10 -> 9
      {8, 40, 50, 12, true, false, 1, 3, 0, 46, 4},   // 15 + 70 = 85: 9
      {8, 100, 10, 10, false, false, 3, 2, 0, 0, 0},
      {8, 90, 10, 10, true, false, 0, 0, 0, 0, 0},  // no clip for 90 mm
      {6, 100, 10, 10, true, false, 3, 0, 0, 0, 0},
  };
  for (const Row& row : rows) {
    const CClipPlan plan =
        PlanClips(row.k, row.width, row.thickness, row.rating, 4, row.endClips, row.noSplit);
    EXPECT_EQ(plan.factor, row.factor) << row.width << " " << row.thickness;
    EXPECT_EQ(plan.count, row.count) << row.width << " " << row.thickness;
    EXPECT_EQ(plan.split, row.split) << row.width << " " << row.thickness;
    EXPECT_EQ(plan.endCode, row.endCode) << row.width << " " << row.thickness;
    EXPECT_EQ(plan.endCount, row.endCount) << row.width << " " << row.thickness;
  }
}

}  // namespace
