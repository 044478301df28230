#include "grid/grid_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "grid_fakes.h"

namespace {

const CGridPalette kPalette;

class GridPainterTest : public ::testing::Test {
 protected:
  // 30 rows 20 high, 10 columns 50 wide, 1 fixed row and column, client 300 x 200.
  GridPainterTest() : m_model(30, 10, 1, 1), m_viewport(m_model) {
    for (int row = 0; row < 30; ++row) m_model.PutRowHeight(row, 20);
    for (int column = 0; column < 10; ++column) m_model.PutColumnWidth(column, 50);
    for (int row = 0; row < 30; ++row) {
      for (int column = 0; column < 10; ++column) {
        m_model.SetCellText(row, column, std::to_string(row) + "," + std::to_string(column), 0,
                            false);
      }
    }
    m_viewport.SetClientSize(300, 200);
    m_viewport.UpdateScrollRanges(300, 200, 16, 16);
  }
  int Paint() {
    CGridPainter painter(m_model, m_canvas, kPalette);
    return painter.Paint(m_viewport);
  }
  bool HasFill(const CRect& rect, CColor color) const {
    return std::any_of(m_canvas.fills.begin(), m_canvas.fills.end(),
                       [&](const auto& fill) { return fill.rect == rect && fill.color == color; });
  }

  CGridModel m_model;
  CGridViewport m_viewport;
  CRecordingCanvas m_canvas;
};

TEST_F(GridPainterTest, PaintsTheFixedAndShownCellsOnly) {
  // Rows 0 and 1..9, columns 0 and 1..5.
  EXPECT_EQ(Paint(), 10 * 6);
  EXPECT_NE(m_canvas.FindText("9,5"), nullptr);
  EXPECT_EQ(m_canvas.FindText("10,1"), nullptr);
  EXPECT_EQ(m_canvas.FindText("1,6"), nullptr);
  const auto* text = m_canvas.FindText("2,3");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->rect, (CRect{152, 42, 152 + 46, 42 + 16})) << "inside the margins";
  EXPECT_TRUE(HasFill({50, 20, 300, 200}, kPalette.cellBackground));
}

TEST_F(GridPainterTest, ScrollingKeepsTheHeadersAndShowsLaterCells) {
  m_viewport.SetScrollPos(EGridAxis::Rows, 10);
  m_viewport.SetScrollPos(EGridAxis::Columns, 4);
  Paint();
  EXPECT_NE(m_canvas.FindText("0,0"), nullptr);
  EXPECT_NE(m_canvas.FindText("0,5"), nullptr);
  EXPECT_NE(m_canvas.FindText("11,0"), nullptr);
  EXPECT_EQ(m_canvas.FindText("1,1"), nullptr);
  const auto* text = m_canvas.FindText("11,5");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->rect.left, 52);
  EXPECT_EQ(text->rect.top, 22);
}

TEST_F(GridPainterTest, CostFollowsTheWindowNotTheGrid) {
  CGridModel large(10000, 50, 1, 1);
  CGridViewport viewport(large);
  viewport.SetClientSize(800, 600);
  viewport.UpdateScrollRanges(800, 600, 16, 16);
  viewport.SetScrollPos(EGridAxis::Rows, 5000);
  const CCellRange shown = viewport.GetVisibleCellRange();
  CRecordingCanvas canvas;
  CGridPainter painter(large, canvas, kPalette);
  const int visited = painter.Paint(viewport);
  EXPECT_EQ(visited, (shown.bottom - shown.top + 2) * (shown.right - shown.left + 2));
  EXPECT_LT(visited, 1000);
  EXPECT_LT(canvas.lines.size(), 1000u);
}

TEST_F(GridPainterTest, SelectionIsHighlightedAndItsTextTakesTheHighlightColour) {
  CGridCellFormat red("red");
  red.SetTextColor({255, 0, 0});
  m_model.SetCell(2, 2, &red, false);
  m_model.SetCell(3, 3, &red, false);
  ASSERT_TRUE(m_model.SetSelection({2, 2, 2, 3}, false));
  Paint();
  EXPECT_TRUE(HasFill({100, 40, 200, 60}, kPalette.highlight));
  int highlighted = 0;
  int ownColour = 0;
  for (const auto& text : m_canvas.texts) {
    if (text.color == kPalette.highlightText) ++highlighted;
    if (text.color == CColor{255, 0, 0}) ++ownColour;
  }
  EXPECT_EQ(highlighted, 2) << "both selected cells, the red one included";
  EXPECT_EQ(ownColour, 1) << "the red cell outside the selection";
}

