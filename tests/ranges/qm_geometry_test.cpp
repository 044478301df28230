#include "qm_test_support.h"

#include "geometry/3d_projection.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kBreakerA1 = 1u << 24;
constexpr std::uint32_t kBreakerA3 = 3u << 24;
constexpr std::uint32_t kBreakerB1 = 1u << 26;

TEST_F(QMRunTest, CentreDistancesOfTheConnectionForm) {
  struct Row {
    const char* rating;
    const char* neutral;
    std::uint32_t style;
    const char* entrax;
    const char* qwa;
    std::array<int, 4> expected;
  };
  const Row rows[] = {
      {"25", "4", QMStyle(2, 1), "", "", {115, 115, 115, 0}},
      {"25", "3", QMStyle(2, 1), "", "", {115, 115, 0, 0}},
      {"25", "4", QMStyle(2, 1), "120/130", "", {120, 130, 120, 0}},
      {"25", "4", QMStyle(2, 1), "120/130/140/150", "", {120, 130, 140, 0}},
      {"25", "4", QMStyle(2, 2), "120", "", {180, 60, 60, 180}},
      {"25", "3", QMStyle(2, 2), "120", "", {180, 60, 60, 0}},
      {"25", "4", QMStyle(2, 2), "100/50/60", "", {100, 50, 60, 110}},
      {"25", "4", QMStyle(2, 2), "100/0/60", "", {150, 50, 50, 150}},  // a 0 ends the list
      {"25", "4", QMStyle(5), "", "", {115, 115, 115, 0}},
      {"25", "4", QMStyle(20), "", "500", {150, 150, 150, 0}},
      {"25", "4", QMStyle(20), "", "2000", {170, 170, 170, 0}},
      {"16", "4", QMStyle(20), "", "", {150, 150, 150, 0}},
      {"25", "4", QMStyle(20), "", "", {170, 170, 170, 0}},
      {"25", "4", QMStyle(6, 1), "100/200/300", "", {100, 470, 235, 0}},
      {"25", "3", QMStyle(6, 1), "100/200/300", "", {100, 470, 0, 0}},
      {"12", "4", QMStyle(6, 1), "100/200/300", "", {100, 200, 300, 0}},
      {"25", "4", QMStyle(4), "120", "", {0, 0, 0, 0}},
      {"25", "4", QMStyle(2, 1), "x/y", "", {115, 115, 115, 0}},
      {"25", "4", QMStyle(2, 1), "99999999/5", "", {100000, 5, 100000, 0}},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", row.rating, row.neutral);
    auto element = QMElement(run, CDev::kEnd, row.style);
    element->SetPropValue("ENTRAX", row.entrax);
    element->SetPropValue("QWA", row.qwa);
    EXPECT_EQ(run.GetCentreDistances(*element, '?'), row.expected)
        << row.rating << " " << row.style << " " << row.entrax;
  }
  CRunQM& run = MakeRun("A", "25");
  auto straight = QMElement(run, CDev::kStraight, 0);
  EXPECT_EQ(run.GetCentreDistances(*straight, '?'), (std::array<int, 4>{}));
}

