#include "view/dxf_polygon_sides.h"

#include <algorithm>

bool CDxfPolygonSides::Take(std::span<const CPoint> polygon) {
  m_pairs.clear();
  m_corners.clear();
  if (polygon.empty() || polygon.size() > kMostCorners ||
      !std::all_of(polygon.begin(), polygon.end(), InReach))
    return false;
  m_corners.assign(polygon.begin(), polygon.end());
  const std::size_t count = polygon.size();
  for (std::size_t first = 0; first < count; first += 2) {
    Pair pair;
    for (std::size_t lane = 0; lane < 2; ++lane) {
      const std::size_t edge = first + lane < count ? first + lane : 0;
      const CPoint a = polygon[edge], b = polygon[edge + 1 == count ? 0 : edge + 1];
      pair.cornerX[lane] = a.x;
      pair.cornerY[lane] = a.y;
      pair.stepX[lane] = double(b.x) - a.x;
      pair.stepY[lane] = double(b.y) - a.y;
    }
    m_pairs.push_back(pair);
  }
  return true;
}

bool CDxfPolygonSides::Inside(CPoint point) const {
  const Lanes x = All(point.x), y = All(point.y);
  Mask notLeft{}, notRight{};
  for (const Pair& pair : m_pairs) {
    const Lanes sides = SidesOf(pair, x, y);
    notLeft |= sides <= 0;
    notRight |= sides >= 0;
  }
  return !(Any(notLeft) && Any(notRight));
}

std::optional<CPoint> CDxfPolygonSides::CrossingAt(std::size_t edge, CPoint from, CPoint to,
                                                   std::int64_t sideOfFrom,
                                                   std::int64_t sideOfTo) const {
  // As CrossingStrictlyInside within reach: the crossing lies u / den of the way along the
  // line, where the sides of its ends give u and den, and t / den along the edge.
  const CPoint corner = m_corners[edge];
  const std::int64_t alongX = std::int64_t{to.x} - from.x, alongY = std::int64_t{to.y} - from.y;
  std::int64_t den = sideOfTo - sideOfFrom;
  std::int64_t u = -sideOfFrom;
  std::int64_t t =
      (std::int64_t{from.x} - corner.x) * alongY - (std::int64_t{from.y} - corner.y) * alongX;
  if (den < 0) {
    den = -den;
    u = -u;
    t = -t;
  }
  if (t < 0 || t > den || u <= 0 || u >= den) return std::nullopt;
  return CPoint{static_cast<std::int32_t>((from.x * den + u * alongX) / den),
                static_cast<std::int32_t>((from.y * den + u * alongY) / den)};
}
