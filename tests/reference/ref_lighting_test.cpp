#include <gtest/gtest.h>

#include "reference/ref_lighting.h"

namespace {

void SetRow(CLumBlock& block, int row, std::int32_t first, std::initializer_list<int> values) {
  auto& cells = block[static_cast<std::size_t>(row)];
  cells[0] = first;
  std::size_t column = 1;
  for (int value : values) cells[column++] = value;
}

// The sample batten: flux 6700 lm, efficiency 65 %, spacing ratio 1.5; a block for
// j = 0 and one for j = 0.25, codes 751, 731, 551, 331.
CLuminaire Batten() {
  CLuminaire lum;
  lum.flux = 6700;
  lum.efficiency = 65000;
  lum.spacingRatio = 1500;
  for (auto& block : lum.table)
    for (auto& row : block) row.fill(-1);
  const std::initializer_list<int> codes = {751, 731, 551, 331};
  SetRow(lum.table[0], 0, 0, codes);
  SetRow(lum.table[0], 1, 600, {40, 36, 38, 33});
  SetRow(lum.table[0], 2, 1000, {50, 45, 47, 42});
  SetRow(lum.table[0], 3, 2000, {62, 56, 58, 52});
  SetRow(lum.table[0], 4, 3000, {68, 62, 64, 58});
  SetRow(lum.table[1], 0, 250, codes);
  SetRow(lum.table[1], 1, 600, {35, 31, 33, 29});
  SetRow(lum.table[1], 2, 1000, {44, 40, 42, 37});
  SetRow(lum.table[1], 3, 2000, {55, 50, 52, 47});
  SetRow(lum.table[1], 4, 3000, {61, 56, 58, 52});
  lum.blockCount = 2;
  return lum;
}

struct RoomCase {
  const char* what;
  CLightingRoom room;
  std::int32_t spacingRatio;
  double k, u;
  std::int64_t flux, needed;
  std::int32_t runs, perRun, em, runSpacing, lightSpacing, runLength;
};

CLightingRoom Room(int l, int w, int h, int p, int hs, int c, int wa, int f, int d, int e,
                   bool across = false) {
  CLightingRoom room;
  room.length = l, room.width = w, room.height = h, room.plane = p, room.suspension = hs;
  room.ceiling = c, room.wall = wa, room.floor = f, room.depreciation = d;
  room.illuminance = e, room.acrossWidth = across;
  return room;
}

// Worked by hand. First row: h = 3 - 0.8 = 2.2, K = 60 / (16 x 2.2) = 1.7045; block j = 0,
// column 751; K between rows 1 (50) and 2 (62): U = (50 + 12 x 0.7045) / 100 = 0.58455;
// Phi = 300 x 1.25 x 60 / (0.65 x 0.58455) = 59217, N = 9, s = 2.58 (cap 3.3), c = 3,
// n = 3; Em(3, 2) = 203 < 300 keeps c; Em = 6700 x 9 x 0.37995 / 75 = 305; spacings 6/3
// and 10/3 m; run length min(9, 10 - 3.333 + 1.2) = 7.867 m.
const RoomCase kRooms[] = {
    {"interpolated K", Room(10000, 6000, 3000, 800, 0, 70, 50, 20, 800, 300), 1500, 1.7045,
     0.584545, 59217, 9, 3, 3, 305, 2000, 3333, 7867},
    // Runs across the width: the same count, the spacings and run length swap sides.
    {"orientation swap", Room(10000, 6000, 3000, 800, 0, 70, 50, 20, 800, 300, true), 1500, 1.7045,
     0.584545, 59217, 9, 3, 3, 305, 3333, 2000, 5000},
    // L > 5 W: K = 5 x 1.5 / (6 x 2.2) = 0.568, below every row: the nearest above (0.6).
    {"long room, K below the table", Room(20000, 1500, 3000, 800, 0, 70, 50, 20, 800, 500), 1500,
     0.5682, 0.40, 72115, 11, 1, 11, 510, 1500, 1818, 19000},
    // h' = 0.8: j = 0.25, block 2, column 731 exact; K = 2.5 between rows 3 and 4.
    {"suspended, second block", Room(12000, 12000, 4000, 800, 800, 70, 30, 10, 800, 400), 1500, 2.5,
     0.53, 208998, 32, 7, 5, 448, 1714, 2400, 10800},
    // K = 92.16 / (19.2 x 2.4) = 2.0: the row is taken as it stands.
    {"exact K row", Room(9600, 9600, 4000, 800, 800, 70, 50, 20, 800, 400), 1500, 2.0, 0.55, 128895,
     20, 5, 4, 415, 1920, 2400, 8400},
    // K = 6.86 above every row: row 3.0 of column 331. s = 3.36 is held to 1.5 x 1.75:
    // c = 11, n = 5 (without the cap 6 runs of 9).
    {"spacing cap", Room(30000, 20000, 2500, 750, 0, 30, 30, 10, 900, 200), 1500, 6.8571, 0.58,
     353669, 53, 5, 11, 208, 4000, 2727, 28473},
    {"no spacing ratio", Room(30000, 20000, 2500, 750, 0, 30, 30, 10, 900, 200), 0, 6.8571, 0.58,
     353669, 53, 6, 9, 204, 3333, 3333, 27867},
    // N = 3: c = 2 gives 2 runs (4 luminaires), c + 1 = 3 gives 1 run of 3: fewer.
    {"one more per run is fewer", Room(6000, 4000, 3000, 800, 0, 70, 50, 20, 800, 150), 1500,
     1.0909, 0.510909, 13550, 3, 1, 3, 222, 4000, 2000, 5000},
};

TEST(LightingCalculationTest, RoomsWorkedByHand) {
  for (const RoomCase& c : kRooms) {
    SCOPED_TRACE(c.what);
    CLuminaire lum = Batten();
    lum.spacingRatio = c.spacingRatio;
    const CLightingResult r = CalculateLighting(c.room, lum, kLightingAuto | kLightingApply, 0, 0);
    EXPECT_NEAR(r.roomIndex, c.k, 1e-4);
    EXPECT_NEAR(r.utilance, c.u, 1e-6);
    EXPECT_EQ(r.totalFlux, c.flux);
    EXPECT_EQ(r.needed, c.needed);
    EXPECT_EQ(r.runs, c.runs);
    EXPECT_EQ(r.perRun, c.perRun);
    EXPECT_EQ(r.illuminance, c.em);
    EXPECT_EQ(r.runSpacing, c.runSpacing);
    EXPECT_EQ(r.lightSpacing, c.lightSpacing);
    EXPECT_EQ(LightingRunLength(c.room, r), c.runLength);
  }
}

TEST(LightingCalculationTest, ModesKeepExchangeOrTakeTheTypedLayout) {
  const CLightingRoom room = Room(10000, 6000, 3000, 800, 0, 70, 50, 20, 800, 300);
  struct {
    int mode, runs, perRun, wantRuns, wantPerRun, wantEm;
  } const cases[] = {
      {kLightingAuto, 2, 7, 2, 7, 475},                      // computed, not applied
      {kLightingAuto | kLightingExchange, 2, 7, 7, 2, 475},  // the shown layout swapped
      {0, 4, 4, 4, 4, 543},                                  // typed by the user
      {0, -3, 4, 0, 4, 0},                                   // a negative count is none
  };
  for (const auto& c : cases) {
    const CLightingResult r = CalculateLighting(room, Batten(), c.mode, c.runs, c.perRun);
    EXPECT_EQ(r.runs, c.wantRuns);
    EXPECT_EQ(r.perRun, c.wantPerRun);
    EXPECT_EQ(r.illuminance, c.wantEm);
    EXPECT_EQ(r.computedRuns, (c.mode & kLightingAuto) ? 3 : 0);
  }
}

TEST(LightingCalculationTest, AHugeIlluminanceIsRefusedNotOverflowed) {
  const CLightingRoom room = Room(1000000, 1000000, 3000, 800, 0, 70, 50, 20, 100, 2147483647);
  const CLightingResult r = CalculateLighting(room, Batten(), 3, 0, 0);
  EXPECT_TRUE(r.tooMany);
  EXPECT_GT(r.needed, kMaxLightingLuminaires);
  EXPECT_GT(r.totalFlux, std::int64_t{INT32_MAX});
  EXPECT_EQ(r.runs, 0);
  EXPECT_EQ(r.perRun, 0);
}

TEST(LightingCalculationTest, NoUsableBlockGivesNoLuminaires) {
  CLuminaire lum = Batten();
  lum.table[1][0][0] = -1;  // only the j = 0 block left, which a suspended luminaire skips
  const CLightingRoom room = Room(10000, 6000, 3000, 800, 500, 70, 50, 20, 800, 300);
  const CLightingResult r = CalculateLighting(room, lum, 3, 0, 0);
  EXPECT_EQ(r.utilance, 0.0);
  EXPECT_EQ(r.totalFlux, 0);
  EXPECT_EQ(r.runs * r.perRun, 0);
}

// Codes 753, 553, 331 with one row 80, 60, 40: the utilance tells the column taken.
TEST(LightingCalculationTest, ReflectanceColumnFollowsTheSurfaceBySurfaceRule) {
  CUtilanceTable table{};
  for (auto& block : table)
    for (auto& row : block) row.fill(-1);
  SetRow(table[0], 0, 0, {753, 553, 331});
  SetRow(table[0], 1, 1000, {80, 60, 40});
  struct {
    int ceiling, wall, floor;
    double u;
  } const cases[] = {
      {70, 50, 30, 0.80},  // exact first column
      {50, 50, 30, 0.60},  // better on the ceiling
      {60, 50, 30, 0.60},  // as near on the ceiling: the lower value
      // Worse on the ceiling but better on the wall: 331 wins where a lexicographic
      // order would keep 753.
      {80, 30, 10, 0.40},
  };
  for (const auto& c : cases) {
    CLightingRoom room;
    room.ceiling = c.ceiling, room.wall = c.wall, room.floor = c.floor;
    EXPECT_DOUBLE_EQ(TableUtilance(table, room, 0.0, 1.0), c.u) << c.ceiling << "/" << c.wall;
  }
}

TEST(LightingCalculationTest, NearestBlockKeepsTheEarlierOnATie) {
  CUtilanceTable table{};
  for (auto& block : table)
    for (auto& row : block) row.fill(-1);
  SetRow(table[0], 0, 250, {751});
  SetRow(table[0], 1, 1000, {30});
  SetRow(table[1], 0, 750, {751});
  SetRow(table[1], 1, 1000, {50});
  CLightingRoom room;
  room.suspension = 300;
  EXPECT_DOUBLE_EQ(TableUtilance(table, room, 0.5, 1.0), 0.30);
  EXPECT_DOUBLE_EQ(TableUtilance(table, room, 0.51, 1.0), 0.50);
}

TEST(LightingValueTest, ParseAndFormat) {
  struct {
    const char* text;
    char kind;
    std::optional<std::int32_t> value;
  } const reads[] = {
      {" 12.5 ", 'f', 12500},
      {"0,8", 'f', 800},
      {"15,5", 'f', 15500},  // a comma reads as the mark whatever the wizard shows
      {"3", 'd', 3},
      {"12.7", 'd', {}},  // a whole-number field refuses a decimal rather than cut it
      {"1,5,0", 'f', {}},
      {"-4", 'd', {}},
      {"", 'f', {}},
      {".", 'f', {}},
      {"1e3", 'f', {}},
      {"99999999999", 'd', INT32_MAX},
      {"99999999999", 'f', INT32_MAX},
  };
  for (const auto& r : reads) EXPECT_EQ(ParseLightingValue(r.text, r.kind), r.value) << r.text;
  EXPECT_EQ(FormatLightingValue(12000, 'f', ',', true), "12,00");
  EXPECT_EQ(FormatLightingValue(3333, 'f', '.', true), "3.333");
  EXPECT_EQ(FormatLightingValue(2500, 'f', '.', true), "2.50");
  EXPECT_EQ(FormatLightingValue(800, 'f', ',', false), "0,8");
  EXPECT_EQ(FormatLightingValue(250, 'd', '.', false), "250");
}

}  // namespace

namespace {

TEST(LightingValueTest, PresetsKeepPairsWithinTheirLimits) {
  const std::vector<CLightingPreset> presets =
      LightingPresets("Light/80/Odd/120/Dark/30/Word/x/Cut/", 0, 99);
  ASSERT_EQ(presets.size(), 2u);
  EXPECT_EQ(presets[0].label, "Light");
  EXPECT_EQ(presets[0].value, 80);
  EXPECT_EQ(presets[1].label, "Dark");
  EXPECT_EQ(presets[1].value, 30);
  EXPECT_TRUE(LightingPresets("", 0, 99).empty());
  EXPECT_TRUE(LightingPresets("Offices/5/", 10, 10000).empty());
}

}  // namespace