TEST_F(QMRunTest, CentreDistancesOfTheCoverForm) {
  struct Row {
    const char* variant;
    const char* rating;
    const char* capot;
    int rotation;
    std::uint32_t bits;
    std::array<int, 4> expected;
  };
  const Row rows[] = {
      {"A", "25", "10/50", 16, 0, {500, 300, 350, 400}},
      {"A", "25", "10/50", 64, 0, {300, 500, 350, 400}},           // turned: Y first
      {"A", "25", "10/50", 16, kBreakerB1, {300, 500, 350, 400}},  // other side
      {"A", "25", "13/80", 16, 0, {500, 300, 350, 80}},
      {"A", "25", "15/400", 16, 0, {500, 300, 350, 400}},
      {"A", "25", "20/60", 16, 0, {500, 300, 350, 60}},
      {"A", "12", "10/50", 16, 0, {500, 300, 230, 280}},
      {"A", "50", "10/50", 16, 0, {500, 300, 720, 770}},
      {"C", "32", "10/50", 16, 0, {500, 300, 350, 400}},
      {"C", "40", "10/50", 16, 0, {500, 300, 510, 560}},
      {"C", "63", "10/50", 16, 0, {500, 300, 720, 770}},
      {"A", "25", "9/50", 16, 0, {0, 0, 0, 0}},
      {"A", "25", "18/50", 16, 0, {0, 0, 0, 0}},
      {"A", "25", "10", 16, 0, {0, 0, 0, 0}},
      {"A", "25", "", 16, 0, {0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating);
    auto element = QMElement(run, CDev::kEnd, QMStyle(2, 1, row.bits));
    element->SetPropValue("ENTRAX", "100/200/300");
    element->SetPropValue("CAPOT", row.capot);
    element->SetRotation(row.rotation);
    EXPECT_EQ(run.GetCentreDistances(*element, 'C'), row.expected)
        << row.variant << row.rating << " " << row.capot << " " << row.rotation;
  }
}

TEST_F(QMRunTest, BreakerKeysOfFeedUnits) {
  struct Row {
    const char* variant;
    const char* rating;
    std::uint32_t style;
    const char* disj;
    bool useStored;
    const char* expected;
  };
  const Row rows[] = {
      {"C", "50", QMStyle(4, 0, kBreakerA3), "", true, "HK32_D"},
      {"C", "50", QMStyle(4, 0, kBreakerA1), "", true, "HK40_D"},
      {"A", "50", QMStyle(4, 0, kBreakerA1), "", true, "HK25_D"},
      {"C", "63", QMStyle(4, 0, kBreakerA1), "", true, "HK32_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "", true, "HK25_D"},
      {"A", "13", QMStyle(4, 0, kBreakerA1), "", true, "HK12_D"},
      {"A", "08", QMStyle(4, 0, kBreakerA1), "", true, "HK08_D"},
      {"A", "40", QMStyle(4, 0, kBreakerA3 | kBreakerB1), "", true, "HK40_D"},
      {"A", "40", QMStyle(4, 0, kBreakerA3), "", true, "HK32_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "3", true, "HK16_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "7", true, "HK40_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "8", true, "HK25_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "3", false, "HK25_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "HR12ABCD_D", true, "HR12_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "ABCDEFGH", true, "ABCD"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "HR06b_D", true, "HR06b_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "HR06b_F", true, "HR06b_F"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "HR061_D", true, "HR06_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "HR06bc_D", true, "HR06_D"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "HV16XY", true, "HV16XY"},
      {"A", "25", QMStyle(4, 0, kBreakerA1), "HK40", true, "HK40"},
      {"A", "25", QMStyle(4), "", true, ""},
      {"A", "25", QMStyle(4, 0, 2u << 24), "", true, ""},
      {"A", "25", QMStyle(2, 0, kBreakerA1), "", true, ""},
      {"A", "x", QMStyle(4, 0, kBreakerA1), "", true, "HK00_D"},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating);
    auto element = QMElement(run, CDev::kEnd, row.style);
    element->SetPropValue("DISJ", row.disj);
    EXPECT_EQ(run.ChooseBreakerRef(*element, row.useStored, -1, -1), row.expected)
        << row.variant << row.rating << " " << row.style << " " << row.disj;
  }
  CRunQM& run = MakeRun("C", "50");
  auto unit = QMElement(run, CDev::kEnd, QMStyle(4));
  EXPECT_EQ(run.ChooseBreakerRef(*unit, true, 3, 0), "HK32_D");  // fields from the caller
  EXPECT_EQ(run.ChooseBreakerRef(*unit, true, 1, 0), "HK40_D");
}

TEST_F(QMRunTest, AdaptersToTheOtherRanges) {
  constexpr std::uint32_t kBit13 = 1u << 13;
  struct Row {
    const char* variant;
    const char* rating;
    int style;
    const char* accessory;
    int direction;
    int rotation;
    int mode;
    const char* text;
    int result;
  };
  const Row rows[] = {
      {"A", "25", 7, "QJ26", 2, 32, 1, "QJ28QJ26", 2},
      {"A", "25", 7, "QJ26", 4, 32, 1, "QJ28QJ26", -2},
      {"A", "25", 7, "QJ26", 4, 16, 1, "QJ28QJ26", 2},
      {"A", "25", 7, "", 4, 16, 1, "QJ28QJ26", 2},
      {"A", "40", 7, "QJ38", 4, 16, 1, "QJ46QJ38", 1},
      {"A", "40", 7, "QJ38", 4, 16, 2, "QJ46QJ38", 3},
      {"A", "40", 7, "QJ38", 4, 16, 0, "QJ46QJ38", 1},
      {"C", "50", 7, "QJ48", 4, 64, 1, "QZ46QJ56QJ48", 2},
      {"A", "10", 7, "", 3, 32, 1, "QJ14", 1},
      {"C", "20", 7, "", 4, 16, 1, "", -1},
      {"A", "2", 7, "", 4, 16, 1, "", -1},  // "QMA2" is no key of the list
      {"A", "25", 9, "", 4, 16, 1, "QJ28QJ26", 5},
      {"A", "25", 9 | kBit13, "", 4, 16, 1, "QJ28QJ26", 6},
      {"A", "32", 9, "", 4, 16, 1, "", -1},
      {"A", "25", 7, "QJ2", 4, 16, 1, "QJ28QJ26", 2},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating);
    auto element = QMElement(run, CDev::kEnd, static_cast<std::uint32_t>(row.style));
    element->SetPropValue("QGACC", row.accessory);
    element->SetDirection(row.direction);
    element->SetRotation(row.rotation);
    int mode = row.mode;
    EXPECT_EQ(run.CrossRangeAdapters(*element, mode), row.text) << row.rating << row.accessory;
    EXPECT_EQ(mode, row.result) << row.variant << row.rating << " " << row.accessory << " "
                                << row.direction << "/" << row.rotation << " mode " << row.mode;
  }
}

