// The bill-of-materials pages under the mouse: a line dragged by its item number, column
// and row borders set by hand, and each page bringing back the layout view it was left
// with. The page after a drag is kept as build/test-output/bom_line_drag.png for review.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>
#include <QMenu>
#include <QTest>

#include "app/current_language.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "support/temp_folder.h"
#include "support/test_output.h"
#include "view/ui/bom_grid_window.h"
#include "view/ui/bom_view.h"
#include "view/ui/child_frame.h"
#include "view/ui/onglet_control.h"

namespace {

QPoint TabPoint(const COngletControl& tabs, int n) {
  const QPoint centre = tabs.GetItem(n)->rect.center();
  return {centre.x(), tabs.height() - 1 - centre.y()};
}

// A document of three runs in a layout frame, the first run's page shown with the lines
// A, B, C and D.
class BOMPageMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Path() + "/";
    m_document = std::make_unique<CDorneDoc>(environment);
    m_document->OnNewDocument("2026-12-01");
    m_document->AddNewRun();
    m_document->AddNewRun();
    m_frame = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
    m_frame->resize(700, 560);
    m_frame->show();
    m_view = dynamic_cast<CBOMView*>(m_frame->LowerPane());
    ASSERT_NE(m_view, nullptr);
    for (const char* reference : {"LINE-A", "LINE-B", "LINE-C", "LINE-D"})
      m_document->GetRunAt(0)->GetBOM().AddRefQuantity(reference, 1);
    m_document->GetRunAt(1)->GetBOM().AddRefQuantity("OTHER", 1);
    ClickTab(1);
    m_grid = dynamic_cast<CBOMGridWindow*>(m_view->GetGridWindow());
    ASSERT_NE(m_grid, nullptr);
    m_document->SetModifiedFlag(false);
  }
  // The frame lets go of the document before the document goes.
  void TearDown() override {
    m_frame.reset();
    m_document.reset();
  }
  void ClickTab(int n) {
    COngletControl& tabs = m_view->GetTabs();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, TabPoint(tabs, n));
  }
  CBOMGrid& Page() { return m_document->GetRunAt(0)->GetBOM(); }
  QPoint CellPoint(int row, int column) const {
    return m_grid->GetCellRangeRect(CCellRange{row, column, row, column}).center();
  }
  std::vector<std::string> Order() {
    std::vector<std::string> order;
    for (int row = 1; row < Page().GetRowCount() - 1; ++row)
      order.push_back(Page().GetLine(row)->reference);
    return order;
  }
  void Drag(QPoint from, QPoint to) {
    // A press soon after a release in the same place would be a double click (an edit).
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    QTest::mousePress(m_grid->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(m_grid->viewport(), to);
    QTest::mouseRelease(m_grid->viewport(), Qt::LeftButton, {}, to);
  }

  CTempFolder m_folder{"bom-mouse"};
  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CChildFrame> m_frame;
  CBOMView* m_view = nullptr;
  CBOMGridWindow* m_grid = nullptr;
};

