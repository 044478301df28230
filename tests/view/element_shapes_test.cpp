// The shapes the element drawing gives special boxes (calibre bands, bevels, covers,
// connection marks, supports turning a junction's corner) and the connection codes of
// outlets, read off the recorder.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "element_scene.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "view/connection_code.h"
#include "view/draw_recorder.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/element_point_source.h"
#include "view/nominal_font_measurer.h"

namespace {

constexpr CSize kSize{1000, 700};
constexpr CColor kBandGrey{210, 210, 210};
// Elements of the special-calibre run in the scene.
enum : std::size_t { kQmcJoint = 20, kQmcStraight, kCovered, kJunction, kElbow, kSlanted };

struct Counts {
  int bands = 0;      // grey polygons
  int triangles = 0;  // polygons with a corner moved onto the next
  int fills = 0;      // polygons with a solid brush
  int lines = 0;
  int racc = 0;  // figures on the connection layer
  int supports = 0;
};

Counts Draw(CElementScene& scene, const CBox& box, CElementDrawCache& cache,
            bool monochrome = false) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  const CElementDrawOptions options = SceneDrawOptions(monochrome);
  DrawElementBox(dc, box, 0, cache, options);
  Counts c;
  for (const CDrawRecorder::Call& call : recorder.Calls()) {
    if (call.layer == "RACC") ++c.racc;
    if (call.kind == "Line") ++c.lines;
    if (call.kind != "Polygon") continue;
    if (call.brush.style == BrushStyle::Solid) ++c.fills;
    if (call.brush.color == kBandGrey) ++c.bands;
    if (call.brush.color == options.colors[kColorSupport] && call.pen.style == PenStyle::Null)
      ++c.supports;
    for (std::size_t i = 0; i < call.points.size(); ++i) {
      if (call.points[i] == call.points[(i + 1) % call.points.size()]) ++c.triangles;
    }
  }
  return c;
}

Counts Draw(CElementScene& scene, const CBox& box, bool monochrome = false) {
  CElementDrawCache cache;
  return Draw(scene, box, cache, monochrome);
}

class ElementShapesTest : public ::testing::Test {
 protected:
  CElementScene scene = BuildElementKindsScene(330, 315, 0);
  CDev& At(std::size_t i) { return *scene.elements[i]; }
  CBox& Body(std::size_t i) { return *At(i).GetBox(CBoxOwner::kBodySlot); }
};

TEST_F(ElementShapesTest, OnlyTheTwoSpecialCalibresCarryTheGreyBand) {
  const struct {
    const char* catalog;
    const char* calibre;
    bool band;
  } rows[] = {{"QMC", "63", true},  {"QMA", "50", true}, {"QMC", "50", false},
              {"QMA", "63", false}, {"QM", "63", false}, {"QMCX", "63", false}};
  for (const auto& row : rows) {
    At(kQmcStraight).GetRun()->SetCatalog(row.catalog);
    At(kQmcStraight).GetRun()->SetProp("Calibre", row.calibre);
    for (std::size_t i : {kQmcJoint, kQmcStraight, kJunction}) {
      EXPECT_EQ(Draw(scene, Body(i)).bands > 0, row.band)
          << row.catalog << " " << row.calibre << " element " << i;
    }
  }
}

// A cache answers whether a run is of a special calibre as it first found, until cleared;
// each cache for itself, and a cache made in the place of another anew.
TEST_F(ElementShapesTest, ACacheAnswersForTheCalibreAsFoundUntilCleared) {
  At(kQmcStraight).GetRun()->SetCatalog("QMC");
  auto first = std::make_unique<CElementDrawCache>();
  CElementDrawCache second;
  const struct {
    const char* step;
    const char* calibre;  // set first
    bool clear;           // the first cache
    bool renew;           // the first cache made anew
    bool bySecond;        // drawn through the second cache
    bool band;
  } rows[] = {
      {"special, found by the first cache", "63", false, false, false, true},
      {"no longer special, as found before", "50", false, false, false, true},
      {"no longer special, once cleared", "50", true, false, false, false},
      {"special again, as found since the clearing", "63", false, false, false, false},
      {"found by the second cache for itself", "63", false, false, true, true},
      {"still as found, in the second cache", "50", false, false, true, true},
      {"found anew by a cache made anew", "50", false, true, false, false},
  };
  for (const auto& row : rows) {
    At(kQmcStraight).GetRun()->SetProp("Calibre", row.calibre);
    if (row.clear) first->Clear();
    if (row.renew) {
      first.reset();
      first = std::make_unique<CElementDrawCache>();
    }
    CElementDrawCache& cache = row.bySecond ? second : *first;
    EXPECT_EQ(Draw(scene, Body(kQmcStraight), cache).bands > 0, row.band) << row.step;
  }
}