TEST_F(QMRunTest, HousingSizesOfTheDeviceHousingRows) {
  constexpr std::uint32_t kBit14 = 1u << 14;
  struct Row {
    const char* variant;
    const char* rating;
    const char* neutral;
    int kind;
    std::uint32_t style;
    std::array<int, 6> sizes;
    std::array<double, 3> offset;
  };
  const Row rows[] = {
      {"A", "25", "4", CDev::kEnd, QMStyle(2, 1), {400, 300, 250, 0, 0, 0}, {0, 0, 0}},
      {"A", "25", "4", CDev::kEnd, QMStyle(4), {600, 320, 240, 0, 0, 0}, {0, 0, 0}},
      {"A", "25", "4", CDev::kEnd, QMStyle(5), {300, 200, 150, 0, 0, 0}, {0, 0, 0}},
      {"A", "25", "4", CDev::kEnd, QMStyle(7), {350, 250, 200, 101, 51, 40}, {20.5, 30.5, 0}},
      {"C", "20", "4", CDev::kEnd, QMStyle(7), {350, 250, 200, 101, 51, 40}, {20.5, 30.5, 0}},
      {"A",
       "25",
       "6",
       CDev::kEnd,
       QMStyle(9, 0, kBit14),
       {350, 250, 200, 101, 51, 40},
       {20.5, -30.5, 0}},
      {"A", "25", "4", CDev::kStraight, QMStyle(0), {500, 250, 200, 0, 0, 0}, {0, 0, 0}},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating, row.neutral);
    auto element = QMElement(run, row.kind, row.style);
    const CHousingDims dims = run.GetHousingDims(*element);
    EXPECT_EQ((std::array<int, 6>{dims.length, dims.width, dims.height, dims.length2, dims.width2,
                                  dims.height2}),
              row.sizes)
        << row.rating << " kind " << row.kind << " style " << row.style;
    EXPECT_EQ((std::array<double, 3>{dims.offset.x, dims.offset.y, dims.offset.z}), row.offset)
        << row.rating << " kind " << row.kind << " style " << row.style;
  }
}

