#include "pages/page_captions.h"
#include "pages/special_shape_page.h"

#include "qg_sample_page_test.h"

#include <gtest/gtest.h>

namespace {

using SpecialShapePageTest = QGSamplePageTest;

int Nibble(const CDev& element) { return static_cast<int>((element.GetStyle() >> 20) & 0xF); }

TEST_F(SpecialShapePageTest, TheStandardEndPieceStoresItsBarsAndNoDistances) {
  CDev& element = Shape(2, 0);
  CSpecialShapePage page(true);
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  ASSERT_EQ(page.GetPictures().size(), 3u);
  EXPECT_EQ(page.GetPictures()[0].image, "ER1_QG");
  EXPECT_EQ(page.GetSelected(), -1);
  const int steps = document->GetUndo().GetPosition();
  page.ChoosePicture(0);
  EXPECT_EQ(page.GetSpacing(), CSpecialShapePage::kStandard);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(Nibble(element), 1);
  EXPECT_EQ(element.GetStyle(), element.GetStyle2());
  EXPECT_EQ(element.GetFieldText("ENTRAX").value_or(""), "");
  EXPECT_EQ(document->GetUndo().GetPosition(), steps + 1);
  // Choosing the same end piece again changes nothing.
  page.ChoosePicture(0);
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
}

TEST_F(SpecialShapePageTest, FreeDistancesAreCheckedAndStored) {
  CDev& element = Shape(2, 0);
  CSpecialShapePage page(true);
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  page.ChoosePicture(0);
  page.ChooseSpacing(CSpecialShapePage::kFree);
  EXPECT_TRUE(page.GetFields()[0].enabled);
  page.SetFieldText(0, "10");
  const CApplyOutcome refused = page.Apply();
  ASSERT_EQ(refused.result, EApplyResult::kRefused);
  EXPECT_TRUE(refused.refusal.text.starts_with("P - T < T + ")) << refused.refusal.text;
  EXPECT_EQ(Nibble(element), 0);  // nothing half applied
  page.SetFieldText(0, "150");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  const std::string entrax = element.GetFieldText("ENTRAX").value_or("");
  EXPECT_TRUE(entrax.starts_with("150/115/")) << entrax;
  // Read back, the page shows the stored distances.
  CSpecialShapePage again(true);
  again.SetObject(&element);
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.GetSelected(), 0);
  EXPECT_EQ(again.State().P, 150);
  EXPECT_EQ(again.GetSpacing(), CSpecialShapePage::kFree);
}

TEST_F(SpecialShapePageTest, TheCoverReadsItsOptionAndDropsACodeNotOffered) {
  CDev& element = Shape(2, 1, 1);
  element.SetFieldText("CAPOT", "24/150/250/250/400/400/0:e=20");
  CSpecialShapePage page(false);
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  ASSERT_EQ(page.GetPictures().size(), 3u);
  EXPECT_EQ(page.GetPictures()[page.GetSelected()].value, 23);
  EXPECT_TRUE(page.IsOptionChecked());
  EXPECT_EQ(page.GetCaptionText().substr(0, 8), "QGB  CR4");
  EXPECT_EQ(page.GetParameters(), ":e=20");
  element.SetFieldText("CAPOT", "99/1/2");
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetSelected(), -1);
  EXPECT_EQ(element.GetFieldText("CAPOT").value_or(""), "");
}

TEST_F(SpecialShapePageTest, ACoverIsStoredWithItsDimensionsAndClickingItAgainClearsIt) {
  CDev& element = Shape(2, 1, 1);
  CSpecialShapePage page(false);
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  page.ChoosePicture(0);
  const CShapeCheckState& s = page.State();
  const std::int64_t side = s.height / 2 + 50, end = s.width / 2 + 50;
  page.SetFieldText(0, std::to_string(side));
  page.SetFieldText(1, std::to_string(side));
  page.SetFieldText(4, std::to_string(end - 1));
  page.SetFieldText(5, std::to_string(end));
  const CApplyOutcome refused = page.Apply();
  ASSERT_EQ(refused.result, EApplyResult::kRefused);
  EXPECT_EQ(refused.refusal.field, 4);
  page.SetFieldText(4, std::to_string(end));
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetFieldText("CAPOT").value_or(""),
            "21/0/" + std::to_string(side) + "/" + std::to_string(side) + "/" +
                std::to_string(end) + "/" + std::to_string(end) + "/0");
  page.ChoosePicture(0);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetFieldText("CAPOT").value_or(""), "");
}

// The cover's swap of its sides waits until every dimension holds: a refused one
// leaves the fields as they were.
TEST_F(SpecialShapePageTest, TheCoverTurnsOnlyWithinItsLimits) {
  CDev& element = Shape(2, 1, 1);
  CSpecialShapePage page(false);
  page.SetObject(&element);
  ASSERT_TRUE(page.Load());
  page.ChoosePicture(0);
  ASSERT_TRUE(page.IsTurnShown());
  const CShapeCheckState& s = page.State();
  const std::int64_t side = s.height / 2 + 50, end = s.width / 2 + 50;
  const std::string a = std::to_string(side), b = std::to_string(side + 10);
  const std::string c = std::to_string(end), d = std::to_string(end + 20);
  page.SetFieldText(0, a);
  page.SetFieldText(1, b);
  page.SetFieldText(4, std::to_string(end - 1));
  page.SetFieldText(5, d);
  const CApplyOutcome refused = page.Turn();
  ASSERT_EQ(refused.result, EApplyResult::kRefused);
  EXPECT_EQ(refused.refusal.field, 4);
  EXPECT_FALSE(refused.refusal.text.empty());
  EXPECT_EQ(page.GetFields()[0].text, a);
  EXPECT_EQ(page.GetFields()[5].text, d);
  page.SetFieldText(4, c);
  EXPECT_NE(page.Turn().result, EApplyResult::kRefused);
  EXPECT_EQ(page.GetFields()[0].text, b);
  EXPECT_EQ(page.GetFields()[1].text, a);
  EXPECT_EQ(page.GetFields()[4].text, d);
  EXPECT_EQ(page.GetFields()[5].text, c);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetFieldText("CAPOT").value_or(""),
            "21/0/" + b + "/" + a + "/" + d + "/" + c + "/0");
}

TEST(ButtonTipTest, TheReasonFollowsAndTheTipStaysShort) {
  const std::string plain = ButtonTip(2743, 0);
  EXPECT_FALSE(plain.empty());
  EXPECT_EQ(plain.find(" : "), std::string::npos);
  const std::string disabled = ButtonTip(2743, 30209);
  EXPECT_TRUE(disabled.starts_with(plain + " : ")) << disabled;
  // Counted in characters, never cut inside one.
  std::size_t characters = 0;
  for (const char byte : disabled)
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++characters;
  EXPECT_LE(characters, 75u);
  EXPECT_EQ(ButtonTip(2743, 30209), disabled);
}

}  // namespace
