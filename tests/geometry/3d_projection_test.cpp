#include "geometry/3d_projection.h"

#include "geometry/box.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "support/case_table.h"
#include "geometry/3d_point.h"
#include "platform/archive.h"
#include "support/archive_bytes.h"

namespace {

constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();

void ExpectNear(const C3DPoint& a, const C3DPoint& b, double tolerance = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(C3DProjectionTest, AnglesStartAt330And315AndEveryAngleLandsIn0To359) {
  C3DProjection initial;
  EXPECT_EQ(initial.GetViewAngle(0), 330);
  EXPECT_EQ(initial.GetViewAngle(1), 315);
  EXPECT_EQ(initial.GetViewAngle(3), 0) << "no fourth angle";
  initial.SetViewAngles(-90, 0, 0, true, true);
  EXPECT_EQ(initial.GetViewAngle(1), 315) << "a relative turn keeps the other angles";
  const struct {
    int start, delta, expected;
  } cases[] = {{-180, 0, 180},   {0, 360, 0},       {0, 359, 359},    {10, -10, 0},
               {10, -11, 359},   {0, -721, 359},    {0, -1000, 80},   {350, 20, 10},
               {0, 100000, 280}, {0, kMinInt, 232}, {0, kMaxInt, 127}};
  for (const auto& c : cases) {
    C3DProjection projection;
    projection.SetViewAngles(c.start, 0, 0, false, false);
    projection.SetViewAngles(c.delta, c.delta, 0, false, true);
    EXPECT_EQ(projection.GetViewAngle(0), c.expected) << c.start << " + " << c.delta;
  }
}

TEST(C3DProjectionTest, ProjectPointTruncatesTowardZero) {
  C3DProjection projection;
  projection.SetViewAngles(0, 0, 0, false, false);
  const struct {
    C3DPoint point;
    CPoint expected;
  } cases[] = {{{10.7, -3.2, 0}, {10, -3}},
               {{-10.7, 3.9, 5}, {-10, 3}},
               {{-0.9, -0.1, 0}, {0, 0}},
               {{-1.0, 1.0, 0}, {-1, 1}},
               {{3e10, -3e10, 0}, {kMaxInt, kMinInt}},
               {{std::nan(""), 2.5, 0}, {0, 0}}};  // not-a-number spreads to both: 0, 0
  for (const auto& c : cases) EXPECT_EQ(projection.ProjectPoint(c.point), c.expected) << c.point.x;
  C3DPoint rotated;
  projection.ProjectPoint(C3DPoint(10.7, -3.2, 4.5), rotated);
  EXPECT_EQ(rotated, C3DPoint(10.7, -3.2, 4.5));
}

TEST(C3DProjectionTest, RotationIsOrthonormalAndUnprojectInvertsIt) {
  C3DProjection projection;
  for (int a : {0, 30, 137, 330}) {
    projection.SetViewAngles(a, a / 2 + 15, a / 3, false, false);
    const C3DPoint p(123.5, -77.25, 9000);
    ExpectNear(projection.Unproject(projection.Rotate(p)), p, 1e-7);
    ExpectNear(projection.Rotate(projection.GetViewDirection()), C3DPoint(0, 0, 1));
    EXPECT_NEAR(std::sqrt(DotProduct(projection.GetViewDirection(), projection.GetViewDirection())),
                1.0, 1e-12);
  }
}

TEST(C3DProjectionTest, ViewRayMeetsAPlaneOrNone) {
  C3DProjection projection;
  projection.SetViewAngles(0, 0, 0, false, false);
  const auto hit = projection.IntersectViewRay({3, 4}, C3DPoint(0, 0, 5), C3DPoint(0, 0, 1));
  ASSERT_TRUE(hit);
  ExpectNear(*hit, C3DPoint(3, 4, 5));
  EXPECT_FALSE(projection.IntersectViewRay({3, 4}, C3DPoint(0, 0, 5), C3DPoint(1, 0, 0)))
      << "parallel";
  EXPECT_FALSE(projection.IntersectViewRay({3, 4}, C3DPoint(0, 0, 5), C3DPoint(0.01, 0, 0.04)))
      << "nearly";
  EXPECT_FALSE(projection.IntersectViewRay({3, 4}, C3DPoint(), C3DPoint(std::nan(""), 0, 1)));
  projection.SetViewAngles(330, 315, 0, false, false);
  const auto tilted = projection.IntersectViewRay({100, -50}, C3DPoint(0, 0, 0), C3DPoint(0, 1, 0));
  ASSERT_TRUE(tilted);
  EXPECT_NEAR(tilted->y, 0.0, 1e-9);
  const C3DPoint back = projection.Rotate(*tilted);
  EXPECT_NEAR(back.x, 100, 1e-9);
  EXPECT_NEAR(back.y, -50, 1e-9);
}

TEST(C3DProjectionTest, CircleHasFortyOneClosedPoints) {
  C3DProjection projection;
  projection.SetViewAngles(0, 0, 0, false, false);
  const auto circle =
      projection.ProjectCircle(C3DPoint(100, 200, 0), C3DPoint(50, 0, 0), C3DPoint(0, 30, 0));
  ASSERT_EQ(circle.size(), 41u);
  const std::pair<int, CPoint> points[] = {
      {0, {150, 200}},  {10, {100, 170}}, {20, {50, 200}},
      {30, {100, 230}}, {40, {150, 200}}, {5, {135, 178}}};  // 135.35, 178.78 truncated
  for (const auto& [i, p] : points) EXPECT_EQ(circle[i], p) << i;
}

TEST(C3DProjectionTest, FindAxisTowardPoint) {
  C3DProjection projection;
  projection.SetViewAngles(0, 0, 0, false,
                           false);  // x right, y down the window, z toward the viewer
  const C3DPoint origin(1000, 1000, 0);
  for (const CCaseRow& row : ReadCaseTable("geometry/axis_toward_point.tsv", 5)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const std::vector<long long> point = row.Ints(1);
    ASSERT_EQ(point.size(), 2u);
    const int preset = static_cast<int>(row.Int(2)), expected = static_cast<int>(row.Int(3));
    int length = preset < 0 ? 7 : preset;
    if (preset < 0 && expected != -1) length = -1;
    EXPECT_EQ(
        projection.FindAxisTowardPoint(
            origin, {static_cast<std::int32_t>(point[0]), static_cast<std::int32_t>(point[1])},
            &length),
        expected);
    EXPECT_EQ(length, row.Int(4));
  }
  EXPECT_EQ(projection.FindAxisTowardPoint(origin, {6000, 1000}), 1);
  EXPECT_EQ(projection.LengthTowardPoint(origin, {6000, 1000}, -1), 5000);
  EXPECT_EQ(projection.LengthTowardPoint(origin, {1000, 1000}, 0), -1);
  EXPECT_EQ(projection.LengthTowardPoint(origin, {1000, 2500}, 0), 1500)
      << "preset +x, measured on screen";
}

TEST(C3DProjectionTest, DistancesTruncate) {
  EXPECT_EQ(WindowDistance({0, 0}, {3, 4}), 5);
  EXPECT_EQ(WindowDistance({0, 0}, {1, 1}), 1);
  EXPECT_EQ(WindowDistance({kMinInt, kMinInt}, {kMaxInt, kMaxInt}), kMaxInt) << "no overflow";
  EXPECT_EQ(PointDistance(C3DPoint(0, 0, 0), C3DPoint(1, 1, 1)), 1);
  EXPECT_EQ(CrossProduct(C3DPoint(1, 0, 0), C3DPoint(0, 1, 0)), C3DPoint(0, 0, 1));
  EXPECT_EQ(DotProduct(C3DPoint(1, 2, 3), C3DPoint(4, -5, 6)), 12.0);
}

TEST(C3DProjectionTest, ProjectBoxKeepsTheTopByteOfTheAttributes) {
  C3DProjection projection;
  CBox box;
  box.SetPlacement(C3DPoint(10, 20, 30), 2, 4, 6);
  box.SetAttributes(0x71FFFFFF);
  projection.ProjectBox(box);
  EXPECT_EQ(box.GetAttributes(), 0x71000000u);
  for (int n = 0; n < 8; ++n)
    EXPECT_EQ(box.GetProjectedCorner(n), projection.Rotate(box.GetCorner(n)));
  EXPECT_LE(box.GetProjectedMin().x, box.GetProjectedMax().x);
}

TEST(C3DProjectionTest, FaceNormalsFromCornersPointOutward) {
  CBox box;
  box.SetPlacement(C3DPoint(5, 5, 5), 2, 4, 6);
  for (int f = 0; f < 6; ++f) {
    const C3DPoint n = C3DProjection::GetFaceNormalFromCorners(box, f);
    EXPECT_GT(DotProduct(n, box.GetFaceNormal(f)), 0.0) << f;
    EXPECT_NEAR(std::fabs(DotProduct(n, box.GetFaceNormal(f))), std::sqrt(DotProduct(n, n)), 1e-9)
        << f;
  }
  CBox flat;  // no extent at all: the corners give no normal
  EXPECT_EQ(C3DProjection::GetFaceNormalFromCorners(flat, 2), C3DPoint(0, 1, 0));
  EXPECT_EQ(C3DProjection::GetFaceNormalFromCorners(flat, 6), C3DPoint());
}

TEST(C3DProjectionTest, BoxesOverlapOnlyWhenTheyShareVolume) {
  CBox a, b;
  a.SetPlacement(C3DPoint(0, 0, 0), 10, 10, 10);
  const struct {
    const char* name;
    C3DPoint origin;
    bool overlap;
  } cases[] = {{"same place", {0, 0, 0}, true},
               {"half way", {5, 5, 5}, true},
               {"touching along x", {10, 0, 0}, false},
               {"touching along z", {0, 0, -10}, false},
               {"apart", {0, 30, 0}, false}};
  for (const auto& c : cases) {
    b.SetPlacement(c.origin, 10, 10, 10);
    EXPECT_EQ(C3DProjection::BoxesOverlap(a, b), c.overlap) << c.name;
    EXPECT_EQ(C3DProjection::BoxesOverlap(b, a), c.overlap) << c.name;
  }
}

using Bytes = std::vector<std::uint8_t>;

C3DPoint ThroughArchive(const C3DPoint& point) {
  C3DPoint loaded(7, 7, 7);
  return ReadBytes(loaded, WrittenBytes(point));
}

TEST(C3DPointTest, DistanceIsTruncated) {
  const struct {
    C3DPoint a, b;
    std::int32_t distance;
  } cases[] = {
      {{0, 0, 0}, {3, 4, 0}, 5},
      {{0, 0, 0}, {1, 1, 1}, 1},
      {{0, 0, 0}, {2.9, 0, 0}, 2},
      {{-1, -1, -1}, {-1, -1, -1}, 0},
      {{0, 0, 0}, {1e12, 0, 0}, std::numeric_limits<std::int32_t>::max()},
      {{0, 0, 0}, {std::nan(""), 0, 0}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.a.DistanceTo(c.b), c.distance);
}

TEST(C3DPointTest, StoredFormIsThreeTruncatedIntegers) {
  EXPECT_EQ(WrittenBytes(C3DPoint(1.9, -1.9, 258.5)),
            (Bytes{0x01, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0, 0}));
  const C3DPoint once = ThroughArchive({1.9, -1.9, 1e3 + 0.25});
  EXPECT_EQ(once, C3DPoint(1, -1, 1000));
  EXPECT_EQ(ThroughArchive(once), once);  // storing twice changes nothing more
}

TEST(C3DPointTest, OutOfRangeAndNanAreClampedOrZero) {
  const double inf = std::numeric_limits<double>::infinity();
  const C3DPoint loaded = ThroughArchive({1e20, -inf, std::nan("")});
  EXPECT_EQ(loaded.x, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(loaded.y, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(loaded.z, 0.0);
  EXPECT_EQ(ThroughArchive({2147483647.9, -2147483648.9, 0}),
            C3DPoint(2147483647.0, -2147483648.0, 0));
}

TEST(C3DPointTest, TruncatedStreamThrowsAndLeavesPointUnchanged) {
  C3DPoint p(5, 6, 7);
  EXPECT_THROW(ReadBytes(p, Bytes(11, 0)), CArchiveError);
  EXPECT_EQ(p, C3DPoint(5, 6, 7));
}

}  // namespace
