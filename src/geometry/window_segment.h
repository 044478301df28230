#pragma once

#include "geometry/window_point.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// A window segment with its line prepared (slope and intercept in doubles, as the
// segment intersection takes them), for callers that test one segment against many.
struct CWindowSegment {
  CWindowSegment() = default;
  CWindowSegment(CPoint from, CPoint to)
      : a(from),
        b(to),
        vertical(from.x == to.x),
        minX(std::min(from.x, to.x)),
        maxX(std::max(from.x, to.x)) {
    double reach = 1.0;
    if (!vertical) {
      slope = (static_cast<double>(b.y) - a.y) / (static_cast<double>(b.x) - a.x);
      intercept = a.y - slope * a.x;
      reach += std::fabs(slope);
    }
    lowY = std::min(a.y, b.y) - reach;
    highY = std::max(a.y, b.y) + reach;
  }

  // False only when SegmentIntersection with any mode of 0 or more cannot find a point:
  // the crossing lies in both x ranges, and its truncated x lies less than one unit from
  // the real one, where each line stays within its y range widened by its slope.
  bool MayMeet(const CWindowSegment& other) const {
    return maxX >= other.minX && other.maxX >= minX && highY >= other.lowY && other.highY >= lowY;
  }

  CPoint a;
  CPoint b;
  bool vertical = true;
  double slope = 0.0;
  double intercept = 0.0;
  std::int32_t minX = 0;
  std::int32_t maxX = 0;
  double lowY = 0.0;
  double highY = 0.0;
};
