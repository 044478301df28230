// The riser page on a unit put into the QD sample: the insert button puts count - 1
// fixings after the unit at the spacing and lengthens the next element by them as one
// undo step; a spacing below 1, a count beyond what fits and a unit at the end of its
// run are refused or capped; the plug length keeps the limits of each catalogue.

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "pages/riser_page.h"

namespace {

class RiserPageTest : public SamplePageTest {
 protected:
  // A unit put 1000 into the run's longest inner straight, with the page on it.
  CDev* LoadOnUnit(CRiserPage& page) {
    CDev* unit = InsertUnit(0);
    EXPECT_NE(unit, nullptr);
    if (unit == nullptr) return nullptr;
    SelectWhole(*unit);
    page.SetObject(unit);
    EXPECT_TRUE(page.Load());
    return unit;
  }
  int Units() { return static_cast<int>(Elements(0, CDev::kInLine).size()); }
};

TEST_F(RiserPageTest, TheUnitLoadsTheDefaultsOfItsCatalogue) {
  CRiserPage page;
  ASSERT_NE(LoadOnUnit(page), nullptr);
  EXPECT_EQ(page.GetSpacingText(), document->GetUnits().FormatScaled(3000));
  EXPECT_EQ(page.GetCountText(), "1");
  EXPECT_TRUE(page.IsInsertWithLength());
  EXPECT_EQ(page.GetStandardPlug(), 3000);
}

TEST_F(RiserPageTest, InsertingPutsTheFixingsAndLengthensTheNextElementAsOneStep) {
  CRiserPage page;
  CDev* unit = LoadOnUnit(page);
  ASSERT_NE(unit, nullptr);
  CRun& run = Run(0);
  CDev* next = unit->GetNeighbour(unit->GetDirection());
  ASSERT_NE(next, nullptr);
  const std::int32_t nextLength = next->GetBookedLength();
  const std::int64_t booked = BookedTotal(run);
  const int units = Units();
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  page.SetSpacingText("1000");
  page.SetCountText("3");
  ASSERT_EQ(page.InsertFixings().result, EApplyResult::kApplied);
  EXPECT_EQ(Units(), units + 2);
  EXPECT_EQ(BookedTotal(run), booked + 2000);
  // The two fixings sit 1000 apart after the unit, taken out of the lengthened element.
  CDev* first = unit->GetNeighbour(unit->GetDirection());
  ASSERT_EQ(first->GetKind(), CDev::kInLine);
  EXPECT_EQ(first->GetBookedLength(), 1000);
  CDev* second = first->GetNeighbour(first->GetDirection());
  ASSERT_EQ(second->GetKind(), CDev::kInLine);
  EXPECT_EQ(second->GetNeighbour(second->GetDirection()), next);
  EXPECT_EQ(next->GetBookedLength(), nextLength + 2000 - 2000);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

TEST_F(RiserPageTest, ACountOfOneInsertsNothing) {
  CRiserPage page;
  ASSERT_NE(LoadOnUnit(page), nullptr);
  const int units = Units();
  const int steps = UndoSteps();
  EXPECT_EQ(page.InsertFixings().result, EApplyResult::kUnchanged);
  EXPECT_EQ(Units(), units);
  EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(RiserPageTest, TheLastElementOfARunRefusesTheInsertion) {
  CDev* last = nullptr;
  for (CDev* element : Run(0).GetChainOrder())
    if (element->GetKind() == CDev::kEnd && element->GetBackNeighbour() != nullptr &&
        element->GetNeighbour(element->GetDirection()) == nullptr)
      last = element;
  ASSERT_NE(last, nullptr);
  CRiserPage page;
  page.SetObject(last);
  ASSERT_TRUE(page.Load());
  page.SetCountText("4");
  const std::vector<std::uint8_t> before = Bytes();
  EXPECT_EQ(page.InsertFixings().result, EApplyResult::kRefused);
  EXPECT_EQ(Bytes(), before);
}

struct SpacingCase {
  const char* spacing;
  const char* count;
  EApplyResult result;
  const char* shownCount;
};

TEST_F(RiserPageTest, SpacingBelowOneIsRefusedAndAHugeCountIsCappedToWhatFits) {
  const SpacingCase cases[] = {
      {"0", "3", EApplyResult::kRefused, "3"},
      {"-500", "3", EApplyResult::kRefused, "3"},
      {"abc", "3", EApplyResult::kRefused, "3"},
      {"1000", "99999999999", EApplyResult::kApplied, "999"},
      {"1", "-4", EApplyResult::kUnchanged, "1"},
  };
  for (const SpacingCase& test : cases) {
    CRiserPage page;
    CDev* unit = LoadOnUnit(page);
    ASSERT_NE(unit, nullptr);
    const int units = Units();
    page.SetSpacingText(test.spacing);
    page.SetCountText(test.count);
    const CApplyOutcome outcome = page.InsertFixings();
    EXPECT_EQ(outcome.result, test.result) << test.spacing << " " << test.count;
    if (test.result != EApplyResult::kRefused) {
      EXPECT_EQ(page.GetCountText(), test.shownCount) << test.count;
    } else {
      EXPECT_EQ(Units(), units) << test.spacing;
    }
    // Whatever was typed, the next element never grows past the longest length.
    for (CDev* element : Run(0).GetChainOrder())
      EXPECT_LE(element->GetBookedLength(), CRiserPage::kLongestGrowth + 3000);
  }
}

struct PlugCase {
  const char* catalog;
  const char* typed;
  std::int64_t stored;  // the plug after the apply
  const char* field;    // "PLUG1" after the apply
};

TEST_F(RiserPageTest, ThePlugLengthKeepsTheLimitsOfItsCatalogue) {
  const PlugCase cases[] = {
      {"QWA", "1000", 1200, "-500"}, {"QWA", "2500", 2000, "300"},  {"QWA", "1700", 1700, ""},
      {"Qpa", "300", 450, ""},       {"Qpa", "1900", 1850, "1400"}, {"QMA", "1500", 1800, "-200"},
      {"QMA", "3500", 3000, "1000"}, {"QDA", "2500", 3000, ""},
  };
  for (const PlugCase& test : cases) {
    CRiserPage page;
    CDev* unit = LoadOnUnit(page);
    ASSERT_NE(unit, nullptr);
    Run(0).SetCatalog(test.catalog);
    ASSERT_TRUE(page.Load());
    page.SetPlugText(test.typed);
    page.Apply();
    EXPECT_EQ(page.GetPlugText(),
              document->GetUnits().FormatScaled(static_cast<double>(test.stored)))
        << test.catalog << " " << test.typed;
    EXPECT_EQ(unit->GetFieldText("PLUG1").value_or(""), test.field)
        << test.catalog << " " << test.typed;
    Run(0).SetCatalog("QDA");
  }
}

TEST_F(RiserPageTest, AStoredPlugOutsideItsLimitsLoadsClamped) {
  CRiserPage page;
  CDev* unit = LoadOnUnit(page);
  ASSERT_NE(unit, nullptr);
  Run(0).SetCatalog("QWA");
  for (const auto& [stored, shown] : std::vector<std::pair<const char*, double>>{
           {"99999999999999", 1700}, {"-9000", 1200}, {"x", 1700}, {"100", 1800}}) {
    unit->SetPropValue("PLUG1", stored);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetPlugText(), document->GetUnits().FormatScaled(shown)) << stored;
  }
  Run(0).SetCatalog("QDA");
}

}  // namespace
