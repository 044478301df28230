// The option check page: the box follows what the run's range answers for the element
// (not offered, on, off), a click asks the range to set or clear the option as one undo
// step, and a range that reports no change leaves the model as it was.

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "pages/option_check_page.h"

namespace {

// A run whose range offers the option to elements of kind 2 only.
class OptionRun : public CRun {
 public:
  using CRun::CRun;
  int AccessOption(CDev* element, int request) override {
    ++calls;
    if (element == nullptr || element->GetKind() != CDev::kElbow) return 0;
    if (request == 0) return on ? 1 : 2;
    if (stuck) return 0;
    const bool wanted = request > 0;
    const bool changed = wanted != on;
    on = wanted;
    return changed ? 1 : 0;
  }
  bool on = false;
  bool stuck = false;
  int calls = 0;
};

class OptionCheckPageTest : public SamplePageTest {};

TEST_F(OptionCheckPageTest, TheBoxFollowsTheRangeAndAClickSetsOrClearsTheOption) {
  OptionRun run;
  CDev* elbow = run.NewElement();
  elbow->SetKind(CDev::kElbow);
  COptionCheckPage page;
  page.SetObject(elbow);
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.IsEnabled());
  EXPECT_FALSE(page.IsChecked());
  ASSERT_EQ(page.SetChecked(true).result, EApplyResult::kApplied);
  EXPECT_TRUE(run.on);
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.IsChecked());
  // Asking for the state it has already changes nothing.
  EXPECT_EQ(page.SetChecked(true).result, EApplyResult::kUnchanged);
  ASSERT_EQ(page.SetChecked(false).result, EApplyResult::kApplied);
  EXPECT_FALSE(run.on);
}

TEST_F(OptionCheckPageTest, ARangeThatReportsNoChangeLeavesTheOptionAsItWas) {
  OptionRun run;
  run.stuck = true;
  CDev* elbow = run.NewElement();
  elbow->SetKind(CDev::kElbow);
  COptionCheckPage page;
  page.SetObject(elbow);
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.SetChecked(true).result, EApplyResult::kUnchanged);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.IsChecked());
}

TEST_F(OptionCheckPageTest, AnElementTheRangeDoesNotDecideAboutHasTheBoxOff) {
  OptionRun run;
  CDev* straight = run.NewElement();
  COptionCheckPage page;
  page.SetObject(straight);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.IsEnabled());
  EXPECT_FALSE(page.IsChecked());
  EXPECT_EQ(page.SetChecked(true).result, EApplyResult::kUnchanged);
  // On the QD sample no range decides: the box is off and clicking changes nothing.
  CDev* inner = InnerStraight(0);
  page.SetObject(inner);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.IsEnabled());
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  EXPECT_EQ(page.SetChecked(true).result, EApplyResult::kUnchanged);
  EXPECT_EQ(UndoSteps(), steps);
  EXPECT_EQ(Bytes(), before);
}

}  // namespace
