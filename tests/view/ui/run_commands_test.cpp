// The run commands of the layout window (new run, bill-of-materials rebuild, run update)
// on the QD sample the program ships.

#include <gtest/gtest.h>

#include "app/profile.h"
#include "app/ui/command_ids.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/builder/part_builder.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "ranges/range_test_support.h"
#include "support/temp_folder.h"
#include "view/ui/child_frame.h"

namespace {

class RunCommandsTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    m_folder.WriteFile("TVR.INI", "[Design]\nSplit=1\n");
    m_profile = std::make_unique<CProfile>(m_folder.File("TVR.INI"));
    CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
    m_environment.profile = m_profile.get();
    m_environment.settingsFolder = m_folder.Folder();
  }
  std::unique_ptr<CDorneDoc> OpenSample() {
    auto document = std::make_unique<CDorneDoc>(m_environment);
    EXPECT_TRUE(document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
    return document;
  }
  // Runs a command in a layout frame over the document; the beeps it gave.
  int Run(CDorneDoc& document, int command) {
    CChildFrame frame(document, CDorneView::CContext());
    frame.resize(640, 480);
    int beeps = 0;
    frame.View()->SetBeeper([&beeps] { ++beeps; });
    EXPECT_TRUE(frame.OnCommand(command));
    return beeps;
  }
  CTempFolder m_folder{"run-commands"};
  std::unique_ptr<CProfile> m_profile;
  CDocEnvironment m_environment;
};

TEST_F(RunCommandsTest, NewRunTakesTheCurrentRunsRangeAndRating) {
  std::unique_ptr<CDorneDoc> document = OpenSample();
  const CRun* old = document->GetCurrentRun();
  ASSERT_NE(old, nullptr);
  const int runs = document->GetRunCount();
  EXPECT_EQ(Run(*document, kIdNewRun), 0);
  ASSERT_EQ(document->GetRunCount(), runs + 1);
  CRun* made = document->GetCurrentRun();
  EXPECT_EQ(made, document->GetRunAt(runs));
  EXPECT_EQ(made->GetPropText("Catalog"), old->GetPropText("Catalog"));
  EXPECT_EQ(made->GetPropText("Calibre"), old->GetPropText("Calibre"));
  // A run of the range, known, waiting for its start to be placed.
  EXPECT_NE(made->CreatePartBuilder(), nullptr);
  EXPECT_EQ(made->GetCatalogueKnown(), 1);
  EXPECT_EQ(made->GetFlagsWord(), 0u);
  EXPECT_NE(made->GetStartMarker(), nullptr);
  EXPECT_EQ(document->GetToolMode(), CDorneDoc::kToolPlaceStart);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(document->GetRunCount(), runs);
}

TEST_F(RunCommandsTest, NewRunAfterAGenericRunIsGeneric) {
  CDorneDoc document(m_environment);
  document.OnNewDocument("01/01/2026");
  EXPECT_EQ(Run(document, kIdNewRun), 0);
  ASSERT_EQ(document.GetRunCount(), 2);
  EXPECT_EQ(document.GetCurrentRun()->GetPropText("Catalog"), "");
  EXPECT_EQ(document.GetCurrentRun()->CreatePartBuilder(), nullptr);
  EXPECT_TRUE(document.IsModified());
}

TEST_F(RunCommandsTest, BillOfMaterialsRebuildIsOneUndoStep) {
  std::unique_ptr<CDorneDoc> document = OpenSample();
  CRun* run = document->GetCurrentRun();
  ASSERT_EQ(run->RebuildParts(1), 1);
  ASSERT_EQ(run->GetPartsState(), 2);
  const int builtLines = run->GetBOM().GetLineCount();
  EXPECT_EQ(Run(*document, kIdRebuildBom), 0);
  // A built run is built again: its parts keep their catalogue references.
  EXPECT_EQ(document->GetCurrentRun()->GetPartsState(), 2);
  EXPECT_EQ(document->GetCurrentRun()->GetBOM().GetLineCount(), builtLines);
  EXPECT_TRUE(document->IsModified());
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(document->GetCurrentRun()->GetPartsState(), 2);
  EXPECT_EQ(document->GetCurrentRun()->GetBOM().GetLineCount(), builtLines);
}

// A run whose range builds no parts would lose what its file holds, for good.
TEST_F(RunCommandsTest, RunsWithoutAPartBuilderAreLeftAlone) {
  for (int command : {kIdRebuildBom, kIdUpdateRun}) {
    SCOPED_TRACE(command);
    CDorneDoc document(m_environment);
    document.OnNewDocument("01/01/2026");
    CRun* run = document.GetCurrentRun();
    run->GetBOM().AddRefQuantity("HAND-MADE", 3);
    EXPECT_EQ(Run(document, command), 1);
    EXPECT_EQ(run->GetBOM().GetLineQuantity(run->GetBOM().FindLine("HAND-MADE")), 3);
    EXPECT_FALSE(document.GetUndo().GetUndoMenuText(false, "Undo", {}).first);
  }
}

TEST_F(RunCommandsTest, UpdateRunTurnsTheRunEndForEnd) {
  std::unique_ptr<CDorneDoc> document = OpenSample();
  CRun* run = document->GetCurrentRun();
  const C3DPoint oldStart = run->GetFirstElement()->GetPosition();
  C3DPoint farEnd = oldStart;
  for (const CDev* device : run->GetDevices()) {
    if (device->GetKind() == CDev::kEnd && device != run->GetFirstElement())
      farEnd = device->GetPosition();
  }
  ASSERT_NE(farEnd, oldStart);
  EXPECT_EQ(Run(*document, kIdUpdateRun), 0);
  EXPECT_EQ(document->GetCurrentRun()->GetFirstElement()->GetPosition(), farEnd);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(document->GetCurrentRun()->GetFirstElement()->GetPosition(), oldStart);
}

}  // namespace
