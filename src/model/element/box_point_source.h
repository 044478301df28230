#pragma once

#include "geometry/3d_point.h"

class CBox;

// Where elements take the tap-off outlet codes and support points of their boxes from,
// for picking: the drawing computes them (it knows the outlet layouts and the "SUPP"
// grammar) and the program installs its source at start-up (CRunEnvironment).
class CBoxPointSource {
 public:
  virtual ~CBoxPointSource() = default;
  virtual C3DPoint ConnectionCode(const CBox& box, int point, int mode) = 0;
  virtual C3DPoint SupportPoint(const CBox& box, int point, int slot) = 0;
};
