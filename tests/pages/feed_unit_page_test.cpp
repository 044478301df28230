// The feed unit page, its dimensions and the accessory page on runs of ranges QM and QG
// laid into the QD sample: the breaker of a QM feed unit chosen and kept, a click on the
// chosen picture clearing it, the connection box made when a unit has none, the sizes
// clamped, and the adapter and arrangement stored in "QGACC".

#include <gtest/gtest.h>

#include "feed_test_support.h"
#include "pages/accessory_page.h"
#include "pages/feed_dimensions.h"
#include "pages/feed_unit_page.h"

namespace {

constexpr std::int32_t kUnsetOffset = -157869;

class FeedPagesTest : public LaidRunPageTest {
 protected:
  // The QM feed unit with breaker at the start of a QMA 25 run.
  CDev& QMFeedUnit(CFeedUnitPage& page) {
    CDev& unit = *Lay(kQMFeedLayout).front();
    SelectWhole(unit);
    page.SetObject(&unit);
    EXPECT_TRUE(page.Load());
    return unit;
  }
  static int IndexOfKey(const CFeedUnitPage& page, const std::string& key) {
    const auto& frames = page.GetBreakers();
    for (std::size_t i = 0; i < frames.size(); ++i)
      if (frames[i].key == key) return static_cast<int>(i);
    return -1;
  }
  std::string Field(const CDev& element, const char* name) {
    return element.GetFieldText(name).value_or("");
  }
};

TEST_F(FeedPagesTest, AQMFeedUnitOffersTheSwitchboardWithItsBreakers) {
  CFeedUnitPage page;
  CDev& unit = QMFeedUnit(page);
  EXPECT_EQ(page.GetTransformerMode(), kTransformerQM4);
  EXPECT_EQ(page.GetPictures(), std::vector<int>{1});
  EXPECT_EQ(page.GetPictureIndex(), -1);
  EXPECT_FALSE(page.IsDimensionsShown());
  const int steps = UndoSteps();
  ASSERT_EQ(page.ChoosePicture(0).result, EApplyResult::kApplied);
  EXPECT_EQ(UndoSteps(), steps + 1);
  EXPECT_EQ(CFeedByte::FromStyle(unit.GetStyle()).picture, 1);
  EXPECT_EQ(CFeedByte::FromStyle(unit.GetStyle2()).picture, 1);
  EXPECT_TRUE(page.IsBreakerShown());
  EXPECT_TRUE(page.IsPackageShown());
  EXPECT_TRUE(page.IsDimensionsShown());
  EXPECT_EQ(page.GetTypes().size(), 2u);
  // A run of 25 takes the 25 frame by itself.
  EXPECT_EQ(Field(unit, "DISJ"), "HK25_D");
  EXPECT_EQ(page.GetBreakers()[static_cast<std::size_t>(page.GetBreakerIndex())].key, "HK25_D");
  EXPECT_TRUE(document->IsModified());
}

TEST_F(FeedPagesTest, ABreakerChosenByTheUserIsKept) {
  CFeedUnitPage page;
  CDev& unit = QMFeedUnit(page);
  page.ChoosePicture(0);
  ASSERT_EQ(page.ChooseBreaker(IndexOfKey(page, "HK32_D")).result, EApplyResult::kApplied);
  const int steps = UndoSteps();
  EXPECT_EQ(Field(unit, "DISJ"), "HK32_D");
  // Shown again, the page still has the user's frame.
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetBreakers()[static_cast<std::size_t>(page.GetBreakerIndex())].key, "HK32_D");
  // Nothing changed: no undo step.
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(FeedPagesTest, TheSecondTypeOffersTheHRFramesUnderTheirAmperes) {
  CFeedUnitPage page;
  CDev& unit = QMFeedUnit(page);
  page.ChoosePicture(0);
  ASSERT_EQ(page.ChooseType(1).result, EApplyResult::kApplied);
  EXPECT_EQ(CFeedByte::FromStyle(unit.GetStyle()).picture, 3);
  EXPECT_TRUE(page.IsProtectionEnabled());
  const int hr = IndexOfKey(page, "HR06b_D");
  ASSERT_GE(hr, 0);
  EXPECT_EQ(page.GetBreakers()[static_cast<std::size_t>(hr)].text, "HR630b");
  page.ChooseBreaker(hr);
  EXPECT_EQ(Field(unit, "DISJ"), "HR06b_D");
  // The fixed mounting turns every key to "_F" and keeps the frame.
  ASSERT_EQ(page.ChooseProtection(1).result, EApplyResult::kApplied);
  EXPECT_EQ(Field(unit, "DISJ"), "HR06b_F");
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetTypeIndex(), 1);
  EXPECT_EQ(page.GetProtectionIndex(), 1);
  EXPECT_EQ(page.GetBreakers()[static_cast<std::size_t>(page.GetBreakerIndex())].key, "HR06b_F");
}

