// The centre distance page on the QJF sample's feed units: the shape chosen from the
// pictures, the standard distance or a custom one inside the shape's range (61714
// outside it), the reduced unit of variant 5, and stored texts read with bounds.

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "pages/entrax_page.h"

namespace {

class EntraxPageTest : public QJFSamplePageTest {
 protected:
  // The feed unit of the variant (3: the start, 5: the far end), whole, with the page.
  CDev& Load(CEntraxPage& page, int variant) {
    CDev* found = nullptr;
    for (CDev* element : Elements(0, CDev::kEnd))
      if (element->GetVariant() == variant) found = element;
    EXPECT_NE(found, nullptr) << variant;
    SelectWhole(*found);
    page.SetObject(found);
    EXPECT_TRUE(page.Load());
    return *found;
  }
  static int Shape(const CDev& element) {
    return static_cast<int>((element.GetStyle() >> 20) & 0xF);
  }
  std::string Mm(double value) { return document->GetUnits().FormatLength(value); }
};

TEST_F(EntraxPageTest, TheStartFeedUnitShowsItsShapeWithTheStandardDistance) {
  CEntraxPage page;
  Load(page, 3);
  EXPECT_FALSE(page.IsReduced());
  EXPECT_EQ(page.GetPictureNames().size(), 6u);
  EXPECT_EQ(page.GetChoice(), 0);
  ASSERT_TRUE(page.GetShape().has_value());
  EXPECT_STREQ(page.GetShape()->code, "AA");
  EXPECT_EQ(page.GetStandardLabel(), Mm(124));
  EXPECT_EQ(page.GetRangeLabel(), "(" + Mm(160) + "..." + Mm(200) + ")");
  EXPECT_FALSE(page.IsCustom());
}

TEST_F(EntraxPageTest, ADistanceOutsideTheRangeShowsTheRangeMessageAndKeepsTheOld) {
  CEntraxPage page;
  CDev& unit = Load(page, 3);
  unit.SetPropValue("ENTRAX", "170");
  ASSERT_TRUE(page.Load());
  for (const char* typed : {"150", "201", "abc", ""}) {
    page.SetCustomText(typed);
    const CApplyOutcome outcome = page.Apply();
    EXPECT_EQ(outcome.result, EApplyResult::kRefused) << typed;
    EXPECT_EQ(outcome.refusal.message, CEntraxPage::kMsgOutOfRange);
    EXPECT_EQ(outcome.refusal.limit, Mm(160));
    EXPECT_EQ(outcome.refusal.limit2, Mm(200));
    EXPECT_EQ(unit.GetFieldText("ENTRAX").value_or(""), "170") << typed;
  }
}

TEST_F(EntraxPageTest, ACustomDistanceIsStoredAndTheStandardRemovesItInOneUndoStep) {
  CEntraxPage page;
  CDev& unit = Load(page, 3);
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  page.ChooseCustom(true);
  EXPECT_EQ(page.GetCustomText(), document->GetUnits().FormatScaled(160));
  page.SetCustomText("180.7");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(unit.GetFieldText("ENTRAX").value_or(""), "180");
  EXPECT_EQ(UndoSteps(), steps + 1);
  // A second edit of the same element joins the same undo step.
  page.ChooseCustom(false);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(unit.GetFieldText("ENTRAX").value_or(""), "");
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

TEST_F(EntraxPageTest, ANewShapeIsWrittenToBothStyleWordsAndStartsFromItsStandard) {
  CEntraxPage page;
  CDev& unit = Load(page, 3);
  unit.SetPropValue("ENTRAX", "190");
  ASSERT_TRUE(page.Load());
  const std::string bill = BillText(Run(0));
  page.SetChoice(2);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(Shape(unit), 3);
  EXPECT_EQ((unit.GetStyle2() >> 20) & 0xF, 3u);
  EXPECT_EQ(unit.GetFieldText("ENTRAX").value_or(""), "");
  // Rating 26 is below 36: the narrow shape's standard is 80, with no custom range.
  EXPECT_EQ(page.GetStandardLabel(), Mm(80));
  EXPECT_FALSE(page.HasCustomRange());
  ASSERT_EQ(Run(0).RebuildParts(0), 1);
  EXPECT_NE(BillText(Run(0)), bill);
}

TEST_F(EntraxPageTest, AReducedUnitListsFourPicturesAndShowsNoStandard) {
  CEntraxPage page;
  CDev& unit = Load(page, 5);
  EXPECT_TRUE(page.IsReduced());
  EXPECT_EQ(page.GetPictureNames(),
            (std::vector<std::string>{"FEEDUNIT_AA", "FEEDUNIT_AB", "FEEDUNIT_AD", "FEEDUNIT_AL"}));
  for (const auto& [stored, choice, shape] :
       std::vector<std::tuple<int, int, int>>{{1, 0, 1}, {4, 2, 4}, {6, 3, 6}, {5, 3, 6}}) {
    unit.SetStyle((unit.GetStyle() & ~0xF00000u) | (static_cast<std::uint32_t>(stored) << 20));
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetChoice(), choice) << stored;
    EXPECT_EQ(page.GetShapeNumber(), shape) << stored;
    EXPECT_TRUE(page.HasStandard());
    EXPECT_EQ(page.GetStandardLabel(), "");
    EXPECT_FALSE(page.HasCustomRange());
  }
}

TEST_F(EntraxPageTest, StoredDistancesAreReadWithBounds) {
  CEntraxPage page;
  CDev& unit = Load(page, 3);
  for (const char* stored : {"abc", "-5", "0", "99999999999999999999"}) {
    unit.SetPropValue("ENTRAX", stored);
    ASSERT_TRUE(page.Load());
    EXPECT_FALSE(page.IsCustom()) << stored;
  }
  unit.SetPropValue("ENTRAX", "175");
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.IsCustom());
  EXPECT_EQ(page.GetCustomText(), document->GetUnits().FormatScaled(175));
}

struct ShapeCase {
  int shape;
  int rating;
  const char* code;
  std::int64_t standard, minimum, maximum;
};

TEST(EntraxShapes, EachShapeHasItsStandardAndRange) {
  const ShapeCase cases[] = {
      {1, 26, "AA", 124, 160, 200}, {2, 40, "AB", 124, 160, 200}, {3, 28, "AC", 80, 0, 0},
      {3, 36, "AC", 120, 0, 0},     {4, 26, "AD", 120, 121, 200}, {5, 35, "AK", 80, 0, 0},
      {5, 50, "AK", 120, 0, 0},     {6, 26, "AL", 120, 121, 200}, {7, 26, "", 0, 0, 0},
  };
  for (const ShapeCase& test : cases) {
    const CEntraxPage::CShape shape = CEntraxPage::ShapeOf(test.shape, test.rating);
    EXPECT_STREQ(shape.code, test.code) << test.shape;
    EXPECT_EQ(shape.standard, test.standard) << test.shape << " " << test.rating;
    EXPECT_EQ(shape.minimum, test.minimum) << test.shape;
    EXPECT_EQ(shape.maximum, test.maximum) << test.shape;
  }
}

}  // namespace
