#include <gtest/gtest.h>

#include "linear/linear_config.h"
#include "linear/linear_line_list.h"
#include "linear/linear_test_support.h"

namespace {

constexpr std::array<bool, 4> kAllGroups{true, true, true, true};

// Adds a saved line of the group and product to the list; returns its index.
int AddLine(CLinearLineList& list, int group, int product, const std::string& name) {
  EXPECT_TRUE(list.BeginNewLine(group));
  list.Working().Product = product;
  return list.SaveWorkingAsNew(name);
}

TEST(LinearLineListTest, FindLineWalksEnabledGroupsAndDeletingMovesLinesDown) {
  CLinearLineList list;
  for (int group : {2, 0, 2, 1}) AddLine(list, group, 0, "x" + std::to_string(list.LineCount()));
  EXPECT_EQ(list.FindLine(0, CLinearLineList::kAllLines, kAllGroups), 4);
  EXPECT_EQ(list.FindLine(1, CLinearLineList::kAllLines, kAllGroups), 1);
  EXPECT_EQ(list.FindLine(3, CLinearLineList::kAllLines, kAllGroups), 0);
  EXPECT_EQ(list.FindLine(4, CLinearLineList::kAllLines, kAllGroups), 2);
  EXPECT_EQ(list.FindLine(0, CLinearLineList::kAllLines, {true, false, true, true}), 3);
  EXPECT_EQ(list.FindLine(1, CLinearLineList::GroupFilter(3), kAllGroups), -1);
  EXPECT_EQ(list.FindLine(1, 2, kAllGroups), 2);
  ASSERT_TRUE(list.DeleteLine(1));
  EXPECT_EQ(list.LineCount(), 3);
  EXPECT_EQ(list.Line(1).Name, "x2");
  EXPECT_FALSE(list.DeleteLine(3));
  EXPECT_TRUE(list.RenameLine(1, "D"));
  EXPECT_EQ(list.Line(1).Name, "D");
}

TEST(LinearLineListTest, ANewLineIsNamedAfterItsGroupAndRefusedPastOneHundred) {
  const CEnglishTexts texts;
  CLinearLineList list;
  AddLine(list, 1, 0, "a");
  AddLine(list, 1, 0, "b");
  AddLine(list, 0, 0, "c");
  EXPECT_EQ(list.ProposedName(1), "Line 3");
  while (list.LineCount() < kLinearMaxLines) AddLine(list, 0, 0, "n");
  EXPECT_FALSE(list.BeginNewLine(0));
  EXPECT_EQ(list.SaveWorkingAsNew("too many"), -1);
}

TEST(LinearLineListTest, ProductChangeResetsSlotsExceptWithinAPair) {
  CLinearConfig config;
  CLinearLineList list;
  list.BeginNewLine(0);
  list.SetProductAndRating(kProductQMA, 800, config);
  EXPECT_EQ(list.Working().Slots[0], 0) << "offered, not chosen";
  EXPECT_EQ(list.Working().Slots[3], -1) << "not offered for QMA in group 0";
  EXPECT_EQ(list.Working().Slots[28], 0);
  EXPECT_EQ(list.Working().IpDegree, 55);
  list.Working().Slots[5] = 1234;
  list.SetProductAndRating(kProductQMC, 5000, config);
  EXPECT_EQ(list.Working().Slots[5], 1234) << "QMA to QMC keeps the slots";
  EXPECT_EQ(list.Working().Slots[0], -1) << "QMC above 4000 A loses its package connection";
  list.SetProductAndRating(kProductQWA, 400, config);
  EXPECT_EQ(list.Working().Slots[5], 0) << "QMC to QWA resets them";
  EXPECT_EQ(list.Working().IpDegree, 52);
  EXPECT_EQ(list.Working().Slots[14], -1) << "IP54 length needs degree 54";
  list.Working().SecondVariant = 1;
  list.UpdateIpDegree(config);
  EXPECT_EQ(list.Working().IpDegree, 54);
  EXPECT_EQ(list.Working().Slots[14], 0);
}

TEST(LinearLineListTest, Qya25TakesItsOwnHeightCode) {
  CLinearConfig config;
  CLinearLineList list;
  list.BeginNewLine(3);
  list.SetProductAndRating(kProductQYA, 40, config);
  EXPECT_EQ(list.Working().Slots[24], 10) << "QYA at 40 A takes code 11 minus one";
  list.SetProductAndRating(kProductQYA, 25, config);
  EXPECT_EQ(list.Working().Slots[24], 15) << "QYA at 25 A keeps the table's code 16";
}

}  // namespace