// A key that no housing row matches keeps the sizes of the base rule.
TEST_F(QMRunTest, AnElementWithoutHousingRowKeepsTheBaseSizes) {
  CRunQM& run = MakeRun("A", "25");
  auto element = QMElement(run, CDev::kInLineVariant, QMStyle(42));
  const CHousingDims dims = run.GetHousingDims(*element);
  const CHousingDims base = run.CRun::GetHousingDims(*element);
  EXPECT_EQ(run.HousingKey(*element), QMPadded("ZZZZZZZZZZZZ"));  // cut after the part
  EXPECT_EQ(dims.length, base.length);
  EXPECT_EQ(dims.width, base.width);
  EXPECT_EQ(dims.height, base.height);
}

TEST_F(QMRunTest, UnitsTheRatingLacksGoBackToThePlainUnit) {
  struct Row {
    const char* variant;
    const char* rating;
    const char* neutral;
    int kind;
    int variantBefore;
    int variantAfter;
  };
  const Row rows[] = {
      {"A", "25", "5", CDev::kEnd, 8, 1},
      {"A", "25", "5", CDev::kEnd, 10, 1},
      {"A", "25", "6", CDev::kEnd, 8, 8},
      {"A", "20", "7", CDev::kEnd, 9, 1},
      {"A", "25", "5", CDev::kInLineVariant, 11, 0},
      {"A", "25", "8", CDev::kInLineVariant, 12, 12},
      {"A", "25", "4", CDev::kInLineVariant, 16, 0},
      {"A", "50", "4", CDev::kInLineVariant, 16, 16},
      {"C", "63", "4", CDev::kInLineVariant, 16, 16},
      {"A", "25", "4", CDev::kEnd, 2, 2},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating, row.neutral);
    auto element = QMElement(run, row.kind, QMStyle(row.variantBefore));
    run.GetHousingDims(*element);
    EXPECT_EQ(element->GetVariant(), row.variantAfter)
        << row.rating << "/" << row.neutral << " kind " << row.kind << " " << row.variantBefore;
    if (row.variantAfter != row.variantBefore) {
      EXPECT_EQ(element->GetReference(), run.GetKindText(row.kind, row.variantAfter));
    }
  }
}

