// The bill-of-materials pane made over a design read from its file, as the layout window
// makes it when the design opens: every run's page is laid out, the page the design was
// saved on is shown and no other, and each run's page first chosen after opening looks as
// it does when chosen again. The pane is kept as build/test-output/bom_pane_opened.png.

#include "view/ui/bom_view.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <string>
#include <vector>

#include "grid/ui/grid_control.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"
#include "view/ui/onglet_control.h"

namespace {

struct SavedDesign {
  std::string name;
  int runs;
  int currentRun;
  bool totalsShown;
  int shownPage;  // the page the pane must show at open
};

class BOMViewOpenTest : public ::testing::Test {
 protected:
  // A design of that many runs, run i booking i + 2 references (one shared by all), saved
  // with that run current and the totals page shown or not, and opened again.
  std::unique_ptr<CDorneDoc> OpenedDesign(const SavedDesign& design) {
    auto document = NewDocument();
    document->OnNewDocument("2026-12-01");
    while (document->GetRunCount() < design.runs) document->AddNewRun();
    for (int r = 0; r < design.runs; ++r) {
      CBOMGrid& bill = document->GetRunAt(r)->GetBOM();
      bill.AddRefQuantity("SHARED", 2);
      for (int i = 0; i <= r; ++i) bill.AddRefQuantity("QJF-" + std::to_string(r * 10 + i), i + 1);
    }
    document->SetCurrentRun(document->GetRunAt(design.currentRun));
    document->SetTotalsPageShown(design.totalsShown);
    const std::string path = m_folder.File("design.run");
    EXPECT_TRUE(document->OnSaveDocument(path).ok);
    auto opened = NewDocument();
    EXPECT_TRUE(opened->OnOpenDocument(path).ok);
    return opened;
  }

  std::unique_ptr<CDorneDoc> NewDocument() const {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    return std::make_unique<CDorneDoc>(environment);
  }

  CTempFolder m_folder{"bomview-open"};
};

// The grid windows of the pane that show, each by the page it shows.
std::vector<const CGridModel*> ShownWindows(const CBOMView& pane) {
  std::vector<const CGridModel*> shown;
  for (const CGridControl* window : pane.findChildren<CGridControl*>()) {
    if (window->isVisible()) shown.push_back(&window->GetModel());
  }
  return shown;
}

QImage PageImage(CBOMView& pane, int page) {
  EXPECT_TRUE(pane.SelectPage(page));
  QTest::qWait(10);
  return pane.GetGridWindow()->grab().toImage();
}

TEST_F(BOMViewOpenTest, TheSavedPageIsShownAndEveryRunPageLooksAsWhenChosenAgain) {
  const std::vector<SavedDesign> designs = {
      {"saved on the totals page", 6, 2, true, 0},
      {"saved on a middle run's page", 6, 2, false, 3},
      {"saved on the last run's page", 6, 5, false, 6},
      {"a design of one run", 1, 0, false, 1},
  };
  for (const SavedDesign& design : designs) {
    SCOPED_TRACE(design.name);
    std::unique_ptr<CDorneDoc> document = OpenedDesign(design);
    ASSERT_EQ(document->GetRunCount(), design.runs);
    CBOMView pane(*document);
    pane.resize(560, 260);
    pane.show();
    QTest::qWait(10);
    ASSERT_EQ(pane.GetPageCount(), design.runs + 1);
    EXPECT_EQ(pane.GetTabs().GetCurSel(), design.shownPage);
    EXPECT_EQ(document->GetBomPage(), design.shownPage);
    ASSERT_NE(pane.GetGridWindow(), nullptr);
    EXPECT_EQ(&pane.GetGridWindow()->GetModel(), pane.GetPage(design.shownPage));
    EXPECT_EQ(ShownWindows(pane), std::vector<const CGridModel*>{pane.GetPage(design.shownPage)});
    if (design.shownPage == 3) {
      ASSERT_TRUE(pane.grab().save(QString::fromStdString(TestOutputPath("bom_pane_opened.png"))));
    }
    // Every run's page was laid out at open: its lines numbered after its run's name.
    for (int page = 1; page < pane.GetPageCount(); ++page) {
      const CBOMGrid& bill = *pane.GetPage(page);
      EXPECT_EQ(bill.GetCellText(1, 1), document->GetRunAt(page - 1)->GetPropText("Name") + ".1")
          << "page " << page;
    }
    // Run pages are laid out at open; the total page is filled when first chosen.
    std::vector<QImage> firstChosen;
    for (int page = 1; page < pane.GetPageCount(); ++page)
      firstChosen.push_back(PageImage(pane, page));
    for (int page = 1; page < pane.GetPageCount(); ++page) {
      EXPECT_EQ(PageImage(pane, page), firstChosen[static_cast<std::size_t>(page - 1)])
          << "page " << page;
      EXPECT_EQ(ShownWindows(pane), std::vector<const CGridModel*>{pane.GetPage(page)});
    }
  }
}

}  // namespace
