#include "model/element/dev.h"

#include "geometry/3d_projection.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <limits>

using namespace dev_placement;

namespace {

constexpr int kToolTurn = 3;
constexpr int kColorJoint = 9;
constexpr int kColorEnding = 5;

// The kind a node becomes when it gains a branch at a side face.
int GrownKind(int kind) {
  switch (kind) {
    case CDev::kStraight: return CDev::kElbow;
    case CDev::kElbow:
    case CDev::kBend: return CDev::kJunction2;
    case CDev::kJunction2: return CDev::kJunction3;
    case CDev::kJunction3: return CDev::kJunction4;
    case CDev::kJunction4: return CDev::kJunction5;
    default: return kind;
  }
}

}  // namespace

std::int64_t RoundUpToFour(std::int64_t value) {
  const std::int64_t remainder = value % 4;
  if (remainder == 0) return value;
  // A negative value goes to the multiple of 4 just above it, not past zero.
  return remainder > 0 ? value + (4 - remainder) : value - remainder;
}

int CDev::GetOpenFaceMask() const {
  int mask = 0;
  for (int face = 0; face < kFaceCount; ++face) {
    if (m_freeFaces[static_cast<std::size_t>(face)] > 0 || (face == 4 && m_freeFaces[4] != 0)) {
      mask |= FaceIndexToBit(face);
    }
  }
  return mask;
}

int CDev::GetFreeFaceMask() const {
  const int mask = GetOpenFaceMask();
  CRunDocument* document = GetDocument();
  if (document == nullptr || document->GetPlacementToolMode() != kToolTurn)
    return m_kind == kElbow ? 0 : mask;
  if (m_run != nullptr && m_run->GetPartsState() != 0) return 0;
  if (m_kind == kBend) return mask;
  if (m_kind != kElbow) return 0;
  const std::vector<int> branches = ForwardFaces();
  if (branches.empty()) return mask;
  return mask & ~FaceIndexToBit(OppositeDirection(branches.front()));
}

void CDev::MoveAlongDirection(std::int32_t distance) {
  const CDev* back = GetBackNeighbour();
  C3DPoint position = back != nullptr ? back->GetPosition() : m_position;
  const int axis = AxisOf(m_direction);
  const double base = static_cast<double>(static_cast<std::int64_t>(Coordinate(position, axis)));
  SetCoordinate(position, axis, Positive(m_direction) ? base + distance : base - distance);
  m_position = position;
  m_edited = 1;
}

void CDev::SetLength(std::int32_t length, bool keepTotal) {
  const std::int32_t oldDrawn = m_drawnLength;
  const std::int32_t oldBooked = m_bookedLength;
  // A start or end element has no drawn length: the new length is booked as it is.
  m_bookedLength = oldDrawn == 0
                       ? length
                       : ClampLength(static_cast<std::int64_t>(oldBooked) * length / oldDrawn);
  m_drawnLength = length;
  m_edited = 1;
  CDev* front = GetNeighbour(m_direction);
  if (keepTotal && m_kind >= kInLine && m_kind <= kJoint2 && front != nullptr) {
    front->m_drawnLength =
        ClampLength(static_cast<std::int64_t>(front->m_drawnLength) + oldDrawn - length);
    front->m_bookedLength =
        ClampLength(static_cast<std::int64_t>(front->m_bookedLength) + oldBooked - m_bookedLength);
    front->m_edited = 1;
    MoveAlongDirection(length);
    BuildBoxes(0);
    if (CDev* back = GetBackNeighbour()) PlaceNextTo(back);
    front->PlaceNextTo(this);
    FollowCurrent(*this);
    return;
  }
  Translate(Along(m_direction, static_cast<double>(length) - oldDrawn), true);
}

void CDev::ChangeOffset(std::int32_t offset) {
  m_offset = offset;
  BuildBoxes(0);
  if (CDev* back = GetBackNeighbour()) PlaceNextTo(back);
  if (CDev* front = GetNeighbour(m_direction)) front->PlaceNextTo(this);
}

