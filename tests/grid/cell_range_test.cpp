#include "grid/cell_range.h"

#include <gtest/gtest.h>

namespace {

struct ValidityCase {
  const char* name;
  CCellRange range;
  bool valid;
};

TEST(CellRangeTest, ValidityTable) {
  const ValidityCase cases[] = {
      {"single cell", {0, 0, 0, 0}, true},       {"rectangle", {1, 2, 5, 7}, true},
      {"default is no range", {}, false},        {"top -1", {-1, 0, 3, 3}, false},
      {"left -1", {0, -1, 3, 3}, false},         {"bottom -1", {0, 0, -1, 3}, false},
      {"right -1", {0, 0, 3, -1}, false},        {"reversed rows", {4, 0, 3, 3}, false},
      {"reversed columns", {0, 4, 3, 3}, false}, {"other negative", {-5, 0, 3, 3}, false},
  };
  for (const ValidityCase& c : cases) {
    EXPECT_EQ(c.range.IsValid(), c.valid) << c.name;
  }
}

TEST(CellRangeTest, ContainsIncludesBoundsAndNothingForInvalidRange) {
  const CCellRange range{1, 1, 2, 3};
  const std::pair<CCellPos, bool> cells[] = {
      {{1, 1}, true}, {{2, 3}, true}, {{0, 1}, false}, {{2, 4}, false}};
  for (const auto& [cell, inside] : cells) {
    EXPECT_EQ(range.Contains(cell.row, cell.column), inside) << cell.row << "," << cell.column;
  }
  EXPECT_FALSE((CCellRange{2, 0, 1, 0}).Contains(1, 0));
}

TEST(CellRangeTest, SpanTakesEitherOrder) {
  EXPECT_EQ(CCellRange::Span({5, 1}, {2, 4}), CCellRange::Span({2, 4}, {5, 1}));
  EXPECT_EQ(CCellRange::Span({5, 1}, {2, 4}), (CCellRange{2, 1, 5, 4}));
  EXPECT_EQ(CCellRange::Span({3, 3}, {3, 3}), (CCellRange{3, 3, 3, 3}));
}

TEST(CellRangeTest, BoundingAndIntersection) {
  const CCellRange a{1, 1, 3, 3};
  const CCellRange b{2, 0, 5, 2};
  EXPECT_EQ(CCellRange::Bounding(a, b), (CCellRange{1, 0, 5, 3}));
  EXPECT_EQ(CCellRange::Intersect(a, b), (CCellRange{2, 1, 3, 2}));
  EXPECT_FALSE(CCellRange::Intersect(a, {4, 4, 6, 6}).IsValid()) << "apart";
  EXPECT_FALSE(CCellRange::Intersect(a, {}).IsValid()) << "no range";
  EXPECT_EQ(CCellRange::Intersect(a, {3, 3, 9, 9}), (CCellRange{3, 3, 3, 3})) << "corner";
}

}  // namespace
