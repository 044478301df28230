// Supports and tap-off outlets sit at booked (catalogue) distances along a length; a
// length drawn shorter or longer than it is booked shows them at drawn / booked of that
// distance. Lengths drawn as booked hid it when the two were taken the wrong way round.
#include <gtest/gtest.h>

#include <cmath>

#include "element_scene.h"
#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/run_environment.h"
#include "view/draw_recorder.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/element_point_source.h"
#include "view/nominal_font_measurer.h"

namespace {

// Elements of the scene: the "QM" joint with its "SUPP" text and the length after it;
// the "QP" length drawn by its part box and the joint with outlet layout 1 after it.
enum : std::size_t { kQmJoint = 1, kQmStraight = 2, kQpLength = 14, kQpJoint = 15 };

TEST(BookedDrawnScalingTest, ASupportLiesAtItsBookedDistanceScaledToTheDrawing) {
  const struct {
    const char* supp;
    std::int32_t booked, drawn;
    int count;
    std::int32_t distance;  // of the point from the joint
    const char* why;
  } rows[] = {
      {"4:1500", 3000, 3000, 1, 1500, "drawn as booked"},
      {"4:1500", 3000, 2970, 1, 1485, "drawn 1 % short: 1500 x 2970 / 3000"},
      {"4:1500", 3000, 3030, 1, 1515, "drawn 1 % long"},
      {"4:2000", 3000, 1500, 1, 1000, "beyond the drawn length but within the booked one"},
      {"4:2500", 2000, 3000, 0, 0, "beyond the booked length: the walk meets the elbow"},
  };
  CElementPointSource::Install();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    CElementScene scene = BuildElementKindsScene(330, 315, 0);
    scene.elements[kQmJoint]->SetPropValue("SUPP", row.supp);
    CDev& straight = *scene.elements[kQmStraight];
    straight.SetBookedLength(row.booked);
    straight.SetDrawnLength(row.drawn);
    const CBox& body = *straight.GetBox(CBoxOwner::kBodySlot);
    ASSERT_EQ(straight.GetSupportPoint(body, -1, -1).x, row.count);
    if (row.count == 0) continue;
    EXPECT_EQ(PointDistance(straight.GetSupportPoint(body, 0, -1),
                            scene.elements[kQmJoint]->GetPosition()),
              row.distance);
  }
  CRunEnvironment::Instance().SetBoxPoints(nullptr);
}

// Centres of the outlet rectangles (grey fills) drawn by the length's part box.
std::vector<CPoint> OutletCentres(CElementScene& scene) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  constexpr CSize kSize{1000, 700};
  CDrawContext dc(recorder, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  CElementDrawCache cache;
  DrawElementBox(dc, *scene.elements[kQpLength]->GetBox(7), 0, cache, SceneDrawOptions(false));
  std::vector<CPoint> centres;
  for (const CDrawRecorder::Call& call : recorder.Calls()) {
    if (call.kind != "Polygon" || call.brush.color != CColor{128, 128, 128}) continue;
    if (call.points.size() != 4) continue;
    centres.push_back(
        {(call.points[0].x + call.points[2].x) / 2, (call.points[0].y + call.points[2].y) / 2});
  }
  return centres;
}

double Distance(CPoint a, CPoint b) { return std::hypot(double(a.x) - b.x, double(a.y) - b.y); }

TEST(BookedDrawnScalingTest, OutletsFollowTheBookedLengthAndShrinkWithTheDrawing) {
  CElementScene asBooked = BuildElementKindsScene(330, 315, 0);
  const std::vector<CPoint> full = OutletCentres(asBooked);
  // The joint (100) and the length (2900) make the booked 3000 that has outlets at 250,
  // 1250 and 2250; the first two lie along the length's part box.
  ASSERT_EQ(full.size(), 2u);
  const struct {
    std::int32_t drawn;
    double scale;
    const char* why;
  } rows[] = {{1450, 0.5, "drawn at half its booked length"},
              {2175, 0.75, "drawn at three quarters"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    CElementScene scene = BuildElementKindsScene(330, 315, 0);
    scene.elements[kQpLength]->SetDrawnLength(row.drawn);
    const std::vector<CPoint> shown = OutletCentres(scene);
    ASSERT_GE(shown.size(), 2u) << "the booked chain length decides the outlets";
    EXPECT_NEAR(Distance(shown[0], shown[1]), Distance(full[0], full[1]) * row.scale, 2.0);
  }
}

// The calls that drawing every box of the element leaves, with the cache given.
std::vector<CDrawRecorder::Call> ElementCalls(CElementScene& scene, std::size_t element,
                                              CElementDrawCache& cache) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  constexpr CSize kSize{1000, 700};
  CDrawContext dc(recorder, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  const CDev& drawn = *scene.elements[element];
  for (int slot = 0; slot < CBoxOwner::kSlotCount; ++slot) {
    if (const CBox* box = drawn.GetBox(slot))
      DrawElementBox(dc, *box, 0, cache, SceneDrawOptions(false));
  }
  return recorder.Calls();
}

// A length whose booked length changes while its drawing keeps its size shows its
// supports and outlets where the new booked length puts them, not where the drawing kept
// them from before.
TEST(BookedDrawnScalingTest, ACostedLengthThatChangesAloneRedrawsSupportsAndOutlets) {
  CElementPointSource::Install();
  const struct {
    std::size_t element;
    std::int32_t booked;
    const char* why;
  } rows[] = {{kQmStraight, 1500, "the supports of the length"},
              {kQpLength, 1450, "the outlets of the length"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    CElementScene scene = BuildElementKindsScene(330, 315, 0);
    scene.elements[kQmJoint]->SetPropValue("SUPP", "4:1000");
    CElementDrawCache kept;
    const std::vector<CDrawRecorder::Call> before = ElementCalls(scene, row.element, kept);
    scene.elements[row.element]->SetBookedLength(row.booked);
    CElementDrawCache fresh;
    const std::vector<CDrawRecorder::Call> expected = ElementCalls(scene, row.element, fresh);
    ASSERT_NE(expected, before) << "the booked length moves what the length shows";
    EXPECT_EQ(ElementCalls(scene, row.element, kept), expected);
  }
  CRunEnvironment::Instance().SetBoxPoints(nullptr);
}

}  // namespace