void CDev::Translate(const C3DPoint& vector, bool recursive) {
  const std::vector<CDev*> elements = recursive ? ChainFrom(*this) : std::vector<CDev*>{this};
  for (CDev* element : elements) {
    element->m_position = element->m_position + vector;
    for (auto& box : element->m_boxes) {
      if (!box) continue;
      TakeOut(*element, box.get());
      box->SetOrigin(box->GetOrigin() + vector);
      PutBack(*element, box.get());
    }
    element->m_edited = 1;
    FollowCurrent(*element);
  }
}

void CDev::RebuildChain() {
  for (CDev* element : ChainFrom(*this)) {
    if (element->HasMainBox()) element->BuildBoxes(1);
    CDev* back = element->GetBackNeighbour();
    if (back != nullptr && element->GetBox(element->GetBackFace()) != nullptr)
      element->PlaceNextTo(back);
  }
}

int CDev::AddStraightAt(CPoint point, C3DPoint* position) {
  CRunDocument* document = GetDocument();
  const C3DProjection* projection = GetProjection();
  if (document == nullptr || projection == nullptr) return 0;
  const C3DPoint cursor = document->GetPlacementCursor();
  const int bit = projection->FindAxisTowardPoint(cursor, point);
  if (bit <= 0 || (bit & document->GetPlacementFaceMask()) != bit) return 0;
  const int face = FaceBitToIndex(bit);
  const int length = projection->LengthTowardPoint(cursor, point, face);
  CDev* added = AddStraightToward(face, length < 0 ? 0 : length);
  if (added == nullptr) return 0;
  if (position != nullptr) *position = added->GetPosition();
  return 1;
}

CDev* CDev::AddStraightToward(int face, std::int64_t rawLength) {
  if (m_run == nullptr || face < 0 || face >= kFaceCount || GetNeighbour(face) != nullptr)
    return nullptr;
  if (GetFreeFace(face) == 0) return nullptr;
  const std::int32_t length = ClampLength(RoundUpToFour(rawLength));
  if (m_kind == kStraight && face == m_direction) {
    ChangeKind(kJoint);
    SetActive(0);
    SetReference(m_run->GetKindText(kJoint, 0));
  } else if (GrownKind(m_kind) != m_kind) {
    m_run->RemoveDevice(this);
    m_kind = GrownKind(m_kind);
    SetReference(m_run->GetKindText(m_kind, 0));
    m_run->AddDevice(this);
  }
  CDev* added = m_run->NewElement();
  added->m_kind = kStraight;
  added->m_style = m_style & 0xFF00u;
  added->m_style2 = m_style & 0xFF00u;
  added->SetReference(m_run->GetKindText(kStraight, 0));
  added->m_drawnLength = length;
  added->m_bookedLength = length;
  added->m_active = 1;
  added->m_edited = 1;
  added->m_calibre = m_calibre;
  added->m_direction = face;
  const int back = OppositeDirection(face);
  added->SetNeighbour(back, this);
  added->SetFreeFace(back, 0);
  SetNeighbour(face, added);
  SetFreeFace(face, 0);
  m_edited = 1;
  added->TakeOffsetsFromBackNeighbour();
  const std::uint32_t colour = ColorOfIndex(added->GetVariantIndex());
  added->MakeBox(kBodySlot)->SetColor(colour);
  added->MakeBox(back)->SetColor(colour);
  if (GetBox(face) == nullptr) MakeBox(face)->SetColor(colour);
  else TakeOut(*this, GetBox(face));
  added->MoveAlongDirection(length);
  added->BuildBoxes(0);
  added->PlaceNextTo(this);
  m_run->AddDevice(added);
  m_run->AddLengthToBOM(added->m_calibre.str(), added->m_bookedLength, added->GetVariantIndex());
  m_run->SetCurrentElement(added);
  if (CDev* behind = GetBackNeighbour(); behind != nullptr && GetBox(GetBackFace()) != nullptr)
    PlaceNextTo(behind);
  if (CRunDocument* document = GetDocument()) {
    document->SetCurrentRun(m_run);
    FollowCurrent(*added);
    document->RecomputeRunTotals(*m_run);
  }
  return added;
}

