#include "model/element/dev.h"

#include "geometry/3d_projection.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <limits>

using namespace dev_placement;

namespace {

constexpr int kIndexKind8 = 6;
constexpr int kIndexKind7 = 7;
constexpr int kIndexJoint = 9;

// a * b / c in 64 bits, multiplied before dividing; `fallback` when c is 0.
std::int32_t Scale(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t fallback) {
  return ClampLength(c == 0 ? fallback : a * b / c);
}

// The face of `from` that links `to`; -1 when none does.
int LinkFace(const CDev& from, const CDev* to) {
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (to != nullptr && from.GetNeighbour(face) == to) return face;
  }
  return -1;
}

// Whether a span [low, high] along the direction's axis stays clear of the back
// element's and the front element's main boxes (touching counts as reaching them).
bool SpanIsClear(const CDev& back, const CDev& front, int direction, std::int64_t low,
                 std::int64_t high, bool touchFits) {
  const int axis = AxisOf(direction);
  const bool positive = Positive(direction);
  if (const CBox* box = back.GetBox(CDev::kBodySlot)) {
    const std::int64_t bound = positive ? UpperBound(*box, axis) : LowerBound(*box, axis);
    if (positive ? (touchFits ? low < bound : low <= bound)
                 : (touchFits ? high > bound : high >= bound))
      return false;
  }
  if (const CBox* box = front.GetBox(CDev::kBodySlot)) {
    const std::int64_t bound = positive ? LowerBound(*box, axis) : UpperBound(*box, axis);
    if (positive ? (touchFits ? high > bound : high >= bound)
                 : (touchFits ? low < bound : low <= bound))
      return false;
  }
  return true;
}

std::uint32_t MainColorOfKind(const CDev& element) {
  switch (element.GetKind()) {
    case CDev::kInLineVariant: return CDev::ColorOfIndex(kIndexKind8);
    case CDev::kInLine: return CDev::ColorOfIndex(kIndexKind7);
    case CDev::kJoint: return CDev::ColorOfIndex(kIndexJoint);
    default: return CDev::ColorOfIndex(element.GetVariantIndex());
  }
}

}  // namespace

int CDev::InsertOnLine(CPoint point, const CBox* faceBox, int kind, C3DPoint* position) {
  const int slot = faceBox != nullptr ? GetBoxSlot(*faceBox) : kSlotCount;
  const C3DProjection* projection = GetProjection();
  if (slot >= kFaceCount || projection == nullptr) {
    return kind == kBend ? PickNearestEnd(point, position, faceBox) : 0;
  }
  CDev* back = slot == GetBackFace() ? GetBackNeighbour() : this;
  if (back == nullptr) return 0;
  const int direction = slot == GetBackFace() ? LinkFace(*back, this) : slot;
  const int length = projection->LengthTowardPoint(back->GetPosition(), point, direction);
  return InsertOnLineAt(length < 0 ? 0 : length, faceBox, kind, position);
}

int CDev::InsertOnLineAt(std::int64_t distance, const CBox* faceBox, int kind, C3DPoint* position) {
  if (m_run == nullptr || faceBox == nullptr) return 0;
  if (kind != kInLine && kind != kInLineVariant && kind != kJoint && kind != kBend) return 0;
  const int slot = GetBoxSlot(*faceBox);
  if (slot >= kFaceCount) return 0;
  CDev* back = slot == GetBackFace() ? GetBackNeighbour() : this;
  CDev* front = slot == GetBackFace() ? this : GetNeighbour(slot);
  if (back == nullptr || front == nullptr) return 0;
  const int direction = LinkFace(*back, front);
  if (direction < 0) return 0;
  const std::int64_t drawn = RoundUpToFour(distance);
  if (drawn <= 0 || drawn >= front->m_drawnLength) return 0;
  CDev* added = m_run->NewElement();
  added->m_kind = kind;
  // A unit takes its reference when it is made, as its page would give it.
  const int code = kind == kInLine || kind == kInLineVariant ? m_run->GetDefaultUnitCode(kind) : 0;
  const int variant = code % 100;
  added->SetReference(m_run->GetKindText(kind, variant));
  added->m_active = kind == kJoint ? 0 : 1;
  added->m_drawnLength = ClampLength(drawn);
  added->m_bookedLength = Scale(drawn, front->m_bookedLength, front->m_drawnLength, drawn);
  added->m_calibre = back->m_calibre;
  added->m_direction = front->m_direction;
  added->m_style = (front->m_style & 0xFF00u) | CRun::CodeStyleBits(code);
  added->m_style2 = added->m_style;
  if (kind == kInLine && !m_run->InLineKitPosition(variant).empty())
    added->SetPropValue("KITCF", m_run->InLineKitPosition(variant));
  added->SetNeighbour(OppositeDirection(direction), back);
  added->SetNeighbour(direction, front);
  const std::int64_t housing = m_run->GetHousingDims(*added).length;
  const std::int64_t half = housing / 2;
  C3DPoint centre = back->GetPosition() + Along(direction, static_cast<double>(drawn));
  const auto along = static_cast<std::int64_t>(Coordinate(centre, AxisOf(direction)));
  if (!SpanIsClear(*back, *front, direction, along - half, along + half, false)) {
    m_run->DeleteElement(added);
    return 0;
  }
  added->m_offset = ClampLength(housing);
  added->m_position = centre;
  added->CompleteInsertion(*back, *front, direction, MainColorOfKind(*added));
  if (kind == kBend) {
    m_run->SetCurrentElement(added);
    if (CRunDocument* document = GetDocument()) document->SetCurrentRun(m_run);
    FollowCurrent(*added);
    if (position != nullptr) *position = added->m_position;
  }
  return 1;
}