TEST_F(FeedPagesTest, ClickingTheChosenPictureClearsTheUnit) {
  CFeedUnitPage page;
  CDev& unit = QMFeedUnit(page);
  page.ChoosePicture(0);
  page.SetPackage(true);
  EXPECT_EQ(Field(unit, "QMBPACK"), "1");
  ASSERT_EQ(page.ChoosePicture(0).result, EApplyResult::kApplied);
  EXPECT_EQ(unit.GetStyle() >> 24, 0u);
  EXPECT_EQ(Field(unit, "DISJ"), "");
  EXPECT_EQ(Field(unit, "QWA"), "");
  EXPECT_EQ(Field(unit, "QMBPACK"), "");
  EXPECT_EQ(page.GetPictureIndex(), -1);
  EXPECT_FALSE(page.IsBreakerShown());
}

TEST_F(FeedPagesTest, AUnitWithoutConnectionBoxGetsAnUnsetOne) {
  CFeedUnitPage page;
  CDev& unit = QMFeedUnit(page);
  ASSERT_FALSE(document->GetEquipmentValues(unit).has_value());
  unit.SetFieldText("DISJ", "HK16_D");
  CFeedUnitPage::ResetConnectionBox(unit, 0);
  const auto values = document->GetEquipmentValues(unit);
  ASSERT_TRUE(values.has_value());
  EXPECT_EQ((*values)[0], 0);
  EXPECT_EQ((*values)[3], kUnsetOffset);
  EXPECT_EQ(Field(unit, "DISJ"), "");
}

TEST_F(FeedPagesTest, TypedSizesAreClampedAndStoredAsOneStep) {
  CFeedUnitPage page;
  CDev& unit = QMFeedUnit(page);
  page.ChoosePicture(0);
  CFeedDimensions dimensions(unit, page.ConnectionKey());
  EXPECT_TRUE(dimensions.IsShifted());
  // The catalogue's values filled the box when the picture was chosen.
  EXPECT_GT(dimensions.GetValues()[0], 0);
  const CConnectionValues shown = dimensions.Store({50, 60000, 30000, -5, 800, 25000.9});
  EXPECT_EQ(shown, (CConnectionValues{100, 50000, 20000, 0, 800, 20000}));
  const int steps = UndoSteps();
  const auto stored = document->GetEquipmentValues(unit);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, CFeedDimensions::ToStored(shown, true, 0));
  // Shown again, the stored values come back as they were typed (clamped).
  CFeedDimensions again(unit, page.ConnectionKey());
  EXPECT_EQ(again.GetValues(), shown);
  EXPECT_EQ(again.Store({100, 50000, 20000, 0, 800, 20000}), shown);
  EXPECT_EQ(UndoSteps(), steps);
  // The edit goes back in one undo: the unit's box no longer has the typed sizes.
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  CDev& restored = *Run(document->GetRunCount() - 1).GetChainOrder().front();
  EXPECT_NE(document->GetEquipmentValues(restored), stored);
}

TEST_F(FeedPagesTest, TheUnshiftedRangesOfOtherRanges) {
  CFeedUnitPage page;
  CDev& unit = QMFeedUnit(page);
  unit.SetVariantBoth(1);
  CFeedDimensions dimensions(unit, "TBL0");
  EXPECT_FALSE(dimensions.IsShifted());
  EXPECT_FALSE(dimensions.AreSetsShown());
  EXPECT_EQ(dimensions.Clamp({100, 100, 100, -30000, 30000, -25000}),
            (CConnectionValues{100, 100, 100, -25000, 25000, -20000}));
}

