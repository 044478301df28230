// The rebuild command of the layout window on the QD sample the program ships.

#include <gtest/gtest.h>

#include "app/profile.h"
#include "app/ui/command_ids.h"
#include "model/document/doc_command_rules.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "ranges/range_test_support.h"
#include "support/temp_folder.h"
#include "view/ui/child_frame.h"

namespace {

class RebuildCommandTest : public RangeTest {
 protected:
  std::unique_ptr<CDorneDoc> OpenSample(const char* settings) {
    m_folder.WriteFile("TVR.INI", settings);
    m_profile = std::make_unique<CProfile>(m_folder.File("TVR.INI"));
    ConnectRunsAsTheStartUpDoes();
    CDocEnvironment environment;
    environment.profile = m_profile.get();
    environment.settingsFolder = m_folder.Folder();
    auto document = std::make_unique<CDorneDoc>(environment);
    EXPECT_TRUE(document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
    return document;
  }
  CTempFolder m_folder{"rebuild-command"};
  std::unique_ptr<CProfile> m_profile;
};

TEST_F(RebuildCommandTest, TheSplitSwitchGatesTheCommand) {
  for (const auto& [settings, enabled] :
       {std::pair{"[Design]\nSplit=1\n", true}, std::pair{"[Design]\nSplit=0\n", false}}) {
    SCOPED_TRACE(settings);
    std::unique_ptr<CDorneDoc> document = OpenSample(settings);
    EXPECT_EQ(GetDocCommandState(*document, kIdRebuildParts, {}).enabled, enabled);
  }
}

TEST_F(RebuildCommandTest, TheCurrentRunIsRebuiltAsOneUndoStep) {
  std::unique_ptr<CDorneDoc> document = OpenSample("[Design]\nSplit=1\n");
  CRun* run = document->GetCurrentRun();
  ASSERT_NE(run, nullptr);
  run->RebuildParts(-1);  // back to the generic references, parts not built
  ASSERT_EQ(run->GetPartsState(), 0);
  CChildFrame frame(*document, CDorneView::CContext());
  frame.resize(640, 480);
  ASSERT_TRUE(frame.OnCommand(kIdRebuildParts));
  EXPECT_EQ(document->GetCurrentRun()->GetPartsState(), 2);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(document->GetCurrentRun()->GetPartsState(), 0);
}

}  // namespace
