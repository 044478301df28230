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

// The crossing of p-q with a-b as the fraction u / den of the way from p to q (den > 0),
// in integers of type T wide enough for the products.
template <typename T>
struct CCrossingFraction {
  T u;
  T den;
};

bool BoxesApart(CPoint a, CPoint b, CPoint p, CPoint q) {
  return std::max(a.x, b.x) < std::min(p.x, q.x) || std::max(p.x, q.x) < std::min(a.x, b.x) ||
         std::max(a.y, b.y) < std::min(p.y, q.y) || std::max(p.y, q.y) < std::min(a.y, b.y);
}

template <typename T>
std::optional<CCrossingFraction<T>> CrossingFraction(CPoint a, CPoint b, CPoint p, CPoint q) {
  const T d1x = T(b.x) - a.x, d1y = T(b.y) - a.y;
  const T d2x = T(q.x) - p.x, d2y = T(q.y) - p.y;
  const T wx = T(p.x) - a.x, wy = T(p.y) - a.y;
  T den = d1x * d2y - d1y * d2x;
  if (den == 0) return std::nullopt;
  T t = wx * d2y - wy * d2x;  // along a-b
  T u = wx * d1y - wy * d1x;  // along p-q
  if (den < 0) {
    den = -den;
    t = -t;
    u = -u;
  }
  if (t < 0 || t > den || u <= 0 || u >= den) return std::nullopt;
  return CCrossingFraction<T>{u, den};
}

// The point u / den of the way from p to q, truncated toward zero (integer division does).
template <typename T>
CPoint PointAlong(CPoint p, CPoint q, const CCrossingFraction<T>& f) {
  const T x = (T(p.x) * f.den + f.u * (T(q.x) - p.x)) / f.den;
  const T y = (T(p.y) * f.den + f.u * (T(q.y) - p.y)) / f.den;
  return CPoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

// Below 2^19 every product and sum of the crossing fits in 64 bits, as in any drawing's
// frame; beyond, 128-bit integers take them.
bool Small(CPoint a, CPoint b, CPoint p, CPoint q) {
  constexpr std::int32_t kLimit = 1 << 19;
  for (CPoint c : {a, b, p, q}) {
    if (c.x <= -kLimit || c.x >= kLimit || c.y <= -kLimit || c.y >= kLimit) return false;
  }
  return true;
}

}  // namespace

std::optional<CPoint> CrossingStrictlyInside(CPoint a, CPoint b, CPoint p, CPoint q) {
  if (BoxesApart(a, b, p, q)) return std::nullopt;
  if (Small(a, b, p, q)) {
    const auto f = CrossingFraction<std::int64_t>(a, b, p, q);
    return f ? std::optional<CPoint>(PointAlong(p, q, *f)) : std::nullopt;
  }
  const auto f = CrossingFraction<Wide>(a, b, p, q);
  return f ? std::optional<CPoint>(PointAlong(p, q, *f)) : std::nullopt;
}

bool CrossesStrictlyInside(CPoint a, CPoint b, CPoint p, CPoint q) {
  if (BoxesApart(a, b, p, q)) return false;
  return Small(a, b, p, q) ? CrossingFraction<std::int64_t>(a, b, p, q).has_value()
                           : CrossingFraction<Wide>(a, b, p, q).has_value();
}
