#pragma once

#include <cstdint>

#include "view/outlet_layout.h"

class CBox;
class CDev;
class CDrawContext;
struct CElementDrawOptions;

// The straight length a box shows outlets of: its reference element (the box's element,
// or the neighbour on the direction when the box sits in that face's slot), the joint
// that starts the length, the chain length from the joint and the distance from the joint
// to the reference element.
struct COutletChain {
  const CDev* reference = nullptr;
  const CDev* joint = nullptr;
  std::int32_t length = 0;
  std::int32_t before = 0;
  bool throughJunction = false;  // reached through a junction's part box: all outlets shown
};

// None (null joint) when the box leads to no active joint.
COutletChain FindOutletChain(const CBox& box);

// Outlet positions are booked (catalogue) distances; the drawing of a length shortened
// or stretched from its booked length places them at drawn / booked of their distance.
double DrawnPerBooked(const CDev& element);

// The query of the chain's run and joint for a side.
COutletQuery MakeOutletQuery(const COutletChain& chain, int side);

// Draws on face f of the box those outlets of the layout (computed for the side) that
// lie along the box's element.
void DrawTapOffOutlets(CDrawContext& dc, const CBox& box, int face, int side,
                       const COutletChain& chain, const COutletLayout& layout,
                       const CElementDrawOptions& options);
