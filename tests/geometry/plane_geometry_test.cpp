#include "geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/case_table.h"

namespace {

std::vector<CPoint> Points(const std::vector<long long>& coordinates) {
  std::vector<CPoint> points;
  for (std::size_t i = 0; i + 1 < coordinates.size(); i += 2) {
    points.push_back(CPoint{static_cast<std::int32_t>(coordinates[i]),
                            static_cast<std::int32_t>(coordinates[i + 1])});
  }
  return points;
}

TEST(SegmentIntersectionTest, Cases) {
  for (const CCaseRow& row : ReadCaseTable("geometry/segment_intersection.tsv", 5)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const std::vector<CPoint> first = Points(row.Ints(1)), second = Points(row.Ints(2));
    ASSERT_TRUE(first.size() == 2 && second.size() == 2);
    const std::optional<CPoint> expected =
        row[4] == "-" ? std::nullopt : std::optional<CPoint>(Points(row.Ints(4)).at(0));
    EXPECT_EQ(
        SegmentIntersection(first[0].x, first[0].y, first[1].x, first[1].y, second[0].x,
                            second[0].y, second[1].x, second[1].y, static_cast<int>(row.Int(3))),
        expected);
  }
}

TEST(PointInPolygonTest, Cases) {
  for (const CCaseRow& row : ReadCaseTable("geometry/point_in_polygon.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const CPoint point = Points(row.Ints(1)).at(0);
    EXPECT_EQ(PointInPolygon(point.x, point.y, Points(row.Ints(2))), row.Flag(3));
  }
}

// SegmentIntersection truncates x first and takes y on the first segment there: on a
// steep segment that lands far off the other one. The crossing is found exactly and
// only then truncated toward zero.
TEST(CrossingStrictlyInsideTest, FoundExactlyThenTruncated) {
  const struct {
    CPoint a, b, p, q;
    std::optional<CPoint> crossing;
    const char* why;
  } rows[] = {
      {{300, 0}, {301, 1000}, {0, 500}, {1000, 500}, CPoint{300, 500}, "a steep edge"},
      {{-1, -1}, {9901, -1}, {500, 4000}, {501, -3000}, CPoint{500, -1}, "a steep line"},
      {{0, 300}, {1000, 301}, {500, 0}, {500, 1000}, CPoint{500, 300}, "a shallow edge"},
      {{-10, -1}, {10, -1}, {-3, 5}, {-4, -10}, CPoint{-3, -1}, "toward zero when negative"},
      {{0, 0}, {0, 10}, {0, 5}, {10, 5}, std::nullopt, "at the line's end: not strictly inside"},
      {{0, 0}, {10, 0}, {5, 0}, {5, 10}, std::nullopt, "from a point of the edge"},
      {{0, 0}, {10, 10}, {5, -5}, {5, 0}, std::nullopt, "ending short of the edge"},
      {{0, -5}, {0, 5}, {-5, 5}, {5, -5}, CPoint{0, 0}, "at an end of the edge's range"},
      {{0, 0}, {10, 0}, {0, 1}, {10, 1}, std::nullopt, "parallel"},
      {{-2000000000, -1},
       {2000000000, 1},
       {1, -2000000000},
       {2, 2000000000},
       CPoint{1, 0},
       "far ends: no overflow"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CrossingStrictlyInside(row.a, row.b, row.p, row.q), row.crossing) << row.why;
    EXPECT_EQ(CrossesStrictlyInside(row.a, row.b, row.p, row.q), row.crossing.has_value())
        << row.why;
  }
}

}  // namespace
