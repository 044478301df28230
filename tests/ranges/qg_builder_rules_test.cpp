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
