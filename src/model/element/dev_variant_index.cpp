#include "model/element/dev.h"
#include "model/run/run.h"

#include <unordered_set>

namespace {

bool IsJointKind(int kind) { return kind == CDev::kJoint || kind == CDev::kJoint2; }

// One element moved to the index: its length leaves the old length record and is booked
// again under the new one, so the bill of materials never counts it twice.
void MoveToVariantIndex(CDev& element, int index) {
  CRun* run = element.GetRun();
  const std::int64_t length = element.GetBookedLength();
  if (run != nullptr && length != 0)
    run->AddLengthToBOM(element.GetCalibre(), -length, element.GetVariantIndex());
  element.SetVariantIndexBoth(index);
  element.SetEdited();
  element.UpdateBoxColors(true);
  if (CDev* back = element.GetBackNeighbour()) back->UpdateBoxColors(true);
  if (run != nullptr && length != 0)
    run->AddLengthToBOM(element.GetCalibre(), length, element.GetVariantIndex());
}

}  // namespace

void CDev::SetVariantIndex(int index) {
  index &= 0xF;
  CDev* start = m_run != nullptr ? m_run->GetFirstElement() : nullptr;
  std::unordered_set<const CDev*> visited{this};
  MoveToVariantIndex(*this, index);
  // Ahead and behind, a joint met closes the stretch, itself included.
  CDev* next = GetNeighbour(m_direction);
  while (next != nullptr && next != start && visited.insert(next).second) {
    MoveToVariantIndex(*next, index);
    if (IsJointKind(next->GetKind())) break;
    next = next->GetNeighbour(next->GetDirection());
  }
  // Behind, as far as the start element, which is no part of any straight.
  CDev* back = GetBackNeighbour();
  while (back != nullptr && back != start && visited.insert(back).second) {
    MoveToVariantIndex(*back, index);
    if (IsJointKind(back->GetKind())) break;
    back = back->GetBackNeighbour();
  }
}
