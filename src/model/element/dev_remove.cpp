#include "model/element/dev.h"

#include "geometry/3d_projection.h"
#include "model/element/dev_placement_support.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/tapoff/tap_off_delete.h"

#include <unordered_set>

using namespace dev_placement;

namespace {

constexpr std::uint32_t kEquipmentBits = 0xFF000000u;

int LinkFace(const CDev& from, const CDev* to) {
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (to != nullptr && from.GetNeighbour(face) == to) return face;
  }
  return -1;
}

// The kind a node has once it lost the branch at a side face.
int ShrunkKind(int kind) {
  switch (kind) {
    case CDev::kJunction2: return CDev::kElbow;
    case CDev::kJunction3: return CDev::kJunction2;
    case CDev::kJunction4: return CDev::kJunction3;
    case CDev::kJunction5: return CDev::kJunction4;
    default: return kind;
  }
}

// Takes the element's booking out of the run: its reference line and its length.
void Unbook(CRun& run, CDev& element) {
  run.RemoveDevice(&element);
  if (element.GetBookedLength() != 0) {
    run.AddLengthToBOM(element.GetCalibre(), -static_cast<std::int64_t>(element.GetBookedLength()),
                       element.GetVariantIndex());
  }
}

// The last element reached from the element through kinds 7 and 8 toward a face (the
// element itself when none), and whether the walk stopped on an element of another kind.
CDev* WalkThroughUnits(CDev* element, int face, bool* stoppedOnOther) {
  std::unordered_set<const CDev*> seen{element};
  *stoppedOnOther = false;
  for (CDev* next = element->GetNeighbour(face); next != nullptr && seen.insert(next).second;
       next = element->GetNeighbour(face)) {
    element = next;
    if (element->GetKind() != CDev::kInLine && element->GetKind() != CDev::kInLineVariant) {
      *stoppedOnOther = true;
      break;
    }
  }
  return element;
}

// The length from an end to the click measured along the axis of the face (the scene
// length that the click's distance on screen stands for); 0 on the end itself, -1 where
// the axis is seen end-on.
int LengthToClick(const C3DProjection& projection, const C3DPoint& end, CPoint point, int face) {
  // The projection numbers its axes +x, -x, +y, -y, +z, -z.
  static constexpr int kAxisOfFace[CDev::kFaceCount] = {1, 5, 2, 3, 0, 4};
  if (projection.ProjectPoint(end) == point) return 0;
  return projection.LengthTowardPoint(end, point, kAxisOfFace[face]);
}

}  // namespace

int CDev::RemoveFromRun(int face, C3DPoint* position) {
  CDev* back = GetBackNeighbour();
  if (m_run == nullptr || (m_kind == kEnd && back == nullptr)) return 0;
  if ((m_style & kEquipmentBits) != 0) {
    m_style &= ~kEquipmentBits;
    m_style2 &= ~kEquipmentBits;
  }
  CDev* front = GetNeighbour(m_direction);
  const bool whole = face >= CElementSelection::kWholeElement;
  if (whole && m_kind == kEnd) {
    ChangeKind(kStraight);
    FollowCurrent(*this);
    return 1;
  }
  if (back == nullptr) return 0;
  const int backFace = LinkFace(*back, this);
  if (whole && m_kind >= kInLine && m_kind <= kBend && front != nullptr &&
      LinkFace(*front, this) >= 0) {
    back->SetNeighbour(backFace, front);
    front->SetNeighbour(LinkFace(*front, this), back);
    front->m_drawnLength += m_drawnLength;
    front->m_bookedLength += m_bookedLength;
    m_run->AddLengthToBOM(m_calibre.str(), -static_cast<std::int64_t>(m_bookedLength),
                          GetVariantIndex());
    m_run->AddLengthToBOM(m_calibre.str(), m_bookedLength, front->GetVariantIndex());
    front->UpdateBoxColors(true);
    front->PlaceNextTo(back);
    m_run->RemoveDevice(this);
  } else {
    std::vector<CDev*> beyond = ChainFrom(*this);
    for (auto it = beyond.rbegin(); it != beyond.rend(); ++it) {
      if (*it == this) continue;
      Unbook(*m_run, **it);
      if (m_run->GetCurrentElement() == *it) m_run->SetCurrentElement(this);
      m_run->DeleteElement(*it);
    }
    Unbook(*m_run, *this);
    RemoveBranchLink(*back, backFace);
  }
  for (int slot = 0; slot < kSlotCount; ++slot) DeleteBox(slot);
  for (int link = 0; link < kFaceCount; ++link) SetNeighbour(link, nullptr);
  if (m_run->GetCurrentElement() == this) {
    m_run->SetCurrentElement(back);
    FollowCurrent(*back);
    if (position != nullptr) *position = back->GetPosition();
  }
  return 1;
}