void CDev::CompleteInsertion(CDev& back, CDev& front, int direction, std::uint32_t mainColor) {
  const int opposite = OppositeDirection(direction);
  for (int face = 0; face < kFaceCount; ++face) SetFreeFace(face, 0);
  m_edited = 1;
  front.m_drawnLength = ClampLength(static_cast<std::int64_t>(front.m_drawnLength) - m_drawnLength);
  front.m_bookedLength =
      ClampLength(static_cast<std::int64_t>(front.m_bookedLength) - m_bookedLength);
  SetNeighbour(opposite, &back);
  SetNeighbour(direction, &front);
  back.SetNeighbour(direction, this);
  front.SetNeighbour(opposite, this);
  back.m_edited = 1;
  front.m_edited = 1;
  TakeOffsetsFromBackNeighbour();
  MakeBox(kBodySlot)->SetColor(mainColor);
  const CBox* backSide = back.GetBox(direction);
  const CBox* frontSide = front.GetBox(opposite);
  MakeBox(opposite)->SetColor(backSide != nullptr ? backSide->GetColor() : mainColor);
  MakeBox(direction)->SetColor(frontSide != nullptr ? frontSide->GetColor() : mainColor);
  BuildBoxes(0);
  PlaceNextTo(&back);
  front.PlaceNextTo(this);
  m_run->AddDevice(this);
  if (CRunDocument* document = GetDocument()) document->RecomputeRunTotals(*m_run);
}

int CDev::InsertRiserFixing(int face, std::int32_t bookedDistance, std::int32_t housingLength) {
  CDev* front = GetNeighbour(face);
  if (m_run == nullptr || front == nullptr || front->m_bookedLength == 0) return 0;
  CDev* added = m_run->NewElement();
  added->m_kind = kInLine;
  added->SetReference(m_reference);
  added->m_active = 1;
  added->m_bookedLength = bookedDistance;
  added->m_drawnLength = Scale(front->m_drawnLength, bookedDistance, front->m_bookedLength, 0);
  added->m_calibre = m_calibre;
  added->m_direction = front->m_direction;
  added->m_style = (m_style & 0xFFu) | (front->m_style & 0xFF00u);
  added->m_style2 = added->m_style;
  added->SetNeighbour(OppositeDirection(face), this);
  added->SetNeighbour(face, front);
  const std::int64_t length =
      housingLength != 0 ? housingLength : m_run->GetHousingDims(*added).length;
  const int axis = AxisOf(face);
  C3DPoint centre = m_position;
  SetCoordinate(centre, axis,
                static_cast<double>(static_cast<std::int64_t>(Coordinate(centre, axis))));
  centre = centre + Along(face, added->m_drawnLength);
  const auto along = static_cast<std::int64_t>(Coordinate(centre, axis));
  const std::int64_t half = length / 2;
  if (added->m_drawnLength <= 0 ||
      !SpanIsClear(*this, *front, face, along - half, along + half, true)) {
    m_run->DeleteElement(added);
    return 0;
  }
  added->m_offset = ClampLength(length);
  added->m_position = centre;
  added->CompleteInsertion(*this, *front, face, ColorOfIndex(kIndexKind7));
  return 1;
}

CDev* CDev::SplitAtLength(int face, std::int32_t bookedLength) {
  CDev* front = GetNeighbour(face);
  if (m_run == nullptr || front == nullptr || bookedLength < 0 ||
      bookedLength > front->m_bookedLength)
    return nullptr;
  if (bookedLength == front->m_bookedLength) return front->m_kind != kEnd ? front : nullptr;
  if (bookedLength == 0) return m_kind == kJoint ? this : nullptr;
  CDev* joint = m_run->AdoptElement(std::make_unique<CDev>(*front));
  joint->m_kind = kJoint;
  joint->SetVariantBoth(0);
  joint->m_active = 1;
  joint->SetReference(m_run->GetKindText(kJoint, 0));
  if (m_run->GetPropText("Catalog").starts_with("QJF")) {
    joint->m_style &= ~0xF000u;
    joint->m_style2 &= ~0xF000u;
  }
  joint->m_bookedLength = bookedLength;
  const std::int64_t drawn =
      front->m_bookedLength == 0
          ? bookedLength
          : static_cast<std::int64_t>(front->m_drawnLength) * bookedLength / front->m_bookedLength;
  joint->m_drawnLength = ClampLength(RoundUpToFour(drawn));
  joint->m_offset = m_run->GetHousingDims(*joint).length;
  joint->m_position = m_position + Along(face, joint->m_drawnLength);
  joint->CompleteInsertion(*this, *front, face, ColorOfIndex(kIndexJoint));
  return joint;
}
