// The run pages on the QD sample: what each reads of the run's properties, what it
// writes (the defaults stored empty), the refusals, and that the values survive a save
// and a reopen.

#include <gtest/gtest.h>

#include "pages/run_comment_page.h"
#include "pages/run_range_change.h"
#include "pages/run_rating_lists.h"
#include "pages/run_ip_page.h"
#include "pages/run_lengths_page.h"
#include "pages/run_rating_page.h"
#include "pages/run_support_page.h"
#include "pages/run_thermal_page.h"
#include "page_test_support.h"

namespace {

class RunPagesTest : public SamplePageTest {
 protected:
  template <typename Page>
  void LoadOn(Page& page, int run = 0) {
    page.SetObject(&Run(run));
    ASSERT_TRUE(page.Load());
  }
  // The document saved and opened again: the first run's property.
  std::string Reopened(const char* name) {
    const std::string path = m_files.File("saved.run");
    EXPECT_TRUE(document->OnSaveDocument(path).ok);
    CDorneDoc reopened;
    EXPECT_TRUE(reopened.OnOpenDocument(path).ok);
    return reopened.GetRunAt(0)->GetPropText(name);
  }

  CTempFolder m_files{"run-pages"};
};

TEST_F(RunPagesTest, CommentPageWritesNameAndCommentOfSeveralLines) {
  CRunCommentPage page;
  LoadOn(page);
  EXPECT_EQ(page.GetName(), Run(0).GetPropText("Name"));
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_FALSE(document->IsModified());
  page.SetName("K");
  page.SetComment("first\nsecond");
  EXPECT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(Reopened("Comment"), "first\nsecond");
  EXPECT_EQ(Reopened("Name"), "K");
}

TEST_F(RunPagesTest, IPPageWithoutAnOptionListShowsIP55AloneAndNeverWritesIP) {
  const std::string ip = Run(0).GetPropText("IP");
  CRunIPPage page;
  LoadOn(page);
  EXPECT_EQ(page.GetIPTexts(), std::vector<std::string>{"IP55"});
  EXPECT_FALSE(page.IsIPEnabled());
  EXPECT_FALSE(page.IsGroupShown());  // range QD has no group index
  EXPECT_FALSE(page.IsSPKShown());
  page.Apply();
  EXPECT_EQ(Run(0).GetPropText("IP"), ip);
}

TEST_F(RunPagesTest, IPPageStoresTheChosenValueOfTheRangesList) {
  CRangeTables tables;
  tables.options = {{"54", "IP 54"}, {"65", "IP 65"}};
  Run(0).AttachRangeTables(tables);
  CRunIPPage page;
  LoadOn(page);
  EXPECT_TRUE(page.IsIPEnabled());
  page.SetIPChoice(1);
  EXPECT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(Run(0).GetPropText("IP"), "65");
  page.SetIPChoice(7);  // outside the list: nothing written
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
}

TEST_F(RunPagesTest, GroupIndexTextOfTheTwoBoxes) {
  EXPECT_EQ(CRunIPPage::GroupIndexText(true, false), "");
  EXPECT_EQ(CRunIPPage::GroupIndexText(false, false), "0");
  EXPECT_EQ(CRunIPPage::GroupIndexText(true, true), "1a");
  EXPECT_EQ(CRunIPPage::GroupIndexText(false, true), "0a");
}

TEST_F(RunPagesTest, ThermalPageReadsStoredTextsWithBounds) {
  const struct {
    const char* stored;
    int choice;
    std::array<std::string, 3> values;
  } cases[] = {
      {"", 0, {}},
      {"1/0/0/0", 1, {}},
      {"2/5/-6/7", 2, {"5", "-6", "7"}},
      {"2/5", 2, {"5", "0", "0"}},
      {"7/1/2/3", 0, {}},
      {"junk", 0, {}},
      {"2/99999999999/x/3", 2, {"0", "0", "3"}},
  };
  for (const auto& c : cases) {
    Run(0).SetProp("THERMAL", c.stored);
    CRunThermalPage page;
    LoadOn(page);
    EXPECT_EQ(page.GetChoice(), c.choice) << c.stored;
    EXPECT_EQ(page.GetValues(), c.values) << c.stored;
  }
}

TEST_F(RunPagesTest, ThermalPageStoresChoiceAndValuesOrNothing) {
  CRunThermalPage page;
  LoadOn(page);
  page.OnChoiceChange(2);
  EXPECT_EQ(page.GetValues(), (std::array<std::string, 3>{"0", "0", "0"}));
  page.SetValue(0, "12");
  page.SetValue(2, "-3");
  page.Apply();
  EXPECT_EQ(Reopened("THERMAL"), "2/12/0/-3");
  page.OnChoiceChange(0);
  page.Apply();
  EXPECT_FALSE(Run(0).GetProp("THERMAL").has_value());
}

TEST_F(RunPagesTest, LengthsPageOfAQDRunKeepsOneLengthAllowed) {
  CRunLengthsPage page;
  LoadOn(page);
  EXPECT_EQ(page.GetLengths(), (std::array<int, 4>{3000, 2000, 0, 0}));
  EXPECT_FALSE(page.IsRiserShown());
  EXPECT_FALSE(page.AreElbowsShown());
  EXPECT_FALSE(page.IsStepShown());
  EXPECT_TRUE(page.IsAllowed(0));
  EXPECT_FALSE(page.OnLengthClick(0, false));
  EXPECT_TRUE(page.OnLengthClick(1, false));  // the last allowed one stays
  page.Apply();
  EXPECT_EQ(Reopened("L1"), "3000");
  EXPECT_EQ(Reopened("L2"), "");
}

TEST_F(RunPagesTest, SupportPageStoresItsValuesAndRefusesASpacingBelowOne) {
  CRunSupportPage page;
  LoadOn(page);
  EXPECT_TRUE(page.IsAutomatic());
  EXPECT_EQ(page.GetSpacingText(), document->GetUnits().FormatScaled(3000));
  for (const char* spacing : {"0", "-5", "abc", "0.4"}) {
    page.SetSpacingText(spacing);
    const CApplyOutcome outcome = page.Apply();
    EXPECT_EQ(outcome.result, EApplyResult::kRefused) << spacing;
    EXPECT_EQ(outcome.refusal.message, CRunSupportPage::kMsgSpacingRefused);
    EXPECT_EQ(Run(0).GetPropText("SupportPas"), "3000") << spacing;
  }
  page.SetSpacingText(document->GetUnits().FormatScaled(2500));
  page.SetExtraText("-2");
  page.Apply();
  EXPECT_EQ(page.GetExtra(), 0);
  EXPECT_EQ(Reopened("SupportPas"), "2500");
  EXPECT_EQ(Reopened("SupportPlus"), "0");
  EXPECT_EQ(page.OnAutomaticClick(false).result, EApplyResult::kApplied);
  EXPECT_EQ(Reopened("SupportAuto"), "0");
}

TEST_F(RunPagesTest, SupportPageReadsStoredNumbersWithBounds) {
  Run(0).SetProp("SupportPas", "-40");
  Run(0).SetProp("SupportPlus", "lots");
  CRunSupportPage page;
  LoadOn(page);
  EXPECT_EQ(page.GetSpacingText(), document->GetUnits().FormatScaled(3000));
  EXPECT_EQ(page.GetExtra(), 0);
}

TEST_F(RunPagesTest, RatingPageOfAQDRunShowsItsRatingsAndNoCurrent) {
  CRunRatingPage page;
  LoadOn(page);
  ASSERT_FALSE(page.GetRatingTexts().empty());
  EXPECT_GE(page.GetRatingChoice(), 0);
  EXPECT_TRUE(page.GetTemperatureTexts().empty());  // range QD has no temperature table
  EXPECT_TRUE(page.GetCurrentText().empty());
  const int steps = UndoSteps();
  const int other = page.GetRatingChoice() == 0 ? 1 : 0;
  EXPECT_EQ(page.OnRatingChange(other).result, EApplyResult::kApplied);
  EXPECT_EQ(page.GetRatingChoice(), other);
  EXPECT_EQ(UndoSteps(), steps + 1);
  EXPECT_EQ(page.OnRatingChange(other).result, EApplyResult::kUnchanged);
  EXPECT_EQ(page.OnRatingChange(99).result, EApplyResult::kRefused);
  EXPECT_EQ(page.OnRatingChange(-1).result, EApplyResult::kRefused);
}

TEST_F(RunPagesTest, RatingPageRefusesATypedCurrentThatIsNoWholeAmpereCount) {
  CRunRatingPage page;
  LoadOn(page);
  const std::string calibre = Run(0).GetPropText("Calibre");
  for (const char* typed : {"abc", "0", "-5", "12.5 A"}) {
    const CApplyOutcome outcome = page.OnCurrentEntered(typed);
    EXPECT_EQ(outcome.result, EApplyResult::kRefused) << typed;
    EXPECT_EQ(outcome.refusal.message, CRunRatingPage::kMsgCurrentRefused) << typed;
  }
  EXPECT_EQ(Run(0).GetPropText("Calibre"), calibre);
  // 1000 A at no derating: the rating of at least 1000 A.
  EXPECT_EQ(page.OnCurrentEntered("1000 A").result, EApplyResult::kApplied);
  EXPECT_EQ(Run(0).GetPropText("Calibre"), "16");
}

}  // namespace

