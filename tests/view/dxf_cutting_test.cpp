// Where the DXF export cuts lines, at the frame and under filled figures: crossings were
// truncated before they were tested and taken on the figure's edge at the truncated x,
// so a steep edge put cut points far off the line, and the pieces were cut again and
// again.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "view/dxf_entity_list.h"
#include "view/dxf_units.h"

namespace {

using Lines = std::vector<std::array<int, 4>>;

// A frame of 10,000 by 8,000 units.
CDxfEntityList MakeList(const Lines& lines) {
  CDxfEntityList list({-1, -1}, {10001, 8001});
  for (const auto& l : lines)
    list.Append({DxfEntityKind::Line, {l[0], l[1]}, {l[2], l[3]}, 0, 0, {}});
  return list;
}

Lines LinesOf(const CDxfEntityList& list) {
  Lines lines;
  list.ForEach([&lines](const CDxfEntity& e) {
    lines.push_back({e.p1.x, e.p1.y, e.p2.x, e.p2.y});
  });
  return lines;
}

TEST(DxfCuttingTest, AFillCutsALineWhereItsEdgesCrossIt) {
  const struct {
    Lines lines;
    std::vector<CPoint> fill;
    Lines expected;
    const char* why;
  } rows[] = {
      {{{0, 500, 1000, 500}},
       {{300, 0}, {301, 1000}, {601, 1000}, {600, 0}},
       {{0, 500, 300, 500}, {600, 500, 1000, 500}},
       "steep edges: the cuts stay on the level line"},
      {{{0, 500, 1000, 500}},
       {{300, 0}, {300, 1000}, {600, 1000}, {600, 0}},
       {{0, 500, 300, 500}, {600, 500, 1000, 500}},
       "upright edges"},
      {{{500, 0, 500, 1000}},
       {{0, 300}, {1000, 301}, {1000, 601}, {0, 600}},
       {{500, 0, 500, 300}, {500, 600, 500, 1000}},
       "shallow edges across an upright line"},
      {{{0, 0, 1000, 1000}},
       {{400, 0}, {1000, 0}, {1000, 600}},
       {{0, 0, 1000, 1000}},
       "beside the figure, along one edge and touching another at its end"},
  };
  for (const auto& row : rows) {
    CDxfEntityList list = MakeList(row.lines);
    list.HideUnder(row.fill, 0);
    EXPECT_EQ(LinesOf(list), row.expected) << row.why;
  }
}

// How far the point lies from the line through a and b.
double DistanceFromLine(CPoint point, const std::array<int, 4>& line) {
  const double dx = double(line[2]) - line[0], dy = double(line[3]) - line[1];
  return std::fabs(dx * (double(point.y) - line[1]) - dy * (double(point.x) - line[0])) /
         std::hypot(dx, dy);
}

// Found by fuzzing: three lines under a triangle with a far corner became thousands of
// pieces, most of them nowhere near the lines they came from.
TEST(DxfCuttingTest, FarCornersCutEachLineOnlyWhereTheFigureCrossesIt) {
  const struct {
    Lines lines;
    std::vector<CPoint> fill;
  } rows[] = {
      {{{928, 6923, 5182, 8764}, {8651, 8946, 8292, 850}, {8296, 390, 2730, 1698}},
       {{6705, 983}, {-252455614, 6717}, {4118, 5332}}},
      {{{100, 200, 9000, 7000}, {137, 213, 8989, 6971}, {0, 4000, 10000, 4001}},
       {{-1600000000, 3000}, {1600000000, 3007}, {5003, 1600000000}, {5000, 1600000000}}},
      {{{100, 200, 9000, 7000}, {0, 4000, 10000, 4001}, {5000, 0, 5001, 8000}},
       {{-1600000000, -1600000000},
        {5000, -1600000000},
        {5001, 1600000000},
        {-1600000000, 1600000000}}},
  };
  for (const auto& row : rows) {
    CDxfEntityList list = MakeList(row.lines);
    list.HideUnder(row.fill, 0);
    // A convex figure crosses a line at most twice: at most three pieces a line.
    ASSERT_LE(list.Size(), 3 * row.lines.size());
    list.ForEach([&row](const CDxfEntity& piece) {
      double nearest = HUGE_VAL;
      for (const auto& line : row.lines) {
        nearest = std::min(
            nearest, std::max(DistanceFromLine(piece.p1, line), DistanceFromLine(piece.p2, line)));
      }
      EXPECT_LT(nearest, 1.5) << "a piece off its line: " << piece.p1.x << "," << piece.p1.y << " "
                              << piece.p2.x << "," << piece.p2.y;
    });
  }
}

// Fill after fill cuts the pieces an earlier one left: each cut is taken on the line as
// it was appended, so the pieces never drift off it however many fills follow.
TEST(DxfCuttingTest, PiecesCutAgainByLaterFillsStayOnTheirLine) {
  const Lines lines = {{0, 0, 9973, 3331}, {9990, 7001, 13, 2}, {0, 7993, 9999, 11}};
  CDxfEntityList list = MakeList(lines);
  for (int strip = 0; strip < 24; ++strip) {
    const int left = 150 + strip * 400;
    const std::vector<CPoint> fill = {
        {left, -1}, {left + 7, 8001}, {left + 97, 8001}, {left + 90, -1}};
    list.HideUnder(fill, 0);
  }
  ASSERT_GE(list.Size(), 60u);
  list.ForEach([&lines](const CDxfEntity& piece) {
    double nearest = HUGE_VAL;
    for (const auto& line : lines) {
      nearest = std::min(
          nearest, std::max(DistanceFromLine(piece.p1, line), DistanceFromLine(piece.p2, line)));
    }
    EXPECT_LT(nearest, 1.5) << "a piece off its line: " << piece.p1.x << "," << piece.p1.y << " "
                            << piece.p2.x << "," << piece.p2.y;
  });
}

TEST(DxfCuttingTest, ALineLeavingTheFrameIsCutAtTheFrame) {
  const CDxfUnits::Frame frame = CDxfUnits::FrameOf({100, 100});  // -1 .. 9901 both ways
  const struct {
    CPoint from, to;
    bool kept;
    CPoint clippedFrom, clippedTo;
    const char* why;
  } rows[] = {
      {{500, 4000}, {501, -3000}, true, {500, 4000}, {500, -1}, "steep, out at the bottom"},
      {{501, -3000}, {500, 4000}, true, {500, -1}, {500, 4000}, "steep, in from the bottom"},
      {{9000, 100}, {12000, 101}, true, {9000, 100}, {9901, 100}, "shallow, out at the right"},
      {{-5000, -10}, {-4000, -20}, false, {-5000, -10}, {-4000, -20}, "outside"},
  };
  for (const auto& row : rows) {
    CPoint from = row.from, to = row.to;
    EXPECT_EQ(CDxfUnits::ClipToFrame(frame, from, to), row.kept) << row.why;
    if (!row.kept) continue;
    EXPECT_EQ(from, row.clippedFrom) << row.why;
    EXPECT_EQ(to, row.clippedTo) << row.why;
  }
}

}  // namespace
