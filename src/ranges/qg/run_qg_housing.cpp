#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

namespace {

// A mounted joint between elements of no in-line variant stands this much larger.
constexpr int kJointMargin = 40;
// Chains are walked no further than this.
constexpr std::size_t kWalkBound = 65536;

bool IsInLineVariant(const CDev* neighbour) {
  return neighbour != nullptr && neighbour->GetKind() == CDev::kInLineVariant;
}

bool WrapsTheHousing(const CDev& element) {
  const int variant = element.GetVariant();
  return element.GetKind() == CDev::kInLineVariant &&
         (variant == 7 || variant == 8 || variant == 13 || variant == 15);
}

}  // namespace

CHousingDims CRunQG::GetHousingDims(const CDev& element) const {
  CHousingDims dims = CRun::GetHousingDims(element);
  std::string text(kRefWidth, ' ');
  element.OverlayRefCode(text);
  CompleteDeviceRef(element, text);
  if (TakeDevHousingDims(GetHousingTable(), text, dims)) {
    if (WrapsTheHousing(element)) {
      const CReferenceRow own = FindReference(GetPropText("Calibre"));
      dims.width = own.Width() + 2 * dims.width;
      dims.height = own.Height() + 2 * dims.height;
    }
  }
  if (IsMountedJoint(element)) FitJointToFHousing(element, dims);
  return dims;
}

bool CRunQG::IsMountedJoint(const CDev& element) const {
  return element.GetKind() == CDev::kJoint && GetPartsState() != 0 && element.IsActive() &&
         IsMountedByWalls(element);
}

bool CRunQG::IsMountedByWalls(const CDev& element) {
  // Bounded by steps rather than a set of the elements seen: every joint is asked each
  // time its boxes are built, and a chain that loops only turns the answer over a few
  // more times.
  bool mounted = false;
  const CDev* behind = element.GetBackNeighbour();
  for (std::size_t step = 0; behind != nullptr && behind != &element && step < kWalkBound;
       ++step, behind = behind->GetBackNeighbour()) {
    if (behind->GetKind() == CDev::kInLineVariant && behind->GetVariant() == 15) mounted = !mounted;
  }
  return mounted;
}

void CRunQG::FitJointToFHousing(const CDev& element, CHousingDims& dims) const {
  const CReferenceRow fHousing = FindReference(GetPropText("Calibre") + "F");
  dims.width = fHousing.Width();
  dims.height = fHousing.Height();
  const int direction = element.GetDirection();
  if (!IsInLineVariant(element.GetNeighbour(direction)) &&
      !IsInLineVariant(element.GetNeighbour(CDev::OppositeDirection(direction)))) {
    dims.width += kJointMargin;
    dims.height += kJointMargin;
  }
}

std::string CRunQG::GetDeviceTextForSide(const CDev& device, int side) const {
  const std::string& reference = device.GetReference();
  if (static_cast<int>((device.GetStyle() >> 8) & 0xF) == side) return reference;
  const std::int64_t length = device.GetChainLength(-1, false);
  if ((length != 2000 && length != 4000) || RefPairAt(reference, 7) != "ET" || side != 0) return {};
  std::string text = reference;
  const std::string neutral = GetPropText("Neutral");
  SetRefChar(text, 9, neutral.empty() ? ' ' : neutral[0]);
  SetRefChar(text, 8, 'T');
  return text;
}

int CRunQG::ClassifyKind9Element(const CDev* element) const {
  return ClassifyKind9Element(element, element != nullptr && IsMountedByWalls(*element));
}

int CRunQG::ClassifyKind9Element(const CDev* element, bool mounted) const {
  if (element == nullptr || element->GetKind() != CDev::kJoint || !element->IsActive()) return 0;
  const int direction = element->GetDirection();
  const int back = CDev::OppositeDirection(direction);
  for (const int side : {direction, back}) {
    const CDev* next = element->GetNeighbour(side);
    if (next != nullptr && next->GetKind() == CDev::kEnd &&
        (next->GetVariant() == 0 || next->GetVariant() == 1))
      return 0;
  }
  if (!mounted) return 1;
  for (const int side : {direction, back}) {
    const CDev* next = element->GetNeighbour(side);
    if (next != nullptr && next->GetKind() == CDev::kInLine && next->GetVariant() == 0)
      next = next->GetNeighbour(side);
    if (next != nullptr && next->GetKind() == CDev::kInLineVariant && next->GetVariant() == 15)
      return 2;
  }
  return 6;
}
