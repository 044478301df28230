#pragma once

#include <array>

#include "platform/draw_types.h"

class C3DProjection;
class CBox;
class CDev;

// A box cut on the slant between two of its faces, s1 and s2 (the bevelled body of an
// elbow, and boxes of role 6): the edge they share is cut away, the slanted face takes
// their place and the faces beside the cut become triangles.
struct CBevel {
  int s1 = -1;
  int s2 = -1;
  bool body = false;  // the elbow's body (its edges are drawn differently)
  bool IsSet() const { return s1 >= 0 && s2 >= 0; }
};

// The bevel of the box in that slot; not set when the box is drawn square.
CBevel BevelOf(const CDev& element, const CBox& box, int slot, int role);

enum class BevelFaceShape { Whole, Skipped, Slanted, Triangle };

// One face of a bevelled box as it is drawn: the window polygon and, for a triangle, the
// polygon point that was moved onto the next one.
struct CBevelledFace {
  BevelFaceShape shape = BevelFaceShape::Whole;
  std::array<CPoint, 4> polygon{};
  int moved = -1;
};

CBevelledFace ShapeBevelledFace(const CBevel& bevel, const CBox& box,
                                const C3DProjection& projection, int face,
                                const std::array<CPoint, 4>& polygon);