TEST_F(BOMPageMouseTest, ALineMovesWhereItsItemNumberIsDropped) {
  const struct {
    int from, to, column;
    std::vector<std::string> order;
  } rows[] = {
      {4, 1, 1, {"LINE-D", "LINE-A", "LINE-B", "LINE-C"}},
      {1, 3, 1, {"LINE-B", "LINE-C", "LINE-A", "LINE-D"}},
      // Not the item number: a selection, nothing moves.
      {4, 1, 2, {"LINE-A", "LINE-B", "LINE-C", "LINE-D"}},
      // The edit line is no line to move or to drop on.
      {5, 1, 1, {"LINE-A", "LINE-B", "LINE-C", "LINE-D"}},
      {1, 5, 1, {"LINE-A", "LINE-B", "LINE-C", "LINE-D"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.from << " to " << row.to << " column " << row.column);
    TearDown();
    SetUp();
    const bool moves = row.order != Order();
    Drag(CellPoint(row.from, row.column), CellPoint(row.to, 1));
    EXPECT_EQ(Order(), row.order);
    EXPECT_EQ(m_grid->GetDraggedLine(), -1);
    EXPECT_EQ(m_document->IsModified(), moves);
    if (!moves) continue;
    // The line stays selected where it went, the item numbers follow the new order.
    EXPECT_TRUE(Page().GetSelection().Contains(row.to, 1));
    EXPECT_EQ(Page().GetCellText(1, 1), "A.1");
    EXPECT_EQ(Page().GetCellText(4, 1), "A.4");
    // One undo step brings the old order back.
    ASSERT_EQ(m_document->GetUndo().Undo(), 1);
    const std::vector<std::string> original = {"LINE-A", "LINE-B", "LINE-C", "LINE-D"};
    EXPECT_EQ(Order(), original);
  }
}

TEST_F(BOMPageMouseTest, TheDraggedPageIsKeptForReview) {
  // In English, as the program shows it.
  CCurrentLanguage& language = CCurrentLanguage::Instance();
  CLanguageSetup setup;
  setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  language.SetSetup(setup);
  language.LoadLanguage("044");
  TearDown();
  SetUp();
  QTest::mousePress(m_grid->viewport(), Qt::LeftButton, {}, CellPoint(4, 1));
  EXPECT_EQ(m_grid->GetDraggedLine(), 4);
  EXPECT_EQ(m_grid->viewport()->cursor().shape(), Qt::DragMoveCursor);
  QTest::mouseRelease(m_grid->viewport(), Qt::LeftButton, {}, CellPoint(2, 1));
  EXPECT_EQ(Order(), (std::vector<std::string>{"LINE-A", "LINE-D", "LINE-B", "LINE-C"}));
  EXPECT_NE(m_grid->viewport()->cursor().shape(), Qt::DragMoveCursor);
  EXPECT_TRUE(m_frame->grab().save(QString::fromStdString(TestOutputPath("bom_line_drag.png"))));
  language.Reset();
}

// The right button on a column's title offers what can be done to the column.
TEST_F(BOMPageMouseTest, TheRightButtonOnAColumnTitleOffersTheColumnCommands) {
  m_document->GetRunAt(0)->SetFlagsWord(1);  // its start placed: the page can be edited
  QTest::mousePress(m_grid->viewport(), Qt::RightButton, {}, CellPoint(0, 2));
  EXPECT_EQ(Page().GetContextMenuIndex(), 4);  // one whole column
  const QList<QAction*> submenus = m_grid->Menu().actions();
  ASSERT_GT(submenus.size(), 4);
  QMenu* shown = submenus[4]->menu();
  EXPECT_TRUE(shown->isVisible());
  QList<int> commands;
  for (QAction* action : shown->actions()) commands << action->data().toInt();
  EXPECT_TRUE(commands.contains(CBOMGridWindow::kInsertColumn));
  EXPECT_TRUE(commands.contains(CBOMGridWindow::kDeleteColumn));
  shown->hide();
  // On a line's item number it acts on the whole line.
  QTest::mousePress(m_grid->viewport(), Qt::RightButton, {}, CellPoint(2, 1));
  EXPECT_EQ(Page().GetContextMenuIndex(), 2);
  for (QAction* submenu : submenus) submenu->menu()->hide();
}

// Undoing an edit of a page brings the page back where it was, named in the Undo entry.
TEST_F(BOMPageMouseTest, UndoingAColumnDeleteStaysOnItsPage) {
  ClickTab(2);  // the second run's page
  ASSERT_EQ(m_document->GetCurrentRun(), m_document->GetRunAt(1));
  m_document->GetRunAt(1)->SetFlagsWord(1);
  auto* grid = dynamic_cast<CBOMGridWindow*>(m_view->GetGridWindow());
  ASSERT_NE(grid, nullptr);
  CBOMGrid& page = m_document->GetRunAt(1)->GetBOM();
  const int columns = page.GetColumnCount();
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {},
                    grid->GetCellRangeRect(CCellRange{0, 2, 0, 2}).center());
  grid->RunCommand(CBOMGridWindow::kDeleteColumn);
  ASSERT_EQ(page.GetColumnCount(), columns - 1);
  const auto [possible, text] =
      m_document->GetUndo().GetUndoMenuText(false, "Undo", [](int) { return std::string(); });
  EXPECT_TRUE(possible);
  EXPECT_NE(text, "Undo");  // the step has a name
  ASSERT_TRUE(m_document->GetUndo().Undo());
  EXPECT_EQ(m_document->GetCurrentRun(), m_document->GetRunAt(1));
  EXPECT_EQ(m_view->GetTabs().GetCurSel(), 2);
  EXPECT_EQ(m_document->GetRunAt(1)->GetBOM().GetColumnCount(), columns);
}

