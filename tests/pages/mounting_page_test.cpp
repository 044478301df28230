// The mounting page on the QD sample's end elements: the side the range gives, the flip
// that stores only the difference ("INV"), the third position's "L" and "R", and the
// conductor arrangement of variant-5 elements read with bounds.

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "pages/mounting_page.h"
#include "ranges/qd/run_qd.h"

namespace {

class MountingPageTest : public SamplePageTest {
 protected:
  CDev& Load(CMountingPage& page) {
    std::vector<CDev*> ends = Elements(0, CDev::kEnd);
    EXPECT_FALSE(ends.empty());
    SelectWhole(*ends.front());
    page.SetObject(ends.front());
    EXPECT_TRUE(page.Load());
    return *ends.front();
  }
  static std::string Mount(const CDev& element) {
    return element.GetFieldText("MOUNT").value_or("");
  }
};

TEST_F(MountingPageTest, TheSideIsTheRangesAndFlippingTwiceStoresNothing) {
  CMountingPage page;
  CDev& end = Load(page);
  auto& run = dynamic_cast<CRunQD&>(Run(0));
  const int side = run.IsMountReversed(&end, 0);
  EXPECT_EQ(page.GetSide(), side == 0 ? 0 : 1);
  EXPECT_FALSE(page.IsThirdSideShown());
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  ASSERT_EQ(page.Flip().result, EApplyResult::kApplied);
  EXPECT_EQ(Mount(end), "INV");
  EXPECT_NE(run.IsMountReversed(&end, 0), side);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(page.Flip().result, EApplyResult::kApplied);
  EXPECT_EQ(Mount(end), "");
  EXPECT_EQ(run.IsMountReversed(&end, 0), side);
  // The same side again changes nothing.
  EXPECT_EQ(page.ChooseSide(page.GetSide()).result, EApplyResult::kUnchanged);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

struct MountCase {
  int side;
  int defaultSide;
  const char* text;
};

TEST(MountText, OnlyTheDifferenceFromTheDefaultIsStored) {
  const MountCase cases[] = {{1, 1, ""}, {0, 0, ""},  {0, 1, "INV"}, {1, 0, "INV"},
                             {2, 2, ""}, {1, 2, "L"}, {0, 2, "R"}};
  for (const MountCase& test : cases)
    EXPECT_EQ(CMountingPage::MountTextFor(test.side, test.defaultSide), test.text)
        << test.side << " " << test.defaultSide;
}

TEST_F(MountingPageTest, AVariantFiveElementChoosesItsConductorArrangement) {
  CMountingPage page;
  CDev& end = Load(page);
  end.SetVariantBoth(5);
  for (const auto& [stored, index] : std::vector<std::pair<const char*, int>>{
           {"", 0}, {"4", 0}, {"3", 1}, {"5", 2}, {"junk", 0}, {"99999999999999999999", 0}}) {
    end.SetPropValue("POL", stored);
    ASSERT_TRUE(page.Load());
    EXPECT_TRUE(page.IsPolarityShown());
    EXPECT_EQ(page.GetPolarityIndex(), index) << stored;
  }
  ASSERT_EQ(page.ChoosePolarity(1).result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetFieldText("POL").value_or(""), "3");
  EXPECT_EQ(page.ChoosePolarity(1).result, EApplyResult::kUnchanged);
  EXPECT_EQ(page.ChoosePolarity(7).result, EApplyResult::kUnchanged);
  end.SetVariantBoth(0);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.IsPolarityShown());
}

}  // namespace
