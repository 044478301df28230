#include "model/tapoff/tap_off_place.h"

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_position.h"
#include "model/document/work_notifier.h"

#include <unordered_set>

namespace {

constexpr int kMsgUnitsCollide = 30158;
constexpr int kMsgUnitMeetsJoint = 30159;
constexpr std::int32_t kJointReach = 2000;

CDev* g_foundUnit = nullptr;

constexpr int kMsgNoOutletSide = 30236;

bool FitsPoint(const CDev& joint, const CBox& box, int point, std::uint32_t mask) {
  if (point < 10 || point > 29) return false;
  const C3DPoint data = joint.GetConnectionCode(box, point, 0);
  const auto word = static_cast<std::uint32_t>(C3DPoint::ToStoredInt(data.y));
  return C3DPoint::ToStoredInt(data.x) > point % 10 && ((word >> 8) & mask) != 0;
}

// Where the unit is counted from: the straight on the outlet box's side of the joint, and
// the joints of the same length variant from there up to this one. On the back box that
// is the straight behind the joint, on the front box the one ahead of it.
std::optional<std::pair<CDev*, int>> CountFromStraight(CDev& joint, bool front) {
  int count = 0;
  std::unordered_set<const CDev*> visited;
  for (CDev* element = &joint; element != nullptr && visited.insert(element).second;
       element = front ? element->GetNeighbour(element->GetDirection())
                       : element->GetBackNeighbour()) {
    if (element->GetKind() >= 0 && element->GetKind() <= 6) return std::pair{element, count};
    if (element->GetKind() == CDev::kJoint && element->IsActive() &&
        element->GetVariantIndex() == joint.GetVariantIndex())
      ++count;
  }
  return std::nullopt;
}

std::uint32_t StyleOf(int count, int variant, int direction, int point) {
  return (static_cast<std::uint32_t>(count) << 16) | (static_cast<std::uint32_t>(direction) << 12) |
         (static_cast<std::uint32_t>(variant) << 8) | static_cast<std::uint32_t>(point);
}

CDev* UnitAtSpot(const CRun& run, const CDev* host, std::uint32_t style, const CDev* except) {
  for (CDev* device : run.GetDevices()) {
    if (device != except && device->GetKind() == CDev::kTapOff && device->GetAttached() == host &&
        device->GetStyle() == style)
      return device;
  }
  return nullptr;
}

std::string NewUnitReference(const CRun& run) {
  std::string reference = RememberedTapOffChoice().reference;
  if (!reference.ends_with("(G)")) return reference;
  reference.resize(reference.size() - 3);
  if (run.GetPropText("Catalog").starts_with("QM") && run.GetPropText("RAL") == "7035")
    reference += 'G';
  return reference;
}

void TakeChoice(CDev& unit, const CRun& run) {
  const CTapOffRecord& record = RememberedTapOffChoice().record;
  unit.SetReference(NewUnitReference(run));
  unit.SetBackOffsets({record.ratings[0], record.ratings[1], record.ratings[2]});
  unit.SetFrontOffsets({record.ratings[3], record.ratings[4], record.ratings[5]});
  unit.SetBookedLength(static_cast<std::int32_t>(record.mask));
}

bool BoxesMeet(const CBox& a, const CBox& b) {
  const C3DPoint &aMin = a.GetWorldMin(), &aMax = a.GetWorldMax();
  const C3DPoint &bMin = b.GetWorldMin(), &bMax = b.GetWorldMax();
  return aMin.x < bMax.x && bMin.x < aMax.x && aMin.y < bMax.y && bMin.y < aMax.y &&
         aMin.z < bMax.z && bMin.z < aMax.z;
}

bool Within(std::int32_t d, std::int32_t low, std::int32_t high) { return d >= low && d <= high; }

// Units whose body reaches over a neighbouring joint by design.
bool MayMeetJointAt(const std::string& reference, std::int32_t distance) {
  if (reference.find("QMB0630") != std::string::npos) return distance >= 420;
  if (reference.find("QPB250SM428") != std::string::npos)
    return Within(distance, 390, 392) || Within(distance, 404, 406);
  if (reference.find("QPB250DC4SP") != std::string::npos)
    return Within(distance, 362, 364) || Within(distance, 376, 378);
  return false;
}

int CollisionMessage(const CDev& unit, const CRun& run) {
  const CBox* body = unit.GetBox(CDev::kBodySlot);
  if (body == nullptr) return 0;
  for (const CDev* device : run.GetDevices()) {
    const CBox* other = device->GetBox(CDev::kBodySlot);
    if (device != &unit && device->GetKind() == CDev::kTapOff && other != nullptr &&
        other->IsListed() && BoxesMeet(*body, *other))
      return kMsgUnitsCollide;
  }
  for (const CDev* joint : run.GetDevices()) {
    if (joint->GetKind() != CDev::kJoint) continue;
    const std::int32_t distance = joint->GetPosition().DistanceTo(unit.GetPosition());
    const CBox* box = joint->GetBox(CDev::kBodySlot);
    if (distance < kJointReach && box != nullptr && BoxesMeet(*body, *box) &&
        !MayMeetJointAt(unit.GetReference(), distance))
      return kMsgUnitMeetsJoint;
  }
  return 0;
}

struct CUnitState {
  CDev* attached;
  std::uint32_t style;
  std::string reference;
  std::array<std::int32_t, 3> back, front;
  std::int32_t mask;
};

CUnitState StateOf(const CDev& unit) {
  return {unit.GetAttached(),    unit.GetStyle(),        unit.GetReference(),
          unit.GetBackOffsets(), unit.GetFrontOffsets(), unit.GetBookedLength()};
}

void Restore(CDev& unit, const CUnitState& state) {
  unit.SetAttached(state.attached);
  unit.SetStyle(state.style);
  unit.SetReference(state.reference);
  unit.SetBackOffsets(state.back);
  unit.SetFrontOffsets(state.front);
  unit.SetBookedLength(state.mask);
  PositionTapOffUnit(unit, false);
}

// Sets the unit at the spot, positions and books it, and takes it back on a collision.
int FinishPlacement(CDev& unit, CRun& run, CDev* host, std::uint32_t style,
                    const std::optional<CUnitState>& before, bool quiet) {
  unit.SetAttached(host);
  unit.SetStyle(style);
  // A unit that does not fit its outlet was taken off by PositionTapOffUnit already.
  if (PositionTapOffUnit(unit, false) != 1) return 0;
  const int message = CollisionMessage(unit, run);
  if (message == 0) return 1;
  if (before) {
    Restore(unit, *before);
  } else {
    // Without its host the unit no longer fits: it is unbooked, and deleted by the
    // positioning itself once the parts are built without errors.
    unit.SetAttached(nullptr);
    if (PositionTapOffUnit(unit, false) != -1) run.DeleteElement(&unit);
  }
  if (!quiet) ShowWorkMessage(message);
  return 0;
}

void RememberUnit(const CDev& unit) {
  CTapOffChoice& choice = RememberedTapOffChoice();
  choice.reference = unit.GetReference();
  choice.record.mask = static_cast<std::uint32_t>(unit.GetBookedLength());
  const auto& back = unit.GetBackOffsets();
  const auto& front = unit.GetFrontOffsets();
  choice.record.ratings = {back[0], back[1], back[2], front[0], front[1], front[2]};
}

}  // namespace

