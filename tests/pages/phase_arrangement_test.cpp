#include "pages/phase_arrangement.h"

#include <gtest/gtest.h>

namespace {

constexpr int kEl1 = 0, kEl3 = 1, kEl4 = 2;

CArrangementPlace Place(int piece, bool noNeutral = false, bool phaseZero = false,
                        int direction = 4, int rotation = 16) {
  CArrangementPlace place;
  place.piece = piece;
  place.noNeutral = noNeutral;
  place.phaseCodeZero = phaseZero;
  place.direction = direction;
  place.rotation = rotation;
  return place;
}

TEST(PhaseArrangementTest, EntriesBySetAndNeutral) {
  using List = std::vector<std::string>;
  const struct {
    const char* name;
    CArrangementPlace place;
    List entries;
  } rows[] = {
      {"element 1", Place(kEl1), {"L1/N/L2/L3", "L1/L2/N/L3", "L3/N/L2/L1", "L3/L2/N/L1"}},
      {"element 3", Place(kEl3), {"L1/N/L2/L3", "L1/L2/N/L3", "L3/N/L2/L1", "L3/L2/N/L1"}},
      {"element 4, phase order kept", Place(kEl4), {"L1/N/L2/L3", "L3/L2/N/L1"}},
      {"element 4, phase code 0", Place(kEl4, false, true), {"L1/L2/N/L3", "L3/N/L2/L1"}},
      {"no neutral", Place(kEl1, true), {"L1/L2/L3", "L3/L2/L1"}},
      {"no neutral, element 4", Place(kEl4, true, true), {"L1/L2/L3", "L3/L2/L1"}},
  };
  for (const auto& row : rows) EXPECT_EQ(ArrangementEntries(row.place), row.entries) << row.name;
}

// Whatever entry is chosen, the page shows it again after the arrangement was stored.
TEST(PhaseArrangementTest, AStoredChoiceIsShownAgain) {
  const CArrangementPlace places[] = {Place(kEl1),       Place(kEl3),
                                      Place(kEl4),       Place(kEl4, false, true),
                                      Place(kEl1, true), Place(kEl4, true, true)};
  for (const CArrangementPlace& place : places) {
    const int count = static_cast<int>(ArrangementEntries(place).size());
    for (int index = 0; index < count; ++index) {
      const int stored = StoredArrangement(place, index);
      EXPECT_GE(stored, 1);
      EXPECT_LE(stored, 4);
      EXPECT_EQ(ArrangementIndex(place, stored), index)
          << place.piece << " " << place.noNeutral << place.phaseCodeZero << " entry " << index;
    }
  }
}

TEST(PhaseArrangementTest, StoredNumbers) {
  const struct {
    const char* name;
    CArrangementPlace place;
    int index, stored;
  } rows[] = {
      {"four entries store their number", Place(kEl1), 2, 3},
      {"second of two is the mirror", Place(kEl1, true), 1, 4},
      {"element 4, second entry", Place(kEl4), 1, 4},
      {"element 4 on phase code 0, first entry", Place(kEl4, false, true), 0, 4},
      {"element 4 on phase code 0, second entry", Place(kEl4, false, true), 1, 1},
  };
  for (const auto& row : rows)
    EXPECT_EQ(StoredArrangement(row.place, row.index), row.stored) << row.name;
}

TEST(PhaseArrangementTest, EnabledDefaultAndTurn) {
  const struct {
    const char* name;
    CArrangementPlace place;
    bool neighbour;
    bool enabled;
    int arrangement;
  } rows[] = {
      {"element 1 chooses freely", Place(kEl1), false, true, 1},
      {"element 4 lying flat", Place(kEl4, false, false, 4, 16), false, false, 1},
      {"element 4 lying flat with its neighbour", Place(kEl4, false, false, 4, 16), true, false, 4},
      {"element 4 on rotation 64", Place(kEl4, false, false, 4, 64), true, false, 1},
      {"element 4 rising", Place(kEl4, false, false, 2, 16), false, true, 1},
      {"element 4 across", Place(kEl4, false, false, 4, 32), false, true, 1},
      {"element 4 on phase code 0 lying flat", Place(kEl4, false, true, 4, 16), true, false, 2},
      {"element 4 on phase code 0 rising", Place(kEl4, false, true, 3, 16), false, true, 3},
  };
  for (const auto& row : rows) {
    CArrangementPlace place = row.place;
    place.neighbourOnDirection = row.neighbour;
    EXPECT_EQ(IsArrangementEnabled(place), row.enabled) << row.name;
    EXPECT_EQ(DefaultArrangement(place), row.arrangement) << row.name;
    place.partsBuilt = true;
    EXPECT_FALSE(IsArrangementEnabled(place)) << row.name;
  }
  const struct {
    const char* name;
    CArrangementPlace place;
    bool largeCalibre;
    bool shown;
  } turns[] = {
      {"element 3", Place(kEl3), false, true},
      {"element 4", Place(kEl4, false, false, 2), false, false},
      {"element 1 rising", Place(kEl1, false, false, 2, 16), false, true},
      {"element 1 flat", Place(kEl1, false, false, 4, 16), false, false},
      {"element 1 flat, large calibre", Place(kEl1, false, false, 4, 16), true, true},
      {"element 1 across, large calibre", Place(kEl1, false, false, 4, 128), true, false},
      {"element 1 across", Place(kEl1, false, false, 4, 32), false, true},
  };
  for (const auto& row : turns) {
    CArrangementPlace place = row.place;
    place.largeCalibre = row.largeCalibre;
    EXPECT_EQ(IsVariant6TurnShown(place), row.shown) << row.name;
    place.partsBuilt = true;
    EXPECT_FALSE(IsVariant6TurnShown(place)) << row.name;
  }
}

}  // namespace
