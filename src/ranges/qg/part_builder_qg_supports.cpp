#include "model/element/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"

#include <unordered_set>

namespace {

constexpr int kWalkBound = 65536;

bool EndsLeg(const CDev& element) {
  return element.GetKind() <= CDev::kJunction5 || element.GetKind() == CDev::kJoint;
}

// The lengths from the element along the face up to and with the first element that
// ends a leg; null when the chain ends first.
const CDev* WalkLeg(const CDev& from, int face, std::int64_t& length) {
  length = 0;
  std::unordered_set<const CDev*> seen{&from};
  const CDev* at = from.GetNeighbour(face);
  for (int step = 0; at != nullptr && step < kWalkBound && seen.insert(at).second; ++step) {
    length += at->GetBookedLength();
    if (EndsLeg(*at)) return at;
    at = at->GetNeighbour(face);
  }
  return nullptr;
}

// The first occupied face of the element other than the given ones; -1 when none.
int NextFace(const CDev& element, int skip1, int skip2) {
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (face != skip1 && face != skip2 && element.GetNeighbour(face) != nullptr) return face;
  }
  return -1;
}

// Where the legs of an element are measured from: the first joint or end element
// behind it, or the element itself when nothing lies behind it (own start). Null when
// the chain behind holds neither.
const CDev* LegStart(const CDev& element, bool& ownStart) {
  ownStart = element.GetBackNeighbour() == nullptr;
  if (ownStart) return &element;
  std::unordered_set<const CDev*> seen{&element};
  const CDev* behind = element.GetBackNeighbour();
  for (int step = 0; behind != nullptr && step < kWalkBound && seen.insert(behind).second; ++step) {
    if (behind->GetKind() == CDev::kJoint || behind->GetKind() == CDev::kEnd) return behind;
    behind = behind->GetBackNeighbour();
  }
  return nullptr;
}

}  // namespace

CSupportLegs CPartBuilderQG::MeasureLegs(const CDev& element, bool& found) const {
  CSupportLegs legs;
  found = false;
  const CDev* start = LegStart(element, legs.ownStart);
  if (start == nullptr) return legs;
  legs.d1 = start->GetDirection();
  const CDev* end = WalkLeg(*start, legs.d1, legs.l1);
  if (end == nullptr) return legs;
  found = true;
  legs.firstEnd = end;
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    const int turn = m_qg.GetTurnCode(*end, face, -1, 0);
    if (turn == 1 && legs.turnFace1 < 0) legs.turnFace1 = face;
    if (turn == 3 && legs.turnFace3 < 0) legs.turnFace3 = face;
  }
  if (end->GetKind() == CDev::kElbow || end->GetKind() == CDev::kJunction2)
    MeasureTurnLegs(*end, legs);
  return legs;
}

// The second leg beyond the elbow or tee that ends the first, and the third: a tee's
// next branch, or the leg beyond an elbow that ends the second.
void CPartBuilderQG::MeasureTurnLegs(const CDev& end, CSupportLegs& legs) const {
  const int entered = CDev::OppositeDirection(legs.d1);
  legs.d2 = NextFace(end, entered, -1);
  if (legs.d2 < 0) return;
  legs.secondTurn = m_qg.GetTurnCode(end, legs.d2, -1, 0);
  const CDev* second = WalkLeg(end, legs.d2, legs.l2);
  if (end.GetKind() == CDev::kJunction2) {
    for (int face = legs.d2 + 1; face < CDev::kFaceCount && legs.d3 < 0; ++face) {
      if (face != entered && end.GetNeighbour(face) != nullptr) legs.d3 = face;
    }
    if (legs.d3 >= 0) WalkLeg(end, legs.d3, legs.l3);
  }
  if (second != nullptr && second->GetKind() == CDev::kElbow) {
    legs.d3 = NextFace(*second, CDev::OppositeDirection(legs.d2), -1);
    if (legs.d3 >= 0) WalkLeg(*second, legs.d3, legs.l3);
  }
}

void CPartBuilderQG::BuildSupportCode(CDev& element) {
  bool found = false;
  const CSupportLegs legs = MeasureLegs(element, found);
  if (!found) return;
  const std::string& name = element.GetReference();
  CSupportHousing housing;
  std::string key{RefCharAt(name, 3), RefCharAt(name, 4)};
  if (RefCharAt(name, 7) == 'F') key += 'F';
  const CReferenceRow row = m_qg.FindReference(key);
  housing.w1 = row.Width();
  housing.w2 = row.Height();
  housing.family = RefPairAt(name, 7);
  housing.variant = RefCharAt(name, 10);
  const std::string code = ComposeSupportCode(legs, housing);
  if (code.empty()) return;
  element.SetFieldText("SUPP", code);
  const int count = CountSupports(code, housing.family);
  SetSupportCount(static_cast<int>(std::min<std::int64_t>(std::int64_t{GetSupportCount()} + count,
                                                          kMaxCount * std::int64_t{100})));
}