// A cache answers for the side of a run's neutral as it first found it, until cleared; each
// cache for itself. Values outside the four sides, and texts that are no number, are none.
TEST_F(ElementShapesTest, ACacheAnswersForTheNeutralSideAsFoundUntilCleared) {
  CElementDrawCache first;
  CElementDrawCache second;
  const struct {
    const char* step;
    const char* side;  // set first
    bool clear;        // the first cache
    bool bySecond;     // asked of the second cache
    int expected;
  } rows[] = {
      {"found by the first cache", "1", false, false, 1},
      {"changed, still as found before", "2", false, false, 1},
      {"changed, found anew once cleared", "2", true, false, 2},
      {"found by the second cache for itself", "3", false, true, 3},
      {"beyond the four sides: none", "4", true, false, -1},
      {"below them: none", "-1", true, false, -1},
      {"not a number: none", "x", true, false, -1},
      {"blank: none", "", true, false, -1},
      {"the first side", "0", true, false, 0},
  };
  for (const auto& row : rows) {
    At(kQmcStraight).GetRun()->SetProp("COTE_NEUTRE", row.side);
    if (row.clear) first.Clear();
    CElementDrawCache& cache = row.bySecond ? second : first;
    EXPECT_EQ(cache.NeutralSide(At(kQmcStraight)), row.expected) << row.step;
  }
  CDev alone;
  EXPECT_EQ(first.NeutralSide(alone), -1) << "an element of no run";
}

TEST_F(ElementShapesTest, TheBandIsRecordedAndItsEndsAreScreenOnly) {
  At(kQmcStraight).GetRun()->SetProp("COTE_NEUTRE", "9");
  EXPECT_EQ(Draw(scene, Body(kQmcStraight)).bands, 0) << "no neutral side, no band";
  At(kQmcStraight).GetRun()->SetProp("COTE_NEUTRE", "1");
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, kSize);
  CElementDrawCache cache;
  DrawElementBox(dc, Body(kQmcJoint), 0, cache, SceneDrawOptions(true));
  int bands = 0, greyEnds = 0, blackCorners = 0;
  for (const CDrawRecorder::Call& call : recorder.Calls()) {
    if (call.kind == "Polygon" && call.brush.color == kBandGrey) ++bands;
    if (call.kind == "ScreenLine" && call.pen.color == kBandGrey) ++greyEnds;
    if (call.kind == "Pixel") ++blackCorners;
  }
  EXPECT_GE(bands, 2) << "a joint's band runs over its direction faces too";
  EXPECT_EQ(greyEnds, 2 * bands);
  EXPECT_EQ(blackCorners, 4 * bands) << "outlined faces mark the band's corners";
}

TEST_F(ElementShapesTest, BevelledBoxesDrawTrianglesBesideTheirSlantedFace) {
  const Counts square = Draw(scene, Body(kJunction));
  EXPECT_EQ(square.triangles, 0);
  EXPECT_GT(Draw(scene, Body(kElbow)).triangles, 0) << "the bevelled elbow";
  EXPECT_GT(Draw(scene, Body(kSlanted)).triangles, 0) << "a box of role 6";
  At(kElbow).SetStyle(0);
  EXPECT_EQ(Draw(scene, Body(kElbow)).triangles, 0) << "an elbow drawn square";
}

TEST_F(ElementShapesTest, TheColourWordOutlinesFacesAndMarksConnections) {
  CBox& body = Body(kQmcStraight);
  const Counts plain = Draw(scene, body);
  EXPECT_GT(plain.fills, 0);
  EXPECT_EQ(plain.racc, 0);
  body.SetColor(0x00FF8040u | (1u << 28));
  const Counts outlined = Draw(scene, body);
  EXPECT_EQ(outlined.fills - outlined.bands - outlined.supports, 0)
      << "faces are outlined, not filled";
  EXPECT_GT(outlined.lines, 0);
  body.SetColor(0x00FF8040u | (1u << 24));
  EXPECT_GT(Draw(scene, body, true).racc, 0) << "edges with a connection mark";
  CDev& tapOff = At(16);
  tapOff.SetActive(1 | 0x2000);
  Draw(scene, Body(16));
  EXPECT_EQ(tapOff.GetActive(), 1) << "the placing mark goes outside the placing tools";
}

// The drawing on several threads may share one unit's boxes out, so the marks go first.
TEST_F(ElementShapesTest, StaleTapOffMarksGoBeforeTheBoxesAreDrawn) {
  CDev& tapOff = At(16);
  const CBox* box = &Body(16);
  tapOff.SetActive(1 | 0x2000);
  ClearStaleTapOffMarks(std::span(&box, 1), 7);
  EXPECT_EQ(tapOff.GetActive(), 1 | 0x2000) << "a placing tool keeps its mark";
  ClearStaleTapOffMarks(std::span(&box, 1), 0);
  EXPECT_EQ(tapOff.GetActive(), 1);
}

