#include "model/element/dev.h"
#include "model/element/kit_limits.h"
#include "ranges/qg/run_qg.h"

namespace {

constexpr int kKitColourIndex = 13;
constexpr int kFirstKitBox = 10;
constexpr int kLastKitBox = 17;
// The collars stand this much around the housing, half of it on each side.
constexpr int kCollarGrowth = 40;

}  // namespace

// A fixing kit is drawn as two collars round the housing, one at each end of the kit:
// boxes 10 to 13 at the back end, 14 to 17 at the front end, each collar a plate above,
// one below and one on either side. A collar is as long as the kit's end margin, which
// the unit never enters; the kit lies at the unit's "KITCF" offset from its middle.
void CRunQG::KitGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  if (index < kFirstKitBox || index > kLastKitBox) return;
  const CKitReading kit = ReadKitLimits(const_cast<CRunQG&>(*this), element);
  if (!kit.found || (GetPartsState() != 0 && IsMountedByWalls(element))) return;
  const std::int64_t length = kit.limits.values[0], margin = kit.limits.values[1];
  if (margin <= 0 || length < 2 * margin) return;
  const CReferenceRow row = FindReference();
  const int width = row.Width() + kCollarGrowth, height = row.Height() + kCollarGrowth;
  const int plate = kCollarGrowth / 2;
  const int box = index - kFirstKitBox;
  const double end = box < 4 ? -1 : 1;
  const double x = kit.limits.values[3] + end * static_cast<double>(length - margin) / 2;
  const auto along = static_cast<std::int32_t>(margin);
  geometry.colour = CDev::ColorOfIndex(kKitColourIndex);
  const double side = box % 2 == 0 ? 1 : -1;
  if (box % 4 < 2) {
    geometry.extents = {along, width, plate};
    geometry.offset = C3DPoint(x, 0, side * (height - plate) / 2.0);
  } else {
    geometry.extents = {along, plate, height};
    geometry.offset = C3DPoint(x, side * (width - plate) / 2.0, 0);
  }
}
