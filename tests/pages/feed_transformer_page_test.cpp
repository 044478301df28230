// The feed unit page on a QM transformer connection (variant 20) and on a QG feed unit,
// and the catalogue's dimension sets of a QM switchboard connection.

#include <gtest/gtest.h>

#include "feed_test_support.h"
#include "pages/feed_dimensions.h"
#include "pages/feed_unit_page.h"

#include <map>

namespace {

// A QMA 25 run fed by a transformer connection with the transformer picture and the
// 1600 kVA row (row 5) stored.
constexpr const char* kQMTransformerLayout =
    "run QMA 25\nstart 20\nstyle 2000000\nfield QWA 5\ngo 4 3000\nend 1\n";
constexpr const char* kQGFeedLayout = "run QGA 10\nstart 3\ngo 4 3000\nend 1\n";

class FeedTransformerTest : public LaidRunPageTest {
 protected:
  CDev& Unit(const char* layout, CFeedUnitPage& page, int direction = -1) {
    CDev& unit = *Lay(layout).front();
    if (direction >= 0) unit.SetDirection(direction);
    SelectWhole(unit);
    page.SetObject(&unit);
    EXPECT_TRUE(page.Load());
    return unit;
  }
  static std::vector<std::string> Texts(const std::vector<CFeedEntry>& entries) {
    std::vector<std::string> texts;
    for (const CFeedEntry& entry : entries) texts.push_back(entry.text);
    return texts;
  }
};

TEST_F(FeedTransformerTest, TheTransformerConnectionOffersItsRatings) {
  CFeedUnitPage page;
  CDev& unit = Unit(kQMTransformerLayout, page);
  EXPECT_EQ(page.GetTransformerMode(), kTransformerQM20);
  EXPECT_EQ(page.GetPictures(), (std::vector<int>{2, 1}));
  EXPECT_EQ(page.GetPictureIndex(), 0);
  EXPECT_EQ(page.GetPictureCode(), 2);
  // Variant 20 adds the 3150 kVA row; the run's own rating (25: 1600 kVA) carries 0.
  const std::vector<std::string> ratings = {"630 KVA",  "800 KVA",  "1000 KVA", "1250 KVA",
                                            "1600 KVA", "2000 KVA", "2500 KVA", "3150 KVA"};
  EXPECT_EQ(Texts(page.GetRatings()), ratings);
  EXPECT_EQ(page.GetRatings()[4].value, 0);
  EXPECT_EQ(page.GetRatings()[7].value, 8);
  EXPECT_EQ(page.GetRatingIndex(), 4);
  EXPECT_FALSE(page.IsTurnShown() && page.GetTransformerMode() == kTransformerQM4);
  const int steps = UndoSteps();
  ASSERT_EQ(page.ChooseRating(7).result, EApplyResult::kApplied);
  EXPECT_EQ(unit.GetFieldText("QWA").value_or(""), "8");
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetRatingIndex(), 7);
}

// On a unit rising or falling, a turn in mode 2 also flips the mounting choice (a rising
// unit without its neighbour above offers no picture at all).
TEST_F(FeedTransformerTest, TheTurnFlipsTheMountingOfARisingTransformerConnection) {
  const struct {
    const char* name;
    int direction;
    bool flips;
  } rows[] = {{"falling", 3, true}, {"level", 4, false}};
  for (const auto& row : rows) {
    CFeedUnitPage page;
    CDev& unit = Unit(kQMTransformerLayout, page, row.direction);
    ASSERT_EQ(page.ChoosePicture(1).result, EApplyResult::kApplied) << row.name;
    ASSERT_EQ(page.ChooseType(1).result, EApplyResult::kApplied) << row.name;
    ASSERT_TRUE(page.IsTurnShown()) << row.name;
    ASSERT_EQ(page.GetProtections().size(), 2u) << row.name;
    const int before = page.GetProtectionIndex();
    const int turn = CFeedByte::FromStyle(unit.GetStyle()).turn;
    ASSERT_EQ(page.Turn().result, EApplyResult::kApplied) << row.name;
    // Transformer mode steps the turn by two.
    EXPECT_EQ(CFeedByte::FromStyle(unit.GetStyle()).turn, (turn + 2) % 4) << row.name;
    EXPECT_EQ(page.GetProtectionIndex() != before, row.flips) << row.name;
  }
}

TEST_F(FeedTransformerTest, AQGFeedUnitTakesItsSwitchboardPicture) {
  CFeedUnitPage page;
  CDev& unit = Unit(kQGFeedLayout, page);
  EXPECT_EQ(page.GetTransformerMode(), kNoTransformer);
  ASSERT_FALSE(page.GetPictures().empty());
  const int steps = UndoSteps();
  ASSERT_EQ(page.ChoosePicture(0).result, EApplyResult::kApplied);
  EXPECT_EQ(UndoSteps(), steps + 1);
  const CFeedByte feed = CFeedByte::FromStyle(unit.GetStyle());
  EXPECT_EQ(feed.picture, page.GetPictures()[0] == kTransformerPicture ? 2 : 1);
  EXPECT_EQ(unit.GetStyle() >> 24, unit.GetStyle2() >> 24);
  EXPECT_FALSE(page.IsBreakerShown());
  EXPECT_EQ(page.ConnectionKey(),
            (feed.picture == 2 ? "TRF" : "TBL") + std::to_string(feed.option));
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetPictureIndex(), 0);
}

// The switchboard connection of a QM feed unit with breaker offers the three sets that
// the catalogue holds for its breaker: set 2 packs its depth offset above 100000.
TEST_F(FeedTransformerTest, TheCatalogueSetsOfASwitchboardConnection) {
  CFeedUnitPage page;
  CDev& unit = Unit(kQMFeedLayout, page);
  ASSERT_EQ(page.ChoosePicture(0).result, EApplyResult::kApplied);
  ASSERT_EQ(page.ConnectionKey(), "ULMHK25_D0");
  CFeedDimensions dimensions(unit, page.ConnectionKey());
  EXPECT_TRUE(dimensions.AreSetsShown());
  std::map<int, CConnectionValues> sets;
  for (const CFeedDimensions::CSet& set : dimensions.GetSets()) sets[set.value] = set.values;
  // The three sets, and the user's own values when the language names them.
  ASSERT_GE(sets.size(), 3u);
  EXPECT_EQ(sets[0], (CConnectionValues{700, 450, 300, 350, 150, 0}));
  EXPECT_EQ(sets[1], (CConnectionValues{800, 400, 350, 400, 160, 20}));
  EXPECT_EQ(sets[2], (CConnectionValues{750, 420, 320, 380, 140, 0}));
  // Another breaker has no sets of its own.
  CFeedDimensions other(unit, "ULMHK32_D0");
  for (const CFeedDimensions::CSet& set : other.GetSets()) EXPECT_LT(set.value, 0);
  EXPECT_EQ(other.GetSets().size(), sets.size() - 3);
}

}  // namespace
