#pragma once

#include "geometry/window_point.h"
#include "geometry/window_segment.h"

#include <cstdint>
#include <optional>
#include <span>

// Integer tests on window points shared by the depth ordering, the face pick and the
// hidden-line handling of the drawing.

// Where the segment (x1, y1)-(x2, y2) meets the segment (x3, y3)-(x4, y4), or none.
// Slopes and intercepts are taken in doubles; two vertical segments or two equal slopes
// never meet, even when they overlap. The crossing x is truncated toward zero, and y is
// taken (truncated) on the non-vertical line through it (the first one when neither is
// vertical).
// mode < 0: the crossing of the infinite lines, wherever it lies.
// Otherwise the crossing must lie within the first segment's x range (its y range when
// vertical), end points included, and within the second segment's x range (y range when
// vertical): strictly inside for mode 0, end points included for any other mode.
std::optional<CPoint> SegmentIntersection(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                          std::int32_t y2, std::int32_t x3, std::int32_t y3,
                                          std::int32_t x4, std::int32_t y4, int mode);
// The same for prepared segments (first (x1, y1)-(x2, y2), second (x3, y3)-(x4, y4)).
inline std::optional<CPoint> SegmentIntersection(const CWindowSegment& first,
                                                 const CWindowSegment& second, int mode);

// Where the segment p-q crosses the segment a-b, found exactly and only then truncated
// toward zero: the crossing must lie on a-b, ends included, and strictly between p and q.
// Parallel segments, and a segment of no length, never cross. Unlike SegmentIntersection
// the point is never off the line p-q by a unit or more, however steep either segment.
std::optional<CPoint> CrossingStrictlyInside(CPoint a, CPoint b, CPoint p, CPoint q);
// Whether that crossing exists.
bool CrossesStrictlyInside(CPoint a, CPoint b, CPoint p, CPoint q);

// True when (x, y) lies strictly inside the convex polygon: the cross product of every
// edge with the point has the same non-zero sign. A point on an edge's line is outside;
// an empty polygon contains every point. The arithmetic is exact for any 32-bit input.
inline bool PointInPolygon(std::int32_t x, std::int32_t y, std::span<const CPoint> polygon);

// Both are inline: the depth order calls them for every pair of overlapping boxes.

namespace plane_geometry_detail {

inline bool InRange(std::int32_t value, std::int32_t a, std::int32_t b, bool endsIncluded) {
  const std::int32_t low = a < b ? a : b;
  const std::int32_t high = a < b ? b : a;
  return endsIncluded ? (low <= value && value <= high) : (low < value && value < high);
}

// The sign of p * q - r * s for differences of 32-bit values (33 bits each): 64-bit
// products while every factor stays below 2^31, 128-bit ones beyond.
inline int CrossSign(std::int64_t p, std::int64_t q, std::int64_t r, std::int64_t s) {
  constexpr std::int64_t kSmall = std::int64_t{1} << 31;
  if (p > -kSmall && p < kSmall && q > -kSmall && q < kSmall && r > -kSmall && r < kSmall &&
      s > -kSmall && s < kSmall) {
    const std::int64_t cross = p * q - r * s;
    return (cross > 0) - (cross < 0);
  }
  using Wide = __int128;
  const Wide cross = Wide(p) * Wide(q) - Wide(r) * Wide(s);
  return (cross > 0) - (cross < 0);
}

}  // namespace plane_geometry_detail

inline std::optional<CPoint> SegmentIntersection(const CWindowSegment& first,
                                                 const CWindowSegment& second, int mode) {
  using plane_geometry_detail::InRange;
  if (first.vertical && second.vertical) return std::nullopt;
  if (!first.vertical && !second.vertical && first.slope == second.slope) return std::nullopt;

  CPoint point;
  if (first.vertical) {
    point.x = first.a.x;
    point.y = TruncateCoordinate(second.slope * point.x + second.intercept);
  } else if (second.vertical) {
    point.x = second.a.x;
    point.y = TruncateCoordinate(first.slope * point.x + first.intercept);
  } else {
    point.x =
        TruncateCoordinate((second.intercept - first.intercept) / (first.slope - second.slope));
    point.y = TruncateCoordinate(first.slope * point.x + first.intercept);
  }
  if (mode < 0) return point;

  const bool onFirst = first.vertical ? InRange(point.y, first.a.y, first.b.y, true)
                                      : InRange(point.x, first.a.x, first.b.x, true);
  const bool endsCount = mode != 0;
  const bool onSecond = second.vertical ? InRange(point.y, second.a.y, second.b.y, endsCount)
                                        : InRange(point.x, second.a.x, second.b.x, endsCount);
  if (!onFirst || !onSecond) return std::nullopt;
  return point;
}

inline bool PointInPolygon(std::int32_t x, std::int32_t y, std::span<const CPoint> polygon) {
  if (polygon.empty()) return true;
  int previousSign = 0;
  const std::size_t count = polygon.size();
  for (std::size_t i = 0; i < count; ++i) {
    const CPoint& a = polygon[i];
    const CPoint& b = polygon[i + 1 == count ? 0 : i + 1];
    const int sign =
        plane_geometry_detail::CrossSign(std::int64_t{b.y} - a.y, std::int64_t{a.x} - x,
                                         std::int64_t{b.x} - a.x, std::int64_t{a.y} - y);
    if (sign == 0) return false;
    if (previousSign != 0 && sign != previousSign) return false;
    previousSign = sign;
  }
  return true;
}