namespace {

// The sample's first run made a run of another range, as the rating page makes it.
class RangeRunPagesTest : public RunPagesTest {
 protected:
  CRun& ChangeTo(const char* code) {
    CRunEnvironment::Instance().SetCatalogues({{"QDA", "D"}, {"QMA", "M"}, {"QGA", "G"}});
    const CRangeChangeResult result = run_range::ChangeRunRange(Run(0), code);
    EXPECT_EQ(result.outcome, CRangeChangeResult::EOutcome::kChanged) << code;
    return Run(0);
  }
};

TEST_F(RangeRunPagesTest, LengthsPageOfAQMRunStoresRiserAndElbowsAndMayClearEveryLength) {
  CRun& run = ChangeTo("QMA");
  CRunLengthsPage page;
  LoadOn(page);
  EXPECT_EQ(page.GetLengths(), (std::array<int, 4>{4000, 2000, 0, 0}));
  EXPECT_TRUE(page.IsRiserShown());
  EXPECT_TRUE(page.IsRiserOfRangeM());
  EXPECT_TRUE(page.AreElbowsShown());
  EXPECT_FALSE(page.IsElbowJunction());  // the range's default, stored empty
  EXPECT_FALSE(page.OnLengthClick(0, false));
  EXPECT_FALSE(page.OnLengthClick(1, false));  // range QM may clear them all
  page.SetRiserSol2(true);
  page.SetElbowJunction(true);
  page.Apply();
  EXPECT_EQ(run.GetPropText("L1"), "4000");
  EXPECT_EQ(run.GetPropText("L2"), "2000");
  EXPECT_EQ(run.GetPropText("RISER"), "SOL2");
  EXPECT_EQ(run.GetPropText("ELBOWS"), "JCT");
  page.SetElbowJunction(false);
  page.Apply();
  EXPECT_FALSE(run.GetProp("ELBOWS").has_value());
  EXPECT_EQ(Reopened("RISER"), "SOL2");
}

TEST_F(RangeRunPagesTest, LengthsPageOfAQGRunTakesAnEmptyElbowStyleAsJunctions) {
  CRun& run = ChangeTo("QGA");
  CRunLengthsPage page;
  LoadOn(page);
  EXPECT_FALSE(page.IsRiserShown());
  EXPECT_TRUE(page.AreElbowsShown());
  EXPECT_TRUE(page.IsElbowJunction());
  page.Apply();
  EXPECT_FALSE(run.GetProp("ELBOWS").has_value());
  page.SetElbowJunction(false);
  page.Apply();
  EXPECT_EQ(Reopened("ELBOWS"), "STD");
}

TEST_F(RangeRunPagesTest, IPPageOfAQMRunKeepsItsGroupIndex) {
  CRun& run = ChangeTo("QMA");
  CRunIPPage page;
  LoadOn(page);
  EXPECT_TRUE(page.IsGroupShown());
  EXPECT_TRUE(page.IsSuffixShown());
  EXPECT_TRUE(page.IsGroupChecked());
  EXPECT_FALSE(page.IsSuffixChecked());
  page.SetGroupChecked(false);
  page.SetSuffixChecked(true);
  page.Apply();
  EXPECT_EQ(Reopened("INDEXGRP"), "0a");
  ASSERT_NE(run.GetOptionList(), nullptr);
  EXPECT_EQ(page.GetIPTexts().size(), std::max<std::size_t>(1, run.GetOptionList()->size()));
}

TEST_F(RangeRunPagesTest, RatingPageOfAQMRunShowsTheCurrentInAmperesAndWritesTheTemperature) {
  CRun& run = ChangeTo("QMA");
  CRunRatingPage page;
  LoadOn(page);
  ASSERT_FALSE(page.GetTemperatureTexts().empty());
  ASSERT_GE(page.GetTemperatureChoice(), 0);
  const std::string calibre = run.GetPropText("Calibre");
  const long long amperes = run_rating::RatingAmperes(calibre);
  ASSERT_GT(amperes, 0);
  // The current is the rating in amperes derated: at least a tenth of it, never the code.
  const long long shown = std::stoll(page.GetCurrentText());
  EXPECT_GT(shown, amperes / 10);
  EXPECT_LE(shown, amperes);
  const int other = page.GetTemperatureChoice() == 0 ? 1 : 0;
  if (static_cast<std::size_t>(other) < page.GetTemperatureTexts().size()) {
    EXPECT_EQ(page.OnTemperatureChange(other).result, EApplyResult::kApplied);
    EXPECT_EQ(run.GetPropText("TEMP") + "\u00B0C",
              page.GetTemperatureTexts()[static_cast<std::size_t>(other)]);
  }
  EXPECT_EQ(page.OnTemperatureChange(99).result, EApplyResult::kRefused);
  // Typing the current shown chooses the rating that carries it again.
  EXPECT_EQ(page.OnCurrentEntered(page.GetCurrentText()).result, EApplyResult::kUnchanged);
  EXPECT_EQ(run.GetPropText("Calibre"), calibre);
}

// A current past every rating, whatever its number of digits, chooses the top rating;
// leading zeros read as the number they lead.
TEST_F(RunPagesTest, RatingPageChoosesTheTopRatingForACurrentPastEveryRating) {
  CRunRatingPage page;
  LoadOn(page);
  ASSERT_GT(page.GetRatingTexts().size(), 1u);
  const int top = static_cast<int>(page.GetRatingTexts().size()) - 1;
  for (const char* typed : {"99999999999 A", "1234567890123456789012345", "999999999"}) {
    ASSERT_NE(page.OnRatingChange(0).result, EApplyResult::kRefused) << typed;
    EXPECT_EQ(page.OnCurrentEntered(typed).result, EApplyResult::kApplied) << typed;
    EXPECT_EQ(page.GetRatingChoice(), top) << typed;
  }
  ASSERT_NE(page.OnRatingChange(0).result, EApplyResult::kRefused);
  EXPECT_EQ(page.OnCurrentEntered("0001000").result, EApplyResult::kApplied);
  EXPECT_EQ(Run(0).GetPropText("Calibre"), "16");
}

}  // namespace