TEST_F(QMRunTest, ConnectionUnitsDrawTheirHousingCoverAndBars) {
  struct Row {
    const char* variant;
    const char* rating;
    const char* neutral;
    const char* capot;
    int index;
    std::array<int, 3> extents;
  };
  const Row rows[] = {
      {"A", "25", "4", "", 7, {20, 100, 350}},  // QMA 25 is the 350 housing
      {"A", "08", "4", "", 7, {20, 100, 230}},
      {"C", "63", "4", "", 7, {20, 100, 362}},
      {"C", "63", "4", "", 9, {20, 100, 362}},
      {"A", "25", "4", "", 9, {0, 0, 0}},
      {"A", "25", "4", "10/50", 8, {300, 300, 410}},
      {"A", "25", "4", "16", 8, {350, 300, 410}},
      {"A", "25", "4", "99", 8, {0, 0, 0}},
      // plain units stand their bars on edge: thin across the element, as deep as the
      // housing's bars over its up-down sides
      {"A", "25", "4", "", 10, {150, 10, 240}},
      {"A", "25", "4", "", 13, {150, 10, 240}},
      // without a neutral the neutral's slot is empty and the phases keep theirs
      {"A", "25", "3", "", 10, {0, 0, 0}},
      {"A", "25", "3", "", 11, {150, 10, 240}},
      {"A", "25", "3", "", 13, {150, 10, 240}},
      {"A", "99", "4", "", 7, {0, 0, 0}},  // no housing for the rating: nothing drawn
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating, row.neutral);
    auto element = QMElement(run, CDev::kEnd, QMStyle(2, 1));
    element->SetPropValue("CAPOT", row.capot);
    CElementGeometry geometry;
    run.GetElementGeometry(*element, row.index, geometry);
    EXPECT_EQ(geometry.extents, row.extents)
        << row.variant << row.rating << " " << row.capot << " index " << row.index;
  }
  CRunQM& run = MakeRun("A", "25");
  auto feed = QMElement(run, CDev::kEnd, QMStyle(4));
  CElementGeometry bar;
  EXPECT_EQ(run.GetElementGeometry(*QMElement(run, CDev::kEnd, QMStyle(2, 1)), 11, bar), 1)
      << "bars are detailed";
  CElementGeometry geometry;
  geometry.extents = {1, 1, 1};
  run.GetElementGeometry(*feed, 9, geometry);
  EXPECT_EQ(geometry.extents, (std::array<std::int32_t, 3>{}));  // the base rule
}

// The protective conductor's two bars stand one step beyond either end of the row of the
// neutral and the phases; a chosen connection piece ("CLINQ" 1 to 7) lays a shim against
// each bar of that row, over the bar's part nearest the plate. QMA 25, plain unit: the
// row at 115 steps across the element, its bars 20 + 75 out of the plate.
TEST_F(QMRunTest, ProtectiveBarsAndShimsOfConnectionUnits) {
  struct Row {
    const char* neutral;
    const char* clinq;
    int index;
    int code;
    std::array<int, 3> extents;
    std::array<double, 3> offset;
    const char* guards;
  };
  const Row rows[] = {
      {"5", "", 14, 1, {150, 10, 240}, {95, -287.5, 0}, "the bar before the row"},
      {"5", "", 15, 1, {150, 10, 240}, {95, 287.5, 0}, "the bar after the row"},
      {"7", "", 15, 1, {150, 10, 240}, {95, 287.5, 0}, "seven has one too"},
      {"3", "", 14, 0, {0, 0, 0}, {0, 0, 0}, "no protective conductor"},
      {"4", "", 15, 0, {0, 0, 0}, {0, 0, 0}, "no protective conductor"},
      {"4", "3/400/1", 15, 0, {0, 0, 0}, {0, 0, 0}, "slot 15 is a bar's, never a clip's"},
      {"4", "3/400/1", 16, 2, {80, 6, 240}, {60, -164.5, 0}, "the neutral's shim"},
      {"4", "3/400/1", 19, 2, {80, 6, 240}, {60, 180.5, 0}, "the last phase's shim"},
      {"5", "7", 17, 2, {80, 6, 240}, {60, -49.5, 0}, "the highest piece"},
      {"3", "3/400/1", 16, 0, {0, 0, 0}, {0, 0, 0}, "no shim where no bar"},
      {"3", "3/400/1", 19, 2, {80, 6, 240}, {60, 123, 0}, "no neutral: the phases keep theirs"},
      {"3", "", 11, 1, {150, 10, 240}, {95, -115, 0}, "no neutral: the first phase"},
      {"5", "3/400/1", 20, 0, {0, 0, 0}, {0, 0, 0}, "the protective bars take none"},
      {"4", "", 16, 0, {0, 0, 0}, {0, 0, 0}, "no piece chosen"},
      {"4", "8", 16, 0, {0, 0, 0}, {0, 0, 0}, "a piece of another range"},
      {"4", "x", 16, 0, {0, 0, 0}, {0, 0, 0}, "a text that is no piece"},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", "25", row.neutral);
    auto element = QMElement(run, CDev::kEnd, QMStyle(2, 1));
    element->SetPropValue("CLINQ", row.clinq);
    CElementGeometry geometry;
    EXPECT_EQ(run.GetElementGeometry(*element, row.index, geometry), row.code) << row.guards;
    EXPECT_EQ(geometry.extents, row.extents) << row.guards;
    EXPECT_EQ((std::array<double, 3>{geometry.offset.x, geometry.offset.y, geometry.offset.z}),
              row.offset)
        << row.guards;
  }
}

