#pragma once

#include "geometry/3d_point.h"
#include "geometry/window_point.h"

#include <optional>

class C3DProjection;
class CBox;

// What a pick in the layout found.
struct CElementPick {
  std::optional<C3DPoint> point;  // none when nothing was hit (or the snap refused it)
  // The kind of point found: 1..8 a corner + 1, 9 a box origin, 10..29 a tap-off outlet
  // (10 + index, 20 + index on the outlets' second side), 30..41 a corner or edge
  // mid-point (reference point + 22), 100000000 + k support point k, 0 a point on a face.
  // The input code when no code was given or no point was found.
  int code = 0;
  CBox* box = nullptr;  // the box finally chosen; null when the walk met nothing
};

// Picks the scene at a window point, front to back: the first box with a face under the
// point that faces the viewer gives the 3D point on that face (an axis-only part, kind
// code 7, counts as a plane through its origin). Without a code only that is done.
// With a code (0..9: snap to element points, 1 tries again on restricted faces when no
// point is near; 10 and up: only tap-off outlets whose mask shares a bit with code - 10)
// the point snaps to the element's outlets, corners, origin or, when supportsShown,
// support points, as the box's slot in its element decides. The walk sets each visited
// box's second-pass bit as painting does.
CElementPick HitTestElements(const C3DProjection& projection, CPoint point,
                             std::optional<int> code = std::nullopt, bool supportsShown = false);
