#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/run/run.h"
#include "model/run/phase_order.h"
#include "model/document/run_document.h"
#include "model/run/run_range_rules.h"
#include "model/document/work_notifier.h"

#include "platform/text_conversions.h"

#include <unordered_set>

namespace {

constexpr int kUndoReverseRun = 21065;
constexpr int kMsgRunReversed = 30210;
constexpr std::uint32_t kOptionBits = 0xF000u;

void ClearOptionBits(CDev& element) {
  element.SetStyle(element.GetStyle() & ~kOptionBits);
  element.SetStyle2(element.GetStyle2() & ~kOptionBits);
}

void DropSideCover(CDev& element) {
  if (element.GetKind() == CDev::kEnd && element.GetDirection() != 2 && element.GetDirection() != 3)
    element.SetPropValue("CAPOT", "");
}

void FollowBackRotation(CDev& element) {
  const CDev* back = element.GetBackNeighbour();
  if (back == nullptr) return;
  const int rotation = back->GetEffectiveSideRotation(element.GetDirection());
  if (rotation > 0) element.SetRotation(rotation);
}

// The face through which the run goes on from the element: its own direction, else the
// first linked face other than its back face; -1 at the end.
int OnwardFace(const CDev& element) {
  if (element.GetNeighbour(element.GetDirection()) != nullptr &&
      element.GetDirection() != element.GetBackFace()) {
    return element.GetDirection();
  }
  for (int face : element.ForwardFaces()) return face;
  return -1;
}

int MirroredRotation(int rotation, bool neutralOnSide) {
  const int first = neutralOnSide ? 32 : 16;
  const int second = neutralOnSide ? 128 : 64;
  return rotation == first ? second : rotation == second ? first : rotation;
}

}  // namespace

void CRun::SetRotation(int rotation) {
  if (rotation == m_rotation) return;
  CDev* start = GetFirstElement();
  const CRunRangeRules& rules = GetRangeRules();
  // A flag of 0 only brings the chain's rotations in line with the start's.
  const bool change = rotation != 0;
  if (change) {
    RebuildBOM(true);
    m_rotation = rotation;
    start = GetFirstElement();
    if (start != nullptr) {
      start->SetRotation(rotation);
      if (!rules.KeepsOptionsOnRotation(*start)) ClearOptionBits(*start);
      DropSideCover(*start);
    }
  }
  CElementIterator walk = IterateElements(false);
  for (CDev* element = walk.Next(); element != nullptr; element = walk.Next()) {
    if (element == start) continue;
    FollowBackRotation(*element);
    if (!change) continue;
    if (!rules.KeepsOptionsOnRotation(*element)) ClearOptionBits(*element);
    if (element->GetKind() == CDev::kElbow) {
      element->SetPropValue("ELBOW_ANGL", "");
      element->SetPropValue("ELBOW_LENG", "");
      element->UpdateBoxColors(true);
    }
    DropSideCover(*element);
  }
}

void CRun::Reverse() {
  if (m_document != nullptr) m_document->SaveUndoState(kUndoReverseRun);
  RebuildBOM(true);
  if (m_document != nullptr) m_document->SetModified();
  std::vector<CDev*> path;
  std::unordered_set<const CDev*> seen;
  for (CDev* at = GetFirstElement(); at != nullptr && seen.insert(at).second;) {
    path.push_back(at);
    const int face = OnwardFace(*at);
    at = face >= 0 ? at->GetNeighbour(face) : nullptr;
  }
  if (path.size() < 2 || path.back()->GetKind() != CDev::kEnd) return;
  // The far end becomes the start: the order seen there is the run's own from now on.
  m_flags = phase_order::WithCode(m_flags, GetPhaseOrderAt(*path.back(), 0));
  const CRunRangeRules& rules = GetRangeRules();
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    CDev& element = *path[i];
    CDev& next = *path[i + 1];
    TurnElementForReverse(element, next, OnwardFace(element));
    rules.ReverseElement(*this, element, next);
  }
  CDev& start = *path.back();
  start.SetDirection(CDev::OppositeDirection(start.GetDirection()));
  start.SetBookedLength(0);
  start.SetDrawnLength(0);
  for (int face = 0; face < CDev::kFaceCount; ++face) start.SetFreeFace(face, 0);
  if (m_document != nullptr) {
    m_document->SetPlacementFaceMask(start.GetFreeFaceMask());
    m_document->SetPlacementCursor(start.GetPosition());
  }
  const int side = TextToInt(GetPropText("COTE_NEUTRE"));
  m_rotation = MirroredRotation(start.GetRotation(), side == 2 || side == 3);
  start.SetRotation(m_rotation);
  CElementIterator walk = IterateElements(false);
  for (CDev* element = walk.Next(); element != nullptr; element = walk.Next()) {
    if (element != &start) FollowBackRotation(*element);
  }
  for (CDev* device : m_devices) {
    if (device->GetKind() == CDev::kEnd) rules.FinishReversedEnd(*device);
  }
  m_pjpRecords.clear();
  ApplyRating(&start, false);
  if (m_document != nullptr) m_document->UpdateAllViews();
  ShowWorkMessage(kMsgRunReversed);
}

void CRun::TurnElementForReverse(CDev& element, CDev& next, int face) {
  element.SetDirection(CDev::OppositeDirection(face));
  element.SetBookedLength(next.GetBookedLength());
  element.SetDrawnLength(next.GetDrawnLength());
  element.SetVariantIndexBoth(next.GetVariantIndex());
  if (element.GetKind() != CDev::kEnd) ClearOptionBits(element);
  if (element.GetKind() == CDev::kInLine && element.HasProp("KITCF")) {
    const long long kit = TextToInt(element.GetPropValue("KITCF"));
    element.SetPropValue("KITCF", std::to_string(-kit));
  }
}
