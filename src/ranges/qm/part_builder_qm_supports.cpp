#include "model/element/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"

#include <algorithm>
#include <vector>

namespace {

// Walks along links stop after this many steps, so that a damaged chain that links back
// on itself cannot hold them (no run has as many pieces in one line).
constexpr int kWalkBound = 65536;

// The piece that ends the line from the piece along the face (the first unit, elbow or
// joint, or the last piece when none), and the length up to and including it.
struct CLeg {
  const CDev* end = nullptr;
  std::int64_t length = 0;
};
CLeg WalkLeg(const CDev* piece, int face) {
  CLeg leg;
  for (int step = 0; piece != nullptr && step < kWalkBound; ++step) {
    leg.end = piece;
    leg.length += piece->GetBookedLength();
    if (piece->GetKind() < CDev::kInLine || piece->GetKind() == CDev::kJoint) break;
    piece = piece->GetNeighbour(face);
  }
  return leg;
}

// The pieces from the piece along the face up to the next unit, elbow or tee (the
// corner, which `end` holds; the last piece when none), and their length.
CLeg WalkToCorner(const CDev* piece, int face) {
  CLeg leg;
  for (int step = 0; piece != nullptr && step < kWalkBound; ++step) {
    leg.end = piece;
    if (piece->GetKind() < CDev::kInLine) break;
    leg.length += piece->GetBookedLength();
    piece = piece->GetNeighbour(face);
  }
  return leg;
}

// The joint or unit that the element's stretch starts from. Every element carries the
// line behind it, so the walk begins behind the element; an element with nothing behind
// it starts its stretch itself. Null when the walk finds no start.
const CDev* StretchStart(const CDev& element) {
  const CDev* start = element.GetBackNeighbour();
  if (start == nullptr) return &element;
  for (int step = 0; start != nullptr && step < kWalkBound; ++step) {
    if (start->GetKind() == CDev::kJoint || start->GetKind() == CDev::kEnd) return start;
    start = start->GetBackNeighbour();
  }
  return nullptr;
}

// The face by which the piece's line goes on past a corner; -1 when it ends there.
int TurnFace(const CDev* corner) {
  if (corner == nullptr) return -1;
  const std::vector<int> faces = corner->ForwardFaces();
  return faces.empty() ? -1 : faces.front();
}

// The side a tee's branch leaves by: its forward face off its own direction.
int BranchFace(const CDev& tee) {
  for (const int face : tee.ForwardFaces())
    if (face != tee.GetDirection()) return face;
  return tee.GetDirection();
}

}  // namespace

// An elbow's second leg leaves by the face its turn points to; an elbow that ends the run
// has no second leg and gets no supports of its own.
std::string CPartBuilderQM::ElbowSupports(const CDev& elbow, const std::string& family,
                                          const CQMStretch& stretch) const {
  const int e = TurnFace(&elbow);
  if (e < 0) return {};
  const CReferenceRow row = m_qm.FindReference();
  return ElbowSupportText(family,
                          {stretch.d, e, stretch.length, WalkLeg(elbow.GetNeighbour(e), e).length,
                           row.values[1], row.values[2]});
}

// A combined piece is booked on its first corner, which ends the stretch's first leg; its
// middle leg runs from there to the next corner.
std::string CPartBuilderQM::CombinedSupports(const std::string& family,
                                             const CQMStretch& stretch) const {
  const CDev* corner = WalkLeg(stretch.first, stretch.d).end;
  const int e = TurnFace(corner);
  if (e < 0) return {};
  const CLeg middle = WalkToCorner(corner->GetNeighbour(e), e);
  const int f = TurnFace(middle.end);
  if (f < 0) return {};
  return CombinedElbowSupportText(family,
                                  {stretch.d, e, f, middle.length, m_qm.GetReferenceValue()});
}

// The side of a special connection unit: the face to which the unit turns by the turn
// code its connection character names (1 or 2 the flat sides, 3 for the others).
std::string CPartBuilderQM::SpecialUnitSupports(const CDev& unit, char connection,
                                                const CQMStretch& stretch) const {
  const int turn = connection == '1' || connection == '2' ? connection - '0' : 3;
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (face == unit.GetBackFace() || face == unit.GetDirection()) continue;
    if (m_qm.GetTurnCode(unit, face, -1, 0) == turn)
      return SpecialUnitSupportText(connection, stretch.d, face, stretch.predecessor);
  }
  return {};
}

std::string CPartBuilderQM::SupportText(const CDev& element, const CQMStretch& stretch) const {
  const std::string& code = element.GetReference();
  const std::string family = RefPairAt(code, 7);
  const char connection = RefCharAt(code, 10);
  const bool onSide = stretch.first != nullptr &&
                      (stretch.first->GetRotation() == 16 || stretch.first->GetRotation() == 64);
  std::string text = StraightSupportText(family, stretch.d, stretch.length, onSide);
  if (text.empty()) text = FittingSupportText(family, stretch.d);
  if (!text.empty()) return text;
  if (family == "ER")
    return FeedBoxSupportText(connection, stretch.d, stretch.length, stretch.predecessor);
  if (family == "EL") return SpecialUnitSupports(element, connection, stretch);
  if (family == "TC") return TeeSupportText(stretch.d, BranchFace(element));
  if (family == "ZP" || family == "ZC" || family == "CP") return CombinedSupports(family, stretch);
  if (element.GetKind() == CDev::kElbow) return ElbowSupports(element, family, stretch);
  return {};
}

// The supports of a piece: the stretch from the joint or unit behind it up to the next
// piece that ends a line; an elbow also by its second leg.
void CPartBuilderQM::SetSupportCodes(CDev& element) {
  const CDev* start = StretchStart(element);
  if (start == nullptr) return;
  CQMStretch stretch;
  stretch.predecessor = start != &element;
  stretch.d = start->GetDirection();
  stretch.first = start->GetNeighbour(stretch.d);
  stretch.length = WalkLeg(stretch.first, stretch.d).length;
  const std::string text = SupportText(element, stretch);
  if (text.empty()) return;
  element.SetPropValue("SUPP", text);
  const int count = CountQMSupports(text, RefPairAt(element.GetReference(), 7)) * (m_twin ? 2 : 1);
  SetSupportCount(std::min(GetSupportCount() + count, kMaxCount * 100));
}