TEST_F(BOMPageMouseTest, BordersSetByHandStayAndColumnsReachTheOtherPages) {
  const QRect title = m_grid->GetCellRangeRect(CCellRange{0, 2, 0, 2});
  const QPoint border(title.right(), title.center().y());
  ASSERT_TRUE(Page().GetColumn(2)->autoWidth);
  Drag(border, border + QPoint(60, 0));
  EXPECT_FALSE(Page().GetColumn(2)->autoWidth);
  const int width = Page().GetColumnWidth(2);
  EXPECT_GT(width, title.width());
  for (int n : {0, 2, 3}) EXPECT_EQ(m_view->GetPage(n)->GetColumnWidth(2), width) << "page " << n;

  const QRect number = m_grid->GetCellRangeRect(CCellRange{2, 0, 2, 0});
  const QPoint bottom(number.center().x(), number.bottom());
  ASSERT_TRUE(Page().GetLine(2)->autoRowHeight);
  Drag(bottom, bottom + QPoint(0, 25));
  EXPECT_FALSE(Page().GetLine(2)->autoRowHeight);
  EXPECT_TRUE(Page().GetLine(1)->autoRowHeight);
  EXPECT_GT(Page().GetRowHeight(2), number.height());
}

TEST_F(BOMPageMouseTest, EachPageBringsBackTheViewItWasLeftWith) {
  m_document->SetViewAngles(330, 45, 0);  // the first of the 3D views
  m_document->SetViewCentre(500, 600);
  m_document->SetViewSize(2000, 1000);
  ClickTab(2);
  EXPECT_EQ(Page().GetViewAngles(), (std::array<std::int32_t, 3>{330, 45, 0}));
  EXPECT_EQ(Page().GetRectangle(), (std::array<std::int32_t, 4>{-500, 100, 1500, 1100}));
  m_document->SetViewAngles(10, 20, 30);
  m_document->SetViewCentre(-7000, -7000);
  ClickTab(1);
  const C3DProjection& projection = m_document->Projection();
  EXPECT_EQ(projection.GetViewAngle(0), 330);
  EXPECT_EQ(projection.GetViewAngle(1), 45);
  EXPECT_EQ(projection.GetViewAngle(2), 0);
  EXPECT_EQ(m_document->GetViewPreset(), 1);
  EXPECT_EQ(m_document->GetViewCentre(), (std::array<std::int32_t, 2>{500, 600}));
  // The second page kept the angles it was left with too.
  EXPECT_EQ(m_document->GetRunAt(1)->GetBOM().GetViewAngles(),
            (std::array<std::int32_t, 3>{10, 20, 30}));
}

TEST_F(BOMPageMouseTest, APageWithoutASavedViewFitsTheScene) {
  m_document->SetViewCentre(-7000, -7000);
  m_document->GetRunAt(2)->GetBOM().SetRectangle({0, 0, 0, 0});
  ClickTab(3);
  QApplication::processEvents();  // the fitting is posted
  EXPECT_NE(m_document->GetViewCentre(), (std::array<std::int32_t, 2>{-7000, -7000}));
}

}  // namespace
