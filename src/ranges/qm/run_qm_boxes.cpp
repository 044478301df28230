#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "ranges/qm/qm_tables.h"
#include "ranges/qm/run_qm.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace {

constexpr int kHousingSlot = 7;
constexpr int kCoverSlot = 8;
constexpr int kSecondHousingSlot = 9;
constexpr int kFirstBarSlot = 10;
// Slots 10 to 13 hold the neutral and the phases, 14 and 15 the protective conductor's
// two bars; the shims of the neutral and the phases follow from slot 16 in the same order.
constexpr int kLastBarSlot = 15;
constexpr int kFirstShimSlot = 16;
constexpr int kRowBars = 4;
constexpr int kPlateLength = 20;
constexpr int kPlateDepth = 100;
constexpr int kBarLength = 150;
constexpr int kBarThickness = 10;
// A shim lies flat against its bar over the part of the bar nearest the plate, where its
// bolts go through both.
constexpr int kShimLength = 80;
constexpr int kShimThickness = 6;
// Bars and shims are detailed: bolt marks and phase labels on their ends.
constexpr int kBarCode = 1;
constexpr int kShimCode = 2;

int ValidCapot(const CDev& element) {
  const int c = TextToInt(element.GetFieldText("CAPOT").value_or(""));
  return (c >= 10 && c <= 17) || c == 20 ? c : 0;
}

int ValidClinq(const CDev& element) {
  const int c = TextToInt(element.GetFieldText("CLINQ").value_or(""));
  return c >= 1 && c <= 7 ? c : 0;
}

// The length of the cover of a CAPOT code: the long covers of 16 and 17 are as long as
// the housing is wide.
int CoverLength(int capot, int width) {
  if (capot == 0) return 0;
  if (capot <= 12) return 300;
  if (capot <= 15) return 200;
  if (capot <= 17) return width;
  return 150;
}

}  // namespace

// Connection units (variants 2, 3 and 6 at the end of a run) draw their housing plate,
// cover, the bars of their conductors at the centre distances and the clips; every other
// element keeps the base shape.
int CRunQM::GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  const int variant = element.GetVariant();
  if (element.GetKind() != CDev::kEnd || (variant != 2 && variant != 3 && variant != 6))
    return CRun::GetElementGeometry(element, index, geometry);
  geometry.extents = {0, 0, 0};
  geometry.offset = C3DPoint();
  return ConnectionBox(element, index, geometry);
}

int CRunQM::ConnectionBox(const CDev& element, int index, CElementGeometry& geometry) const {
  const auto [width, depth] = QMHousingOfRating(GetRating(), IsQMA());
  if (width == 0) return 0;
  const bool twin = depth >= 600;
  const int half = twin ? width / 2 : width;
  if (index == kHousingSlot) {
    geometry.extents = {kPlateLength, kPlateDepth, half};
    geometry.offset.x = kPlateLength / 2;
    return 0;
  }
  if (index == kSecondHousingSlot && twin) {
    geometry.extents = {kPlateLength, kPlateDepth, half};
    geometry.offset = C3DPoint(kPlateLength / 2, 0, half);
    return 0;
  }
  if (index == kCoverSlot) {
    const int length = CoverLength(ValidCapot(element), width);
    if (length == 0) return 0;
    geometry.extents = {length, depth + 60, width + 60};
    geometry.offset.x = kPlateLength + length / 2.0;
    return 0;
  }
  if (index >= kFirstBarSlot && index <= kLastBarSlot) return BarBox(element, index, geometry);
  if (index >= kFirstShimSlot && index < kFirstShimSlot + kRowBars && ValidClinq(element) != 0)
    return BarBox(element, index, geometry);
  return 0;
}