CDev* TapOffUnitFoundAtSpot() { return g_foundUnit; }

namespace {

// Whether the box is the joint's front outlet box (true) or its back one (false).
std::optional<bool> IsFrontOutletBox(const CDev& joint, const CBox& box) {
  if (joint.GetBox(joint.GetBackFace()) == &box) return false;
  if (joint.GetBox(joint.GetDirection()) == &box) return true;
  return std::nullopt;
}

// The straight a unit at the point counts from and the style word it would carry.
std::optional<std::pair<CDev*, std::uint32_t>> SpotOf(CDev& joint, bool front, int point) {
  const auto counted = CountFromStraight(joint, front);
  if (!counted) return std::nullopt;
  const int direction =
      front ? CDev::OppositeDirection(joint.GetDirection()) : joint.GetDirection();
  return std::pair{counted->first,
                   StyleOf(counted->second, joint.GetVariantIndex(), direction, point)};
}

}  // namespace

CDev* TapOffUnitAtOutlet(const CBox& box, int point) {
  auto* joint = dynamic_cast<CDev*>(box.GetOwner());
  const std::optional<bool> front = joint != nullptr ? IsFrontOutletBox(*joint, box) : std::nullopt;
  if (!front || joint->GetRun() == nullptr) return nullptr;
  const auto spot = SpotOf(*joint, *front, point);
  return spot ? UnitAtSpot(*joint->GetRun(), spot->first, spot->second, nullptr) : nullptr;
}

int PlaceTapOffUnit(CDev& joint, int point, CDev* unit, bool quiet) {
  CBox* box = joint.GetBox(joint.GetBackFace());
  if (box == nullptr) {
    g_foundUnit = nullptr;
    return 0;
  }
  return PlaceTapOffUnitAt(*box, point, unit, quiet);
}

int PlaceTapOffUnitAt(CBox& box, int point, CDev* unit, bool quiet) {
  g_foundUnit = nullptr;
  auto* joint = dynamic_cast<CDev*>(box.GetOwner());
  if (joint == nullptr) return 0;
  const std::optional<bool> front = IsFrontOutletBox(*joint, box);
  if (!front) {
    // The unit keeps its place by the joint's back or front box only.
    if (!quiet) ShowWorkMessage(kMsgNoOutletSide);
    return 0;
  }
  if (unit != nullptr && point < 0) {
    RememberUnit(*unit);
    point = -point;
    unit = nullptr;
  }
  CRun* run = joint->GetRun();
  const std::uint32_t mask = unit != nullptr ? static_cast<std::uint32_t>(unit->GetBookedLength())
                                             : RememberedTapOffChoice().record.mask;
  if (run == nullptr || !FitsPoint(*joint, box, point, mask)) return 0;
  const auto spot = SpotOf(*joint, *front, point);
  if (!spot) return 0;
  const auto [host, style] = *spot;
  if (CDev* found = UnitAtSpot(*run, host, style, nullptr)) {
    g_foundUnit = found;
    return 0;
  }
  std::optional<CUnitState> before;
  if (unit != nullptr) {
    before = StateOf(*unit);
  } else {
    unit = run->NewElement();
    unit->SetKind(CDev::kTapOff);
    unit->SetActive(1);
    // Booked once it stands at its outlet, with the reference that outlet gives it.
    unit->SetBooked(0);
    TakeChoice(*unit, *run);
    run->AddDevice(unit);
  }
  return FinishPlacement(*unit, *run, host, style, before, quiet);
}
