#include "model/tapoff/tap_off_position.h"

#include "geometry/box.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"

#include <unordered_set>

using namespace dev_placement;

namespace {

std::uint32_t ConnectionMask(const CDev& unit) {
  return static_cast<std::uint32_t>(unit.GetBookedLength());
}

// The count-th active joint of the unit's length variant from the host along the unit's
// direction, the host counted too; none before the parts are built.
CDev* FindUnitJoint(const CDev& unit, const CTapOffPlace& place) {
  const CRun* run = unit.GetRun();
  if (run == nullptr || run->GetPartsState() == 0 || place.jointCount <= 0) return nullptr;
  int count = 0;
  std::unordered_set<const CDev*> visited;
  for (CDev* element = unit.GetAttached(); element != nullptr && visited.insert(element).second;
       element = element->GetNeighbour(place.direction)) {
    if (element->GetKind() == CDev::kJoint && element->IsActive() &&
        element->GetVariantIndex() == place.variantIndex && ++count == place.jointCount)
      return element;
  }
  return nullptr;
}

}  // namespace

std::optional<CTapOffOutlet> FindTapOffOutlet(const CDev& unit) {
  const CTapOffPlace place = CTapOffPlace::Of(unit);
  if (place.point < 10 || place.point > 29) return std::nullopt;
  CDev* joint = FindUnitJoint(unit, place);
  CBox* box = joint != nullptr ? joint->GetBox(CDev::OppositeDirection(place.direction)) : nullptr;
  if (box == nullptr) return std::nullopt;
  const C3DPoint data = joint->GetConnectionCode(*box, place.point, 0);
  const std::int32_t count = C3DPoint::ToStoredInt(data.x);
  const auto word = static_cast<std::uint32_t>(C3DPoint::ToStoredInt(data.y));
  if (count <= place.point % 10 || ((word >> 8) & ConnectionMask(unit)) == 0) return std::nullopt;
  CTapOffOutlet outlet{joint, box, {}, C3DPoint::ToStoredInt(data.z), word};
  outlet.point = joint->GetConnectionCode(*box, place.point % 10, 0);
  return outlet;
}

namespace {

// The accessory a unit books beside itself: the fixing piece of the two outlet kinds that
// need one.
std::string UnitAccessory(CDev& unit) {
  CRun* run = unit.GetRun();
  const std::uint32_t mask = ConnectionMask(unit);
  const std::string& reference = unit.GetReference();
  const bool needs = mask == 32 || (mask == 64 && CTapOffPlace::Of(unit).variantIndex != 3);
  if (run == nullptr || !needs) return {};
  return run->GetElementRef(reference.size() >= 5 && reference.compare(3, 2, "86") == 0 ? 12 : 11);
}

// The references that follow the outlet side and the run's colour.
void AdaptUnitReference(CDev& unit) {
  std::string reference = unit.GetReference();
  const std::uint32_t mask = ConnectionMask(unit);
  if (mask == 32 && !reference.empty()) reference.back() = unit.GetStyle() % 256 < 20 ? '1' : '2';
  const bool coloured = (mask == 4 && reference.rfind("QMB0630SE", 0) == 0) ||
                        (mask == 16 && reference.rfind("QJB0630SE", 0) == 0);
  if (coloured) {
    const bool grey = unit.GetRunProperty("RAL") == "7035";
    const bool marked = reference.size() > 9 && reference.back() == 'G';
    if (grey && !marked) reference += 'G';
    if (!grey && marked) reference.pop_back();
  }
  unit.SetReference(reference);
}

void BookUnit(CDev& unit) {
  CRun* run = unit.GetRun();
  if (run == nullptr || unit.GetBooked() != 0) return;
  AdaptUnitReference(unit);
  run->GetBOM().AddHeldQuantity(unit.GetReference(), 1);
  // The unit is the record of its own line; its accessory has none, so the run is told
  // the line's quantity and keeps a record for it, which the price update prices and the
  // file keeps like any line the user adds.
  const std::string accessory = UnitAccessory(unit);
  if (!accessory.empty()) run->GetBOM().AddRefQuantity(accessory, 1);
  unit.SetBooked(1);
}

// Takes one accessory off its line and, while the line stays, brings the run's records
// of it to the quantity left (a line gone took its records with it).
void UnbookAccessory(CRun& run, const std::string& accessory) {
  CBOMGrid& bom = run.GetBOM();
  if (!bom.RemoveRefQuantity(accessory, 1)) return;
  const int row = bom.FindLine(accessory);
  if (row > 0) run.SetRefQuantity(accessory, bom.GetLineQuantity(row));
}

}  // namespace

