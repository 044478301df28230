#include "model/document/dorne_doc.h"

#include "geometry/box.h"
#include "geometry/element_pick.h"
#include "model/element/dev.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"

namespace {

constexpr int kKeyWholeUnit = 4;

bool Editable(const CDev& element) {
  return element.GetRun() != nullptr && element.GetRun()->GetFlagsWord() != 0;
}

}  // namespace

CDev* CDorneDoc::ElementAt(CPoint point, CBox** box) const {
  const CElementPick pick = HitTestElements(m_projection, point);
  CDev* element = pick.box != nullptr ? dynamic_cast<CDev*>(pick.box->GetOwner()) : nullptr;
  // Boxes of elements that left their run (a start marker) are not picked.
  if (element != nullptr && FindRunIndex(element->GetRun()) < 0) element = nullptr;
  if (box != nullptr) *box = element != nullptr ? pick.box : nullptr;
  return element;
}

void CDorneDoc::FollowCurrentElement() {
  if (m_currentRun == nullptr) return;
  if (const CDev* current = m_currentRun->GetCurrentElement()) {
    m_freeFaceMask = current->GetFreeFaceMask();
    m_cursor = current->GetPosition();
  }
}

int CDorneDoc::ToolSelectAt(CPoint point, int keys) {
  CBox* box = nullptr;
  CDev* element = ElementAt(point, &box);
  if (element == nullptr || !Editable(*element)) {
    if (CDev* selected = m_selection.Element()) selected->SelectElement(false, nullptr);
    return 0;
  }
  if (element->GetRun() != m_currentRun) {
    if (CDev* selected = m_selection.Element()) selected->SelectElement(false, nullptr);
    SetCurrentRun(element->GetRun());
    return 1;
  }
  // A box the element draws outside its slots (the equipment box over a feed unit)
  // stands for the whole element, as its body does.
  const bool ownSlot = box != nullptr && element->GetBoxSlot(*box) < CDev::kSlotCount;
  if (!ownSlot || ((keys & kKeyWholeUnit) != 0 && element->GetKind() == CDev::kTapOff))
    box = element->GetBox(CDev::kBodySlot);
  if (element->SelectElement(true, box) == 0) return 0;
  UpdateAllViews();
  return 1;
}

int CDorneDoc::ToolAddStraightAt(CPoint point) {
  CDev* current = IsCurrentRunEditable() != 0 ? m_currentRun->GetCurrentElement() : nullptr;
  if (current == nullptr || current->AddStraightAt(point, nullptr) == 0) return 0;
  m_pending = false;
  FollowCurrentElement();
  SetModifiedFlag(true);
  UpdateAllViews();
  return 1;
}

int CDorneDoc::EditElementAt(CPoint point, const std::function<int(CDev&, CBox*)>& edit) {
  CBox* box = nullptr;
  CDev* element = ElementAt(point, &box);
  if (element == nullptr || !Editable(*element) || edit(*element, box) == 0) return 0;
  FollowCurrentElement();
  SetModifiedFlag(true);
  RecomputeTotals(1, 1);
  UpdateAllViews();
  return 1;
}

int CDorneDoc::ToolClickMode2(CPoint point) {
  return EditElementAt(point, [point](CDev& element, CBox* box) {
    return element.InsertOnLine(point, box, CDev::kInLineVariant);
  });
}

int CDorneDoc::ToolClickMode4(CPoint point) {
  return EditElementAt(point, [this](CDev& element, CBox* box) {
    // A line's face box at the element's front stands for the element beyond, as it
    // does for the selection.
    const int slot = box != nullptr ? element.GetBoxSlot(*box) : CDev::kSlotCount;
    CDev* beyond = slot < CDev::kFaceCount && slot != element.GetBackFace()
                       ? element.GetNeighbour(slot)
                       : nullptr;
    CDev& target = beyond != nullptr ? *beyond : element;
    if (target.MakeEnd(box) == 0) return 0;
    // The parts were built for a chain that ended in a straight: the next price update
    // builds them again with the new end.
    if (CRun* run = target.GetRun(); run != nullptr && run->GetPartsState() != 0)
      UnbuildAfterRemoval(*run);
    return 1;
  });
}

int CDorneDoc::ToolClickMode5(CPoint point) {
  return EditElementAt(point, [point](CDev& element, CBox* box) {
    return element.InsertOnLine(point, box, CDev::kInLine);
  });
}

