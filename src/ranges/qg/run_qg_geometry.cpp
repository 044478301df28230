#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

constexpr std::uint32_t kBarColour = 0x969696;
constexpr std::uint32_t kClipColour = 0x808080;
constexpr int kWallColourIndex = 6;
constexpr int kBarCode = 1;
constexpr int kClipCode = 2;
// Bar and clip boxes by conductor: the first conductor at 13 (19), then 12, 11, 10, 14.
constexpr int kBarIndex[5] = {13, 12, 11, 10, 14};
constexpr int kClipIndex[5] = {19, 18, 17, 16, 20};

bool HasFrontNeighbour(const CDev& element) {
  return element.GetNeighbour(element.GetDirection()) != nullptr;
}

bool IsWallPiece(const CDev* element) {
  return element != nullptr && element->GetKind() == CDev::kInLineVariant &&
         element->GetVariant() == 15;
}

int ReadClipSize(const CDev& element) {
  const int clip = TextToInt(element.GetFieldText("CLINQ").value_or(""));
  return clip >= 8 && clip <= 10 ? clip : 0;
}

void SetBox(CElementGeometry& geometry, std::int32_t a, std::int32_t b, std::int32_t c, double x,
            double y, double z) {
  geometry.extents = {a, b, c};
  geometry.offset = C3DPoint(x, y, z);
}

// Phase orders permute the three phase conductors.
void PermutePhases(std::vector<double>& at, int order) {
  if (at.size() < 3) return;
  switch (order) {
    case 0: std::swap(at[0], at[2]); break;
    case 2: std::swap(at[0], at[1]); break;
    case 4: std::swap(at[1], at[2]); break;
    case 3:
      std::rotate(at.begin(), at.begin() + 2, at.begin() + 3);
      break;
      at = {at[2], at[0], at[1]};
      at.resize(at.size());
      break;
    case 5: std::rotate(at.begin(), at.begin() + 1, at.begin() + 3); break;
    default: break;
  }
}

}  // namespace

CRunQG::CConductorLayout CRunQG::LayOutConductors(CDev& element) const {
  CConductorLayout layout;
  std::array<int, 4> d = GetCentreDistances(element);
  const int n = ConductorCount();
  const int variant = element.GetVariant();
  const int sub = SubVariant(element);
  const std::uint32_t style = element.GetStyle();
  bool mirror = (style & 0x1000u) != 0;
  if ((variant == 3 || (variant == 6 && sub >= 2)) && !HasFrontNeighbour(element)) mirror = !mirror;
  const bool reversed = (variant == 6 && sub == 2 && (style & 0x2000u) != 0) ||
                        ((variant == 3 || variant == 6) && sub == 3);
  if (mirror != reversed) {
    if (n == 3) std::swap(d[0], d[1]);
    if (n == 4) std::swap(d[0], d[2]);
    if (n == 5) {
      std::swap(d[0], d[3]);
      std::swap(d[1], d[2]);
    }
  }
  if (n == 3) layout.at = {double(d[0]), 0.0, -double(d[1])};
  if (n == 4) layout.at = {d[0] + d[1] / 2.0, d[1] / 2.0, -d[1] / 2.0, -(d[1] / 2.0 + d[2])};
  if (n == 5)
    layout.at = {double(d[0] + d[1]), double(d[1]), 0.0, -double(d[2]), -double(d[2] + d[3])};
  layout.span = n == 3 ? d[0] + d[1] : n == 4 ? d[0] + d[1] + d[2] : d[0] + d[1] + d[2] + d[3];
  layout.shift = (layout.at.front() + layout.at.back()) / 2;
  layout.mirror = mirror;
  layout.reversed = reversed;
  PermutePhases(layout.at, GetPhaseOrderAt(element, 0));
  return layout;
}

int CRunQG::GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  geometry.extents = {0, 0, 0};
  if (index < 7) return CRun::GetElementGeometry(element, index, geometry);
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  if (kind == CDev::kEnd && (variant == 2 || variant == 3 || variant == 5 || variant == 6))
    return ShapeGeometry(const_cast<CDev&>(element), index, geometry);
  if (kind == CDev::kJunction2 && element.GetReference().size() > 9 &&
      RefPairAt(element.GetReference(), 7) == "TD")
    TeeOutletGeometry(element, index, geometry);
  if (IsWallPiece(&element)) WallPieceGeometry(element, index, geometry);
  if (kind == CDev::kInLine) KitGeometry(element, index, geometry);
  return 0;
}

