// The element pages on the QP sample: the elbow angle in steps of 5, the mounting side
// that the range works out and the element's "MOUNT" overrides, and the option that
// QPA decides for its combined elbows, each as one undo step.

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "pages/elbow_page.h"
#include "pages/mounting_page.h"
#include "pages/option_check_page.h"
#include "pages/prop_page.h"
#include "ranges/range_pages.h"
#include "ranges/range_run.h"

#include <algorithm>

namespace {

class QPPagesTest : public QPSamplePageTest {
 protected:
  // The first element of the run that the run lists the page for, whole.
  CDev* Listing(int run, int page) {
    for (CDev* element : Run(run).GetChainOrder()) {
      SelectWhole(*element);
      const std::vector<int> pages = Run(run).GetSubObjects(*element);
      if (std::find(pages.begin(), pages.end(), page) != pages.end()) return element;
    }
    return nullptr;
  }
};

TEST_F(QPPagesTest, AQPAElbowRoundsATypedAngleToStepsOfFive) {
  Unbuild(0);
  CDev* elbow = Listing(0, kPageElbow);
  ASSERT_NE(elbow, nullptr);
  EXPECT_EQ(elbow->GetPageWord(kPageElbow), 0);
  CElbowPage page;
  page.SetObject(elbow, elbow->GetPageWord(kPageElbow));
  ASSERT_TRUE(page.Load());
  page.ToggleSpecialAngle();
  page.SetAngleText("93");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(elbow->GetFieldText("ELBOW_ANGL").value_or(""), "95");
  EXPECT_EQ(page.GetAngleText(), "95");
  page.SetAngleText("178");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(elbow->GetFieldText("ELBOW_ANGL").value_or(""), "175");
}

TEST_F(QPPagesTest, AQPDeviceFlipsToTheOtherSideAndBack) {
  // The page asks the range, whatever the element: the run's first end.
  CDev* device = Elements(0, CDev::kEnd).front();
  SelectWhole(*device);
  auto& range = dynamic_cast<CRangeRun&>(Run(0));
  CMountingPage page;
  page.SetObject(device);
  ASSERT_TRUE(page.Load());
  const int side = range.IsMountReversed(device, 0);
  EXPECT_EQ(page.GetSide(), side == 0 ? 0 : 1);
  const std::vector<std::uint8_t> before = Bytes();
  ASSERT_EQ(page.Flip().result, EApplyResult::kApplied);
  EXPECT_EQ(device->GetFieldText("MOUNT").value_or(""), "INV");
  EXPECT_NE(range.IsMountReversed(device, 0), side);
  ASSERT_EQ(page.Flip().result, EApplyResult::kApplied);
  EXPECT_EQ(device->GetFieldText("MOUNT").value_or(""), "");
  EXPECT_EQ(range.IsMountReversed(device, 0), side);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

TEST_F(QPPagesTest, TheQPAOptionOfACombinedElbowIsSwitchedAsOneUndoStep) {
  // A combined elbow of the family that takes the option, without it.
  Run(0).SetProp("QP_STEP", "1");
  CDev* elbow = nullptr;
  for (CDev* element : Elements(0, CDev::kElbow)) {
    CDev* holder = element->FindReferencedElement();
    if (elbow != nullptr || holder == nullptr || !holder->GetReference().starts_with("QPA400DLC"))
      continue;
    MoveOneQuantity(*holder, "QPA400DLC41A");
    elbow = element;
  }
  ASSERT_NE(elbow, nullptr);
  COptionCheckPage page;
  page.SetObject(elbow);
  ASSERT_TRUE(page.Load());
  ASSERT_TRUE(page.IsEnabled());
  EXPECT_FALSE(page.IsChecked());
  const std::string bill = BillText(Run(0));
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  ASSERT_EQ(page.SetChecked(true).result, EApplyResult::kApplied);
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.IsChecked());
  EXPECT_NE(BillText(Run(0)), bill);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

}  // namespace
