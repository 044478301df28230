#include "geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct SegmentCase {
  const char* name;
  std::int32_t x1, y1, x2, y2, x3, y3, x4, y4;
  int mode;
  std::optional<CPoint> expected;
};

const SegmentCase kSegmentCases[] = {
    {"plain crossing", 0, 0, 10, 10, 0, 10, 10, 0, 0, CPoint{5, 5}},
    {"parallel", 0, 0, 10, 10, 0, 1, 10, 11, 1, std::nullopt},
    {"collinear and overlapping", 0, 0, 10, 10, 5, 5, 20, 20, 1, std::nullopt},
    {"two vertical overlapping", 3, 0, 3, 10, 3, 5, 3, 20, 1, std::nullopt},
    {"two vertical apart", 3, 0, 3, 10, 7, 0, 7, 10, -1, std::nullopt},
    {"vertical first", 4, -10, 4, 10, 0, 0, 10, 10, 0, CPoint{4, 4}},
    {"vertical second", 0, 0, 10, 10, 4, -10, 4, 10, 0, CPoint{4, 4}},
    {"at an end of the second, mode 1", 0, 0, 20, 0, 10, 0, 20, 10, 1, CPoint{10, 0}},
    {"at an end of the second, mode 0", 0, 0, 20, 0, 10, 0, 20, 10, 0, std::nullopt},
    {"at an end of the second, mode 2", 0, 0, 20, 0, 10, 0, 20, 10, 2, CPoint{10, 0}},
    {"at an end of the second, mode 1000", 0, 0, 20, 0, 10, 0, 20, 10, 1000, CPoint{10, 0}},
    {"at an end of the first counts in mode 0", 0, 0, 10, 0, 5, -5, 15, 5, 0, CPoint{10, 0}},
    {"touching end points, mode 1", 0, 0, 10, 10, 10, 10, 20, 0, 1, CPoint{10, 10}},
    {"beyond both segments, mode 1", 0, 0, 1, 1, 10, 0, 11, -1, 1, std::nullopt},
    {"beyond both segments, negative mode", 0, 0, 1, 1, 10, 0, 11, -1, -1, CPoint{5, 5}},
    {"far outside, negative mode", 0, 0, 1, 0, 1000, -1, 1001, 1, -5, CPoint{1000, 0}},
    {"negative crossing truncates toward zero", 0, 0, -10, -5, -5, 0, -5, -10, 0, CPoint{-5, -2}},
    {"negative x truncates toward zero", 0, -1, -5, 1, 0, 1, -5, -1, 0, CPoint{-2, 0}},
    {"vertical first outside its y range", 4, 5, 4, 10, 0, 0, 10, 0, 1, std::nullopt},
    {"degenerate first segment is vertical", 2, 2, 2, 2, 0, 0, 4, 4, 1, CPoint{2, 2}},
    {"extreme coordinates", kMin, kMin, kMax, kMax, kMin, kMax, kMax, kMin, 1, CPoint{0, 0}},
};

TEST(SegmentIntersectionTest, Cases) {
  for (const SegmentCase& c : kSegmentCases) {
    const auto got = SegmentIntersection(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4, c.mode);
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

struct PolygonCase {
  const char* name;
  std::int32_t x, y;
  std::vector<CPoint> polygon;
  bool inside;
};

const std::vector<CPoint> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const std::vector<CPoint> kSquareClockwise = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};

TEST(PointInPolygonTest, Cases) {
  const std::vector<PolygonCase> cases = {
      {"inside", 5, 5, kSquare, true},
      {"inside, other winding", 5, 5, kSquareClockwise, true},
      {"outside", 15, 5, kSquare, false},
      {"on an edge", 10, 5, kSquare, false},
      {"on a vertex", 0, 0, kSquare, false},
      {"on an edge's line beyond the polygon", 20, 0, kSquare, false},
      {"just inside a corner", 1, 1, kSquare, true},
      {"no points contains everything", 12345, -678, {}, true},
      {"one point", 0, 0, {{0, 0}}, false},
      {"two points", 1, 0, {{0, 0}, {2, 0}}, false},
      {"triangle", 2, 1, {{0, 0}, {6, 0}, {0, 6}}, true},
      {"negative quadrant", -5, -5, {{-10, -10}, {0, -10}, {0, 0}, {-10, 0}}, true},
      // Products beyond 64 bits: a 64-bit cross product would overflow and flip signs.
      {"huge polygon", 0, 0, {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}}, true},
      {"huge polygon, point on its edge",
       kMax,
       0,
       {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}},
       false},
  };
  for (const PolygonCase& c : cases) {
    EXPECT_EQ(PointInPolygon(c.x, c.y, c.polygon), c.inside) << c.name;
  }
}

}  // namespace