TEST_F(GridPainterTest, SelectionIsClippedToTheShownCells) {
  ASSERT_TRUE(m_model.SetSelection({5, 3, 25, 9}, false));
  Paint();
  EXPECT_TRUE(HasFill({150, 100, 300, 200}, kPalette.highlight));
  m_canvas = CRecordingCanvas();
  ASSERT_TRUE(m_model.SetSelection({20, 1, 25, 2}, false));
  Paint();
  for (const auto& fill : m_canvas.fills) EXPECT_FALSE(fill.color == kPalette.highlight);
}

TEST_F(GridPainterTest, GridLinesAndRaisedHeaders) {
  Paint();
  auto has = [&](int x1, int y1, int x2, int y2, CColor color) {
    return std::any_of(m_canvas.lines.begin(), m_canvas.lines.end(), [&](const auto& line) {
      return line.x1 == x1 && line.y1 == y1 && line.x2 == x2 && line.y2 == y2 &&
             line.color == color;
    });
  };
  EXPECT_TRUE(has(0, 0, 301, 0, kPalette.line)) << "top border";
  EXPECT_TRUE(has(0, 0, 0, 201, kPalette.line)) << "left border";
  EXPECT_TRUE(has(100, 0, 100, 201, kPalette.line)) << "right edge of column 1";
  EXPECT_TRUE(has(0, 40, 301, 40, kPalette.line)) << "bottom of row 1";
  EXPECT_TRUE(has(51, 1, 99, 1, kPalette.raised)) << "header of column 1";
  EXPECT_TRUE(has(1, 21, 1, 39, kPalette.raised)) << "fixed cell of row 1";
  EXPECT_FALSE(has(51, 21, 99, 21, kPalette.raised)) << "data cells are flat";
}

TEST_F(GridPainterTest, BitmapsAreCutToTheCellUnlessFittingIsOff) {
  m_model.SetCellBitmap(1, 1, MakeBitmap(80, 30), false);
  Paint();
  ASSERT_EQ(m_canvas.bitmaps.size(), 1u);
  EXPECT_EQ(
      (std::array{m_canvas.bitmaps[0].x, m_canvas.bitmaps[0].width, m_canvas.bitmaps[0].height}),
      (std::array{52, 46, 16}));
  m_canvas = CRecordingCanvas();
  m_model.SetFittedDrawing(false);
  Paint();
  ASSERT_EQ(m_canvas.bitmaps.size(), 1u);
  EXPECT_EQ(m_canvas.bitmaps[0].width, 80) << "not cut to the cell";
  const auto* text = m_canvas.FindText("2,2");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->alignment, -1) << "natural-size text";
}

TEST_F(GridPainterTest, PrintingDrawsTheCellsMeetingTheAreaIgnoringScrolling) {
  m_viewport.SetScrollPos(EGridAxis::Rows, 10);
  CGridPainter painter(m_model, m_canvas, kPalette);
  // Columns 0..2 (x 0..150: column 3 starts at 150, its edge meets) and rows 0..3.
  EXPECT_EQ(painter.DrawCells({0, 0, 150, 60}), 4 * 4);
  EXPECT_NE(m_canvas.FindText("0,0"), nullptr);
  EXPECT_NE(m_canvas.FindText("3,3"), nullptr);
  EXPECT_EQ(m_canvas.FindText("4,0"), nullptr);
  EXPECT_TRUE(HasFill({0, 0, 51, 21}, kPalette.headerBackground)) << "fixed corner";
  EXPECT_TRUE(HasFill({50, 0, 101, 21}, kPalette.headerBackground)) << "header of column 1";
  EXPECT_FALSE(HasFill({50, 20, 101, 41}, kPalette.headerBackground)) << "data cell";

  m_canvas = CRecordingCanvas();
  EXPECT_EQ(painter.DrawCells({260, 570, 300, 700}), 2 * 2) << "rows 28, 29 and columns 5, 6";
  EXPECT_NE(m_canvas.FindText("29,5"), nullptr);
}

TEST_F(GridPainterTest, EmptyGridPaintsNothing) {
  CGridModel empty(0, 0, 0, 0);
  CGridViewport viewport(empty);
  viewport.SetClientSize(300, 200);
  CGridPainter painter(empty, m_canvas, kPalette);
  EXPECT_EQ(painter.Paint(viewport), 0);
  EXPECT_EQ(painter.DrawCells({0, 0, 300, 200}), 0);
  EXPECT_TRUE(m_canvas.lines.empty());
}

}  // namespace
