// The element pages on the QW sample: the elbow page that the range lists for a whole
// elbow (its page word from the turn, its caption naming the special condition), and
// the riser page with the QW plug length of 1700 between 1200 and 2000.

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "pages/elbow_page.h"
#include "pages/riser_page.h"

#include <algorithm>

namespace {

class QWPagesTest : public QWSamplePageTest {};

TEST_F(QWPagesTest, AWholeElbowListsTheElbowPageWithTheWordOfItsTurn) {
  std::vector<CDev*> elbows = Elements(0, CDev::kElbow);
  ASSERT_FALSE(elbows.empty());
  for (CDev* elbow : elbows) {
    SelectWhole(*elbow);
    const std::vector<int> pages = Run(0).GetSubObjects(*elbow);
    ASSERT_NE(std::find(pages.begin(), pages.end(), kPageElbow), pages.end());
    CElbowPage page;
    page.SetObject(elbow, elbow->GetPageWord(kPageElbow));
    ASSERT_TRUE(page.Load());
    EXPECT_TRUE(page.IsAngleCaptionExtended());
    EXPECT_EQ(page.IsAngleShown(), (elbow->GetPageWord(kPageElbow) & CElbowPage::kNoAngle) == 0);
  }
}

TEST_F(QWPagesTest, AQWElbowTakesASpecialAngleWhileTheRunIsNotBuilt) {
  Unbuild(0);
  CDev* elbow = nullptr;
  for (CDev* candidate : Elements(0, CDev::kElbow))
    if ((candidate->GetPageWord(kPageElbow) & CElbowPage::kNoAngle) == 0) elbow = candidate;
  if (elbow == nullptr) GTEST_SKIP() << "the sample's first run has no elbow that turns freely";
  SelectWhole(*elbow);
  CElbowPage page;
  page.SetObject(elbow, elbow->GetPageWord(kPageElbow));
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.IsAngleBoxEnabled());
  page.ToggleSpecialAngle();
  page.SetAngleText("93");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  // QW keeps the angle as typed; only QP rounds to steps of 5.
  EXPECT_EQ(elbow->GetFieldText("ELBOW_ANGL").value_or(""), "93");
}

TEST_F(QWPagesTest, TheRiserPlugOfQWKeepsItsLimits) {
  CDev* unit = InsertUnit(0);
  ASSERT_NE(unit, nullptr);
  CRiserPage page;
  page.SetObject(unit);
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetStandardPlug(), 1700);
  EXPECT_EQ(page.GetPlugMinimum(), 1200);
  EXPECT_EQ(page.GetPlugMaximum(), 2000);
  for (const auto& [typed, field] : std::vector<std::pair<const char*, const char*>>{
           {"1000", "-500"}, {"2500", "300"}, {"1800", "100"}, {"1700", ""}}) {
    page.SetPlugText(typed);
    page.Apply();
    EXPECT_EQ(unit->GetFieldText("PLUG1").value_or(""), field) << typed;
  }
}

}  // namespace
