#include "model/document/dorne_doc_test_support.h"

#include "model/document/doc_command_rules.h"

namespace {

class DocCommandRulesTest : public DorneDocTestBase {};

TEST_F(DocCommandRulesTest, StatesFollowTheCurrentRunToolModeAndPreset) {
  auto document = NewDocument();
  document->OnNewDocument("d");  // one run, start not placed, tool mode 10
  CDocCommandContext context;
  struct Row {
    const char* guards;
    int command;
    bool enabled, checked;
  };
  auto check = [&](const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      const CDocCommandState state = GetDocCommandState(*document, row.command, context);
      EXPECT_TRUE(state.handled) << row.guards;
      EXPECT_EQ(state.enabled, row.enabled) << row.guards;
      EXPECT_EQ(state.checked, row.checked) << row.guards;
    }
  };
  check({{"save always", 57603, true, false},
         {"new run waits for the start", 32789, false, false},
         {"delete run needs two runs", 32879, false, false},
         {"select tool waits for the start", 32780, false, false},
         {"redo without an undone step", 57644, false, false},
         {"rotation needs a catalogue", 32950, false, false},
         {"preset 0 not chosen", 33016, true, false}});
  CRun& run = AddRun(*document, "QDA");
  run.SetFlagsWord(1 | 2);
  document->SetToolMode(2);
  document->SetViewPreset(9);
  context.redoPossible = true;
  check({{"new run once placed", 32789, true, false},
         {"delete run with two runs", 32879, true, false},
         {"mode 2 tool checked", 32776, true, true},
         {"mode 1 tool not checked", 32781, true, false},
         {"run option checked by bit 1", 33037, true, true},
         {"rotation of a range run", 32950, true, false},
         {"preset 9 is command 33007", 33007, true, true},
         {"redo once undone", 57644, true, false},
         {"tap-off tool needs built parts", 33030, false, false}});
  EXPECT_FALSE(GetDocCommandState(*document, 12345, context).handled);
}

TEST_F(DocCommandRulesTest, MoveCopyAndDeleteFollowTheSecondStateFlagNotTheNeutralSide) {
  auto document = NewDocument();
  CRun& run = AddRun(*document, "QDA");
  std::vector<CDev*> chain = BuildChain(run);
  struct Row {
    const char* guards;
    std::uint32_t flags;
    bool selected;
    int command;
    bool enabled;
  };
  const Row rows[] = {
      {"move a placed run without its neutral side shown", 1, false, 32988, true},
      {"copy a placed run without its neutral side shown", 1, false, 33029, true},
      {"move with the neutral side shown", 1 | 2, false, 32988, true},
      {"move waits for the start", 0, false, 32988, false},
      {"copy waits for the start", 0, false, 33029, false},
      {"delete a selected element of a placed run", 1, true, 32862, true},
      {"delete needs a selection", 1, false, 32862, false},
      {"delete waits for the start", 0, true, 32862, false},
  };
  for (const Row& row : rows) {
    run.SetFlagsWord(row.flags);
    document->Selection().Select(row.selected ? chain.front() : nullptr,
                                 row.selected ? 0 : CElementSelection::kNoFace);
    EXPECT_EQ(GetDocCommandState(*document, row.command, {}).enabled, row.enabled) << row.guards;
  }
}

TEST_F(DocCommandRulesTest, RotationAndRunOption) {
  auto document = NewDocument();
  CRun& run = AddRun(*document, "QDA");
  const std::vector<std::pair<int, int>> forward = {
      {16, 32}, {32, 64}, {64, 128}, {128, 16}, {0, 0}};
  for (const auto& [from, to] : forward) {
    run.SetRotationFlag(from);
    document->RotateRunForward();
    EXPECT_EQ(run.GetRotation(), from == 0 ? 0 : to) << from;
    if (from != 0) document->RotateRunBackward();
    EXPECT_EQ(run.GetRotation(), from) << from;
  }
  run.SetFlagsWord(0x101);
  document->ToggleRunOption();
  EXPECT_EQ(run.GetFlagsWord(), 0x103u);
  document->ToggleRunOption();
  EXPECT_EQ(run.GetFlagsWord(), 0x101u);
  EXPECT_TRUE(document->IsModified());
}

}  // namespace
