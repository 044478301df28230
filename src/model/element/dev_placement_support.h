#pragma once

#include "geometry/3d_point.h"

#include <cstdint>
#include <limits>
#include <vector>

class CBox;
class CDev;

// Small pieces shared by the element edit and shape operations.
namespace dev_placement {

// A length or offset held to ±INT32_MAX, so that negating it stays in range.
inline std::int32_t ClampLength(std::int64_t value) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value > kMax ? kMax : (value < -kMax ? -kMax : value));
}

// World axis of a direction: 0 x (0, 4), 1 y (2, 3), 2 z (1, 5 and anything else).
inline int AxisOf(int direction) {
  if (direction == 0 || direction == 4) return 0;
  if (direction == 2 || direction == 3) return 1;
  return 2;
}
// Directions 2 (+Y), 4 (+X) and 5 (+Z) point toward the positive side.
inline bool Positive(int direction) { return direction == 2 || direction == 4 || direction == 5; }
inline double Coordinate(const C3DPoint& point, int axis) {
  return axis == 0 ? point.x : (axis == 1 ? point.y : point.z);
}
inline void SetCoordinate(C3DPoint& point, int axis, double value) {
  (axis == 0 ? point.x : (axis == 1 ? point.y : point.z)) = value;
}
// A unit step along a direction times the distance.
C3DPoint Along(int direction, double distance);

// The box leaves or joins the scene of the element's document (nothing without one).
void TakeOut(const CDev& element, CBox* box);
void PutBack(const CDev& element, CBox* box);
// Places the box centred at the point with its sizes on x, y and z.
void PlaceBySizes(CBox& box, const C3DPoint& centre, double sx, double sy, double sz);
// A size cut toward zero to 32 bits (0 for sizes beyond them).
std::int32_t TruncateSize(double size);
// A box's bounds on an axis, truncated toward zero.
std::int64_t LowerBound(const CBox& box, int axis);
std::int64_t UpperBound(const CBox& box, int axis);

// The element and everything beyond it (never through the back face), depth first in
// face order, each element once however the links are damaged.
std::vector<CDev*> ChainFrom(CDev& start);
// The run's current element drives the document's cursor point and free-face mask.
void FollowCurrent(CDev& element);

}  // namespace dev_placement
