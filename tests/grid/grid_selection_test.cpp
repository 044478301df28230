#include "grid/grid_selection.h"
#include "grid/cell_range.h"

#include <gtest/gtest.h>

namespace {

// 10 rows, 6 columns, 1 fixed row, 2 fixed columns (as the bill of materials).
const CGridCounts kCounts{10, 6, 1, 2};

TEST(GridSelectionTest, FirstCellIsTheFirstNonFixedOne) {
  EXPECT_EQ(CGridSelection::FirstCell(kCounts), (CCellRange{1, 2, 1, 2}));
  EXPECT_EQ(CGridSelection::FirstCell({4, 4, 0, 0}), (CCellRange{0, 0, 0, 0}));
  EXPECT_FALSE(CGridSelection::FirstCell({1, 4, 1, 0}).IsValid()) << "only fixed rows";
  EXPECT_FALSE(CGridSelection::FirstCell({0, 0, 0, 0}).IsValid()) << "no cells";
}

TEST(GridSelectionTest, ClickTable) {
  struct Case {
    const char* name;
    CGridCounts counts;
    CCellPos cell;
    bool wholeRows;
    int kind;
    CCellRange range;
  };
  const Case cases[] = {
      {"corner selects all", kCounts, {0, 0}, false, 4, {1, 2, 9, 5}},
      {"other corner cell selects its column", kCounts, {0, 1}, false, 3, {1, 1, 9, 1}},
      {"header selects column", kCounts, {0, 4}, false, 3, {1, 4, 9, 4}},
      {"fixed column selects row", kCounts, {5, 1}, false, 2, {5, 2, 5, 5}},
      {"data cell", kCounts, {5, 3}, false, 1, {5, 3, 5, 3}},
      {"data cell while rows are whole", kCounts, {5, 3}, true, 2, {5, 2, 5, 5}},
      {"no fixed: corner is a cell", {4, 4, 0, 0}, {0, 0}, false, 1, {0, 0, 0, 0}},
      {"fixed rows only: corner is a header", {4, 4, 1, 0}, {0, 0}, false, 3, {1, 0, 3, 0}},
      {"header of a grid without data rows", {1, 4, 1, 0}, {0, 2}, false, 3, {0, 2, 0, 2}},
  };
  for (const Case& c : cases) {
    CGridSelection selection;
    EXPECT_EQ(selection.SelectForClick(c.counts, c.cell, c.wholeRows), c.kind) << c.name;
    EXPECT_EQ(selection.GetRange(), c.range) << c.name;
    EXPECT_EQ(selection.GetKind(), c.kind) << c.name;
  }
}

TEST(GridSelectionTest, ClickOutsideTheGridChangesNothing) {
  CGridSelection selection;
  selection.SetRange({2, 2, 2, 2});
  for (CCellPos cell : {CCellPos{-1, 3}, CCellPos{3, -1}, CCellPos{10, 3}, CCellPos{3, 6}}) {
    EXPECT_EQ(selection.SelectForClick(kCounts, cell, false), 0);
    EXPECT_EQ(selection.GetRange(), (CCellRange{2, 2, 2, 2}));
  }
}

TEST(GridSelectionTest, DragsSpanCellsRowsAndColumns) {
  CGridSelection selection;
  selection.SelectForClick(kCounts, {5, 3}, false);
  EXPECT_TRUE(selection.Extend(kCounts, 1, {5, 3}, {2, 4}));
  EXPECT_EQ(selection.GetRange(), (CCellRange{2, 3, 5, 4}));
  EXPECT_FALSE(selection.Extend(kCounts, 1, {5, 3}, {0, 4})) << "fixed row passed over";
  EXPECT_FALSE(selection.Extend(kCounts, 1, {5, 3}, {2, 4})) << "same range";

  selection.SelectForClick(kCounts, {4, 0}, false);
  EXPECT_TRUE(selection.Extend(kCounts, 2, {4, 0}, {7, 1}));
  EXPECT_EQ(selection.GetRange(), (CCellRange{4, 2, 7, 5}));
  EXPECT_TRUE(selection.Extend(kCounts, 2, {4, 0}, {2, 3}));
  EXPECT_EQ(selection.GetRange(), (CCellRange{2, 2, 4, 5}));

  selection.SelectForClick(kCounts, {0, 3}, false);
  EXPECT_TRUE(selection.Extend(kCounts, 3, {0, 3}, {6, 5}));
  EXPECT_EQ(selection.GetRange(), (CCellRange{1, 3, 9, 5}));
  EXPECT_FALSE(selection.Extend(kCounts, 3, {0, 3}, {6, 1})) << "fixed column passed over";
  EXPECT_FALSE(selection.Extend(kCounts, 3, {0, 3}, {6, 9})) << "outside the grid";
}

TEST(GridSelectionTest, ArrowMovesTable) {
  struct Case {
    const char* name;
    CCellRange from;
    int rowStep, columnStep;
    CCellPos to;  // no cell: nothing moves
  };
  const Case cases[] = {
      {"down", {3, 3, 3, 3}, 1, 0, {4, 3}},
      {"up", {3, 3, 3, 3}, -1, 0, {2, 3}},
      {"left", {3, 3, 3, 3}, 0, -1, {3, 2}},
      {"right", {3, 3, 3, 3}, 0, 1, {3, 4}},
      {"up stops at first data row", {1, 3, 1, 3}, -1, 0, {}},
      {"left stops at first data column", {3, 2, 3, 2}, 0, -1, {}},
      {"down stops at last row", {9, 3, 9, 3}, 1, 0, {}},
      {"right stops at last column", {3, 5, 3, 5}, 0, 1, {}},
      {"from a range, starts at its top-left", {2, 3, 6, 5}, 1, 0, {3, 3}},
  };
  for (const Case& c : cases) {
    CGridSelection selection;
    selection.SelectForClick(kCounts, {0, 0}, false);
    selection.SetRange(c.from);
    EXPECT_EQ(selection.Move(kCounts, c.rowStep, c.columnStep), c.to) << c.name;
    if (c.to.IsCell()) {
      EXPECT_EQ(selection.GetRange(), (CCellRange{c.to.row, c.to.column, c.to.row, c.to.column}))
          << c.name;
      EXPECT_EQ(selection.GetKind(), CGridSelection::kCells) << c.name;
    } else {
      EXPECT_EQ(selection.GetRange(), c.from) << c.name;
    }
  }
}

TEST(GridSelectionTest, ClampTable) {
  struct Case {
    const char* name;
    CCellRange before;
    CGridCounts counts;
    CCellRange after;
  };
  const Case cases[] = {
      {"inside stays", {2, 2, 4, 4}, kCounts, {2, 2, 4, 4}},
      {"bottom cut to last row", {8, 2, 12, 3}, kCounts, {8, 2, 9, 3}},
      {"all past the end", {12, 2, 12, 3}, kCounts, {9, 2, 9, 3}},
      {"right cut to last column", {2, 4, 3, 8}, kCounts, {2, 4, 3, 5}},
      {"a -1 bound resets", {-1, 2, 3, 3}, kCounts, {1, 2, 1, 2}},
      {"reversed resets", {5, 2, 3, 3}, kCounts, {1, 2, 1, 2}},
      {"no cells left", {2, 2, 2, 2}, {0, 0, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    CGridSelection selection;
    selection.SetRange(c.before);
    selection.Clamp(c.counts);
    EXPECT_EQ(selection.GetRange(), c.after) << c.name;
  }
}

TEST(GridSelectionTest, ContextMenuIndexTable) {
  struct Case {
    const char* name;
    CCellPos click;
    CCellPos dragTo;  // no cell: no drag
    int index;
  };
  const Case cases[] = {
      {"one cell", {3, 3}, {}, 0}, {"cells", {3, 3}, {4, 4}, 1},  {"one row", {3, 0}, {}, 2},
      {"rows", {3, 0}, {5, 0}, 3}, {"one column", {0, 3}, {}, 4}, {"columns", {0, 3}, {0, 4}, 5},
      {"all", {0, 0}, {}, 6},
  };
  for (const Case& c : cases) {
    CGridSelection selection;
    const int mode = selection.SelectForClick(kCounts, c.click, false);
    if (c.dragTo.IsCell()) {
      CCellPos target = c.dragTo;
      if (mode == CGridSelection::kRows) target.column = 3;
      if (mode == CGridSelection::kColumns) target.row = 3;
      selection.Extend(kCounts, mode, c.click, target);
    }
    EXPECT_EQ(selection.GetContextMenuIndex(), c.index) << c.name;
  }
  CGridSelection none;
  EXPECT_EQ(none.GetContextMenuIndex(), -1);
}

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
