#include "geometry/plane_geometry.h"

std::optional<CPoint> SegmentIntersection(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                          std::int32_t y2, std::int32_t x3, std::int32_t y3,
                                          std::int32_t x4, std::int32_t y4, int mode) {
  return SegmentIntersection(CWindowSegment({x1, y1}, {x2, y2}), CWindowSegment({x3, y3}, {x4, y4}),
                             mode);
}
