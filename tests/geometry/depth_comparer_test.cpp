#include "geometry/depth_comparer.h"

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {

// The geometric steps of the depth comparison exactly as stated, without any of the
// shortcuts: every open edge of a against every open edge of b, then every face probe.
int LiteralGeometricDepth(const C3DProjection& projection, const CBox& a, const CBox& b) {
  struct Edge {
    CPoint p, q;
    double dp, dq;
  };
  auto openEdges = [](const CBox& box) {
    std::vector<Edge> edges;
    std::vector<std::pair<int, int>> handled;
    for (int f = 0; f < 6; ++f) {
      if ((box.GetFaceFlags(f) & 1) == 0) continue;
      for (int k = 0; k < 4; ++k) {
        const int c0 = CBox::GetFaceCorner(f, k), c1 = CBox::GetFaceCorner(f, (k + 1) % 4);
        const CPoint p = box.GetWindowCorner(c0), q = box.GetWindowCorner(c1);
        const std::pair<int, int> pair(std::min(c0, c1), std::max(c0, c1));
        if (p == q || std::find(handled.begin(), handled.end(), pair) != handled.end()) continue;
        handled.push_back(pair);
        edges.push_back({p, q, box.GetProjectedCorner(c0).z, box.GetProjectedCorner(c1).z});
      }
    }
    return edges;
  };
  auto depthAt = [](const Edge& e, CPoint c) {
    const double t = e.p.x != e.q.x ? double(c.x - double(e.p.x)) / (double(e.q.x) - e.p.x)
                                    : double(c.y - double(e.p.y)) / (double(e.q.y) - e.p.y);
    return e.dp + t * (e.dq - e.dp);
  };
  double best = 0.0;
  int magnitude = 2;
  for (const Edge& ea : openEdges(a)) {
    for (const Edge& eb : openEdges(b)) {
      const auto c =
          SegmentIntersection(ea.p.x, ea.p.y, ea.q.x, ea.q.y, eb.p.x, eb.p.y, eb.q.x, eb.q.y, 1);
      if (!c) continue;
      const double d = depthAt(ea, *c) - depthAt(eb, *c);
      if (std::fabs(d) > std::fabs(best)) best = d;
      magnitude = 1;
    }
  }
  for (int pass = 0; pass < 2; ++pass) {
    const CBox& first = pass == 0 ? a : b;
    const CBox& second = pass == 0 ? b : a;
    const double sign = pass == 0 ? 1.0 : -1.0;
    for (int f = 0; f < 6; ++f) {
      if ((first.GetFaceFlags(f) & 1) == 0) continue;
      const C3DPoint centre = (first.GetCorner(CBox::GetFaceCorner(f, 0)) +
                               first.GetCorner(CBox::GetFaceCorner(f, 2))) /
                              2.0;
      C3DPoint rotated;
      const CPoint w = projection.ProjectPoint(centre, rotated);
      const int hit = second.HitTestFace(w.x, w.y, true);
      if (hit == 0) continue;
      const auto p = projection.IntersectViewRayAt(
          rotated.x, rotated.y, second.GetCorner(CBox::GetFaceCorner(hit - 1, 0)),
          C3DProjection::GetFaceNormalFromCorners(second, hit - 1));
      if (!p) continue;
      const double d = sign * (rotated.z - projection.Rotate(*p).z);
      if (std::fabs(d) > std::fabs(best)) best = d;
    }
  }
  if (best > 1.0) return magnitude;
  if (best < -1.0) return -magnitude;
  return 0;
}

std::unique_ptr<CBox> RandomBox(std::mt19937& random, C3DProjection& projection, double spread) {
  std::uniform_real_distribution<double> where(-spread, spread);
  std::uniform_int_distribution<int> size(0, 400);
  std::uniform_int_distribution<int> odd(0, 9);
  auto box = std::make_unique<CBox>();
  const auto extent = [&] { return odd(random) == 0 ? 0 : size(random); };
  // Whole-number origins now and then, so that window corners fall on whole units.
  const double snap = odd(random) < 3 ? 1.0 : 0.0;
  const auto at = [&] { return snap ? std::round(where(random)) : where(random); };
  box->SetPlacement(C3DPoint(at(), at(), at()), extent(), extent(), extent());
  projection.ProjectBox(*box);
  projection.UpdateFaceVisibility(*box);
  if (odd(random) == 0) box->SetPassWord(0x20000000);
  return box;
}

TEST(DepthComparerTest, AgreesWithTheLiteralStepsOnRandomPairs) {
  std::mt19937 random(7);
  const int views[][3] = {{330, 315, 0}, {0, 0, 0},     {0, 90, 0},
                          {90, 0, 0},    {17, 203, 41}, {45, 45, 45}};
  int decided = 0;
  for (const auto& v : views) {
    C3DProjection projection;
    projection.SetViewAngles(v[0], v[1], v[2], false, false);
    for (int round = 0; round < 200; ++round) {
      std::vector<std::unique_ptr<CBox>> boxes;
      for (int i = 0; i < 12; ++i)
        boxes.push_back(RandomBox(random, projection, round % 2 ? 300 : 2e6));
      CDepthComparer comparer(projection);
      for (const auto& a : boxes) {
        comparer.Forget();
        for (const auto& b : boxes) {
          if (a == b) continue;
          const C3DPoint &aMin = a->GetProjectedMin(), &aMax = a->GetProjectedMax();
          const C3DPoint &bMin = b->GetProjectedMin(), &bMax = b->GetProjectedMax();
          const bool overlap =
              aMin.x < bMax.x && bMin.x < aMax.x && aMin.y < bMax.y && bMin.y < aMax.y;
          const int expected = overlap ? LiteralGeometricDepth(projection, *a, *b) : 0;
          ASSERT_EQ(comparer.Compare(*a, *b, 0, 0), expected)
              << "view " << v[0] << " " << v[1] << " round " << round;
          ASSERT_EQ(CompareDepth(projection, *a, *b, 0, 0), expected);
          decided += expected != 0;
        }
      }
    }
  }
  EXPECT_GT(decided, 1000) << "the scenes must give plenty of decided pairs";
}

TEST(DepthComparerTest, SegmentsThatMayNotMeetNeverCross) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coordinate(-50, 50);
  std::uniform_int_distribution<int> wide(std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max());
  std::uniform_int_distribution<int> pickRange(0, 3);
  int crossings = 0;
  for (int i = 0; i < 200000; ++i) {
    auto value = [&] {
      switch (pickRange(random)) {
        case 0: return wide(random);
        case 1: return coordinate(random) * 1000000;
        default: return coordinate(random);
      }
    };
    const CWindowSegment s(CPoint{value(), value()}, CPoint{value(), value()});
    // Nearly parallel and steep partners as well as random ones.
    const int dx = coordinate(random);
    const CWindowSegment t =
        i % 3 == 0 ? CWindowSegment(CPoint{s.a.x + dx, s.a.y + 1}, CPoint{s.b.x + dx, s.b.y})
                   : CWindowSegment(CPoint{value(), value()}, CPoint{value(), value()});
    for (int mode : {0, 1}) {
      if (!SegmentIntersection(s, t, mode)) continue;
      ++crossings;
      ASSERT_TRUE(s.MayMeet(t)) << s.a.x << "," << s.a.y << " " << s.b.x << "," << s.b.y << " / "
                                << t.a.x << "," << t.a.y << " " << t.b.x << "," << t.b.y;
      ASSERT_TRUE(t.MayMeet(s));
    }
  }
  EXPECT_GT(crossings, 10000);
}

