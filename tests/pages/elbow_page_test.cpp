// The elbow page on the QJF sample: a special angle between 90 and 179 degrees stored as
// one undo step, the QP rounding to steps of 5, refused angles that keep the old one,
// and the special length.

#include <gtest/gtest.h>

#include "geometry/box.h"
#include "page_test_support.h"
#include "pages/elbow_page.h"

namespace {

class ElbowPageTest : public QJFSamplePageTest {
 protected:
  // The page loaded on the first elbow of the run, the whole elbow selected.
  CDev& Load(CElbowPage& page, int word = 0) {
    std::vector<CDev*> elbows = Elements(0, CDev::kElbow);
    EXPECT_FALSE(elbows.empty());
    SelectWhole(*elbows.front());
    page.SetObject(elbows.front(), word);
    EXPECT_TRUE(page.Load());
    return *elbows.front();
  }
  static std::string Angle(const CDev& elbow) {
    return elbow.GetFieldText("ELBOW_ANGL").value_or("(none)");
  }
};

TEST_F(ElbowPageTest, AnElbowLoadsAsAStandardNinetyDegreeElbow) {
  CElbowPage page;
  Load(page);
  EXPECT_EQ(page.GetAngleText(), "90");
  EXPECT_FALSE(page.IsSpecialAngle());
  EXPECT_TRUE(page.IsAngleShown());
  EXPECT_FALSE(page.IsAngleEditable());
}

struct AngleCase {
  const char* typed;
  EApplyResult result;
  const char* stored;
};

TEST_F(ElbowPageTest, ATypedAngleIsStoredOnlyInsideItsLimits) {
  const AngleCase cases[] = {
      {"120", EApplyResult::kApplied, "120"},    {"179", EApplyResult::kApplied, "179"},
      {"91", EApplyResult::kApplied, "91"},      {"90", EApplyResult::kUnchanged, "(none)"},
      {"89", EApplyResult::kRefused, "(none)"},  {"180", EApplyResult::kRefused, "(none)"},
      {"200", EApplyResult::kRefused, "(none)"}, {"-95", EApplyResult::kRefused, "(none)"},
      {"abc", EApplyResult::kRefused, "(none)"},
  };
  for (const AngleCase& test : cases) {
    CElbowPage page;
    CDev& elbow = Load(page);
    elbow.SetPropValue("ELBOW_ANGL", "");
    page.ToggleSpecialAngle();
    page.SetAngleText(test.typed);
    EXPECT_EQ(page.Apply().result, test.result) << test.typed;
    EXPECT_EQ(Angle(elbow), test.stored) << test.typed;
    if (test.result == EApplyResult::kRefused) {
      EXPECT_EQ(page.GetAngleText(), "90") << test.typed;
    }
  }
}

TEST_F(ElbowPageTest, ASpecialAngleIsOneUndoStepThatBringsBackTheSavedBytes) {
  CElbowPage page;
  CDev& elbow = Load(page);
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  page.ToggleSpecialAngle();
  page.SetAngleText("135");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(Angle(elbow), "135");
  EXPECT_EQ(UndoSteps(), steps + 1);
  // The same angle again records nothing.
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

TEST_F(ElbowPageTest, ASpecialAngleRecoloursTheElbowAndChangesItsReferenceOnRebuild) {
  CElbowPage page;
  CDev& elbow = Load(page);
  CRun& run = Run(0);
  const std::uint32_t colour = elbow.GetBox(CDev::kBodySlot)->GetColor();
  const std::string bill = BillText(run);
  page.ToggleSpecialAngle();
  page.SetAngleText("120");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_NE(elbow.GetBox(CDev::kBodySlot)->GetColor(), colour);
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_NE(BillText(run), bill);
}

TEST_F(ElbowPageTest, TurningTheSpecialAngleOffPutsTheElbowBackToNinety) {
  CElbowPage page;
  CDev& elbow = Load(page);
  elbow.SetPropValue("ELBOW_ANGL", "150");
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.IsSpecialAngle());
  EXPECT_EQ(page.GetAngleText(), "150");
  page.ToggleSpecialAngle();
  EXPECT_EQ(page.GetAngleText(), "90");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(StoredElbowAngle(Angle(elbow)), 90);
}

TEST_F(ElbowPageTest, TheNoAngleWordKeepsTheElbowAtNinetyAndOffersTheLengthByItsFlag) {
  CElbowPage page;
  CDev& elbow = Load(page, CElbowPage::kNoAngle);
  elbow.SetPropValue("ELBOW_ANGL", "150");
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.IsAngleShown());
  EXPECT_FALSE(page.IsSpecialAngle());
  EXPECT_FALSE(page.IsLengthShown());
  CElbowPage lengthPage;
  Load(lengthPage, CElbowPage::kLengthOffered);
  elbow.SetPropValue("ELBOW_ANGL", "");
  ASSERT_TRUE(lengthPage.Load());
  EXPECT_TRUE(lengthPage.IsLengthShown());
  lengthPage.SetSpecialLength(true);
  ASSERT_EQ(lengthPage.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(elbow.GetFieldText("ELBOW_LENG").value_or(""), "1");
}

struct RoundCase {
  int typed;
  const char* catalog;
  int stored;
};

TEST(ElbowAngleRounding, QPAnglesGoToStepsOfFiveUpTo175) {
  const RoundCase cases[] = {{93, "QPA", 95},   {92, "QPA", 90},   {91, "Qpc", 90},
                             {178, "QPC", 175}, {177, "QPA", 175}, {176, "QPA", 175},
                             {180, "QPA", 175}, {135, "QPA", 135}, {93, "QJF", 93},
                             {178, "QDA", 178}, {-3, "QPA", -5}};
  for (const RoundCase& test : cases)
    EXPECT_EQ(RoundElbowAngle(test.typed, test.catalog), test.stored)
        << test.typed << " " << test.catalog;
}

TEST(StoredElbowAngle, HostileTextsReadAsNinety) {
  EXPECT_EQ(StoredElbowAngle(""), 90);
  EXPECT_EQ(StoredElbowAngle("0"), 90);
  EXPECT_EQ(StoredElbowAngle("x12"), 90);
  EXPECT_EQ(StoredElbowAngle("99999999999999999999"), 90);
  EXPECT_EQ(StoredElbowAngle("135"), 135);
}

}  // namespace
