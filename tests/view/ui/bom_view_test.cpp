// The bill-of-materials pane over a document of three runs: its pages and tabs, the tab
// strip's selection, scrolling and dragging, the totals and the printed sheets. The
// pane is kept as build/test-output/bom_pane.png for review.

#include "view/ui/bom_view.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "grid/ui/grid_control.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "support/temp_folder.h"
#include "support/test_output.h"
#include "view/ui/onglet_control.h"

namespace {

// A point of a tab as the mouse sees it (the strip under a page is drawn mirrored).
QPoint TabPoint(const COngletControl& tabs, int n) {
  const QPoint centre = tabs.GetItem(n)->rect.center();
  return {centre.x(), tabs.height() - 1 - centre.y()};
}

class BOMViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Path() + "/";
    m_document = std::make_unique<CDorneDoc>(environment);
    m_document->OnNewDocument("2026-12-01");
    m_document->AddNewRun();
    m_document->AddNewRun();
    m_view = std::make_unique<CBOMView>(*m_document);
    m_view->resize(520, 240);
    m_view->show();
    int n = 0;
    for (CRun* run : m_document->GetRuns()) {
      ++n;
      run->GetBOM().AddRefQuantity("QJF-" + std::to_string(n), n);
      run->GetBOM().AddRefQuantity("SHARED", 2);
    }
    m_document->SetModifiedFlag(false);
  }

  CTempFolder m_folder{"bomview"};
  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CBOMView> m_view;
};

TEST_F(BOMViewTest, OnePagePerRunAfterTheTotalPage) {
  ASSERT_EQ(m_view->GetPageCount(), 4);
  COngletControl& tabs = m_view->GetTabs();
  ASSERT_EQ(tabs.GetItemCount(), 4);
  for (int n = 1; n < 4; ++n) {
    CRun* run = m_document->GetRunAt(n - 1);
    EXPECT_EQ(m_view->GetPage(n), &run->GetBOM());
    EXPECT_EQ(tabs.GetItem(n)->text.toStdString(), run->GetPropText("Name"));
    EXPECT_EQ(m_view->FindRunPage(&run->GetBOM()), n);
  }
  EXPECT_EQ(m_view->FindRunPage(nullptr), tabs.GetCurSel());
  // Page titles follow run names, and the page's item numbers the new prefix.
  m_view->SetPageTitle(2, "Renamed");
  m_view->SetPageTitle(9, "ignored");
  EXPECT_EQ(tabs.GetItem(2)->text, "Renamed");
  EXPECT_EQ(m_view->GetPage(2)->GetCellText(1, 1), "Renamed.1");

  ASSERT_TRUE(m_view->SelectPage(0));
  EXPECT_FALSE(m_view->SelectPage(4));
  ASSERT_NE(m_view->GetGridWindow(), nullptr);
  EXPECT_EQ(&m_view->GetGridWindow()->GetModel(), m_view->GetPage(0));
  const CBOMGrid& total = *m_view->GetPage(0);
  ASSERT_EQ(total.GetLineCount(), 5);  // three own references, the shared one, edit line
  EXPECT_EQ(total.GetLineQuantity(total.FindLine("SHARED")), 6);
  QTest::qWait(20);
  ASSERT_TRUE(m_view->grab().save(QString::fromStdString(TestOutputPath("bom_pane.png"))));
}

// A change of any run reaches the total page while it is shown.
TEST_F(BOMViewTest, TotalsFollowEveryChange) {
  ASSERT_TRUE(m_view->SelectPage(0));
  const CBOMGrid& total = *m_view->GetPage(0);
  const struct {
    int run;
    const char* reference;
    int add, expected;
  } rows[] = {{0, "SHARED", 3, 9}, {2, "SHARED", -2, 7}, {1, "NEW", 4, 4}, {1, "NEW", -4, 0}};
  for (const auto& row : rows) {
    CBOMGrid& grid = m_document->GetRunAt(row.run)->GetBOM();
    if (row.add > 0) grid.AddRefQuantity(row.reference, row.add);
    if (row.add < 0) grid.RemoveRefQuantity(row.reference, -row.add);
    QCoreApplication::processEvents();
    const int line = total.FindLine(row.reference);
    EXPECT_EQ(line < 0 ? 0 : total.GetLineQuantity(line), row.expected) << row.reference;
  }
}

