#include "geometry/plane_geometry.h"

#include <algorithm>

std::optional<CPoint> SegmentIntersection(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                          std::int32_t y2, std::int32_t x3, std::int32_t y3,
                                          std::int32_t x4, std::int32_t y4, int mode) {
  return SegmentIntersection(CWindowSegment({x1, y1}, {x2, y2}), CWindowSegment({x3, y3}, {x4, y4}),
                             mode);
}

namespace {

using Wide = __int128;

// The crossing of p-q with a-b as the fraction u / den of the way from p to q (den > 0).
struct CCrossingFraction {
  Wide u;
  Wide den;
};

std::optional<CCrossingFraction> CrossingFraction(CPoint a, CPoint b, CPoint p, CPoint q) {
  if (std::max(a.x, b.x) < std::min(p.x, q.x) || std::max(p.x, q.x) < std::min(a.x, b.x) ||
      std::max(a.y, b.y) < std::min(p.y, q.y) || std::max(p.y, q.y) < std::min(a.y, b.y))
    return std::nullopt;
  const Wide d1x = Wide(b.x) - a.x, d1y = Wide(b.y) - a.y;
  const Wide d2x = Wide(q.x) - p.x, d2y = Wide(q.y) - p.y;
  const Wide wx = Wide(p.x) - a.x, wy = Wide(p.y) - a.y;
  Wide den = d1x * d2y - d1y * d2x;
  if (den == 0) return std::nullopt;
  Wide t = wx * d2y - wy * d2x;  // along a-b
  Wide u = wx * d1y - wy * d1x;  // along p-q
  if (den < 0) {
    den = -den;
    t = -t;
    u = -u;
  }
  if (t < 0 || t > den || u <= 0 || u >= den) return std::nullopt;
  return CCrossingFraction{u, den};
}

}  // namespace

std::optional<CPoint> CrossingStrictlyInside(CPoint a, CPoint b, CPoint p, CPoint q) {
  const std::optional<CCrossingFraction> f = CrossingFraction(a, b, p, q);
  if (!f) return std::nullopt;
  // Integer division truncates toward zero; the point lies between p and q, so in range.
  const Wide x = (Wide(p.x) * f->den + f->u * (Wide(q.x) - p.x)) / f->den;
  const Wide y = (Wide(p.y) * f->den + f->u * (Wide(q.y) - p.y)) / f->den;
  return CPoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

bool CrossesStrictlyInside(CPoint a, CPoint b, CPoint p, CPoint q) {
  return CrossingFraction(a, b, p, q).has_value();
}
