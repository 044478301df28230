#pragma once

#include <vector>

#include "model/element/box_point_source.h"
#include "view/connection_code.h"

// The outlet codes and support points of element boxes as the drawing computes them, for
// picking. Point numbers 0..9 read back the last computation of their kind on the same
// thread.
class CElementPointSource : public CBoxPointSource {
 public:
  C3DPoint ConnectionCode(const CBox& box, int point, int mode) override;
  // point -1 (any number outside 0..9): computes the supports of the box (slot: its slot
  // in its element, negative to look it up) and returns their count in x.
  C3DPoint SupportPoint(const CBox& box, int point, int slot) override;

  // The program's one source, installed into the run environment.
  static void Install();
};