void CRunQG::TeeOutletGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  const CReferenceRow row = FindReference();
  const double w = row.Width(), h = row.Height();
  // An outlet on the branch whose turn code is 2 lies on the other side, and below.
  int branch = -1;
  for (int face = 0; face < CDev::kFaceCount && branch < 0; ++face) {
    if (face != element.GetDirection() && face != element.GetBackFace() &&
        element.GetNeighbour(face) != nullptr)
      branch = face;
  }
  const double sign = branch >= 0 && GetTurnCode(element, branch, -1, 0) == 2 ? -1 : 1;
  if (index == 10)
    SetBox(geometry, 200, 150, 50, (200 - w) / 2, sign * (150 - w) / 2, sign * -(h + 50) / 2);
  if (index == 11) SetBox(geometry, 200 - w, 150 - w, h, 100, sign * 75, 0);
}

void CRunQG::WallPieceGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  if (index < 11 || index > 14) return;
  const CReferenceRow own = FindReference();
  const CReferenceRow fHousing = FindReference(GetPropText("Calibre") + "F");
  const int wf = fHousing.Width() - 40, hf = fHousing.Height() - 40;
  const int w = own.Width(), h = own.Height();
  geometry.colour = CDev::ColorOfIndex(kWallColourIndex);
  // Walls met an odd number of times along the chain face the other way.
  int behind = 0;
  std::unordered_set<const CDev*> seen{&element};
  for (const CDev* next = element.GetBackNeighbour(); next != nullptr && seen.insert(next).second;
       next = next->GetBackNeighbour())
    behind += IsWallPiece(next) ? 1 : 0;
  const double x = behind % 2 == 1 ? -175 : 175;
  if (index == 11 || index == 12)
    SetBox(geometry, 150, wf, (hf - h) / 2, x, 0, (index == 11 ? 1 : -1) * (hf + h) / 4.0);
  else if (wf != w)
    SetBox(geometry, 150, (wf - w) / 2, h, x, (index == 13 ? 1 : -1) * ((wf - w) / 2 + w) / 2.0, 0);
}

int CRunQG::ShapeGeometry(CDev& element, int index, CElementGeometry& geometry) const {
  const int variant = element.GetVariant();
  const CConductorLayout layout = LayOutConductors(element);
  int barLength = 0, barWidth = 0, thickness = 0;
  GetBarGeometry(barLength, barWidth, thickness, &element);
  if (index == 7) return ShapeEnvelope(element, layout, barWidth, thickness, geometry);
  if (index == 8 || index == 9)
    return ShapeCover(element, index, layout, barWidth, thickness, geometry);
  if (index >= 21) return ShapeSidePlates(element, index, layout.span + 100, thickness, geometry);
  if (variant == 5) return 0;
  const std::size_t n = layout.at.size();
  for (std::size_t c = 0; c < n; ++c) {
    const bool across = SubVariant(element) == 3;
    const double sign = across && HasFrontNeighbour(element) ? -1 : 1;
    if (index == kBarIndex[c]) {
      geometry.colour = kBarColour;
      const bool flat = SubVariant(element) == 2;
      SetBox(geometry, barLength, flat ? barWidth : thickness, flat ? thickness : barWidth,
             barLength / 2.0, across ? 0 : layout.at[c] - layout.shift,
             across ? sign * (layout.at[c] - layout.shift) : 0);
      return kBarCode;
    }
    if (index == kClipIndex[c] && ReadClipSize(element) != 0) {
      geometry.colour = kClipColour;
      const int clip = ReadClipSize(element);
      SetBox(geometry, clip * 5, thickness + 2 * clip, barWidth + 2 * clip, barLength / 2.0,
             across ? 0 : layout.at[c] - layout.shift,
             across ? sign * (layout.at[c] - layout.shift) : 0);
      return kClipCode;
    }
  }
  return 0;
}
