#include "geometry/box_owner.h"

#include "geometry/neighbour_walk.h"

int CBoxOwner::GetBoxSlot(const CBox& box) const {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (GetBox(slot) == &box) return slot;
  }
  return kSlotCount;
}

namespace {

// Follows the neighbours in a direction, calling visit(element) for each element after
// the first until visit returns true or the walk ends; the last element met.
template <class Visit>
const CBoxOwner* Walk(const CBoxOwner* start, int direction, Visit&& visit) {
  CNeighbourWalk walk(start, direction);
  while (const CBoxOwner* next = walk.Next()) {
    if (visit(next)) break;
  }
  return walk.Last();
}

}  // namespace

const CBoxOwner* CBoxOwner::LastToward(int direction) const {
  if (direction < 0 || direction > 5) return this;
  return Walk(this, direction, [](const CBoxOwner*) { return false; });
}

bool CBoxOwner::MeetsToward(int direction, const CBoxOwner* target) const {
  if (direction < 0 || direction > 5 || target == nullptr) return false;
  bool met = false;
  Walk(this, direction, [&](const CBoxOwner* element) {
    met = element == target;
    return met;
  });
  return met;
}

const CBoxOwner* CBoxOwner::FindKindToward(int direction, int kind) const {
  if (direction < 0 || direction > 5) return nullptr;
  const CBoxOwner* found = nullptr;
  Walk(this, direction, [&](const CBoxOwner* element) {
    if (element->GetKind() == kind) found = element;
    return found != nullptr;
  });
  return found;
}

C3DPoint CBoxOwner::GetConnectionCode(const CBox&, int, int) const { return {}; }

C3DPoint CBoxOwner::GetSupportPoint(const CBox&, int, int) const { return {}; }

int CBoxOwner::OppositeDirection(int direction) {
  switch (direction) {
    case 0: return 4;
    case 4: return 0;
    case 1: return 5;
    case 5: return 1;
    case 2: return 3;
    case 3: return 2;
    default: return -1;
  }
}

int CBoxOwner::RotationIndex(int rotation) {
  switch (rotation) {
    case 32: return 1;
    case 64: return 2;
    case 128: return 3;
    default: return 0;
  }
}
