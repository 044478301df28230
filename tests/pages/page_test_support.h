#pragma once

#include "app/profile.h"
#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/element_selection.h"
#include "model/run.h"
#include "model/run_environment.h"
#include "model/undo_manager.h"
#include "ranges/range_test_support.h"
#include "support/temp_folder.h"

#include <memory>
#include <string>
#include <vector>

// The QD sample document the build writes, opened as the program opens it (with undo
// snapshots in a settings folder of the test's own).
class SamplePageTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
    m_folder.WriteFile("TVR.INI", "[Design]\nSplit=1\n");
    m_profile = std::make_unique<CProfile>(m_folder.File("TVR.INI"));
    CDocEnvironment environment;
    environment.profile = m_profile.get();
    environment.settingsFolder = m_folder.Folder();
    document = std::make_unique<CDorneDoc>(environment);
    ASSERT_TRUE(document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
  }
  void TearDown() override {
    document.reset();
    RangeTest::TearDown();
  }

  CRun& Run(int index) { return *document->GetRunAt(index); }
  // The elements of the run's chain of that kind, in chain order.
  std::vector<CDev*> Elements(int run, int kind) {
    std::vector<CDev*> found;
    for (CDev* element : Run(run).GetChainOrder())
      if (element->GetKind() == kind) found.push_back(element);
    return found;
  }
  // The longest element of the run's lines (a straight, or a joint once the parts are
  // built) with a back neighbour and a forward neighbour.
  CDev* InnerStraight(int run) {
    CDev* longest = nullptr;
    for (CDev* element : Run(run).GetChainOrder()) {
      const int kind = element->GetKind();
      if ((kind == CDev::kStraight || kind == CDev::kJoint) &&
          element->GetBackNeighbour() != nullptr &&
          element->GetNeighbour(element->GetDirection()) != nullptr &&
          (longest == nullptr || element->GetBookedLength() > longest->GetBookedLength()))
        longest = element;
    }
    return longest;
  }
  void SelectFace(CDev& element) { document->Selection().Select(&element, element.GetBackFace()); }
  void SelectWhole(CDev& element) {
    document->Selection().Select(&element, CElementSelection::kWholeElement);
  }
  // The sum of the run's length records: what the bill of materials counts of lengths.
  static std::int64_t BookedTotal(const CRun& run) {
    std::int64_t total = 0;
    for (const CDev* record : run.GetLengthRecords()) total += record->GetBookedLength();
    return total;
  }
  int UndoSteps() { return document->GetUndo().GetPosition(); }

  std::unique_ptr<CDorneDoc> document;

 private:
  CTempFolder m_folder{"pages"};
  std::unique_ptr<CProfile> m_profile;
};