// The size of the box along the unit vector.
double SizeAlong(const CBox& box, const C3DPoint& n) {
  double low = 1e18, high = -1e18;
  for (int c = 0; c < 8; ++c) {
    const double at = DotProduct(box.GetCorner(c), n);
    low = std::min(low, at);
    high = std::max(high, at);
  }
  return high - low;
}

// The bar drawing puts a bar's end on the connection's reference side (side 3 in bar mode,
// side 1 for the small calibre, the direction in mode 2 and outside bar mode) at the end
// away from the housing plate (slot 7), and details only the broad faces of a thin bar:
// the boxes the range builds must run along that side and be thin across it.
TEST_F(QMRunTest, BarsRunAlongTheSideTheirEndsAreDrawnOn) {
  struct Row {
    const char* layout;
    int side;  // the reference side, -1: the element's direction
    const char* guards;
  } rows[] = {
      {"run QMA 25\nstart 6\nentrax 1\ngo 4 3000\nend 1\n", 3, "a start in bar mode"},
      {"run QMA 25\nstart 1\ngo 4 3000\nend 6\nentrax 1\n", 3, "an end in bar mode"},
      {"run QMA 25\nstart 1\ngo 4 2000\ngo 2 3000\nend 6\nentrax 3\n", 3, "a riser's end"},
      {"run QMA 50\nstart 1\ngo 4 3000\nend 6\nentrax 1\n", 1, "the small calibre"},
      {"run QMA 25\nstart 1\ngo 4 3000\nend 6\nentrax 2\n", -1, "bars joined in mode 2"},
      {"run QMA 25\nstart 1\ngo 4 2000\ngo 5 3000\nend 2\nentrax 1\n", -1, "a plain unit"},
  };
  for (const Row& row : rows) {
    LayOut(row.layout);
    const CDev* unit = nullptr;
    for (const CDev* e : m_laid)
      if (e->GetKind() == CDev::kEnd && (e->GetVariant() == 6 || e->GetVariant() == 2)) unit = e;
    ASSERT_NE(unit, nullptr) << row.guards;
    const CBox* plate = unit->GetBox(7);
    ASSERT_NE(plate, nullptr) << row.guards;
    for (int slot = 10; slot <= 13; ++slot) {
      const CBox* bar = unit->GetBox(slot);
      ASSERT_NE(bar, nullptr) << row.guards << " slot " << slot;
      EXPECT_EQ(bar->GetKindCode(), 1) << row.guards;
      const int face = row.side < 0 ? unit->GetDirection() : bar->MapSideToFace(row.side, 0);
      const C3DPoint n = bar->GetFaceNormal(face);
      EXPECT_NEAR(SizeAlong(*bar, n), 150, 0.5) << row.guards << ": the bar runs along the side";
      int thin = 0;
      for (const C3DPoint& axis : {C3DPoint(1, 0, 0), C3DPoint(0, 1, 0), C3DPoint(0, 0, 1)})
        thin += SizeAlong(*bar, axis) < 20 ? 1 : 0;
      EXPECT_EQ(thin, 1) << row.guards << ": a flat bar";
      if (row.side < 0) continue;
      // the end on the reference side lies away from the plate
      const C3DPoint centre = bar->GetOrigin();
      const double toward = DotProduct(plate->GetOrigin() - centre, n);
      EXPECT_LT(toward, 0) << row.guards << " slot " << slot;
    }
  }
}

}  // namespace
