// The special-shape page on a range QM variant-6 end piece laid into the QD sample: the
// phase arrangement list, its choice stored first in "ENTRAX" and shown again.

#include <gtest/gtest.h>

#include "feed_test_support.h"
#include "model/props/dimension.h"
#include "pages/special_shape_page.h"

#include <algorithm>

namespace {

constexpr const char* kQMVariant6Layout = "run QMA 25\nstart 6\ngo 4 3000\nend 1\n";

class QMShapePagesTest : public LaidRunPageTest {
 protected:
  CDev& Piece(CSpecialShapePage& page) {
    CDev& piece = *Lay(kQMVariant6Layout).front();
    SelectWhole(piece);
    page.SetObject(&piece);
    EXPECT_TRUE(page.Load());
    return piece;
  }
};

TEST_F(QMShapePagesTest, AnArrangementChosenIsStoredAndShownAgain) {
  CSpecialShapePage page(true);
  CDev& piece = Piece(page);
  ASSERT_EQ(page.GetPictures().size(), 3u);
  EXPECT_EQ(page.GetPictures()[0].image, "EMBOUT_EL1");
  page.ChoosePicture(0);
  const std::vector<std::string> four = {"L1/N/L2/L3", "L1/L2/N/L3", "L3/N/L2/L1", "L3/L2/N/L1"};
  EXPECT_EQ(page.GetArrangements(), four);
  EXPECT_TRUE(page.IsArrangementEnabled());
  EXPECT_EQ(page.GetArrangementIndex(), 0);
  ASSERT_TRUE(page.ChooseArrangement(2));
  const int steps = UndoSteps();
  const CApplyOutcome applied = page.Apply();
  ASSERT_EQ(applied.result, EApplyResult::kApplied) << applied.refusal.text;
  EXPECT_EQ(UndoSteps(), steps + 1);
  const std::string entrax = piece.GetFieldText("ENTRAX").value_or("");
  EXPECT_TRUE(entrax.starts_with("3/")) << entrax;
  CSpecialShapePage again(true);
  again.SetObject(&piece);
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.GetSelected(), 0);
  EXPECT_EQ(again.GetArrangementIndex(), 2);
  // Out of the list, nothing is taken.
  EXPECT_FALSE(again.ChooseArrangement(4));
  EXPECT_FALSE(again.ChooseArrangement(-1));
}

TEST_F(QMShapePagesTest, TheFourthPieceLyingFlatKeepsItsSideArrangement) {
  CSpecialShapePage page(true);
  CDev& piece = Piece(page);
  page.ChoosePicture(2);
  EXPECT_EQ(page.GetArrangements().size(), 2u);
  // Direction 4 with rotation neither 32 nor 128: the side decides.
  EXPECT_EQ(page.IsArrangementEnabled(), piece.GetRotation() == 32 || piece.GetRotation() == 128);
  EXPECT_FALSE(page.IsTurnShown());
  page.ChoosePicture(0);
  EXPECT_TRUE(page.IsArrangementEnabled());
  // Once the run's parts are built, the arrangement and the turn are locked.
  piece.GetRun()->SetPartsState(2);
  ASSERT_TRUE(page.Load());
  page.ChoosePicture(1);
  EXPECT_FALSE(page.IsArrangementEnabled());
  EXPECT_FALSE(page.IsTurnShown());
  EXPECT_FALSE(page.ChooseArrangement(1));
}

// The cover of a QM feed box with its switchboard picture and straight end piece: code 10
// takes Z within 430..800 mm on a run of 25 and stores it counted from 80 (the sample
// document counts in centimetres).
TEST_F(QMShapePagesTest, ACoverTakesItsDepthWithinTheLimitsOfItsCode) {
  CDev& box = *Lay("run QMA 25\nstart 2\nstyle 1100000\ngo 4 3000\nend 1\n").front();
  SelectWhole(box);
  CSpecialShapePage page(false);
  page.SetObject(&box);
  ASSERT_TRUE(page.Load());
  const auto& pictures = page.GetPictures();
  const auto code10 =
      std::find_if(pictures.begin(), pictures.end(),
                   [](const CSpecialShapePage::CPicture& p) { return p.value == 10; });
  ASSERT_NE(code10, pictures.end());
  page.ChoosePicture(static_cast<int>(code10 - pictures.begin()));
  EXPECT_EQ(page.GetCaptionText(), "QMB  CR1 ");
  ASSERT_TRUE(page.GetFields()[3].enabled);
  const CDimension& units = page.LengthUnits();
  page.SetFieldText(3, units.FormatLength(900));
  const CApplyOutcome refused = page.Apply();
  ASSERT_EQ(refused.result, EApplyResult::kRefused);
  EXPECT_EQ(refused.refusal.field, 3);
  EXPECT_EQ(box.GetFieldText("CAPOT").value_or(""), "");
  page.SetFieldText(3, units.FormatLength(500));
  const int steps = UndoSteps();
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(box.GetFieldText("CAPOT").value_or(""), "10/150");
  EXPECT_EQ(UndoSteps(), steps + 1);
  CSpecialShapePage again(false);
  again.SetObject(&box);
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.GetPictures()[static_cast<std::size_t>(again.GetSelected())].value, 10);
  EXPECT_EQ(units.TryParse(again.GetFields()[3].text), std::optional<double>(500))
      << again.GetFields()[3].text;
}

}  // namespace