class DepthRulesTest : public ::testing::Test {
 protected:
  DepthRulesTest() { projection.SetViewAngles(0, 0, 0, false, false); }

  // A box of the element in a slot, projected, its faces worked out.
  CBox& Place(CFakeElement& element, int slot, C3DPoint origin, int e0 = 100, int e1 = 100,
              int e2 = 100) {
    boxes.push_back(std::make_unique<CBox>());
    CBox& box = *boxes.back();
    element.Adopt(slot, box);
    element.projection = &projection;
    box.SetPlacement(origin, e0, e1, e2);
    projection.UpdateFaceVisibility(box);
    return box;
  }

  C3DProjection projection;
  std::vector<std::unique_ptr<CBox>> boxes;
};

TEST_F(DepthRulesTest, SameBoxAndBoundsDecideFirstThenTheNearerBoxLiesInFront) {
  CBox box;
  box.SetPlacement(C3DPoint(), 10, 10, 10);
  projection.ProjectBox(box);
  EXPECT_EQ(CompareDepth(projection, box, box, 2, 0), 1) << "the second node is in front";
  EXPECT_EQ(CompareDepth(projection, box, box, 0, 2), -1);
  CBox far;
  far.SetPlacement(C3DPoint(10, 0, 50), 10, 10, 10);  // touches on screen
  projection.ProjectBox(far);
  projection.UpdateFaceVisibility(box);
  projection.UpdateFaceVisibility(far);
  EXPECT_EQ(CompareDepth(projection, far, box, 0, 0), 0);
  CBox lost;
  lost.SetPlacement(C3DPoint(std::nan(""), 0, 0), 10, 10, 10);
  projection.ProjectBox(lost);
  EXPECT_EQ(CompareDepth(projection, lost, box, 0, 0), 0);
  EXPECT_EQ(CompareDepth(projection, lost, lost, 2, 0), 1);
  CBox front;  // overlapping on screen and nearer: the geometry decides
  front.SetPlacement(C3DPoint(2, 2, 100), 10, 40, 40);
  projection.ProjectBox(front);
  projection.UpdateFaceVisibility(front);
  EXPECT_GT(CompareDepth(projection, front, box, 0, 0), 0);
  EXPECT_LT(CompareDepth(projection, box, front, 0, 0), 0);
}

