#pragma once

#include "geometry/3d_point.h"
#include "platform/draw_types.h"

#include <cstdint>

// Points of the window (logical) plane are CPoint: two 32-bit integers. Projected model
// points become window points by truncation toward zero, never by rounding.

// A coordinate truncated toward zero to 32 bits as the stored form of points does it:
// values beyond the range are clamped and not-a-number gives 0. Inline, since the depth
// order truncates on every comparison.
inline std::int32_t TruncateCoordinate(double value) {
  if (value > -2147483648.0 && value < 2147483647.0) return static_cast<std::int32_t>(value);
  return C3DPoint::ToStoredInt(value);
}