// An element's line is selected on its run's page and on the total page only.
TEST_F(BOMViewTest, SelectingAnElementSelectsItsLine) {
  CRun& run = *m_document->GetRunAt(0);
  CDev* element = run.NewElement();  // owned by the run
  element->SetReference("SHARED");
  struct Row {
    int page;
    bool found;
  };
  for (const Row row : {Row{1, true}, Row{0, true}, Row{2, false}}) {
    ASSERT_TRUE(m_view->SelectPage(row.page));
    EXPECT_EQ(m_view->SelectLineInBOM(*element), row.found) << row.page;
    if (!row.found) continue;
    const CBOMGrid& grid = *m_view->GetPage(row.page);
    EXPECT_EQ(grid.GetSelection().top, grid.FindLine("SHARED")) << row.page;
    EXPECT_EQ(grid.GetSelection().bottom, grid.FindLine("SHARED")) << row.page;
  }
}

TEST_F(BOMViewTest, TheParentMayRefuseASelection) {
  COngletControl& tabs = m_view->GetTabs();
  tabs.SelectTab(1, 0);
  bool refuse = true;
  QObject::connect(&tabs, &COngletControl::TabChanging,
                   [&refuse](int, int, int, bool* allow) { *allow = !refuse; });
  QSignalSpy changed(&tabs, &COngletControl::TabChanged);
  QTest::mouseClick(&tabs, Qt::LeftButton, {}, TabPoint(tabs, 2));
  EXPECT_EQ(tabs.GetCurSel(), 1);
  EXPECT_EQ(changed.count(), 0);
  refuse = false;
  tabs.SelectTab(3, 0);
  QTest::keyClick(&tabs, Qt::Key_Right);  // wraps round
  EXPECT_EQ(tabs.GetCurSel(), 0);
  QTest::keyClick(&tabs, Qt::Key_Left);
  EXPECT_EQ(tabs.GetCurSel(), 3);
  EXPECT_EQ(changed.count(), 3);
}

TEST_F(BOMViewTest, ArrowsScrollTabsThatDoNotFit) {
  COngletControl tabs(nullptr, false);
  for (int n = 0; n < 8; ++n) tabs.AddTab(QString("Run page %1").arg(n));
  tabs.resize(200, 30);
  tabs.show();
  ASSERT_TRUE(tabs.CanScroll());
  EXPECT_EQ(tabs.GetFirstVisible(), 0);
  tabs.ScrollBy(COngletControl::kArrowPrevious);  // disabled at the start
  EXPECT_EQ(tabs.GetFirstVisible(), 0);
  const QRect arrows = tabs.ArrowRect();
  const QPoint next(arrows.left() + 40, tabs.height() - 1 - arrows.center().y());
  QTest::mousePress(&tabs, Qt::LeftButton, {}, next);
  EXPECT_EQ(tabs.GetFirstVisible(), 1);
  QTest::qWait(COngletControl::kRepeatMs * 2 + 200);  // held: one more tab per period
  QTest::mouseRelease(&tabs, Qt::LeftButton, {}, next);
  EXPECT_GE(tabs.GetFirstVisible(), 3);
  tabs.ScrollBy(COngletControl::kArrowLast);
  EXPECT_TRUE(tabs.IsFullyVisible(7));
  const int last = tabs.GetFirstVisible();
  tabs.ScrollBy(COngletControl::kArrowNext);  // disabled once the last tab shows
  EXPECT_EQ(tabs.GetFirstVisible(), last);
  tabs.ScrollBy(COngletControl::kArrowFirst);
  EXPECT_EQ(tabs.GetFirstVisible(), 0);
}