// A large picture looks for the marks on several threads: a unit whose boxes lie in several
// of their stretches, among many unmarked boxes, loses its mark once, whichever finds it.
TEST_F(ElementShapesTest, StaleTapOffMarksAmongManyBoxesGoWhereverTheUnitsBoxesLie) {
  CDev& tapOff = At(16);
  const CBox* marked = &Body(16);
  const CBox* plain = &Body(0);
  const struct {
    std::size_t count;
    std::vector<std::size_t> places;  // of the unit's box among the plain ones
    int tool;
    int kept;  // the unit's state afterwards
  } rows[] = {
      {1, {0}, 0, 1},
      {20000, {0}, 0, 1},
      {20000, {19999}, 0, 1},
      {20000, {1, 6000, 12500, 19998}, 0, 1},
      {20000, {1, 6000, 12500, 19998}, 7, 1 | 0x2000},
      {20000, {}, 0, 1 | 0x2000},  // the unit's box not among them: its mark stays
  };
  for (const auto& row : rows) {
    tapOff.SetActive(1 | 0x2000);
    std::vector<const CBox*> boxes(row.count, plain);
    for (std::size_t at : row.places) boxes[at] = marked;
    ClearStaleTapOffMarks(boxes, row.tool);
    EXPECT_EQ(tapOff.GetActive(), row.kept)
        << row.count << " boxes, " << row.places.size() << " of the unit, tool " << row.tool;
  }
}

TEST_F(ElementShapesTest, CoverEdgesLeaveTheCoverFaceAndItsOppositeOpen) {
  CBox& cover = *At(kCovered).GetBox(9);
  const Counts vented = Draw(scene, cover, true);
  EXPECT_GT(vented.lines, 0);
  At(kCovered).SetStyle(At(kCovered).GetStyle() | (2u << 26));  // the cover on the direction
  EXPECT_NE(Draw(scene, cover, true).lines, vented.lines);
}

TEST_F(ElementShapesTest, AJunctionsSupportTurnsTowardItsBranch) {
  EXPECT_GT(Draw(scene, Body(kJunction)).supports, 0) << "strips toward the branch on face 1";
}

TEST(ConnectionCodeTest, CountRangeBitsAndSideOfAJointsOutlets) {
  const struct {
    const char* catalog;
    std::uint32_t layout;
    int point;
    double x, y;
    std::int32_t firstStep;  // distance between the first two points, 0: not checked
  } rows[] = {
      {"QP", 1, 10, 3, 2 * 256 + 0, 1000},  // large calibre: 250, 1250, 2250
      {"QP", 1, 20, 3, 2 * 256 + 1, 1000},
      {"QP", 2, 10, 5, 2 * 256 + 0, 500},
      {"QM", 2, 10, 0, 0, 0},   // no outlets for 3000
      {"QW", 0, 10, 0, -1, 0},  // without layout nothing is computed
      {"QJF", 0, 10, 2, 32 * 256, 3000},
      {"QJF", 1, 20, 3, 16 * 256 + 1, 0},
  };
  for (const auto& row : rows) {
    CElementScene scene = BuildElementKindsScene(330, 315, 0);
    CDev& joint = *scene.elements[15];
    joint.GetRun()->SetCatalog(row.catalog);
    joint.SetStyle(row.layout << 8 | (row.point >= 20 ? 1u << 12 : 0u));
    CBox* face = joint.MakeBox(0);
    face->SetPlacement(joint.GetBox(CBoxOwner::kBodySlot)->GetOrigin(), 120, 20, 150);
    CConnectionCodes codes;
    const C3DPoint code = codes.Get(*face, row.point, 0);
    EXPECT_EQ(code.x, row.x) << row.catalog << " layout " << row.layout;
    EXPECT_EQ(code.y, row.y) << row.catalog << " layout " << row.layout;
    EXPECT_EQ(code.z != 0, code.y >= 0) << row.catalog;
    if (row.firstStep != 0) {
      EXPECT_EQ(PointDistance(codes.Point(0), codes.Point(1)), row.firstStep);
    }
    EXPECT_EQ(codes.Get(*face, 1, 0), codes.Point(1)) << "points 0-9 read back";
  }
}

TEST(ElementPointSourceTest, ElementsAnswerPickingFromTheInstalledSource) {
  CElementScene scene = BuildElementKindsScene(330, 315, 0);
  CDev& straight = *scene.elements[2];  // its joint's text places supports at 500 and 1500
  const CBox& body = *straight.GetBox(CBoxOwner::kBodySlot);
  CRunEnvironment::Instance().SetBoxPoints(nullptr);
  EXPECT_EQ(straight.GetSupportPoint(body, -1, -1).x, 0) << "no source, no supports";
  CElementPointSource::Install();
  EXPECT_EQ(straight.GetSupportPoint(body, -1, -1).x, 2);
  const C3DPoint joint = scene.elements[1]->GetPosition();
  EXPECT_EQ(PointDistance(straight.GetSupportPoint(body, 1, -1), joint), 1500);
  EXPECT_EQ(straight.GetSupportPoint(body, 5, -1), C3DPoint()) << "beyond the count";
  CDev& qpJoint = *scene.elements[15];
  CBox* face = qpJoint.MakeBox(0);
  face->SetPlacement(qpJoint.GetBox(CBoxOwner::kBodySlot)->GetOrigin(), 120, 20, 150);
  EXPECT_EQ(qpJoint.GetConnectionCode(*face, 10, 0).x, 3);
  CRunEnvironment::Instance().SetBoxPoints(nullptr);
}
}  // namespace