void CDev::ChangeKind(int kind) {
  if (m_run == nullptr) return;
  const int oldKind = m_kind;
  if (kind == kStraight) {
    m_active = 1;
    m_run->RemoveDevice(this);
    m_kind = kStraight;
    SetVariantBoth(0);
    SetReference(m_run->GetKindText(kStraight, 0));
    m_run->AddDevice(this);
    m_offset = 0;
    m_edited = 1;
    for (int face = 0; face < kFaceCount; ++face) SetFreeFace(face, face == GetBackFace() ? 0 : 1);
    const CBox* backBox = GetBox(GetBackFace());
    if (CBox* main = GetBox(kBodySlot); main != nullptr && backBox != nullptr)
      main->SetColor(backBox->GetColor());
    for (int face = 0; face < kFaceCount; ++face) {
      if (face != GetBackFace()) TakeOut(*this, GetBox(face));
    }
    BuildBoxes(0);
    if (CDev* back = GetBackNeighbour()) PlaceNextTo(back);
    return;
  }
  if (kind != kJoint || (oldKind != kStraight && oldKind != kElbow)) return;
  m_edited = 1;
  m_run->RemoveDevice(this);
  m_kind = kJoint;
  if (oldKind == kElbow) m_active = 0;
  SetReference(m_run->GetKindText(kJoint, GetVariant()));
  m_run->AddDevice(this);
  if (CBox* main = GetBox(kBodySlot)) main->SetColor(ColorOfIndex(kColorJoint));
  m_offset = m_run->GetHousingDims(*this).length;
  for (int face = 0; face < kFaceCount; ++face)
    SetFreeFace(face, oldKind == kStraight && face == m_direction ? 1 : 0);
  const CBox* backBox = GetBox(GetBackFace());
  CBox* frontBox = GetBox(m_direction);
  if (frontBox == nullptr) frontBox = MakeBox(m_direction);
  frontBox->SetColor(backBox != nullptr             ? backBox->GetColor()
                     : GetBox(kBodySlot) != nullptr ? GetBox(kBodySlot)->GetColor()
                                                    : CBox::kNoColor);
  BuildBoxes(0);
  if (CDev* back = GetBackNeighbour()) PlaceNextTo(back);
  if (CDev* front = GetNeighbour(m_direction)) front->PlaceNextTo(this);
}

int CDev::MakeEnd(const CBox* box) {
  (void)box;  // the clicked box only chose the element
  if (m_run == nullptr || m_kind != kStraight) return 0;
  for (int face = 0; face < kFaceCount; ++face) {
    if (face != GetBackFace() && (GetNeighbour(face) != nullptr || GetFreeFace(face) == 0))
      return 0;
  }
  m_run->RemoveDevice(this);
  m_kind = kEnd;
  SetVariantBoth(m_run->GetDefaultEndVariant());
  SetReference(m_run->GetKindText(kEnd, GetVariant()));
  m_edited = 1;
  for (int face = 0; face < kFaceCount; ++face) SetFreeFace(face, 0);
  if (CBox* main = GetBox(kBodySlot)) main->SetColor(ColorOfIndex(kColorEnding));
  BuildBoxes(0);
  if (CDev* back = GetBackNeighbour()) PlaceNextTo(back);
  m_run->AddDevice(this);
  FollowCurrent(*this);
  if (CRunDocument* document = GetDocument()) document->RecomputeRunTotals(*m_run);
  return 1;
}
