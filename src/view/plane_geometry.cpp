#include "view/plane_geometry.h"

#include "model/3d_point.h"

namespace {

struct Line {
  bool vertical = false;
  double slope = 0.0;
  double intercept = 0.0;
};

Line LineThrough(std::int32_t xa, std::int32_t ya, std::int32_t xb, std::int32_t yb) {
  Line line;
  if (xa == xb) {
    line.vertical = true;
    return line;
  }
  line.slope = (static_cast<double>(yb) - ya) / (static_cast<double>(xb) - xa);
  line.intercept = ya - line.slope * xa;
  return line;
}

bool InRange(std::int32_t value, std::int32_t a, std::int32_t b, bool endsIncluded) {
  const std::int32_t low = a < b ? a : b;
  const std::int32_t high = a < b ? b : a;
  return endsIncluded ? (low <= value && value <= high) : (low < value && value < high);
}

std::int32_t Truncate(double value) { return C3DPoint::ToStoredInt(value); }

}  // namespace

std::optional<CWindowPoint> SegmentIntersection(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                                std::int32_t y2, std::int32_t x3, std::int32_t y3,
                                                std::int32_t x4, std::int32_t y4, int mode) {
  const Line first = LineThrough(x1, y1, x2, y2);
  const Line second = LineThrough(x3, y3, x4, y4);
  if (first.vertical && second.vertical) return std::nullopt;
  if (!first.vertical && !second.vertical && first.slope == second.slope) return std::nullopt;

  CWindowPoint point;
  if (first.vertical) {
    point.x = x1;
    point.y = Truncate(second.slope * x1 + second.intercept);
  } else if (second.vertical) {
    point.x = x3;
    point.y = Truncate(first.slope * x3 + first.intercept);
  } else {
    point.x = Truncate((second.intercept - first.intercept) / (first.slope - second.slope));
    point.y = Truncate(first.slope * point.x + first.intercept);
  }
  if (mode < 0) return point;

  const bool onFirst = first.vertical ? InRange(point.y, y1, y2, true) : InRange(point.x, x1, x2, true);
  const bool endsCount = mode != 0;
  const bool onSecond =
      second.vertical ? InRange(point.y, y3, y4, endsCount) : InRange(point.x, x3, x4, endsCount);
  if (!onFirst || !onSecond) return std::nullopt;
  return point;
}

bool PointInPolygon(std::int32_t x, std::int32_t y, std::span<const CWindowPoint> polygon) {
  if (polygon.empty()) return true;
  // 32-bit differences need 33 bits and their products 66: exact only in 128 bits.
  using Wide = __int128;
  int previousSign = 0;
  const std::size_t count = polygon.size();
  for (std::size_t i = 0; i < count; ++i) {
    const CWindowPoint& a = polygon[i];
    const CWindowPoint& b = polygon[(i + 1) % count];
    const Wide cross = Wide(std::int64_t{b.y} - a.y) * Wide(std::int64_t{a.x} - x) -
                       Wide(std::int64_t{b.x} - a.x) * Wide(std::int64_t{a.y} - y);
    if (cross == 0) return false;
    const int sign = cross > 0 ? 1 : -1;
    if (previousSign != 0 && sign != previousSign) return false;
    previousSign = sign;
  }
  return true;
}
