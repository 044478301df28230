#include <QMenu>
#include <QSignalSpy>

#include "grid_ui_fixture.h"

namespace {

constexpr EGridAxis kRows = EGridAxis::Rows;
constexpr EGridAxis kColumns = EGridAxis::Columns;

TEST_F(GridWindowTest, ClientAreaAndScrollRangesFollowTheModel) {
  EXPECT_EQ(Client()->size(), QSize(300, 200));
  EXPECT_EQ(m_grid->verticalScrollBar()->maximum(), 28);
  EXPECT_EQ(m_grid->horizontalScrollBar()->maximum(), 8);
  EXPECT_EQ(m_grid->GetVisibleCellRange(), (CCellRange{1, 1, 9, 5}));
  for (int i = 0; i < 25; ++i) ASSERT_TRUE(m_model->DeleteRow(1));
  EXPECT_EQ(m_grid->verticalScrollBar()->maximum(), 0) << "the rows fit now";
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(m_model->InsertRowAfter(4));
  EXPECT_EQ(m_grid->verticalScrollBar()->maximum(), 43);
}

TEST_F(GridWindowTest, ClickTable) {
  struct Case {
    const char* name;
    CCellPos cell;
    CCellRange range;
    int kind;
  };
  const Case cases[] = {
      {"data cell", {3, 2}, {3, 2, 3, 2}, 1},
      {"column header", {0, 3}, {1, 3, 29, 3}, 3},
      {"row header", {4, 0}, {4, 1, 4, 9}, 2},
      {"corner", {0, 0}, {1, 1, 29, 9}, 4},
  };
  QSignalSpy clicks(m_grid.get(), &CGridControl::Clicked);
  for (const Case& c : cases) {
    Click(Center(c.cell.row, c.cell.column));
    EXPECT_EQ(m_model->GetSelection(), c.range) << c.name;
    EXPECT_EQ(m_model->GetSelectionKind(), c.kind) << c.name;
    EXPECT_EQ(m_grid->GetReleasedCell(), c.cell) << c.name;
  }
  EXPECT_EQ(clicks.count(), 4);
  EXPECT_EQ(m_grid->GetMouseMode(), CGridControl::kModeNone);
  m_model->SetRowSelection(true);
  Click(Center(5, 3));
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{5, 1, 5, 9}))
      << "whole rows while row selection is on";
  EXPECT_EQ(m_model->GetContextMenuIndex(), 2);
}

TEST_F(GridWindowTest, PressOutsideEveryCellChangesNothingAndSignalsNothing) {
  for (int i = 0; i < 25; ++i) m_model->DeleteRow(1);    // 5 rows, 100 pixels
  for (int i = 0; i < 6; ++i) m_model->DeleteColumn(1);  // 4 columns, 200 pixels
  QSignalSpy clicks(m_grid.get(), &CGridControl::Clicked);
  Click(QPoint(250, 50));
  Click(QPoint(50, 150));
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{1, 1, 1, 1}));
}

TEST_F(GridWindowTest, DragSpansCellsAndRows) {
  QSignalSpy clicks(m_grid.get(), &CGridControl::Clicked);
  Press(Center(4, 3));
  Move(Center(2, 4));
  Move(Center(0, 5));  // a header cell is passed over
  Release(Center(0, 5));
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{2, 3, 4, 4}));
  EXPECT_EQ(m_grid->GetPressedCell(), (CCellPos{4, 3}));
  EXPECT_EQ(m_grid->GetReleasedCell(), (CCellPos{0, 5}));
  Press(Center(3, 0));
  Move(Center(6, 2));
  Release(Center(6, 2));
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{3, 1, 6, 9}));
  EXPECT_EQ(clicks.count(), 2);
}

TEST_F(GridWindowTest, DraggingAHeaderBorderResizesTheColumn) {
  QSignalSpy clicks(m_grid.get(), &CGridControl::Clicked);
  const QRect header = CellRect(0, 2);  // x 100..149
  const QPoint grip(header.right() - 1, header.center().y());
  Move(grip, Qt::NoButton);
  EXPECT_EQ(Client()->cursor().shape(), Qt::SplitHCursor);
  Press(grip);
  EXPECT_EQ(m_grid->GetMouseMode(), CGridControl::kModeResizeColumn);
  EXPECT_EQ(m_grid->GetResizeIndex(), 2);
  Move(grip + QPoint(30, 0));
  Release(grip + QPoint(30, 0));
  EXPECT_EQ(m_grid->GetResizeIndex(), -1);
  EXPECT_EQ(m_model->GetColumnWidth(2), 78);
  EXPECT_EQ(clicks.count(), 1) << "a resize is a click too";
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{1, 1, 1, 1})) << "the selection stays";

  Move(QPoint(125, 60), Qt::NoButton);
  EXPECT_EQ(Client()->cursor().shape(), Qt::ArrowCursor);

  const QPoint wider(CellRect(0, 2).right() - 1, grip.y());  // dragged left past its own left edge
  Press(wider);
  Move(QPoint(header.left() - 40, grip.y()));
  Release(QPoint(header.left() - 40, grip.y()));
  EXPECT_EQ(m_model->GetColumnWidth(2), 0);
  EXPECT_EQ(m_model->GetColumnWidth(1), 50) << "the neighbour keeps its width";
}

