#include "grid/grid_viewport.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

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
  for (const CCaseRow& row : ReadCaseTable("grid/scroll_ranges.tsv", 9)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const auto at = [&row](std::size_t column) { return static_cast<int>(row.Int(column)); };
    auto model = Uniform(at(1), at(2), at(3), at(4));
    CGridViewport viewport(*model);
    viewport.UpdateScrollRanges(at(5), at(6), 16, 16);
    EXPECT_EQ(viewport.GetScrollMax(kRows), at(7));
    EXPECT_EQ(viewport.GetScrollMax(kColumns), at(8));
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
  auto model = Uniform(30, 10, 1, 1);
  model->PutColumnWidth(3, 0);
  CGridViewport viewport(*model);
  viewport.SetClientSize(300, 200);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  for (const CCaseRow& row : ReadCaseTable("grid/hit_test_cell.tsv", 7)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const auto at = [&row](std::size_t column) { return static_cast<int>(row.Int(column)); };
    viewport.SetScrollPos(kRows, at(1));
    viewport.SetScrollPos(kColumns, at(2));
    EXPECT_EQ(viewport.HitTestCell({at(3), at(4)}), (CCellPos{at(5), at(6)}));
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
  auto model = Uniform(30, 10, 1, 1);
  CGridViewport viewport(*model);
  viewport.SetClientSize(300, 200);
  viewport.UpdateScrollRanges(300, 200, 16, 16);
  for (const CCaseRow& row : ReadCaseTable("grid/hit_test_border.tsv", 6)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const auto at = [&row](std::size_t column) { return static_cast<int>(row.Int(column)); };
    viewport.SetScrollPos(kColumns, at(1));
    const CGridBorderHit expected{row[4] == "rows" ? kRows : kColumns, at(5)};
    EXPECT_EQ(viewport.HitTestBorder({at(2), at(3)}), expected);
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
