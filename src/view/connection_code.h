#pragma once

#include <array>
#include <cstdint>

#include "geometry/3d_point.h"

class CBox;

// Connection codes of tap-off outlets: tap-off units and annotations keep the code of the
// outlet they sit on, to find it again after the run is rebuilt. Like the drawing's
// outlets, the points are those of the last computation.
class CConnectionCodes {
 public:
  static constexpr int kPointCount = 10;

  // point 0..9: the outlet centre of that number from the last computation. Any other
  // point computes the outlets of the length that the box (a joint's face box) starts,
  // on the face beside the run's neutral side that turns toward the viewer (points
  // 10..19: that face, 20..29: its opposite), and returns the code: x the number of
  // outlets, y the range code bit times 256 plus the side (-1 when nothing was
  // computed), z (neutral face * 16 + direction) * 16 + outlet face, 0 when the length
  // has no outlet face. mode 0 places the centres as drawn; any other mode along the
  // unscaled length, and 2 on the length's axis rather than on the face.
  C3DPoint Get(const CBox& box, int point, int mode);

  const C3DPoint& Point(int index) const { return m_points[static_cast<std::size_t>(index)]; }

 private:
  // Computes the outlets on face f for the side; false when there are none.
  bool ComputeOutlets(const CBox& box, int face, int side);

  std::array<C3DPoint, kPointCount> m_points{};
  std::int32_t m_selected = 0;
};