TEST_F(GridWindowTest, DraggingARowBorderInTheFixedColumnResizesTheRow) {
  const QRect header = CellRect(3, 0);                       // y 60..79
  const QPoint grip(header.center().x(), header.top() + 1);  // top edge: the row above
  Move(grip, Qt::NoButton);
  EXPECT_EQ(Client()->cursor().shape(), Qt::SplitVCursor);
  Press(grip);
  EXPECT_EQ(m_grid->GetMouseMode(), CGridControl::kModeResizeRow);
  Release(grip + QPoint(0, 25));
  EXPECT_EQ(m_model->GetRowHeight(2), 46);
  EXPECT_EQ(m_model->GetRowHeight(3), 20);
}

TEST_F(GridWindowTest, ArrowsMoveTheSelectionAndScrollOneLineOutOfView) {
  ASSERT_TRUE(m_model->SelectCell({9, 5}));
  for (int swallowed : {Qt::Key_Return, Qt::Key_Escape}) Key(swallowed);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{9, 5, 9, 5}));
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 0);
  Key(Qt::Key_Down);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{10, 5, 10, 5}));
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 1);
  Key(Qt::Key_Right);
  EXPECT_EQ(m_grid->GetScrollPos(kColumns), 1);
  Key(Qt::Key_Down);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 2);
  Key(Qt::Key_Up);
  Key(Qt::Key_Left);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{10, 5, 10, 5}));
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 2) << "row 10 is still in view";
}

TEST_F(GridWindowTest, PagingKeysScrollAndSelectTheFirstShownRow) {
  ASSERT_TRUE(m_model->SelectCell({3, 4}));
  Key(Qt::Key_PageDown);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 8);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{9, 4, 9, 4}));
  Key(Qt::Key_End);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 28);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{29, 1, 29, 1}));
  ASSERT_TRUE(m_model->SelectCell({29, 6}));
  Key(Qt::Key_PageDown);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 28) << "already at the last position";
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{29, 6, 29, 6}));
  Key(Qt::Key_PageUp);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 19);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{20, 6, 20, 6}));
  m_grid->SetScrollPos(kColumns, 3);
  Key(Qt::Key_Home);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 0);
  EXPECT_EQ(m_grid->GetScrollPos(kColumns), 0);
  EXPECT_EQ(m_model->GetSelection(), (CCellRange{1, 1, 1, 1}));
  EXPECT_EQ(m_model->GetSelectionKind(), 1);
}

TEST_F(GridWindowTest, ScrollBarPagesFollowTheGridsOwnRule) {
  QScrollBar* bar = m_grid->verticalScrollBar();
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 8);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 9);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 0);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(m_grid->GetScrollPos(kRows), 28);
  EXPECT_EQ(m_grid->HitTestCell(QPoint(60, 25)), (CCellPos{29, 1}));
}

TEST_F(GridWindowTest, ContextMenuOpensTheSubmenuOfTheSelectionKind) {
  Press(Center(3, 3), Qt::RightButton);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu set: nothing opens";
  QMenu menu;
  std::vector<QMenu*> submenus;
  for (const char* name : {"Cell", "MultiCell", "Row", "MultiRow", "Col", "MultiCol", "All"}) {
    QMenu* submenu = menu.addMenu(QString::fromLatin1(name));
    submenu->addAction(QStringLiteral("item"));
    submenus.push_back(submenu);
  }
  m_grid->SetContextMenu(&menu);
  struct Case {
    const char* name;
    CCellPos click;
    int submenu;
  };
  const Case cases[] = {
      {"one cell", {3, 3}, 0},
      {"one row", {3, 0}, 2},
      {"one column", {0, 3}, 4},
      {"all", {0, 0}, 6},
  };
  for (const Case& c : cases) {
    Click(Center(c.click.row, c.click.column));
    Press(Center(5, 5), Qt::RightButton);
    EXPECT_TRUE(submenus[c.submenu]->isVisible()) << c.name;
    EXPECT_EQ(m_model->GetSelection().top, c.click.row == 0 ? 1 : c.click.row)
        << "a right click keeps the selection";
    submenus[c.submenu]->close();
  }
}

TEST_F(GridWindowTest, ModelChangesRepaintAndTheWindowLetsGoOfTheModel) {
  m_model->SetCellText(2, 2, "changed", 1, true);
  const QImage image = m_grid->grab().toImage();
  EXPECT_FALSE(image.isNull());
  m_grid.reset();
  EXPECT_EQ(m_model->GetListener(), nullptr);
  EXPECT_EQ(m_model->GetTextMeasurer(), nullptr);
  EXPECT_TRUE(m_model->InsertRowAfter(3)) << "the model lives on without a window";
}

TEST(GridWindowOwnModelTest, AutoSizeMeasuresWithTheScreensFonts) {
  CGridControl grid(3, 3, 1, 1);
  grid.GetModel().SetCellText(1, 1, "a rather long text for one cell", 0, false);
  grid.GetModel().SetCellText(2, 1, "short", 0, false);
  ASSERT_TRUE(grid.GetModel().AutoSizeColumn(1));
  const int width = grid.GetModel().GetColumnWidth(1);
  EXPECT_GT(width, grid.GetModel().GetColumnWidth(2));
  const QFontMetrics metrics(grid.font());
  EXPECT_GE(width, metrics.horizontalAdvance(QStringLiteral("a rather long text")));
  grid.GetModel().SetCellText(2, 2, "two\nlines", 0, false);
  ASSERT_TRUE(grid.GetModel().AutoSizeRow(2));
  EXPECT_GT(grid.GetModel().GetRowHeight(2), grid.GetModel().GetDefaultRowHeight());
}

}  // namespace
