#pragma once

#include "geometry/3d_point.h"

#include <cstdint>
#include <optional>

class CBox;
class CDev;
class CRun;

// What a placed tap-off unit (kind 14) keeps to find its outlet again: its host element,
// and in its style word the outlet point (low byte, 10..29), the length variant of the
// straight it sits on (bits 8-11), the direction from the host (bits 12-15) and the count
// of active joints of that variant from the host to its own (bits 16 and up). Its
// connection mask is kept in the booked-length field.
struct CTapOffPlace {
  int point = 0;
  int variantIndex = 0;
  int direction = 0;
  int jointCount = 0;
  static CTapOffPlace Of(const CDev& unit);
};

// Where a unit stands: its joint, the joint's outlet box, the outlet point, the placement
// code (faces a, b, c in bits 0-3, 4-7, 8-11) and the outlet's word (its range code
// bit times 256, plus 1 on the far side).
struct CTapOffOutlet {
  CDev* joint = nullptr;
  CBox* box = nullptr;
  C3DPoint point;
  int placement = 0;
  std::uint32_t word = 0;
};
// The outlet of the unit when its joint is found and the outlet takes the unit's mask.
std::optional<CTapOffOutlet> FindTapOffOutlet(const CDev& unit);

// Finds the unit's joint and outlet. In test mode: 1 when the unit would stand there and
// its box is in the scene, else 0, nothing changed. Otherwise the unit is placed on its
// outlet and booked (1), or unbooked when it no longer fits: 0, or -1 when the run's parts
// are built without errors, in which case the unit has been deleted.
int PositionTapOffUnit(CDev& unit, bool test);

// Takes the unit and its accessory out of the bill of materials.
void UnbookTapOffUnit(CDev& unit);

// The run's tap-off units that still stand at their outlets.
int CountPathDevices(const CRun& run);
