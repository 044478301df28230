#include "model/tapoff/tap_off_outlets.h"

#include <algorithm>

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_place.h"

namespace {

constexpr int kMaxPointsOnSide = 10;

void AddOutletsOf(const CDev& joint, CBox& box, std::uint32_t mask, bool anyUnit,
                  std::vector<CTapOffOutlet>& outlets) {
  for (int side = 10; side <= 20; side += 10) {
    const int count =
        std::min(C3DPoint::ToStoredInt(joint.GetConnectionCode(box, side, 0).x), kMaxPointsOnSide);
    for (int k = 0; k < count; ++k) {
      const int point = side + k;
      const auto word = static_cast<std::uint32_t>(
          C3DPoint::ToStoredInt(joint.GetConnectionCode(box, point, 0).y));
      if (((word >> 8) & mask) == 0) continue;
      outlets.push_back({&box, point, joint.GetConnectionCode(box, k, 0),
                         anyUnit && TapOffUnitAtOutlet(box, point) != nullptr});
    }
  }
}

}  // namespace

std::vector<CTapOffOutlet> TapOffOutlets(const CRun& run, std::uint32_t mask) {
  std::vector<CTapOffOutlet> outlets;
  if (mask == 0) return outlets;
  // The tool asks at every move of the pointer: a run without units looks for none.
  const auto& devices = run.GetDevices();
  const bool anyUnit = std::any_of(devices.begin(), devices.end(), [](const CDev* device) {
    return device->GetKind() == CDev::kTapOff;
  });
  for (const CDev* joint : devices) {
    if (joint->GetKind() != CDev::kJoint) continue;
    for (int face : {joint->GetBackFace(), joint->GetDirection()})
      if (CBox* box = joint->GetBox(face)) AddOutletsOf(*joint, *box, mask, anyUnit, outlets);
  }
  return outlets;
}
