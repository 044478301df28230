#pragma once

#include <array>
#include <optional>

#include "geometry/3d_point.h"

class CBox;
class CDev;

// The support of a junction's body that turns a corner (a branch on face h beside the
// support face g): a strip across faces 2 and 3 from corner to corner and strips along
// the edges of the other faces; between two elbows set close together, one plate under
// the pair. corners: face f's corners from its edge toward g (or h). None where the
// face shows nothing.
std::optional<std::array<C3DPoint, 4>> JunctionSupportShape(const CBox& box, const CDev& element,
                                                            int face, int g, int h,
                                                            const std::array<C3DPoint, 4>& corners);
