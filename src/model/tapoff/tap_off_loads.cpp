#include "model/tapoff/tap_off_loads.h"

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_place.h"
#include "model/tapoff/tap_off_position.h"
#include "model/document/work_notifier.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kMsgNoStartElement = 30164;
constexpr std::uint32_t kReferenceUnit = 0x1000;
constexpr std::uint32_t kMarkedUnit = kTapOffMarkBit;
constexpr int kDistributedFunction = 6;

std::int64_t NumberIn(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

CDev* StartElement(const CRun& run) {
  for (CDev* element : run.GetChainOrder()) {
    if ((element->GetKind() == CDev::kInLineVariant && element->GetVariant() == 3) ||
        (element->GetKind() == CDev::kEnd && element->GetVariant() != 1))
      return element;
  }
  return nullptr;
}

// One step of the walk: the element, the element it was reached from and through which
// face, and what the walk carries along that branch.
struct CStep {
  CDev* element;
  CDev* from;
  int face;
  std::int64_t referenceOffset = 0;
  std::int64_t freeOffset = 0;
  CBox* freeBox = nullptr;
  int freePoint = 0;
};

struct COutletPoint {
  int point;
  std::int64_t distance;
};

struct CCounts {
  int placed = 0;
  int marked = 0;
};

// The outlet points of one side of the joint's box, nearest to the node first; of equal
// distances the later point first.
std::vector<COutletPoint> SidePoints(const CDev& joint, const CBox& box, int side,
                                     const C3DPoint& node) {
  const int count = C3DPoint::ToStoredInt(joint.GetConnectionCode(box, side, 2).x);
  std::vector<COutletPoint> points;
  for (int j = 0; j < std::clamp(count, 0, 10); ++j) {
    const C3DPoint position = joint.GetConnectionCode(box, j, 2);
    points.push_back({side + j, position.DistanceTo(node)});
  }
  std::reverse(points.begin(), points.end());
  std::stable_sort(points.begin(), points.end(), [](const COutletPoint& a, const COutletPoint& b) {
    return a.distance < b.distance;
  });
  return points;
}

// Whether a unit of the choice could stand at the point: placed quietly and taken back.
bool UnitCouldStand(CDev& joint, CBox& box, int point) {
  if (PlaceTapOffUnitAt(box, point, nullptr, true) == 0) return false;
  CRun* run = joint.GetRun();
  // The unit placed last: a record of its accessory may have come after it.
  const std::vector<CDev*>& devices = run->GetDevices();
  CDev* probe = *std::find_if(devices.rbegin(), devices.rend(), [](const CDev* device) {
    return device->GetKind() == CDev::kTapOff;
  });
  probe->SetAttached(nullptr);
  if (PositionTapOffUnit(*probe, false) != -1) run->DeleteElement(probe);
  return true;
}

void VisitPoint(CStep& step, CDev& joint, CBox& box, const COutletPoint& outlet,
                std::int64_t spacing, CCounts& counts) {
  if (UnitCouldStand(joint, box, outlet.point)) {
    step.freeBox = &box;
    step.freePoint = outlet.point;
    step.freeOffset = -outlet.distance;
    return;
  }
  CDev* unit = TapOffUnitFoundAtSpot();
  if (unit == nullptr) return;
  auto mask = static_cast<std::uint32_t>(unit->GetBookedLength()) & ~kMarkedUnit;
  unit->SetBookedLength(static_cast<std::int32_t>(mask));
  if ((mask & kReferenceUnit) != 0) {
    step.referenceOffset = -outlet.distance;
  } else if (step.referenceOffset != 0 && outlet.distance + step.referenceOffset <= spacing) {
    return;
  } else if (step.freeOffset != 0 && outlet.distance + step.freeOffset <= spacing &&
             PlaceTapOffUnitAt(*step.freeBox, step.freePoint, nullptr, false) == 1) {
    ++counts.placed;
    step.referenceOffset = step.freeOffset;
    step.freeOffset = 0;
  } else {
    unit->SetBookedLength(static_cast<std::int32_t>(mask | kMarkedUnit));
    ++counts.marked;
  }
}

// The joint whose outlets the step looks at and the face of its box toward the other.
std::pair<CDev*, int> JointOf(const CStep& step) {
  if (step.element->GetDirection() == step.face)
    return {step.element, CDev::OppositeDirection(step.face)};
  return {step.element->GetNeighbour(CDev::OppositeDirection(step.face)), step.face};
}

void VisitStep(CStep& step, std::int64_t spacing, CCounts& counts) {
  const auto [joint, boxFace] = JointOf(step);
  if (joint == nullptr) return;
  CBox* box = joint->GetBox(boxFace);
  if (joint->GetKind() == CDev::kJoint && joint->GetVariantIndex() != 0 && box != nullptr) {
    for (int side : {10, 20})
      for (const COutletPoint& outlet : SidePoints(*joint, *box, side, step.from->GetPosition()))
        VisitPoint(step, *joint, *box, outlet, spacing, counts);
  }
  const std::int64_t length = joint->GetBookedLength();
  if (step.referenceOffset != 0) step.referenceOffset += length;
  if (step.freeOffset != 0) step.freeOffset += length;
}

}  // namespace

std::int64_t TapOffSpacing(std::string_view setting) {
  const std::size_t slash = setting.find('/');
  const std::int64_t first = std::max<std::int64_t>(NumberIn(setting.substr(0, slash)), 0);
  const std::int64_t second = slash == std::string_view::npos
                                  ? 30000
                                  : std::max<std::int64_t>(NumberIn(setting.substr(slash + 1)), 0);
  return std::max<std::int64_t>(second - first, 0);
}

ETapOffLoadsRefusal TapOffLoadsRefusal(const CRun& run) {
  const CTapOffChoice& choice = RememberedTapOffChoice();
  if (run.GetPartsState() == 0) return ETapOffLoadsRefusal::kPartsNotBuilt;
  if (run.GetPartsState() != 2) return ETapOffLoadsRefusal::kPartsWithErrors;
  if (choice.reference.empty()) return ETapOffLoadsRefusal::kNoUnit;
  if (choice.record.function != kDistributedFunction) return ETapOffLoadsRefusal::kNotDistributed;
  return ETapOffLoadsRefusal::kNone;
}

bool CanDistributeTapOffLoads(const CRun& run) {
  return TapOffLoadsRefusal(run) == ETapOffLoadsRefusal::kNone;
}

int ComputeRunTapOffLoads(CRun& run, std::string_view setting) {
  if (!CanDistributeTapOffLoads(run)) return 0;
  CDev* start = StartElement(run);
  if (start == nullptr) {
    ShowWorkMessage(kMsgNoStartElement);
    return 0;
  }
  const std::int64_t spacing = TapOffSpacing(setting);
  CCounts counts;
  std::unordered_set<const CDev*> visited{start};
  std::vector<CStep> pending;
  auto pushNeighbours = [&](const CStep& step) {
    for (int face = CDev::kFaceCount - 1; face >= 0; --face) {
      CDev* next = step.element->GetNeighbour(face);
      if (next == nullptr || next == step.from || !visited.insert(next).second) continue;
      CStep child = step;
      child.element = next;
      child.from = step.element;
      child.face = face;
      pending.push_back(child);
    }
  };
  pushNeighbours(CStep{start, nullptr, -1});
  while (!pending.empty()) {
    CStep step = pending.back();
    pending.pop_back();
    VisitStep(step, spacing, counts);
    pushNeighbours(step);
  }
  return (counts.marked > 0 ? 2 : 0) + (counts.placed > 0 ? 1 : 0);
}