namespace {

// The axes of a bar box: 0 runs along the element's direction, 1 across it (sides 0
// and 1), 2 over its up-down sides (2 and 3). The bar drawing finds a bar's end on the
// reference side of the connection and details only a thin bar's broad faces, so each
// bar runs along that side's axis and is thin across another. In bar mode (variant 6)
// the reference is side 3 (side 1 for the small calibre): the bars hang out of the
// plate side by side across the element (over its up-down sides for the small
// calibre). When the bars join in mode 2 and on plain connection units the reference is
// the direction: the bars stand on edge side by side across the element.
struct CBarAxes {
  int length;
  int spacing;  // the bars' thin axis, along which they lie side by side
  int width;
};

CBarAxes BarAxesOf(const CDev& element, bool smallCalibre) {
  const bool barMode = element.GetVariant() == 6;
  const bool joined = ((element.GetStyle() >> 20) & 0xFu) == 2;
  if (!barMode || joined) return {0, 1, 2};
  if (smallCalibre) return {1, 2, 0};
  return {2, 1, 0};
}

// Where along its axis a bar lies: out of the plate along the direction, or half out of
// the plate toward side 3 or side 1 (the negative end of axis 2, the positive end of
// axis 1 in the element's frame).
double BarCentre(int axis, int plateWidth) {
  if (axis == 0) return kPlateLength + kBarLength / 2.0;
  return axis == 2 ? -plateWidth / 2.0 : kPlateDepth / 2.0;
}

}  // namespace

// Where bar `bar` lies across the row, from the row's middle: 0 to 3 the neutral and the
// phases side by side at the centre distances of the connection form, 4 and 5 the
// protective conductor's bars one step beyond either end of the row. None when the unit
// has no such bar: without a neutral the row holds the three phases, 1 to 3, so that each
// bar keeps its phase's slot and label.
std::optional<double> CRunQM::BarPlace(const CDev& element, int bar) const {
  const int width = QMHousingOfRating(GetRating(), IsQMA()).first;
  const std::array<int, 4> d = GetCentreDistances(element, '?');
  const bool mode6 = element.GetVariant() == 6;
  const int count = HasNeutral() ? 4 : 3;
  std::array<double, kRowBars> at{};
  std::array<double, kRowBars> steps{};
  for (std::size_t i = 1; i < static_cast<std::size_t>(count); ++i) {
    const int step = mode6 ? 0 : d[i - 1];
    steps[i] = std::clamp(step > 0 ? step : width / 4, 20, 2000);
    at[i] = at[i - 1] + steps[i];
  }
  const double last = at[static_cast<std::size_t>(count - 1)];
  const int first = kRowBars - count;
  if (bar >= first && bar < kRowBars) return at[static_cast<std::size_t>(bar - first)] - last / 2;
  if (!HasProtectiveConductor()) return std::nullopt;
  if (bar == 4) return -last / 2 - steps[1];
  if (bar == 5) return last / 2 + steps[static_cast<std::size_t>(count - 1)];
  return std::nullopt;
}

// Bar `index - 10` of the conductors (see BarPlace), centred on the run's axis; a shim
// (slot 16 and up) lies against the bar six slots before it, toward the plate.
int CRunQM::BarBox(const CDev& element, int index, CElementGeometry& geometry) const {
  const bool shim = index >= kFirstShimSlot;
  const std::optional<double> across =
      BarPlace(element, index - (shim ? kFirstShimSlot : kFirstBarSlot));
  if (!across) return 0;
  const auto [width, depth] = QMHousingOfRating(GetRating(), IsQMA());
  const CBarAxes axes =
      BarAxesOf(element, IsSmallQMCalibre(GetPropText("Catalog"), GetPropText("Calibre")));
  const auto length = static_cast<std::size_t>(axes.length);
  const auto spacing = static_cast<std::size_t>(axes.spacing);
  const auto deep = static_cast<std::size_t>(axes.width);
  std::array<double, 3> offset{};
  const int plate = depth >= 600 ? width / 2 : width;  // the housing plate of slot 7
  offset[length] = BarCentre(axes.length, plate);
  offset[deep] = axes.width == 0 ? kPlateLength + depth / 2.0 : 0;
  offset[spacing] = *across;
  geometry.extents[length] = kBarLength;
  geometry.extents[deep] = depth;
  geometry.extents[spacing] = kBarThickness;
  if (shim) {
    const double plateCentre = axes.length == 0 ? kPlateLength / 2.0 : 0;
    const double towardPlate = offset[length] > plateCentre ? -1 : 1;
    offset[length] += towardPlate * (kBarLength - kShimLength) / 2.0;
    offset[spacing] += (kBarThickness + kShimThickness) / 2.0;
    geometry.extents[length] = kShimLength;
    geometry.extents[spacing] = kShimThickness;
  }
  geometry.offset = C3DPoint(offset[0], offset[1], offset[2]);
  return shim ? kShimCode : kBarCode;
}
