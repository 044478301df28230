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

bool CDxfPolygonSides::CrossesAnySideOf(const std::array<CPoint, 4>& box) const {
  for (std::size_t p = 0; p < m_pairs.size(); ++p) {
    Lanes sidesOf[4];
    for (std::size_t k = 0; k < 4; ++k)
      sidesOf[k] = SidesOf(m_pairs[p], All(box[k].x), All(box[k].y));
    for (std::size_t k = 0; k < 4; ++k) {
      const std::size_t next = k + 1 == 4 ? 0 : k + 1;
      const Mask apart = sidesOf[k] * sidesOf[next] < 0;
      if (!Any(apart)) continue;
      for (std::size_t lane = 0; lane < 2; ++lane) {
        const std::size_t edge = 2 * p + lane;
        if (apart[lane] == 0 || edge >= m_corners.size()) continue;
        if (FractionAt(edge, box[k], box[next], static_cast<std::int64_t>(sidesOf[k][lane]),
                       static_cast<std::int64_t>(sidesOf[next][lane])))
          return true;
      }
    }
  }
  return false;
}

std::optional<CDxfPolygonSides::Fraction> CDxfPolygonSides::FractionAt(
    std::size_t edge, CPoint from, CPoint to, std::int64_t sideOfFrom,
    std::int64_t sideOfTo) const {
  // As CrossingStrictlyInside within reach: the sides of the line's ends give u and den,
  // and the edge's start, t / den of the way along the edge.
  const CPoint corner = m_corners[edge];
  std::int64_t den = sideOfTo - sideOfFrom;
  std::int64_t u = -sideOfFrom;
  std::int64_t t = (std::int64_t{from.x} - corner.x) * (std::int64_t{to.y} - from.y) -
                   (std::int64_t{from.y} - corner.y) * (std::int64_t{to.x} - from.x);
  if (den < 0) {
    den = -den;
    u = -u;
    t = -t;
  }
  if (t < 0 || t > den || u <= 0 || u >= den) return std::nullopt;
  return Fraction{u, den};
}

std::optional<CPoint> CDxfPolygonSides::CrossingAt(std::size_t edge, CPoint from, CPoint to,
                                                   std::int64_t sideOfFrom,
                                                   std::int64_t sideOfTo) const {
  const auto f = FractionAt(edge, from, to, sideOfFrom, sideOfTo);
  if (!f) return std::nullopt;
  // The point truncated toward zero, as integer division does.
  const std::int64_t alongX = std::int64_t{to.x} - from.x, alongY = std::int64_t{to.y} - from.y;
  return CPoint{static_cast<std::int32_t>((from.x * f->den + f->u * alongX) / f->den),
                static_cast<std::int32_t>((from.y * f->den + f->u * alongY) / f->den)};
}
