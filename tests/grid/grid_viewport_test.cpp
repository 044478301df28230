#include "grid/grid_viewport.h"

#include <gtest/gtest.h>

namespace {

constexpr EGridAxis kRows = EGridAxis::Rows;
constexpr EGridAxis kColumns = EGridAxis::Columns;

// A grid whose rows are all `height` and columns all `width` pixels.
std::unique_ptr<CGridModel> Uniform(int rows, int columns, int fixedRows, int fixedColumns,
                                    int height = 20, int width = 50) {
  auto model = std::make_unique<CGridModel>(rows, columns, fixedRows, fixedColumns);
  for (int row = 0; row < rows; ++row) model->PutRowHeight(row, height);
  for (int column = 0; column < columns; ++column) model->PutColumnWidth(column, width);
  return model;
}

TEST(GridViewportTest, ScrollRangeTable) {
  struct Case {
    const char* name;
    int rows, columns, fixedRows, fixedColumns;
    int availableWidth, availableHeight;
    int rowMax, columnMax;
  };
  // Rows 20 high, columns 50 wide, scroll bars 16 thick.
  const Case cases[] = {
      {"everything fits", 3, 3, 1, 1, 300, 200, 0, 0},
      {"height fits exactly: rows do not fit", 10, 3, 1, 1, 300, 200, 8, 0},
      {"one pixel more: rows fit", 10, 3, 1, 1, 300, 201, 0, 0},
      {"rows overflow, columns fit beside the bar", 30, 5, 1, 1, 300, 200, 28, 0},
      {"rows overflow, the bar pushes the columns out", 30, 6, 1, 1, 310, 200, 28, 4},
      {"columns overflow, rows fit above the bar", 5, 20, 1, 2, 300, 200, 0, 17},
      {"columns overflow, the bar pushes the rows out", 9, 20, 1, 2, 300, 190, 7, 17},
      {"both overflow", 30, 20, 1, 1, 300, 200, 28, 18},
      {"only fixed rows, taller than the window", 4, 2, 4, 0, 300, 50, 0, 0},
      {"no rows in a window without height: never -1", 0, 2, 0, 0, 300, 0, 0, 0},
      {"one data row does not scroll", 2, 2, 1, 0, 300, 30, 0, 0},
  };
  for (const Case& c : cases) {
    auto model = Uniform(c.rows, c.columns, c.fixedRows, c.fixedColumns);
    CGridViewport viewport(*model);
    viewport.UpdateScrollRanges(c.availableWidth, c.availableHeight, 16, 16);
    EXPECT_EQ(viewport.GetScrollMax(kRows), c.rowMax) << c.name;
    EXPECT_EQ(viewport.GetScrollMax(kColumns), c.columnMax) << c.name;
    EXPECT_GE(viewport.GetScrollMax(kRows), 0) << c.name;
  }
}

TEST(GridViewportTest, PositionsStayWithinTheMaxima) {
  auto model = Uniform(30, 3, 1, 1);
  CGridViewport viewport(*model);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  EXPECT_TRUE(viewport.SetScrollPos(kRows, 100));
  EXPECT_EQ(viewport.GetScrollPos(kRows), 28);
  EXPECT_FALSE(viewport.SetScrollPos(kRows, 28)) << "unchanged";
  EXPECT_TRUE(viewport.SetScrollPos(kRows, -5));
  EXPECT_EQ(viewport.GetScrollPos(kRows), 0);
  viewport.SetScrollPos(kRows, 20);
  for (int i = 0; i < 25; ++i) model->DeleteRow(1);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  EXPECT_EQ(viewport.GetScrollPos(kRows), 0) << "five rows fit: no scrolling left";
}

TEST(GridViewportTest, HitTestTable) {
  struct Case {
    const char* name;
    int rowPos, columnPos;
    CPoint point;
    CCellPos cell;
  };
  // 30 rows 20 high, 10 columns 50 wide, 1 fixed row and column, column 3 0 wide.
  const Case cases[] = {
      {"corner", 0, 0, {0, 0}, {0, 0}},
      {"last pixel of the corner", 0, 0, {49, 19}, {0, 0}},
      {"border pixel belongs to the next cell", 0, 0, {50, 20}, {1, 1}},
      {"negative x", 0, 0, {-1, 5}, {0, -1}},
      {"negative y", 0, 0, {5, -1}, {-1, 0}},
      {"a zero-wide column is passed over", 0, 0, {150, 25}, {1, 4}},
      {"last column", 0, 0, {449, 25}, {1, 9}},
      {"right of the last column", 0, 0, {450, 25}, {1, -1}},
      {"below the last row", 0, 0, {5, 600}, {-1, 0}},
      {"scrolled: the fixed row stays", 3, 0, {60, 19}, {0, 1}},
      {"scrolled: first row shown", 3, 0, {60, 20}, {4, 1}},
      {"scrolled both ways", 3, 2, {60, 45}, {5, 4}},
  };
  auto model = Uniform(30, 10, 1, 1);
  model->PutColumnWidth(3, 0);
  CGridViewport viewport(*model);
  viewport.SetClientSize(300, 200);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  for (const Case& c : cases) {
    viewport.SetScrollPos(kRows, c.rowPos);
    viewport.SetScrollPos(kColumns, c.columnPos);
    EXPECT_EQ(viewport.HitTestCell(c.point), c.cell) << c.name;
  }
}

TEST(GridViewportTest, CellEdgesFollowTheScrollPosition) {
  auto model = Uniform(30, 10, 1, 1);
  CGridViewport viewport(*model);
  viewport.SetClientSize(300, 200);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  viewport.SetScrollPos(kColumns, 3);
  EXPECT_EQ(viewport.GetFirstShown(kColumns), 4);
  EXPECT_EQ(viewport.GetStart(kColumns, 0), 0);
  EXPECT_EQ(viewport.GetStart(kColumns, 4), 50);
  EXPECT_EQ(viewport.GetStart(kColumns, 6), 150);
  EXPECT_EQ(viewport.GetStart(kColumns, 2), -50) << "scrolled away to the left";
  EXPECT_EQ(viewport.GetCellRect(1, 5), (CRect{100, 20, 150, 40}));
  EXPECT_EQ(viewport.GetCellRangeRect({0, 0, 2, 5}), (CRect{0, 0, 150, 60}));
}

TEST(GridViewportTest, VisibleRangeCountsAPartlyShownRow) {
  auto model = Uniform(30, 10, 1, 1);
  CGridViewport viewport(*model);
  viewport.SetClientSize(300, 200);
  EXPECT_EQ(viewport.GetVisibleCellRange(), (CCellRange{1, 1, 9, 5}));
  EXPECT_TRUE(viewport.IsCellVisible(9, 5)) << "ends exactly at the client edge";
  EXPECT_FALSE(viewport.IsCellVisible(10, 5));
  viewport.SetClientSize(299, 195);
  EXPECT_EQ(viewport.GetVisibleCellRange(), (CCellRange{1, 1, 9, 5}));
  EXPECT_FALSE(viewport.IsCellVisible(9, 4)) << "cut by the bottom";
  EXPECT_FALSE(viewport.IsCellVisible(8, 5)) << "cut by the right";
  EXPECT_TRUE(viewport.IsCellVisible(8, 4));
  EXPECT_TRUE(viewport.IsCellVisible(0, 0)) << "fixed corner";
  EXPECT_FALSE(viewport.IsCellVisible(-1, 0));
  EXPECT_FALSE(viewport.IsCellVisible(0, 10));
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  viewport.SetScrollPos(kRows, 4);
  EXPECT_FALSE(viewport.IsCellVisible(3, 2)) << "scrolled away";
  EXPECT_TRUE(viewport.IsCellVisible(5, 2));

  auto headersOnly = Uniform(1, 3, 1, 0);
  CGridViewport noData(*headersOnly);
  noData.SetClientSize(300, 200);
  EXPECT_FALSE(noData.GetVisibleCellRange().IsValid()) << "a grid without data rows";
}

TEST(GridViewportTest, PageBackAndForward) {
  auto model = Uniform(30, 3, 1, 1);  // 9 rows fill the 180 pixels below the fixed row
  CGridViewport viewport(*model);
  viewport.SetClientSize(300, 200);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  EXPECT_EQ(viewport.GetPageForwardPos(kRows), 8);
  EXPECT_EQ(viewport.GetPageBackPos(kRows), 0);
  viewport.SetScrollPos(kRows, 20);
  EXPECT_EQ(viewport.GetPageBackPos(kRows), 11);
  viewport.SetScrollPos(kRows, 4);
  EXPECT_EQ(viewport.GetPageBackPos(kRows), 0);
  viewport.SetScrollPos(kRows, 25);
  EXPECT_EQ(viewport.GetPageForwardPos(kRows), 28) << "at most the maximum";
  viewport.SetScrollPos(kRows, 28);
  EXPECT_EQ(viewport.GetPageForwardPos(kRows), 28) << "already at the end";

  for (int row = 1; row < 30; ++row) model->PutRowHeight(row, 500);
  viewport.SetScrollPos(kRows, 3);
  EXPECT_EQ(viewport.GetPageForwardPos(kRows), 4) << "one tall row still moves on";
  EXPECT_EQ(viewport.GetPageBackPos(kRows), 2);
}

TEST(GridViewportTest, BorderHitTable) {
  struct Case {
    const char* name;
    int columnPos;
    CPoint point;
    CGridBorderHit hit;
  };
  // 30 rows 20 high, 10 columns 50 wide, 1 fixed row and column.
  const Case cases[] = {
      {"right edge of the fixed column", 0, {48, 10}, {kColumns, 0}},
      {"left edge of column 1 resizes column 0", 0, {52, 10}, {kColumns, 0}},
      {"middle of a header", 0, {75, 10}, {}},
      {"right edge of column 1", 0, {97, 10}, {kColumns, 1}},
      {"4 pixels from the edge is too far", 0, {96, 10}, {}},
      {"left edge of column 0 is no border", 0, {1, 30}, {}},
      {"bottom edge of row 1 in the fixed column", 0, {10, 38}, {kRows, 1}},
      {"top edge of row 2 resizes row 1", 0, {10, 41}, {kRows, 1}},
      {"top of row 0 is no border", 0, {10, 1}, {}},
      {"data cells have no borders", 0, {98, 39}, {}},
      {"scrolled: left of the first shown column is the fixed one", 3, {52, 10}, {kColumns, 0}},
      {"scrolled: right edge of a shown column", 3, {98, 10}, {kColumns, 4}},
  };
  auto model = Uniform(30, 10, 1, 1);
  CGridViewport viewport(*model);
  viewport.SetClientSize(300, 200);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  for (const Case& c : cases) {
    viewport.SetScrollPos(kColumns, c.columnPos);
    EXPECT_EQ(viewport.HitTestBorder(c.point), c.hit) << c.name;
  }
}

TEST(GridViewportTest, WithoutFixedColumnsTheFirstShownHasNoLeftBorder) {
  auto model = Uniform(30, 10, 1, 0);
  CGridViewport viewport(*model);
  viewport.SetClientSize(200, 200);
  viewport.UpdateScrollRanges(200, 200, 16, 16);
  viewport.SetScrollPos(kColumns, 2);
  EXPECT_EQ(viewport.HitTestBorder({1, 10}), CGridBorderHit{}) << "its neighbour is scrolled away";
  EXPECT_EQ(viewport.HitTestBorder({52, 10}), (CGridBorderHit{kColumns, 2}));
}

}  // namespace
