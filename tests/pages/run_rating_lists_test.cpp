// What the rating page offers of each range's lists, and the rating's current in amperes
// both ways (a rating code holds hundreds of amperes).

#include <gtest/gtest.h>

#include "pages/run_rating_lists.h"

namespace {

using namespace run_rating;

std::vector<CCodeLabelRow> Rows(std::initializer_list<const char*> codes) {
  std::vector<CCodeLabelRow> rows;
  for (const char* code : codes) rows.push_back({code, std::string("label ") + code});
  return rows;
}

std::vector<std::string> Codes(const std::vector<CCodeLabelRow>& rows,
                               const std::vector<int>& offered) {
  std::vector<std::string> codes;
  for (int index : offered) codes.push_back(rows[static_cast<std::size_t>(index)].code);
  return codes;
}

TEST(RunRatingListsTest, CataloguesLeaveOutTheQWRangeUnlessItIsTheRunsOwn) {
  const std::vector<CCatalogueEntry> entries = {
      {"QMA", "M"}, {"QWA", "W"}, {"QWC", "W C"}, {"QDA", "D"}};
  EXPECT_EQ(OfferedCatalogues(entries, ""), (std::vector<int>{0, 3}));
  EXPECT_EQ(OfferedCatalogues(entries, "QWC"), (std::vector<int>{0, 2, 3}));
}

TEST(RunRatingListsTest, RatingsFollowTheRangeAndNeutral) {
  const auto rows = Rows({"16", "25", "32", "40"});
  const struct {
    const char* catalog;
    const char* neutral;
    std::vector<std::string> expected;
  } cases[] = {
      {"QMA", "6", {"25", "32"}},
      {"QMA", "8", {"25"}},
      {"QMA", "4", {"16", "25", "32", "40"}},
      {"QMC", "6", {"16", "25", "32", "40"}},  // the filter is the plain set's
      {"QDT", "4", {"25", "32", "40"}},
      {"QDA", "4", {"16", "25", "32", "40"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Codes(rows, OfferedRatings(rows, c.catalog, c.neutral)), c.expected)
        << c.catalog << " " << c.neutral;
}

TEST(RunRatingListsTest, NeutralsFollowTheRangeAndRating) {
  const auto rows = Rows({"4", "6", "8", "0.5"});
  const struct {
    const char* catalog;
    const char* calibre;
    std::vector<std::string> expected;
  } cases[] = {
      {"QMA", "25", {"4", "6", "8", "0.5"}}, {"QMA", "32", {"4", "6", "0.5"}},
      {"QMA", "40", {"4", "0.5"}},           {"QMC", "25", {"4", "0.5"}},
      {"QJF", "20", {"4", "6", "8"}},        {"QJF", "26", {"4", "6", "8", "0.5"}},
      {"QJF", "junk", {"4", "6", "8"}},  // a stored rating that is no number reads as 0
      {"QDA", "25", {"4", "6", "8", "0.5"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Codes(rows, OfferedNeutrals(rows, c.catalog, c.calibre)), c.expected)
        << c.catalog << " " << c.calibre;
}

TEST(RunRatingListsTest, ARatingCodeIsHundredsOfAmperes) {
  const struct {
    const char* code;
    long long amperes;
  } cases[] = {{"25", 2500}, {"06", 600}, {"12", 1250}, {"13", 1350},      {"14", 1400},
               {"", 0},      {"x", 0},    {"-4", 0},    {"99999999999", 0}};
  for (const auto& c : cases) EXPECT_EQ(RatingAmperes(c.code), c.amperes) << c.code;
}

TEST(RunRatingListsTest, TheCurrentShownIsTheRatingInAmperesDerated) {
  EXPECT_EQ(CarriedCurrent("25", 0.9), 2250);  // not 22
  EXPECT_EQ(CarriedCurrent("12", 1.0), 1250);
  EXPECT_FALSE(CarriedCurrent("25", 0.0).has_value());
  EXPECT_FALSE(CarriedCurrent("", 1.0).has_value());
}

TEST(RunRatingListsTest, ATypedCurrentChoosesTheRatingThatCarriesIt) {
  const auto rows = Rows({"10", "12", "16", "25"});
  const std::vector<int> all = {0, 1, 2, 3};
  const struct {
    long long current;
    double factor;
    int expected;
  } cases[] = {
      {1000, 1.0, 0},                  // 1000 A: the 1000 A rating
      {1001, 1.0, 1},                  // just above: the half step 1250
      {1000, 0.9, 1},                  // needs 1111 A
      {1300, 1.0, 2},                  // 1250 is short: 1600
      {2500, 0.9, 3},                  // 2777 A: none is that high, the largest
      {1, 1.0, 0},    {1600, 0.0, 2},  // without a factor the current itself
  };
  for (const auto& c : cases)
    EXPECT_EQ(RatingForCurrent(rows, all, c.current, c.factor), c.expected)
        << c.current << " at " << c.factor;
  EXPECT_EQ(RatingForCurrent(rows, {}, 1000, 1.0), -1);
  // Only the offered ratings count: position in the offered list.
  EXPECT_EQ(RatingForCurrent(rows, {0, 3}, 1100, 1.0), 1);
}

TEST(RunRatingListsTest, TemperaturesEndAtTheFirstFactorNotAboveZero) {
  const std::vector<CTemperatureEntry> table = {{1.0, 30}, {0.9, 40}, {0.0, 50}, {0.8, 60}};
  const auto usable = UsableTemperatures(table);
  ASSERT_EQ(usable.size(), 2u);
  EXPECT_EQ(NearestTemperature(usable, 35), 0);  // the first of equal distances
  EXPECT_EQ(NearestTemperature(usable, 39), 1);
  EXPECT_EQ(NearestTemperature({}, 35), -1);
}

TEST(RunRatingListsTest, ARatingShowsWhatFollowsItsFirstSlash) {
  EXPECT_EQ(RatingText("QD/63 A/x"), "63 A/x");
  EXPECT_EQ(RatingText("63 A"), "63 A");
}

}  // namespace
