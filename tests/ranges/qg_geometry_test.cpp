#include "model/run/run.h"
#include "qg_test_support.h"

#include <array>
#include <cstdlib>

namespace {

TEST_F(QGRunTest, BarGeometryFollowsTheHousingHeight) {
  CRunQG& run = MakeRun("A", "10");
  int length = 3, width = 0, thickness = 0;
  EXPECT_EQ(run.GetBarGeometry(length, width, thickness, nullptr), 3);
  EXPECT_EQ(length, 150);
  EXPECT_EQ(width, 60);
  EXPECT_EQ(thickness, 20);
  length = 9;
  EXPECT_EQ(run.GetBarGeometry(length, width, thickness, nullptr), -1);

  CDev offered = MakeStraight(CDev::kEnd, 2, 2, "200", "700/80");
  EXPECT_EQ(run.GetBarGeometry(length, width, thickness, &offered), 2);
  EXPECT_EQ(length, 700);
  EXPECT_EQ(width, 80);
  EXPECT_EQ(thickness, 10);

  CDev notOffered = MakeStraight(CDev::kEnd, 2, 2, "200", "700/70");
  EXPECT_EQ(run.GetBarGeometry(length, width, thickness, &notOffered), 1);
  EXPECT_EQ(length, 150);
  EXPECT_EQ(width, 100);
  EXPECT_EQ(notOffered.GetFieldText("BARS").value_or(""), "");

  CDev defaultSpaced = MakeStraight(CDev::kEnd, 6, 1, "", "garbage/x/");
  EXPECT_EQ(run.GetBarGeometry(length, width, thickness, &defaultSpaced), 0);
  EXPECT_EQ(width, 100);
  EXPECT_EQ(thickness, 6);
}

// Outputs are never left holding the caller's values.
TEST_F(QGRunTest, BarGeometryClearsItsOutputsWhenItFails) {
  CRunQG& flat = MakeRun("A", "08");
  int length = 1, width = 77, thickness = 77;
  EXPECT_EQ(flat.GetBarGeometry(length, width, thickness, nullptr), -1);
  EXPECT_EQ(length + width + thickness, 0);
  CRunQG& run = MakeRun("A", "10");
  CDev elbow = MakeStraight(CDev::kElbow, 2, 2);
  length = width = thickness = 77;
  EXPECT_EQ(run.GetBarGeometry(length, width, thickness, &elbow), -1);
  EXPECT_EQ(length + width + thickness, 0);
}

TEST_F(QGRunTest, CentreDistancesRespectBarsAndConductors) {
  struct Row {
    const char* neutral;
    int variant;
    int sub;
    const char* entrax;
    std::array<int, 4> expected;
  };
  // Height 130: entry 1 is a 100 x 10 bar.
  const Row rows[] = {
      {"4", 2, 2, "200/200/200", {200, 200, 200, 0}},
      {"3", 2, 2, "200/200/200", {200, 200, 0, 0}},
      {"5", 2, 2, "200/200/200/200", {200, 200, 200, 200}},
      {"4", 5, 0, "300/10", {100, 100, 100, 0}},
      {"4", 2, 1, "", {115, 115, 115, 0}},
      {"4", 2, 1, "10/10/10", {70, 70, 70, 0}},
      {"4", 2, 2, "10/10/10", {125, 125, 125, 0}},
      {"4", 2, 2, "500/500/50", {500, 500, 334, 0}},
      // A conductor count out of range counts as 4 and never divides by zero.
      {"1", 2, 2, "500/500/50", {500, 500, 334, 0}},
      {"x", 2, 2, "200/200/200", {200, 200, 200, 0}},
      {"4", 2, 2, "200/0/300", {200, 125, 125, 0}},
      {"4", 2, 4, "200/300", {200, 300, 0, 0}},
      {"4", 1, 2, "200/300", {0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    CRunQG& run = MakeRun("A", "10", row.neutral);
    CDev element = MakeStraight(CDev::kEnd, row.variant, row.sub, row.entrax);
    EXPECT_EQ(run.GetCentreDistances(element), row.expected)
        << row.neutral << " " << row.variant << "/" << row.sub << " " << row.entrax;
  }
}

}  // namespace

namespace {

struct GeometryRow {
  int index;
  int code;
  std::array<std::int32_t, 3> extents;
  std::array<double, 3> offset;
};

void ExpectGeometry(const CRunQG& run, const CDev& element, const GeometryRow& row) {
  CElementGeometry geometry;
  EXPECT_EQ(run.GetElementGeometry(element, row.index, geometry), row.code) << row.index;
  EXPECT_EQ(geometry.extents, row.extents) << row.index;
  if (row.extents == std::array<std::int32_t, 3>{0, 0, 0}) return;
  EXPECT_DOUBLE_EQ(geometry.offset.x, row.offset[0]) << row.index;
  EXPECT_DOUBLE_EQ(geometry.offset.y, row.offset[1]) << row.index;
  EXPECT_DOUBLE_EQ(geometry.offset.z, row.offset[2]) << row.index;
}

// Four conductors 200 apart on 100 x 10 bars; without a run the phase order is 0, which
// exchanges the first and the third.
TEST_F(QGRunTest, SpecialShapeCarriesItsBarsAndClips) {
  CRunQG& run = MakeRun("A", "10", "4");
  CDev element = MakeStraight(CDev::kEnd, 2, 2, "200/200/200");
  element.SetPropValue("CLINQ", "9");
  const GeometryRow rows[] = {
      {7, 0, {-1, 800, 130}, {0.5, 0, 0}},
      {13, 1, {150, 100, 10}, {75, -100, 0}},
      {12, 1, {150, 100, 10}, {75, 100, 0}},
      {11, 1, {150, 100, 10}, {75, 300, 0}},
      {10, 1, {150, 100, 10}, {75, -300, 0}},
      {14, 0, {0, 0, 0}, {}},
      {19, 2, {45, 28, 118}, {75, -100, 0}},
      {20, 0, {0, 0, 0}, {}},
      {21, 0, {-95, 20, 130}, {47.5, 360, 0}},
      {22, 0, {-95, 20, 130}, {47.5, -360, 0}},
      {23, 0, {0, 0, 0}, {}},
  };
  for (const GeometryRow& row : rows) ExpectGeometry(run, element, row);
  CElementGeometry bar;
  run.GetElementGeometry(element, 13, bar);
  EXPECT_EQ(bar.colour, 0x969696u);
  element.SetPropValue("CLINQ", "12");
  ExpectGeometry(run, element, {19, 0, {0, 0, 0}, {}});
}

// Covers need a code of 21 to 26 and all six numbers; below 25 the sixth counts as 0.
TEST_F(QGRunTest, CoversFollowTheirCode) {
  struct Row {
    const char* capot;
    GeometryRow upper;
    GeometryRow lower;
  };
  const Row rows[] = {
      {"23/10/3/20/4/5/6",
       {8, 3, {21, 810, 3}, {10.5, 0, 66.5}},
       {9, 3, {1, 804, 5}, {0.5, 0, -67.5}}},
      {"21/10/3/20/4/5/6",
       {8, 3, {21, 800, 3}, {10.5, 0, 66.5}},
       {9, 3, {1, 804, 5}, {0.5, 0, -67.5}}},
      {"25/10/3/20/4/5/6",
       {8, 3, {21, 810, 3}, {10.5, 0, 66.5}},
       {9, 3, {7, 804, 5}, {3.5, 0, -67.5}}},
      {"23/10/3/20/4/5", {8, 0, {0, 0, 0}, {}}, {9, 0, {0, 0, 0}, {}}},
      {"27/10/3/20/4/5/6", {8, 0, {0, 0, 0}, {}}, {9, 0, {0, 0, 0}, {}}},
  };
  CRunQG& run = MakeRun("A", "10", "4");
  for (const Row& row : rows) {
    CDev element = MakeStraight(CDev::kEnd, 2, 2, "200/200/200");
    element.SetPropValue("CAPOT", row.capot);
    ExpectGeometry(run, element, row.upper);
    ExpectGeometry(run, element, row.lower);
  }
  // Wider than 1200 across: no cover.
  CDev wide = MakeStraight(CDev::kEnd, 2, 2, "400/400/400");
  wide.SetPropValue("CAPOT", "23/10/3/20/4/5/6");
  ExpectGeometry(run, wide, {8, 0, {0, 0, 0}, {}});
}

// Default spaced variant 5: 100 between conductors, an envelope grown by 120 each way
// and 600 long for its 250 height.
TEST_F(QGRunTest, DefaultSpacedShapeGrowsItsEnvelope) {
  CRunQG& run = MakeRun("A", "10", "4");
  const CDev element = MakeStraight(CDev::kEnd, 5, 0);
  ExpectGeometry(run, element, {7, 0, {600, 520, 250}, {300, 0, 0}});
  ExpectGeometry(run, element, {13, 0, {0, 0, 0}, {}});
}

// A free start mirrors variants 3 and 6: their distances are taken in reverse order and
// the envelope turns to the other side.
TEST_F(QGRunTest, EnvelopesOfFreeStartsAreMirrored) {
  struct Row {
    int variant;
    int sub;
    const char* entrax;
    GeometryRow envelope;
  };
  const Row rows[] = {
      {3, 1, "200/200/200", {7, 0, {-185, 710, 180}, {92.5, 0, -25}}},
      {6, 2, "300", {7, 0, {-550, 260, 180}, {275, -65, -25}}},
      {2, 3, "200/200/200", {7, 0, {-1, 226, 800}, {0.5, 0, 0}}},
  };
  CRunQG& run = MakeRun("A", "10", "4");
  for (const Row& row : rows) {
    const CDev element = MakeStraight(CDev::kEnd, row.variant, row.sub, row.entrax);
    ExpectGeometry(run, element, row.envelope);
  }
}

TEST_F(QGRunTest, TeeOutletsAndWallCollars) {
  CRunQG& run = MakeRun("A", "10", "4");
  CDev tee = MakeStraight(CDev::kJunction2, 0, 0);
  tee.SetReference("QGA1000TD4  ");
  ExpectGeometry(run, tee, {10, 0, {200, 150, 50}, {35, 10, -90}});
  ExpectGeometry(run, tee, {11, 0, {70, 20, 130}, {100, 75, 0}});
  ExpectGeometry(run, tee, {12, 0, {0, 0, 0}, {}});
  // Branched off on face 5 the outlet turns with code 2 and lies on the other side;
  // on face 1 (code 1) it stays.
  CDev back = MakeStraight(CDev::kStraight, 0, 0), ahead = back, branch = back;
  tee.SetDirection(4);
  tee.SetNeighbour(0, &back);
  tee.SetNeighbour(4, &ahead);
  tee.SetNeighbour(5, &branch);
  ExpectGeometry(run, tee, {10, 0, {200, 150, 50}, {35, -10, 90}});
  ExpectGeometry(run, tee, {11, 0, {70, 20, 130}, {100, -75, 0}});
  tee.SetNeighbour(5, nullptr);
  tee.SetNeighbour(1, &branch);
  ExpectGeometry(run, tee, {10, 0, {200, 150, 50}, {35, 10, -90}});
  for (int face : {0, 1, 4}) tee.SetNeighbour(face, nullptr);
  tee.SetReference("QGA1000TE4  ");
  ExpectGeometry(run, tee, {10, 0, {0, 0, 0}, {}});

  // The "10F" housing is 170 x 170: collars 130 wide, no side pieces for a 130 housing.
  CDev wall = MakeStraight(CDev::kInLineVariant, 15, 0);
  wall.SetDirection(1);
  ExpectGeometry(run, wall, {11, 0, {150, 130, 0}, {175, 0, 65}});
  ExpectGeometry(run, wall, {12, 0, {150, 130, 0}, {175, 0, -65}});
  ExpectGeometry(run, wall, {13, 0, {0, 0, 0}, {}});
  CDev before = MakeStraight(CDev::kInLineVariant, 15, 0);
  wall.SetNeighbour(wall.GetBackFace(), &before);
  ExpectGeometry(run, wall, {11, 0, {150, 130, 0}, {-175, 0, 65}});
  wall.SetNeighbour(wall.GetBackFace(), nullptr);
}

// A riser fixing with a kit (QGA 1000 A: 1000 long, 100 margins) is drawn as two collars
// round the 130 x 130 housing, 20 thick, at the kit's ends; the kit sits at the unit's
// offset, held within (1000 - 200) / 2 - 100 = 300.
TEST_F(QGRunTest, RiserFixingKitsAreDrawnAsTwoCollars) {
  CRunQG& run = MakeRun("A", "10", "4");
  CDev fixing = MakeStraight(CDev::kInLine, 1, 0);
  fixing.SetDirection(2);
  fixing.SetOffset(200);
  ExpectGeometry(run, fixing, {10, 0, {0, 0, 0}, {}});
  fixing.SetPropValue("KITCF", "100");
  const GeometryRow rows[] = {
      {10, 0, {100, 170, 20}, {-350, 0, 75}},
      {11, 0, {100, 170, 20}, {-350, 0, -75}},
      {12, 0, {100, 20, 170}, {-350, 75, 0}},
      {13, 0, {100, 20, 170}, {-350, -75, 0}},
      {14, 0, {100, 170, 20}, {550, 0, 75}},
      {15, 0, {100, 170, 20}, {550, 0, -75}},
      {16, 0, {100, 20, 170}, {550, 75, 0}},
      {17, 0, {100, 20, 170}, {550, -75, 0}},
      {9, 0, {0, 0, 0}, {}},
      {18, 0, {0, 0, 0}, {}},
  };
  for (const GeometryRow& row : rows) ExpectGeometry(run, fixing, row);
  CElementGeometry collar;
  run.GetElementGeometry(fixing, 14, collar);
  EXPECT_EQ(collar.colour, CDev::ColorOfIndex(13));
  // An offset beyond the room is drawn where the kit is held, and left as stored.
  fixing.SetPropValue("KITCF", "-900");
  ExpectGeometry(run, fixing, {10, 0, {100, 170, 20}, {-750, 0, 75}});
  EXPECT_EQ(fixing.GetFieldText("KITCF").value_or(""), "-900");
  // Once the parts are built, a mounted fixing shows no kit.
  CDev wall = MakeStraight(CDev::kInLineVariant, 15, 0);
  fixing.SetNeighbour(fixing.GetBackFace(), &wall);
  ExpectGeometry(run, fixing, {10, 0, {100, 170, 20}, {-750, 0, 75}});
  run.SetPartsState(1);
  ExpectGeometry(run, fixing, {10, 0, {0, 0, 0}, {}});
  fixing.SetNeighbour(fixing.GetBackFace(), nullptr);
  ExpectGeometry(run, fixing, {10, 0, {100, 170, 20}, {-750, 0, 75}});
  // A QGC 1350 A run has its own kit row; its collars wrap the 140 x 140 housing.
  CRunQG& other = MakeRun("C", "13", "4");
  fixing.SetPropValue("KITCF", "0");
  ExpectGeometry(other, fixing, {10, 0, {100, 180, 20}, {-450, 0, 80}});
}

}  // namespace

namespace {

// A feed box of special shape hands its conductors over as bars that start at its
// reference point, the middle of its housing: the catalogue's feed box housing must leave
// the bar ends standing out of its end face far enough for the bar outline and its bolts
// (twice the bar inset of 40) to be seen.
TEST_F(QGRunTest, FeedBoxesLeaveTheirBarsStandingOutOfTheirHousing) {
  constexpr double kBarEndShown = 80;
  const struct {
    int sub;
    const char* entrax;
  } rows[] = {{1, ""}, {1, "200/200/200"}, {2, ""}, {3, ""}};
  CRunQG& run = MakeRun("A", "10", "4");
  for (const auto& row : rows) {
    const CDev feedBox = MakeStraight(CDev::kEnd, 2, row.sub, row.entrax, "", &run);
    const CHousingDims housing = run.GetHousingDims(feedBox);
    // The feed box row of the catalogue, not the range's catch-all one.
    EXPECT_EQ(housing.width, 260) << row.sub << " " << row.entrax;
    int bars = 0;
    for (int index = 10; index <= 14; ++index) {
      CElementGeometry bar;
      if (run.GetElementGeometry(feedBox, index, bar) != 1) continue;
      ++bars;
      const double barEnd = bar.offset.x + std::abs(bar.extents[0]) / 2.0;
      EXPECT_GE(barEnd - housing.length / 2.0, kBarEndShown)
          << row.sub << " " << row.entrax << " bar " << index;
    }
    EXPECT_EQ(bars, 4) << row.sub << " " << row.entrax;
  }
}

}  // namespace