void CDev::RemoveBranchLink(CDev& back, int face) {
  if (face < 0) return;
  if (CBox* box = back.GetBox(face)) TakeOut(back, box);
  back.SetNeighbour(face, nullptr);
  back.DeleteBox(face);
  back.SetFreeFace(face, 1);
  const int kind = back.m_kind;
  if (kind == kElbow || (kind >= kInLine && kind <= kBend)) {
    back.ChangeKind(kStraight);
  } else if (ShrunkKind(kind) != kind) {
    m_run->RemoveDevice(&back);
    back.m_kind = ShrunkKind(kind);
    back.SetReference(m_run->GetKindText(back.m_kind, 0));
    m_run->AddDevice(&back);
    PutBack(back, back.GetBox(kBodySlot));
    if (back.m_kind == kElbow && back.GetNeighbour(back.m_direction) != nullptr)
      back.ChangeKind(kJoint);
  }
  back.m_edited = 1;
}

int CDev::DeleteCurrentSelection() {
  CElementSelection& selection = CElementSelection::Of(*this);
  CDev* element = selection.Element();
  const int face = selection.Face();
  if (element == nullptr) return 0;
  CRun* run = element->GetRun();
  // A unit's mark is what the delete goes by: clearing the selection keeps it.
  element->SelectElement(false, element->m_kind == kTapOff ? element->GetBox(kBodySlot) : nullptr);
  CRunDocument* document = element->GetDocument();
  if (document != nullptr) {
    if (run != nullptr) document->RecomputeRunTotals(*run);
    else document->RecomputeTotals(1, 1);
  }
  if (run == nullptr) return 1;
  if (element->m_kind == kTapOff) return DeleteSelectedUnit(*run, *element, face);
  DeleteTapOffUnitsAt(*element);
  const bool endStays = element->m_kind == kEnd && face >= CElementSelection::kWholeElement;
  C3DPoint position;
  const int result = element->RemoveFromRun(face, &position);
  if (result == 0) {
    element->Reselect(face);
    return 0;
  }
  if (!endStays) run->DeleteElement(element);
  return result;
}

void CDev::Reselect(int face) {
  CBox* box = GetBox(face >= 0 && face < kFaceCount ? face : kBodySlot);
  if (box == nullptr || SelectElement(true, box) == 0)
    CElementSelection::Of(*this).Select(this, face);
}

int CDev::DeleteSelectedUnit(CRun& run, CDev& unit, int face) {
  ResetMarkedTapOffUnits(nullptr, true);
  if (!run.OwnsElement(&unit)) return 1;
  // The unit was not among the marked ones: it stays, and so does the selection.
  unit.Reselect(face);
  return 0;
}

int CDev::PickNearestEnd(CPoint point, C3DPoint* position, const CBox* box) {
  CDev* picked = this;
  const int slot = box != nullptr ? GetBoxSlot(*box) : kSlotCount;
  if (slot < kFaceCount) {
    bool towardOther = false;
    bool awayOther = false;
    CDev* toward = WalkThroughUnits(this, slot, &towardOther);
    CDev* away = WalkThroughUnits(this, OppositeDirection(slot), &awayOther);
    picked = away;
    if (towardOther) {
      picked = toward;
      // Measured along the face's axis, so that a click off every axis of an end is
      // still nearer to one of them; -1 only where the axis cannot be seen.
      if (const C3DProjection* projection = GetProjection()) {
        const int towardLength = LengthToClick(*projection, toward->GetPosition(), point, slot);
        const int awayLength = LengthToClick(*projection, away->GetPosition(), point, slot);
        if (awayLength >= 0 && (towardLength < 0 || awayLength < towardLength)) picked = away;
      }
    }
  }
  // The faces the element offers to the next element, not those the turn tool may turn
  // toward: a straight end is picked to go on from it.
  if (picked->m_kind == kEnd) {
    for (int face = 0; face < kFaceCount; ++face) picked->SetFreeFace(face, 0);
  } else if (picked->GetOpenFaceMask() == 0) {
    return 0;
  }
  if (picked->m_run == nullptr) return 0;
  picked->m_run->SetCurrentElement(picked);
  if (CRunDocument* document = picked->GetDocument()) document->SetCurrentRun(picked->m_run);
  FollowCurrent(*picked);
  if (position != nullptr) *position = picked->GetPosition();
  return 1;
}
