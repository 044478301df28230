#include "model/tapoff/tap_off_delete.h"

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_position.h"

#include <atomic>
#include <unordered_set>
#include <vector>

namespace {

// The run whose units were marked last; forgotten when that run goes. A run of a design
// made on a worker thread (an undo step's, ahead of the undo) may go there.
std::atomic<CRun*> g_markedRun = nullptr;

// The straight the element's joint is counted from and the joint's position there, as
// a unit standing on it keeps them.
struct CJointSpot {
  const CDev* host = nullptr;
  int position = 0;
};

CJointSpot SpotOf(const CDev& element) {
  int count = 0;
  std::unordered_set<const CDev*> visited;
  for (const CDev* at = &element; at != nullptr && visited.insert(at).second;
       at = at->GetBackNeighbour()) {
    if (at->GetKind() >= CDev::kEnd && at->GetKind() <= CDev::kJunction5) return {at, count};
    if (at->GetKind() == CDev::kJoint && at->IsActive() &&
        at->GetVariantIndex() == element.GetVariantIndex())
      ++count;
  }
  return {};
}

void DeleteUnit(CRun& run, CDev& unit) {
  UnbookTapOffUnit(unit);
  run.DeleteElement(&unit);
}

std::vector<CDev*> UnitsFromLast(const CRun& run) {
  std::vector<CDev*> units;
  const std::vector<CDev*>& devices = run.GetDevices();
  for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
    if ((*it)->GetKind() == CDev::kTapOff) units.push_back(*it);
  }
  return units;
}

}  // namespace

int DeleteTapOffUnitsAt(CDev& element) {
  CRun* run = element.GetRun();
  if (run == nullptr || run->GetPartsState() == 0 || element.GetKind() != CDev::kJoint) return 0;
  const CJointSpot spot = SpotOf(element);
  if (spot.host == nullptr) return 0;
  int deleted = 0;
  for (CDev* unit : UnitsFromLast(*run)) {
    const CTapOffPlace place = CTapOffPlace::Of(*unit);
    if (unit->GetAttached() != spot.host || place.jointCount != spot.position ||
        place.variantIndex != element.GetVariantIndex())
      continue;
    DeleteUnit(*run, *unit);
    ++deleted;
  }
  return deleted;
}

int ResetMarkedTapOffUnits(CDev* element, bool remove) {
  int touched = 0;
  CRun* run = element != nullptr ? element->GetRun() : nullptr;
  if (CRun* marked = g_markedRun.load()) {
    for (CDev* unit : UnitsFromLast(*marked)) {
      CBox* box = unit->GetBox(CDev::kBodySlot);
      if (unit == element || box == nullptr || box->GetSelectionState() == 0) continue;
      if (remove) DeleteUnit(*marked, *unit);
      else box->SetSelectionState(marked == run ? 2 : 0);
      ++touched;
    }
  }
  g_markedRun = nullptr;
  if (element == nullptr) return touched;
  if (CBox* box = element->GetBox(CDev::kBodySlot)) box->SetSelectionState(1);
  g_markedRun = run;
  return touched + 1;
}

void ForgetTapOffMarksOf(const CRun& run) {
  CRun* expected = const_cast<CRun*>(&run);
  g_markedRun.compare_exchange_strong(expected, nullptr);
}