TEST_F(DepthRulesTest, JointOfBodyAndDirectionBoxFollowsTheVisibleFace) {
  // View along -z: face 5 (+C) of every box looks at the viewer, face 1 (-C) away.
  CFakeElement element;
  element.kind = 3;
  element.direction = 4;
  CBox& body = Place(element, 6, C3DPoint(0, 0, 0));
  CBox& up = Place(element, 5, C3DPoint(0, 0, 100));     // toward +z: its face 1 joins the body
  CBox& down = Place(element, 1, C3DPoint(0, 0, -100));  // toward -z: its face 5 joins the body
  // Body against the box toward +z: p = 5 is the body's visible face -> the body is behind.
  EXPECT_EQ(CompareDepth(projection, body, up, 0, 0), -1);
  // Body against the box toward -z: p = 1 not visible, q = 5 visible on `down` -> in front.
  EXPECT_EQ(CompareDepth(projection, body, down, 0, 0), 1);
  EXPECT_EQ(CompareDepth(projection, up, body, 0, 0), 1);
  EXPECT_EQ(CompareDepth(projection, up, down, 0, 0), 0)
      << "opposite direction boxes of one element";
}

TEST_F(DepthRulesTest, FacingBoxesOfNeighboursAndStraightChains) {
  CFakeElement a, b, c;
  for (CFakeElement* e : {&a, &b, &c}) {
    e->kind = 9;
    e->direction = 5;
  }
  CFakeElement::Link(a, 5, b);
  CFakeElement::Link(b, 5, c);
  CBox& aUp = Place(a, 5, C3DPoint(0, 0, 50));
  CBox& bDown = Place(b, 1, C3DPoint(0, 0, 150));
  CBox& bBody = Place(b, 6, C3DPoint(0, 0, 200));
  CBox& cBody = Place(c, 6, C3DPoint(0, 0, 400));
  // a's box toward +z against b's box toward -z: p = 5 visible on a's box -> behind.
  EXPECT_EQ(CompareDepth(projection, aUp, bDown, 0, 0), -1);
  EXPECT_EQ(CompareDepth(projection, bDown, aUp, 0, 0), 1);
  // Bodies of one straight chain never order each other.
  EXPECT_EQ(CompareDepth(projection, cBody, bBody, 0, 0), 0);
  EXPECT_EQ(CompareDepth(projection, bBody, cBody, 0, 0), 0);
  // Cut the chain: the geometry decides.
  b.neighbours[5] = nullptr;
  c.neighbours[1] = nullptr;
  EXPECT_GT(CompareDepth(projection, cBody, bBody, 0, 0), 0);
}

