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

}  // namespace