int CDorneDoc::ToolClickMode6(CPoint point) {
  return EditElementAt(point, [point](CDev& element, CBox* box) {
    return element.InsertOnLine(point, box, CDev::kJoint);
  });
}

int CDorneDoc::ToolTurnAtFace(CPoint point) {
  CDev* current = IsCurrentRunEditable() != 0 ? m_currentRun->GetCurrentElement() : nullptr;
  if (current == nullptr) return 0;
  const int bit = m_projection.FindAxisTowardPoint(m_cursor, point);
  if (bit <= 0 || (bit & m_freeFaceMask) != bit) return 0;
  if (current->TurnAtFace(FaceBitToIndex(bit)) == 0) return 0;
  m_freeFaceMask = current->GetFreeFaceMask();
  SetModifiedFlag(true);
  RebuildSceneAfterEditOf(m_currentRun);
  UpdateAllViews();
  return 1;
}

bool CDorneDoc::DropProvisionalElement() {
  if (!m_pending) return false;
  m_pending = false;
  CDev* element = m_currentRun != nullptr ? m_currentRun->GetCurrentElement() : nullptr;
  if (element == nullptr || element->GetKind() != CDev::kBend) return false;
  CRun& run = *m_currentRun;
  if (element->RemoveFromRun(CElementSelection::kWholeElement, nullptr) == 0) return false;
  run.DeleteElement(element);
  FollowCurrentElement();
  SetModifiedFlag(true);
  RebuildSceneAfterEditOf(&run);
  return true;
}

int CDorneDoc::ToolClickMode3(CPoint point) {
  const bool dropped = DropProvisionalElement();
  const int picked = EditElementAt(point, [point](CDev& element, CBox* box) {
    return element.PickNearestEnd(point, nullptr, box);
  });
  if (picked != 0) return 2;
  if (dropped) UpdateAllViews();
  return dropped ? 1 : 0;
}

int CDorneDoc::ToolRightClick(CPoint point) {
  const bool dropped = DropProvisionalElement();
  const int acted = EditElementAt(point, [point](CDev& element, CBox* box) {
    return element.InsertOnLine(point, box, CDev::kBend);
  });
  if (dropped && acted == 0) UpdateAllViews();
  return acted;
}

int CDorneDoc::SelectAtOrShowRun(CPoint point) {
  ClosePropDialog();
  OpenPropDialog();
  if (ToolSelectAt(point, 0) != 0) return 1;
  if (m_currentRun == nullptr) return 0;
  m_currentRun->NotifyPropDialog(kPropMsgShowObject);
  return 1;
}

bool CDorneDoc::CanShowCurrentElementProps() const {
  return GetToolMode() == 0 && m_selection.Element() != nullptr;
}

int CDorneDoc::ShowCurrentElementProps() {
  CDev* element = m_selection.Element();
  if (!CanShowCurrentElementProps()) return 0;
  ClosePropDialog();
  OpenPropDialog();
  element->NotifyPropDialog(kPropMsgShowObject);
  return 1;
}

int CDorneDoc::ShowRunPages() {
  if (m_currentRun == nullptr) return 0;
  m_currentRun->NotifyPropDialog(kPropMsgClear);
  OpenPropDialog();
  m_currentRun->NotifyPropDialog(kPropMsgShowObject);
  return 1;
}

void CDorneDoc::MoveRun(CRun& run, const C3DPoint& by) {
  if (CDev* first = run.GetFirstElement()) {
    first->Translate(by, true);
    // Tap-off units hang on their joints without links: they go along by themselves.
    for (CDev* device : run.GetDevices())
      if (device->GetKind() == CDev::kTapOff) device->Translate(by, false);
    // The insertion point goes with the run it belongs to.
    const CDev* current = run.GetCurrentElement();
    if (&run == m_currentRun && current != nullptr) m_cursor = current->GetPosition();
  }
  SetModifiedFlag(true);
  RebuildSceneAfterEditOf(&run);
}

void CDorneDoc::InsertElementAt(CRun& run) {
  if (CDev* marker = run.GetStartMarker()) {
    marker->SetRotation(run.GetRotation());
    PlaceRunMarker(run);
  }
  UpdateAllViews();
}
