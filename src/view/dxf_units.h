#pragma once

#include <array>
#include <span>
#include <vector>

#include "platform/draw_types.h"
#include "view/draw_mapping.h"

// The units of a DXF drawing: the target's width (W pixels) is 10000 units and y grows
// upward from its bottom. With the target's height H and DH = H x 10000 / W (integer):
// - text mode: x' = trunc((x - OX) x 10000 / W) + VX,
//              y' = trunc(DH / -H x (y - (H - 1))) + VY;
// - other modes: x' = trunc((x - OX) x 10000 / WX) + VX x 10000 / W,
//                y' = trunc(DH / WY x (y - OY)) + (H - VY - 1) x DH / H;
// with the window origin (OX, OY) and extent (WX, WY) and the viewport origin (VX, VY).
// Divisions written with a "/" inside trunc are taken in doubles, the last terms are
// integer divisions. A zero size or extent counts as 1.
class CDxfUnits {
 public:
  // The drawing frame: the target's area, one unit wider on each side.
  struct Frame {
    std::array<CPoint, 4> corners;  // top-left, top-right, bottom-right, bottom-left
  };

  CPoint Convert(const CDrawMapping& mapping, CSize deviceSize, CPoint point) const;
  static Frame FrameOf(CSize deviceSize);

  // Cuts the segment to the frame edge by edge (top, right, bottom, left): where an edge
  // crosses it strictly inside, the end beyond that edge moves to the crossing. False
  // when the middle of what remains lies outside the frame: the segment is dropped.
  static bool ClipToFrame(const Frame& frame, CPoint& from, CPoint& to);
};
