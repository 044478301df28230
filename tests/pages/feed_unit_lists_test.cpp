// The feed unit page's tables without a document: the feed byte, the transformer rows
// and the run's row among them, the breaker frames and their filters, the turn, the
// options of a unit's free sides, the accessory labels and the connection box's sizes
// shown from its edges.

#include <gtest/gtest.h>

#include "pages/accessory_page.h"
#include "pages/feed_dimensions.h"
#include "pages/feed_unit_lists.h"

namespace {

std::vector<std::string> Keys(const std::vector<CFeedEntry>& entries) {
  std::vector<std::string> keys;
  for (const CFeedEntry& entry : entries) keys.push_back(entry.key);
  return keys;
}

TEST(FeedUnitListsTest, TheFeedByteLivesInTheTopByteOfTheStyleWord) {
  struct Case {
    std::uint32_t style;
    CFeedByte feed;
    std::uint32_t value;
  };
  const Case cases[] = {{0x00000004u, {0, 0, 0, 0}, 0},
                        {0x01000004u, {1, 0, 0, 0}, 1},
                        {0x0B00ABCDu, {3, 2, 0, 0}, 11},
                        {0x72001234u, {2, 0, 1, 3}, 114},
                        {0xFF000000u, {3, 3, 1, 3}, 127}};
  for (const Case& c : cases) {
    const CFeedByte feed = CFeedByte::FromStyle(c.style);
    EXPECT_EQ(feed.picture, c.feed.picture) << std::hex << c.style;
    EXPECT_EQ(feed.option, c.feed.option) << std::hex << c.style;
    EXPECT_EQ(feed.protection, c.feed.protection) << std::hex << c.style;
    EXPECT_EQ(feed.turn, c.feed.turn) << std::hex << c.style;
    EXPECT_EQ(feed.Value(), c.value);
    // The unused top bit is written as 0; the low bytes stay.
    EXPECT_EQ(feed.Into(c.style), (c.style & 0x7FFFFFFFu)) << std::hex << c.style;
  }
}

TEST(FeedUnitListsTest, TheRunsRatingMapsToItsTransformerRow) {
  struct Case {
    int calibre;
    int mode;
    int code;
  };
  const Case cases[] = {{8, 1, 10},  {13, 1, 12}, {13, 2, 12}, {25, 1, 25}, {50, 2, 50},
                        {50, 1, 40}, {63, 2, 50}, {63, 1, 40}, {40, 1, 40}};
  for (const Case& c : cases)
    EXPECT_EQ(TransformerRunCode(c.calibre, c.mode), c.code) << c.calibre << " " << c.mode;
}

TEST(FeedUnitListsTest, TransformerRowsCarryZeroForTheRunsOwnRating) {
  const std::vector<CFeedEntry> mode1 = TransformerRatings(1, 25);
  ASSERT_EQ(mode1.size(), 7u);
  EXPECT_EQ(mode1.front().text, "630 KVA");
  EXPECT_EQ(mode1.back().text, "2500 KVA");
  const std::vector<int> values1 = {1, 2, 3, 4, 0, 6, 7};
  for (std::size_t i = 0; i < mode1.size(); ++i) EXPECT_EQ(mode1[i].value, values1[i]) << i;
  // Variant 20 offers 3150 kVA, and a run of 50 has it as its own.
  const std::vector<CFeedEntry> mode2 = TransformerRatings(2, 50);
  ASSERT_EQ(mode2.size(), 8u);
  EXPECT_EQ(mode2[7].text, "3150 KVA");
  EXPECT_EQ(mode2[7].value, 0);
  EXPECT_EQ(mode2[6].value, 7);
  // The stored "QWA" selects by value or by row number, the last such row winning.
  EXPECT_EQ(SelectedRating(mode1, 0), 4);
  EXPECT_EQ(SelectedRating(mode1, 2), 1);
  EXPECT_EQ(SelectedRating(mode1, 5), 4);
  EXPECT_EQ(SelectedRating(mode2, 8), 7);
  EXPECT_EQ(SelectedRating(mode1, 9), -1);
}

TEST(FeedUnitListsTest, BreakerFramesAreFilteredByVariantAndOption) {
  const std::vector<std::string> variant3 = {"HK08_D", "HK10_D", "HK12_D", "HK16_D",
                                             "HK20_D", "HK25_D", "HK32_D", "HK40_D",
                                             "HV08_D", "HV10_D", "HV12_D", "HV16_D"};
  EXPECT_EQ(Keys(BreakerFrames(3, 0, "_D", "HK25_D")), variant3);
  EXPECT_EQ(Keys(BreakerFrames(3, 3, "_D", "")), variant3);
  const std::vector<std::string> variant1Option0 = {
      "HK08_F", "HK10_F", "HK12_F", "HK16_F",  "HK20_F", "HK25_F", "HK32_F", "HV06_F",
      "HV08_F", "HV10_F", "HV12_F", "HR06b_F", "HR08_F", "HR10_F", "HR12_F"};
  EXPECT_EQ(Keys(BreakerFrames(1, 0, "_F", "")), variant1Option0);
  EXPECT_EQ(BreakerFrames(1, 3, "_D", "").size(), 18u);
}

TEST(FeedUnitListsTest, HRFramesShowTheirAmperesAndKeepTheirKeys) {
  const std::vector<CFeedEntry> frames = BreakerFrames(1, 3, "_D", "HK16_D");
  std::vector<std::string> labels;
  for (const CFeedEntry& entry : frames)
    if (entry.key.starts_with("HR")) labels.push_back(entry.text + "=" + entry.key);
  EXPECT_EQ(labels, (std::vector<std::string>{"HR630b=HR06b_D", "HR800=HR08_D", "HR1000=HR10_D",
                                              "HR1250=HR12_D", "HR1600=HR16_D"}));
  int automatic = 0;
  for (const CFeedEntry& entry : frames) automatic += entry.value;
  EXPECT_EQ(automatic, 1);
  EXPECT_EQ(frames[static_cast<std::size_t>(SelectedBreaker(frames, ""))].key, "HK16_D");
  EXPECT_EQ(frames[static_cast<std::size_t>(SelectedBreaker(frames, "HR06"))].key, "HR06b_D");
  EXPECT_EQ(frames[static_cast<std::size_t>(SelectedBreaker(frames, "HV12"))].key, "HV12_D");
  // A frame the list leaves out falls back to the automatic one.
  const std::vector<CFeedEntry> filtered = BreakerFrames(3, 0, "_D", "HK16_D");
  EXPECT_EQ(filtered[static_cast<std::size_t>(SelectedBreaker(filtered, "HR08"))].key, "HK16_D");
  EXPECT_EQ(SelectedBreaker(BreakerFrames(3, 0, "_F", "HK16_D"), "HR08"), -1);
}

TEST(FeedUnitListsTest, TheTurnSteps) {
  struct Case {
    int turn;
    int pending;
    bool transformer;
    int option;
    int next;
  };
  const Case cases[] = {// Option 2 goes 0, 1, 3, 0.
                        {0, 1, false, 2, 1},
                        {1, 1, false, 2, 3},
                        {3, 1, false, 2, 0},
                        // Other options step by one; transformer mode by two.
                        {2, 1, false, 0, 3},
                        {0, 1, true, 0, 2},
                        {2, 1, true, 3, 0},
                        // A new picture or option takes it back; nothing keeps it.
                        {3, 2, false, 1, 0},
                        {3, 0, false, 1, 3}};
  for (const Case& c : cases)
    EXPECT_EQ(NextTurn(c.turn, c.pending, c.transformer, c.option), c.next)
        << c.turn << " " << c.pending << " " << c.transformer << " " << c.option;
}

TEST(FeedUnitListsTest, FreeSidesDecideTheOptionsAndThePictures) {
  struct Case {
    int direction;
    bool side2;
    bool side3;
    int options;
  };
  const Case cases[] = {{2, true, false, 1},  {2, false, false, 2}, {3, false, true, 2},
                        {3, false, false, 1}, {4, true, true, 7},   {0, false, false, 7}};
  for (const Case& c : cases)
    EXPECT_EQ(FeedOptions(c.direction, c.side2, c.side3), c.options) << c.direction;
  // Without option 0 the transformer goes; in transformer mode everything goes unless
  // the package may sit above.
  EXPECT_EQ(AvailablePictures(3, 7, 0, false), 3);
  EXPECT_EQ(AvailablePictures(3, 2, 0, false), 1);
  EXPECT_EQ(AvailablePictures(3, 2, 1, false), 0);
  EXPECT_EQ(AvailablePictures(3, 2, 1, true), 1);
  EXPECT_EQ(PictureIndexOfCode(2, 3), 0);
  EXPECT_EQ(PictureIndexOfCode(3, 3), 1);
  EXPECT_EQ(PictureIndexOfCode(3, 1), 0);
  EXPECT_EQ(PictureIndexOfCode(2, 1), -1);
  EXPECT_EQ(PictureCodeOfIndex(0, 1), 1);
  EXPECT_EQ(PictureCodeOfIndex(1, 3), 1);
  EXPECT_EQ(PictureCodeOfIndex(-1, 3), 0);
}

TEST(FeedUnitListsTest, TextsSplitAtTheirFirstSeparator) {
  EXPECT_EQ(TextBefore("RDH/Other", '/'), "RDH");
  EXPECT_EQ(TextAfter("RDH/Other", '/', true), "Other");
  EXPECT_EQ(TextBefore("/Other", '/'), "/Other");
  EXPECT_EQ(TextAfter("Plain", '/', true), "Plain");
  EXPECT_EQ(TextAfter("Plain", '/', false), "");
}

TEST(AccessoryLabelsTest, AdapterCodesShowTheirRangeAndRating) {
  EXPECT_EQ(CAccessoryPage::AdapterLabel("QJ14"), "QJF 14 : 1000 A");
  EXPECT_EQ(CAccessoryPage::AdapterLabel("QJ56"), "QJF 56 : 5000 A");
  EXPECT_EQ(CAccessoryPage::AdapterLabel("QZ26"), "QZF 26 : 2750 A");
  EXPECT_EQ(CAccessoryPage::AdapterLabel("QX99"), "QX99");
  // Ratings in amperes, the half steps of 12 and 13 included.
  const std::pair<int, int> ratings[] = {{10, 1000}, {12, 1250}, {13, 1350}, {25, 2500}};
  for (const auto& [calibre, amperes] : ratings)
    EXPECT_EQ(CAccessoryPage::RatingAmperes(calibre), amperes) << calibre;
}

TEST(FeedDimensionsRulesTest, PackedRowsGiveTheLiftAboveOneHundredThousand) {
  EXPECT_EQ(CFeedDimensions::FromRow({600, 1200, 800, 300, 250}),
            (CConnectionValues{600, 1200, 800, 300, 250, 0}));
  EXPECT_EQ(CFeedDimensions::FromRow({600, 1200, 800, 300, 300250}),
            (CConnectionValues{600, 1200, 800, 300, 250, 3}));
  EXPECT_EQ(CFeedDimensions::FromRow({600, 1200, 800, 300, 100000}),
            (CConnectionValues{600, 1200, 800, 300, 100000, 0}));
}

TEST(FeedDimensionsRulesTest, ShiftedOffsetsCountFromTheEdgesBothWays) {
  const CConnectionValues stored = {975, 1705, 1415, -200, 300, 400};
  const CConnectionValues option0 = CFeedDimensions::ToShown(stored, true, 0);
  EXPECT_EQ(option0, (CConnectionValues{975, 1705, 1415, 287, 552, 400}));
  const CConnectionValues option1 = CFeedDimensions::ToShown(stored, true, 1);
  EXPECT_EQ(option1, (CConnectionValues{975, 1705, 1415, 287, 552, 1015}));
  EXPECT_EQ(CFeedDimensions::ToStored(option0, true, 0), stored);
  EXPECT_EQ(CFeedDimensions::ToStored(option1, true, 1), stored);
  EXPECT_EQ(CFeedDimensions::ToShown(stored, false, 1), stored);
}

}  // namespace
