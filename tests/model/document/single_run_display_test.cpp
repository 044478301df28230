// The single-run display follows the bill-of-materials page shown: the page of a run whose
// start is placed shows that run alone (its boxes and the extra boxes of its elements),
// the totals page and the page of a run still at its marker show every run; placing a
// run's start while its page is shown shows it alone.

#include "model/document/single_run_display.h"

#include "model/document/dorne_doc_test_support.h"

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SingleRunDisplayTest : public DorneDocTestBase {
 protected:
  void SetUp() override {
    DorneDocTestBase::SetUp();
    m_document = NewDocument();
    // Runs 1 and 2 placed, run 3 still at its start marker.
    for (int i = 0; i < 3; ++i) {
      CRun& run = AddRun(*m_document, "QDA");
      BuildChain(run);
      run.SetFlagsWord(i < 2 ? 1 : 0);
    }
    // An element of the second run draws a box outside its slots.
    CDev& element = *m_document->GetRunAt(1)->GetDevices().front();
    m_document->InsertExtraBox(element, 0).SetPlacement(element.GetPosition(), 100, 100, 100);
    m_document->RebuildScene();
  }

  // The view's part of a page change: the page's run made current, then followed.
  void ShowPage(int page) {
    if (CRun* run = m_document->GetRunAt(page - 1)) m_document->SetCurrentRun(run);
    FollowShownPage(*m_document, page);
  }

  // The runs (1-based, in order) with an element box in the scene, joined by ",".
  std::string SceneRuns() const {
    std::string shown;
    for (int i = 0; i < m_document->GetRunCount(); ++i) {
      bool listed = false;
      for (const CDev* element : m_document->GetRunAt(i)->GetDevices())
        for (const auto& box : element->GetBoxSlots()) listed = listed || (box && box->IsListed());
      if (listed) shown += (shown.empty() ? "" : ",") + std::to_string(i + 1);
    }
    return shown;
  }
  bool ExtraBoxListed() const { return m_document->GetExtraBoxes().front()->IsListed(); }

  std::unique_ptr<CDorneDoc> m_document;
};

struct CPageCase {
  const char* guards;
  int page;
  int toolMode;
  bool alone;
  const char* sceneRuns;
  bool extraBox;  // the second run's extra box is in the scene
};

TEST_F(SingleRunDisplayTest, ThePageShownDecidesWhatTheSceneHolds) {
  const CPageCase cases[] = {
      {"the totals page shows every run", 0, CDorneDoc::kToolSelect, false, "1,2,3", true},
      {"a placed run's page shows it alone", 1, CDorneDoc::kToolSelect, true, "1", false},
      {"the extra boxes go with their run", 2, CDorneDoc::kToolSelect, true, "2", true},
      {"a run at its marker shows the others to be placed by", 3, CDorneDoc::kToolPlaceStart, false,
       "1,2,3", true},
      {"moving or copying a run shows every run", 1, CDorneDoc::kToolAllRuns, true, "1,2,3", true},
      {"a page past the last run shows every run", 9, CDorneDoc::kToolSelect, false, "1,2,3", true},
  };
  for (const CPageCase& row : cases) {
    SCOPED_TRACE(row.guards);
    // From a run shown alone and from every run shown alike.
    for (int before : {0, 2}) {
      ShowPage(before);
      ShowPage(row.page);
      m_document->SetToolMode(row.toolMode);
      FollowShownPage(*m_document, row.page);
      EXPECT_EQ(m_document->IsCurrentRunOnly(), row.alone);
      EXPECT_EQ(m_document->GetBomPage(), row.page);
      EXPECT_EQ(m_document->IsTotalsPageShown(), row.page == 0);
      EXPECT_EQ(SceneRuns(), row.sceneRuns) << "from page " << before;
      EXPECT_EQ(ExtraBoxListed(), row.extraBox) << "from page " << before;
      m_document->SetToolMode(CDorneDoc::kToolSelect);
    }
  }
}

TEST_F(SingleRunDisplayTest, PlacingAStartOnItsPageShowsTheRunAlone) {
  for (const int page : {0, 4}) {
    SCOPED_TRACE(page);
    ShowPage(0);
    m_document->AddNewRun();
    CRun& made = *m_document->GetCurrentRun();
    // The view shows the new run's page, or stays on the totals page.
    m_document->SetBomPage(page);
    m_document->PlaceRunStart(made);
    EXPECT_EQ(m_document->IsCurrentRunOnly(), page > 0);
    std::string every;
    for (int i = 1; i <= m_document->GetRunCount(); ++i)
      every += (i > 1 ? "," : "") + std::to_string(i);
    const std::string own = std::to_string(m_document->FindRunIndex(&made) + 1);
    EXPECT_EQ(SceneRuns(), page > 0 ? own : every);
  }
}

}  // namespace