TEST_F(DepthRulesTest, ChainLinksThatRunInACircleEndTheWalk) {
  CFakeElement a, b;
  a.kind = b.kind = 9;
  a.direction = b.direction = 5;
  a.neighbours[1] = &b;
  b.neighbours[1] = &a;  // a damaged file: both behind each other
  CBox& aBody = Place(a, 6, C3DPoint(0, 0, 0));
  CBox& bBody = Place(b, 6, C3DPoint(10, 10, 300));
  EXPECT_EQ(CompareDepth(projection, aBody, bBody, 0, 0), 0) << "b is met behind a";
  CFakeElement lone;
  lone.kind = 9;
  lone.direction = 5;
  lone.neighbours[1] = &lone;
  CBox& loneBody = Place(lone, 6, C3DPoint(5, 5, 600));
  EXPECT_GT(CompareDepth(projection, loneBody, aBody, 0, 0), 0);
}

TEST_F(DepthRulesTest, PartsOfAnEndElementByTheirKindCodes) {
  // The parts overlap in space; the geometry would call a (nearer) in front.
  const struct {
    const char* name;
    int kindA, kindB, slotA, slotB;
    std::uint32_t flagsA, flagsB;
    int expected;
  } cases[] = {
      {"cover behind a plate", 3, 1, 8, 9, 0, 0, -1},
      {"cover through its second node", 3, 2, 8, 9, 2, 0, 1},
      {"plate against a cover", 1, 3, 8, 9, 0, 0, 1},
      {"plate against a cover's second node", 2, 3, 8, 9, 0, 2, -1},
      {"two covers, one by its second node", 3, 3, 8, 9, 0, 2, 0},
      {"overlapping kind 4 and 5 parts", 4, 5, 8, 9, 0, 0, 0},
      {"far part against the first part, face not seen", 6, 6, 21, 7, 0, 0, 1},
      {"first part against a far part, face not seen", 6, 6, 7, 22, 0, 0, -1},
  };
  for (const auto& c : cases) {
    boxes.clear();
    CFakeElement element;
    element.kind = 0;
    element.direction = 1;  // its face 1 (-C) never faces this view
    CBox& a = Place(element, c.slotA, C3DPoint(0, 0, 30), 60, 60, 60);
    CBox& b = Place(element, c.slotB, C3DPoint(10, 10, 0), 60, 60, 60);
    a.SetAttributes((a.GetAttributes() & 0x0FFFFFFF) | (std::uint32_t(c.kindA) << 28));
    b.SetAttributes((b.GetAttributes() & 0x0FFFFFFF) | (std::uint32_t(c.kindB) << 28));
    EXPECT_EQ(CompareDepth(projection, a, b, c.flagsA, c.flagsB), c.expected) << c.name;
  }
}

TEST_F(DepthRulesTest, AFlatKindTwoPartSixSlotsOnLiesInFront) {
  CFakeElement element;
  element.kind = 0;
  CBox& base = Place(element, 7, C3DPoint(0, 0, 30), 0, 60, 60);
  CBox& flat = Place(element, 13, C3DPoint(10, 10, 0), 0, 40, 40);
  flat.SetAttributes((flat.GetAttributes() & 0x0FFFFFFF) | 0x20000000);
  EXPECT_EQ(CompareDepth(projection, flat, base, 0, 0), 1);
  EXPECT_EQ(CompareDepth(projection, base, flat, 0, 0), -1);
}

}  // namespace