void UnbookTapOffUnit(CDev& unit) {
  CRun* run = unit.GetRun();
  if (run == nullptr || unit.GetBooked() == 0) return;
  run->GetBOM().RemoveRefQuantity(unit.GetReference(), 1);
  const std::string accessory = UnitAccessory(unit);
  if (!accessory.empty()) UnbookAccessory(*run, accessory);
  unit.SetBooked(0);
}

namespace {

int FaceBits(int code, int shift) { return (code >> shift) & 0xF; }

// The unit's box against the outlet: its depth out of face a, its width across face b and
// its height across face c, shifted by the unit's front offsets.
void PlaceUnitBox(CDev& unit, const CTapOffOutlet& outlet) {
  const int a = FaceBits(outlet.placement, 0);
  const int b = FaceBits(outlet.placement, 4);
  const int c = FaceBits(outlet.placement, 8);
  const auto& size = unit.GetBackOffsets();  // width, depth, height
  const auto& shift = unit.GetFrontOffsets();
  C3DPoint centre = outlet.point + outlet.box->GetFaceNormal(a) * (size[1] * 0.5 + shift[1]);
  if (shift[0] != 0) centre = centre + outlet.box->GetFaceNormal(b) * (shift[0] - size[0] * 0.5);
  if (shift[2] != 0) centre = centre + outlet.box->GetFaceNormal(c) * (shift[2] - size[2] * 0.5);
  C3DPoint sizes;
  SetCoordinate(sizes, AxisOf(a), size[1]);
  SetCoordinate(sizes, AxisOf(b), size[0]);
  SetCoordinate(sizes, AxisOf(c), size[2]);
  CBox* box = unit.GetBox(CDev::kBodySlot);
  if (box == nullptr) {
    box = unit.MakeBox(CDev::kBodySlot);
    box->SetColor(CDev::ColorOfIndex(11));
  }
  PlaceBySizes(*box, centre, sizes.x, sizes.y, sizes.z);
  PutBack(unit, box);
  unit.SetPosition(box->GetOrigin());
}

}  // namespace

CTapOffPlace CTapOffPlace::Of(const CDev& unit) {
  const std::uint32_t style = unit.GetStyle();
  return {static_cast<int>(style & 0xFF), static_cast<int>((style >> 8) & 0xF),
          static_cast<int>((style >> 12) & 0xF), static_cast<int>(style >> 16)};
}

int PositionTapOffUnit(CDev& unit, bool test) {
  if (unit.GetKind() != CDev::kTapOff) return 0;
  const std::optional<CTapOffOutlet> outlet = FindTapOffOutlet(unit);
  CBox* box = unit.GetBox(CDev::kBodySlot);
  if (test) return outlet && box != nullptr && box->IsListed() ? 1 : 0;
  TakeOut(unit, box);
  if (outlet) {
    unit.SetDirection(outlet->joint->GetDirection());
    unit.SetRotation(outlet->joint->GetRotation());
    PlaceUnitBox(unit, *outlet);
    BookUnit(unit);
    return 1;
  }
  UnbookTapOffUnit(unit);
  CRun* run = unit.GetRun();
  if (run == nullptr || run->GetPartsState() != 2) return 0;
  run->DeleteElement(&unit);
  return -1;
}

int CountPathDevices(const CRun& run) {
  int count = 0;
  const std::vector<CDev*>& devices = run.GetDevices();
  for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
    if ((*it)->GetKind() == CDev::kTapOff && PositionTapOffUnit(**it, true) == 1) ++count;
  }
  return count;
}
