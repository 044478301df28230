#include "pages/shape_dimensions_page.h"

#include "qg_sample_page_test.h"
#include "ranges/qg/run_qg.h"

#include <gtest/gtest.h>

namespace {

using ShapeDimensionsPageTest = QGSamplePageTest;

TEST_F(ShapeDimensionsPageTest, ListsTheRangesSizesAndStoresTheBars) {
  CDev& element = Shape(2, 2);
  CShapeDimensionsPage page;
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  ASSERT_TRUE(page.HasOption());
  ASSERT_GE(page.GetSizes().size(), 2u);
  EXPECT_EQ(page.GetSelected(), 0);
  const CShapeDimensionsPage::CSize size = page.GetSizes()[0];
  const int steps = document->GetUndo().GetPosition();
  page.SetUText("120");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetFieldText("BARS").value_or(""),
            "120/" + std::to_string(size.size) + "/" + std::to_string(size.value));
  EXPECT_EQ(document->GetUndo().GetPosition(), steps + 1);
  EXPECT_TRUE(document->IsModified());
  // Read back, the stored size is the chosen one and U shows what was typed.
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetSelected(), 0);
  EXPECT_FALSE(page.GetUText().empty());
  // Applying the same again changes nothing.
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_EQ(document->GetUndo().GetPosition(), steps + 1);
}

struct UCase {
  const char* text;
  bool accepted;
};

class ShapeDimensionsLimitTest : public ShapeDimensionsPageTest,
                                 public testing::WithParamInterface<UCase> {};

TEST_P(ShapeDimensionsLimitTest, UMustLieBetween90And250) {
  CDev& element = Shape(2, 2);
  element.SetFieldText("BARS", "");
  CShapeDimensionsPage page;
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  page.SetUText(GetParam().text);
  const CApplyOutcome outcome = page.Apply();
  EXPECT_EQ(outcome.result == EApplyResult::kApplied, GetParam().accepted);
  if (!GetParam().accepted) {
    EXPECT_EQ(outcome.refusal.message, CShapeDimensionsPage::kMsgOutOfRange);
    EXPECT_EQ(element.GetFieldText("BARS").value_or(""), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Values, ShapeDimensionsLimitTest,
                         testing::Values(UCase{"89", false}, UCase{"90", true}, UCase{"250", true},
                                         UCase{"251", false}, UCase{"abc", false},
                                         UCase{"", false}));

TEST_F(ShapeDimensionsPageTest, DistancesTooWideForTheBarsAreRefusedWithTheRule) {
  CDev& element = Shape(2, 2);
  element.SetFieldText("ENTRAX", "480/480/0/0");
  CShapeDimensionsPage page;
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  // With the widest size of the list the distances and bars exceed the span.
  int widest = 0;
  for (std::size_t i = 0; i < page.GetSizes().size(); ++i)
    if (page.GetSizes()[i].size > page.GetSizes()[static_cast<std::size_t>(widest)].size)
      widest = static_cast<int>(i);
  page.SetSelected(widest);
  page.SetUText("120");
  const std::string before = element.GetFieldText("BARS").value_or("");
  const CApplyOutcome outcome = page.Apply();
  ASSERT_EQ(outcome.result, EApplyResult::kRefused);
  EXPECT_EQ(outcome.refusal.field, CShapeDimensionsPage::kFieldSize);
  EXPECT_TRUE(outcome.refusal.text.starts_with("P+Q+R+S + V > ")) << outcome.refusal.text;
  EXPECT_EQ(element.GetFieldText("BARS").value_or(""), before);
}

TEST_F(ShapeDimensionsPageTest, WithoutABarsOptionOneDisabledSizeIsShown) {
  CDev& element = Shape(2, 0);
  CShapeDimensionsPage page;
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.HasOption());
  ASSERT_EQ(page.GetSizes().size(), 1u);
  const CShapeDimensionsPage::CSize& only = page.GetSizes()[0];
  EXPECT_EQ(only.text.starts_with("2 x "), only.size > 240) << only.text;
  // Applying stores no bars.
  element.SetFieldText("BARS", "120/100/10");
  page.SetUText("120");
  EXPECT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetFieldText("BARS").value_or(""), "");
}

}  // namespace