// Dragging tab 3 onto tab 1 gives 0, 3, 1, 2; the document's runs follow, the document is
// modified and the move is one undo step.
TEST_F(BOMViewTest, DraggingATabReordersTheRunsAsAnUndoableChange) {
  COngletControl& tabs = m_view->GetTabs();
  const std::vector<CRun*> runs = m_document->GetRuns();
  std::vector<std::string> names;
  for (CRun* run : runs) names.push_back(run->GetPropText("Name"));
  const int steps = m_document->GetUndo().GetLast();
  QTest::mousePress(&tabs, Qt::LeftButton, {}, TabPoint(tabs, 3));
  QTest::mouseMove(&tabs, TabPoint(tabs, 1));
  EXPECT_EQ(tabs.GetDragTarget(), 1);
  QTest::mouseRelease(&tabs, Qt::LeftButton, {}, TabPoint(tabs, 1));
  EXPECT_EQ(tabs.GetCurSel(), 1);
  EXPECT_EQ(tabs.GetMarked(), 1);
  const std::vector<std::string> order = {names[2], names[0], names[1]};
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(tabs.GetItem(n + 1)->text.toStdString(), order[static_cast<std::size_t>(n)]);
    EXPECT_EQ(m_document->GetRunAt(n)->GetPropText("Name"), order[static_cast<std::size_t>(n)]);
    EXPECT_EQ(m_view->GetPage(n + 1), &m_document->GetRunAt(n)->GetBOM());
  }
  EXPECT_TRUE(m_document->IsModified());
  EXPECT_EQ(m_document->GetUndo().GetLast(), steps + 1);
  // The total page can be neither dragged nor a drop target.
  QTest::mousePress(&tabs, Qt::LeftButton, {}, TabPoint(tabs, 0));
  QTest::mouseRelease(&tabs, Qt::LeftButton, {}, TabPoint(tabs, 2));
  EXPECT_EQ(tabs.GetCurSel(), 0);
  EXPECT_EQ(m_document->GetRunAt(0)->GetPropText("Name"), order[0]);
}

// A placed run's page shows that run alone, the totals page every run; another run made
// current from the totals page leaves it shown; a page the document asks back for (an
// undone step) is shown again.
TEST_F(BOMViewTest, ThePageShownDecidesWhetherTheLayoutShowsOneRun) {
  for (CRun* run : m_document->GetRuns()) run->SetFlagsWord(1);
  COngletControl& tabs = m_view->GetTabs();
  const struct {
    int page;
    bool alone;
  } rows[] = {{2, true}, {0, false}, {3, true}, {1, true}, {0, false}};
  for (const auto& row : rows) {
    ASSERT_TRUE(m_view->SelectPage(row.page));
    EXPECT_EQ(m_document->IsCurrentRunOnly(), row.alone) << row.page;
    EXPECT_EQ(m_document->GetBomPage(), row.page);
    if (row.page > 0) {
      EXPECT_EQ(m_document->GetCurrentRun(), m_document->GetRunAt(row.page - 1));
    }
  }
  m_document->SetCurrentRun(m_document->GetRunAt(2));
  EXPECT_EQ(tabs.GetCurSel(), 0);
  EXPECT_FALSE(m_document->IsCurrentRunOnly());
  m_document->SetBomPage(2);
  m_document->UpdateAllViews();
  EXPECT_EQ(tabs.GetCurSel(), 2);
  EXPECT_TRUE(m_document->IsCurrentRunOnly());
  EXPECT_EQ(m_document->GetCurrentRun(), m_document->GetRunAt(1));
}

TEST_F(BOMViewTest, PrintsTheShownPageToPdf) {
  m_document->SetDocPropertyModified("Name", "Plant room");
  ASSERT_TRUE(m_view->SelectPage(1));
  const QString path = QString::fromStdString(TestOutputPath("bom_print.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  ASSERT_EQ(m_view->Print(printer), 1);
  QProcess reader;
  reader.start("pdftotext", {"-layout", path, "-"});
  ASSERT_TRUE(reader.waitForFinished(10000));
  const QString text = QString::fromUtf8(reader.readAllStandardOutput());
  for (const char* expected : {"Plant room", "QJF-1", "SHARED"})
    EXPECT_TRUE(text.contains(expected)) << expected;
  EXPECT_FALSE(text.contains("QJF-2"));  // another run's page
}

}  // namespace
