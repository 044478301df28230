#include "ranges/qg/part_builder_qg.h"

#include <gtest/gtest.h>

namespace {

CSupportLegs Legs(int d1, long long l1, int d2 = -1, long long l2 = 0, int d3 = -1,
                  long long l3 = 0) {
  CSupportLegs legs;
  legs.d1 = d1;
  legs.l1 = l1;
  legs.d2 = d2;
  legs.l2 = l2;
  legs.d3 = d3;
  legs.l3 = l3;
  return legs;
}

CSupportHousing Housing(const char* family, char variant = ' ', int w1 = 130, int w2 = 130) {
  CSupportHousing housing;
  housing.family = family;
  housing.variant = variant;
  housing.w1 = w1;
  housing.w2 = w2;
  return housing;
}

struct SupportCase {
  const char* what;
  CSupportLegs legs;
  CSupportHousing housing;
  const char* code;
};

TEST(QGSupportCodeTest, LegsGiveTheirSupports) {
  CSupportLegs ownFeed = Legs(4, 1200);
  ownFeed.ownStart = true;
  ownFeed.turnFace1 = 5;
  ownFeed.turnFace3 = 2;
  CSupportLegs feed = ownFeed;
  feed.ownStart = false;
  const SupportCase cases[] = {
      {"1800 on face 0", Legs(0, 1800), Housing("ED"), "0:250/0:1550"},
      {"2400 on face 0", Legs(0, 2400), Housing("ED"), "0:450/0:1950"},
      {"1000 on face 0", Legs(0, 1000), Housing("ED"), "0:500"},
      {"500 on face 0", Legs(0, 500), Housing("ED"), ""},
      {"2400 up", Legs(2, 2400), Housing("ED"), "2:1700"},
      {"2400 down", Legs(3, 2400), Housing("ED"), "3:700"},
      {"1999 up", Legs(2, 1999), Housing("ED"), ""},
      {"riser family", Legs(4, 3000), Housing("RU"), "4:1500"},
      {"end piece", Legs(4, 3000), Housing("ET"), ""},
      // A flat elbow: half width 65; legs of 1000 and 900 less it.
      {"flat elbow, long legs", Legs(4, 1000, 5, 900), Housing("LP"), "45:0/4:250/45:650"},
      {"flat elbow, short legs", Legs(4, 300, 5, 300), Housing("LP"), ""},
      {"flat elbow, wide housing", Legs(4, 300, 5, 300), Housing("LP", ' ', 130, 200), "45:0"},
      {"edgewise elbow down", Legs(4, 1000, 3, 500), Housing("LC"), "4:250/4:865"},
      {"edgewise elbow from above", Legs(2, 400, 4, 500), Housing("LC"), "24:95"},
      {"flat tee", Legs(4, 800, 5, 800), Housing("TD"), "45:0"},
      {"tee down", Legs(4, 800, 3, 800), Housing("TC"), "44:135"},
      {"tee down, flat family", Legs(4, 800, 3, 800), Housing("TD"), "4:705"},
      {"double elbow, long middle", Legs(4, 800, 5, 400, 4, 900), Housing("ZP"), "45:200"},
      {"double elbow, short middle", Legs(4, 800, 5, 200, 4, 900), Housing("ZP"), "45:0/454:0"},
      {"double elbow up", Legs(4, 800, 2, 100, 4, 900), Housing("ZC"), "42:0"},
      {"double elbow, second turn up, short", Legs(4, 800, 5, 100, 2, 900), Housing("ZP"), ""},
      {"combined elbow up", Legs(4, 800, 2, 500, 5, 900), Housing("CP"), "42:0/425:650"},
      {"own end feed", ownFeed, Housing("ER", '1'), "E5:e/F1:e"},
      {"end feed behind a joint", feed, Housing("ER", '1'), "4E5:e/4F1:e"},
      {"end feed type 7", feed, Housing("ER", '7'), "4G2:e/4H3:e"},
      {"end feed type 8", feed, Housing("ER", '8'), "4G2:e/4H3:e/4:250"},
      {"own end feed type 8", ownFeed, Housing("ER", '8'), "G2:e/H3:e/4:950"},
      {"end feed type 4", feed, Housing("ER", '4'), "475:e/471:e"},
      {"cable end", Legs(4, 1200), Housing("EL"), "474:e/4:250"},
  };
  for (const SupportCase& c : cases) {
    EXPECT_EQ(ComposeSupportCode(c.legs, c.housing), c.code) << c.what;
  }
}

TEST(QGSupportCodeTest, SupportsAreCountedByTheirSeparators) {
  struct Row {
    const char* code;
    const char* family;
    int count;
  };
  const Row rows[] = {
      {"", "ED", 0},
      {"0:500", "ED", 1},
      {"0:250/0:1550", "ED", 2},
      {"45:0/454:0", "ZP", 1},
      {"45:0/4:250/45:650", "LP", 3},
      {"45:0/454:0", "CP", 2},
      {"/", "ED", 1},
      {"4:1/", "ED", 1},
  };
  for (const Row& row : rows) EXPECT_EQ(CountSupports(row.code, row.family), row.count) << row.code;
}

}  // namespace