TEST_F(FeedPagesTest, AQMAdapterIsStoredByItsCode) {
  const std::vector<CDev*> laid = Lay(kQMAdapterLayout);
  CDev& adapter = *laid.back();
  SelectWhole(adapter);
  CAccessoryPage page;
  page.SetObject(&adapter);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.IsQG());
  ASSERT_EQ(page.GetAccessories().size(), 2u);
  EXPECT_EQ(page.GetAccessories()[0].text, "QJF 28 : 2500 A");
  EXPECT_EQ(page.GetAccessories()[1].text, "QJF 26 : 2200 A");
  EXPECT_TRUE(page.IsAccessoryEnabled());
  const int steps = UndoSteps();
  // Leaving the page without a choice writes nothing.
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_EQ(Field(adapter, "QGACC"), "");
  EXPECT_EQ(UndoSteps(), steps);
  ASSERT_EQ(page.ChooseAccessory(1).result, EApplyResult::kApplied);
  EXPECT_EQ(Field(adapter, "QGACC"), "QJ26");
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetAccessoryIndex(), 1);
}

TEST_F(FeedPagesTest, AQMElementTurnedAwayHasNoAdapter) {
  const std::vector<CDev*> laid = Lay(kQMAdapterLayout);
  CDev& adapter = *laid.back();
  adapter.SetDirection(0);
  adapter.SetRotation(32);
  CAccessoryPage page;
  page.SetObject(&adapter);
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.GetAccessories().empty());
  EXPECT_FALSE(page.IsAccessoryEnabled());
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
}

TEST_F(FeedPagesTest, QGArrangementsFollowTheNeutral) {
  struct Case {
    const char* neutral;
    const char* stored;
    std::vector<std::string> offered;
    int selected;
  };
  const Case cases[] = {{"4", "", {"3L+N+PE"}, 0},
                        {"5", "5", {"3L+N+PE", "3L+N+PER"}, 1},
                        // Nothing stored shows the run's own arrangement.
                        {"5", "", {"3L+N+PE", "3L+N+PER"}, 1},
                        {"5", "4", {"3L+N+PE", "3L+N+PER"}, 0},
                        {"3", "", {"3L+PE"}, 0}};
  for (const Case& c : cases) {
    const std::vector<CDev*> laid = Lay("run QGA 12\nstart 1\ngo 4 3000\nend 7\n");
    CDev& unit = *laid.back();
    unit.GetRun()->SetProp("Neutral", c.neutral);
    unit.SetFieldText("QGACC", c.stored);
    CAccessoryPage page;
    page.SetObject(&unit);
    ASSERT_TRUE(page.Load());
    EXPECT_TRUE(page.IsQG());
    ASSERT_EQ(page.GetAccessories().size(), 1u);
    EXPECT_EQ(page.GetAccessories()[0].text, "QMA 1250 A");
    std::vector<std::string> offered;
    for (const CFeedEntry& entry : page.GetChoices()) offered.push_back(entry.text);
    EXPECT_EQ(offered, c.offered) << c.neutral;
    EXPECT_EQ(page.GetChoiceIndex(), c.selected) << c.neutral;
  }
}

TEST_F(FeedPagesTest, TheRunsOwnArrangementIsStoredEmpty) {
  const std::vector<CDev*> laid = Lay("run QGA 10\nstart 1\ngo 4 3000\nend 7\n");
  CDev& unit = *laid.back();
  unit.GetRun()->SetProp("Neutral", "5");
  CAccessoryPage page;
  page.SetObject(&unit);
  ASSERT_TRUE(page.Load());
  ASSERT_EQ(page.ChooseChoice(0).result, EApplyResult::kApplied);
  EXPECT_EQ(Field(unit, "QGACC"), "4");
  ASSERT_EQ(page.ChooseChoice(1).result, EApplyResult::kApplied);
  EXPECT_EQ(Field(unit, "QGACC"), "");
}

}  // namespace

namespace {

TEST_F(LaidRunPageTest, AQMFeedUnitListsTheFeedUnitPage) {
  CDev& unit = *Lay(kQMFeedLayout).front();
  SelectWhole(unit);
  const std::vector<int> pages = unit.GetRun()->GetSubObjects(unit);
  EXPECT_NE(std::find(pages.begin(), pages.end(), kPageFeedUnit), pages.end())
      << ::testing::PrintToString(pages);
}

}  // namespace
