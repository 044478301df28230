// The phase order seen along a run and the page that chooses it.

#include <gtest/gtest.h>

#include "model/run/phase_order.h"
#include "pages/phase_order_page.h"
#include "page_test_support.h"

namespace {

// A run: start, two straights, a phase-changing unit, a straight; the unit's variant
// and the run's code set by each case.
class PhaseOrderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chain.push_back(run.NewElement());
    chain[0]->SetKind(CDev::kEnd);
    chain[0]->SetDirection(4);
    for (int kind : {CDev::kStraight, CDev::kInLineVariant, CDev::kStraight}) {
      CDev* element = run.NewElement();
      element->SetKind(kind);
      element->SetDirection(4);
      element->SetNeighbour(0, chain.back());
      chain.back()->SetNeighbour(4, element);
      chain.push_back(element);
    }
    for (CDev* element : chain) run.AddDevice(element);
  }
  void SetRunCode(int code) { run.SetFlagsWord(phase_order::WithCode(run.GetFlagsWord(), code)); }
  int RunCode() const { return phase_order::CodeOfFlags(run.GetFlagsWord()); }
  CDev& Unit() { return *chain[2]; }

  CRun run;
  std::vector<CDev*> chain;
};

struct OrderCase {
  const char* what;
  int variant;  // of the unit
  int runCode;
  int element;  // index in the chain
  int mode;
  int expected;
};

TEST_F(PhaseOrderTest, TheOrderAtAnElementFollowsTheChangesUpstream) {
  const OrderCase cases[] = {
      {"no changing element: the run's own code", 0, 4, 3, 0, 4},
      {"a reversal upstream", 7, 1, 3, 0, 0},
      {"at the reversing unit itself", 7, 1, 2, 0, 0},
      {"before the unit nothing changes", 7, 1, 1, 0, 1},
      {"variant 8 reverses too", 8, 2, 3, 0, 5},
      {"a rotation upstream", 13, 1, 3, 0, 3},
      {"codes 6 and 7 are no order and count as 0", 7, 7, 3, 0, 1},
      {"backwards: the run code that gives the present code at the element", 13, 1, 3, -1, 5},
      {"backwards through a reversal", 7, 0, 3, -1, 1},
  };
  for (const OrderCase& row : cases) {
    SCOPED_TRACE(row.what);
    Unit().SetVariantBoth(row.variant);
    SetRunCode(row.runCode);
    EXPECT_EQ(GetPhaseOrderAt(*chain[static_cast<std::size_t>(row.element)], row.mode),
              row.expected);
  }
}

TEST_F(PhaseOrderTest, ALoopOfBackLinksEndsTheWalk) {
  Unit().SetVariantBoth(7);
  SetRunCode(1);
  // A damaged file: the start points back at the last element.
  chain[0]->SetNeighbour(0, chain[3]);
  chain[0]->SetDirection(4);
  chain[3]->SetNeighbour(4, chain[0]);
  EXPECT_EQ(GetPhaseOrderAt(*chain[3], 0), 0);
}

TEST_F(PhaseOrderTest, ChoosingAnOrderWritesTheRunCodeThatGivesIt) {
  Unit().SetVariantBoth(13);
  SetRunCode(1);
  run.SetFlagsWord(run.GetFlagsWord() | phase_order::kUserChosen);
  CPhaseOrderPage page;
  page.SetObject(chain[3]);
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetSelection(), -1);  // code 3 is not offered
  page.OnOrderChange(1);
  EXPECT_EQ(RunCode(), 5);
  EXPECT_EQ(GetPhaseOrderAt(*chain[3], 0), 1);
  EXPECT_EQ(page.GetSelection(), 1);
}

struct ResetCase {
  const char* what;
  const char* catalog;
  int oldCode;
  int defaultCode;
};

TEST_F(PhaseOrderTest, ClearingTheUserChoiceResetsTheWholeCode) {
  const ResetCase cases[] = {
      {"code 5 left half would read as 213", "QDA", 5, 0},
      {"range QG defaults to 123", "QGA", 4, 1},
      {"a stored code of 7 is reset too", "QMA", 7, 0},
  };
  for (const ResetCase& row : cases) {
    SCOPED_TRACE(row.what);
    run.SetCatalog(row.catalog);
    run.SetFlagsWord(
        phase_order::WithCode(0x1 | 0x20 | 0xC0 | phase_order::kUserChosen, row.oldCode));
    CPhaseOrderPage page;
    page.SetObject(chain[1]);
    ASSERT_TRUE(page.Load());
    page.OnUserOrderCheck(false);
    EXPECT_EQ(RunCode(), row.defaultCode);
    EXPECT_EQ(run.GetFlagsWord() & 0x330, phase_order::WithCode(0, row.defaultCode));
    // The mounting bits and bit 0 are no business of this page.
    EXPECT_EQ(run.GetFlagsWord() & 0xC1u, 0xC1u);
    EXPECT_FALSE(page.IsUserOrder());
    EXPECT_FALSE(page.IsOrderEnabled());
  }
}

TEST_F(PhaseOrderTest, TheDisplayFlagIsBitOne) {
  CPhaseOrderPage page;
  page.SetObject(chain[1]);
  ASSERT_TRUE(page.Load());
  page.OnDisplayFlagCheck(true);
  EXPECT_NE(run.GetFlagsWord() & phase_order::kDisplayFlag, 0u);
  page.OnDisplayFlagCheck(false);
  EXPECT_EQ(run.GetFlagsWord() & phase_order::kDisplayFlag, 0u);
}

struct LabelCase {
  const char* neutral;
  const char* catalog;
  const char* first;
  const char* second;
};

TEST(PhaseOrderLabelsTest, LabelsCarryTheNeutralAndEarthMarks) {
  const LabelCase cases[] = {
      {"3", "QDA", "321", "123"},
      {"4", "QDA", "N321", "N123"},
      {"", "QDA", "N321", "N123"},
      {"5", "QGA", "PE N321", "PE N123"},
      {"4b", "QGA", "4321", "4123"},
      {"4", "QGA", "N321", "N123"},
      {"99999999999999999999", "QDA", "N321", "N123"},
  };
  for (const LabelCase& row : cases) {
    SCOPED_TRACE(std::string(row.neutral) + " " + row.catalog);
    const std::vector<std::string> labels = CPhaseOrderPage::OrderLabels(row.neutral, row.catalog);
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_EQ(labels[0], row.first);
    EXPECT_EQ(labels[1], row.second);
  }
}

// On the QD sample, each handler is one undo step of the element edit.
class SamplePhaseOrderTest : public SamplePageTest {};

TEST_F(SamplePhaseOrderTest, EachChangeIsAnUndoStep) {
  CDev* element = InnerStraight(0);
  ASSERT_NE(element, nullptr);
  CPhaseOrderPage page;
  page.SetObject(element);
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetLabels().size(), 2u);
  const std::uint32_t before = Run(0).GetFlagsWord();
  const int steps = UndoSteps();
  page.OnUserOrderCheck(true);
  EXPECT_NE(Run(0).GetFlagsWord() & phase_order::kUserChosen, 0u);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Run(0).GetFlagsWord(), before);
}

}  // namespace
