#include "model/element/dev.h"

#include "geometry/box.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev_placement_support.h"
#include "model/element/element_selection.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/tapoff/tap_off_delete.h"

namespace {

constexpr int kIndexUnset = 10;

void MarkBox(CBox* box, int value) {
  if (box != nullptr) box->SetSelectionState(value);
}

// The marks that a selection of the element at that face index shows: the joint's two
// face boxes, or the main box and boxes 7 to 24.
void MarkSelection(CDev& element, int face, int value) {
  if (face >= 0 && face < CDev::kFaceCount) {
    MarkBox(element.GetBox(face), value);
    if (CDev* neighbour = element.GetNeighbour(face))
      MarkBox(neighbour->GetBox(CDev::OppositeDirection(face)), value);
    return;
  }
  for (int slot = CDev::kBodySlot; slot < CDev::kSlotCount; ++slot)
    MarkBox(element.GetBox(slot), value);
}

}  // namespace

int CDev::SelectElement(bool select, CBox* box) {
  CElementSelection& selection = CElementSelection::Of(*this);
  if (!select) {
    // A clear that names a box keeps the units' marks: the delete of a unit goes by them.
    if (box == nullptr) ResetMarkedTapOffUnits(nullptr, false);
    CDev* current = selection.Element();
    if (current == nullptr) return 0;
    if (current->m_kind >= kEnd && current->m_kind <= kBend)
      MarkSelection(*current, selection.Face(), 0);
    current->SelectLineInBOM(false);
    selection.Clear();
    current->NotifyPropDialog(kPropMsgClear);
    return 1;
  }
  const int slot = box != nullptr ? GetBoxSlot(*box) : kSlotCount;
  if (slot >= kSlotCount || (m_kind > kBend && m_kind != kTapOff)) return 0;
  int face = kBodySlot;
  if (slot < kFaceCount && slot != GetBackFace()) {
    CDev* neighbour = GetNeighbour(slot);
    if (neighbour == nullptr) return 0;
    CBox* joint = neighbour->GetBox(OppositeDirection(slot));
    return joint != nullptr ? neighbour->SelectElement(true, joint) : 0;
  }
  if (slot < kFaceCount) face = slot;
  // A unit selected before in the same run is left to the reset of the marked units,
  // which keeps it marked (in the lighter colour) while the units are marked in turn.
  CDev* previous = selection.Element();
  const bool markedInTurn = m_kind == kTapOff && previous != nullptr &&
                            previous->m_kind == kTapOff && previous->m_run == m_run;
  if (previous != nullptr && !markedInTurn) MarkSelection(*previous, selection.Face(), 0);
  if (m_kind == kTapOff) ResetMarkedTapOffUnits(this, false);
  MarkSelection(*this, face, 1);
  selection.Select(this, face);
  NotifyPropDialog(kPropMsgShowObject);
  SelectLineInBOM(true);
  return 1;
}

int CDev::MarkSelected(int face, int value) {
  const bool inLine = m_kind >= kInLine && m_kind <= kBend;
  if ((inLine || m_kind == kEnd) && face >= kBodySlot) {
    MarkSelection(*this, kBodySlot, value);
    return 1;
  }
  if (m_kind == kEnd && GetBackNeighbour() == nullptr) return 0;
  for (CDev* element : dev_placement::ChainFrom(*this)) {
    for (int slot = 0; slot < kSlotCount; ++slot) MarkBox(element->GetBox(slot), value);
  }
  return 1;
}

bool CDev::SelectLineInBOM(bool select) {
  if (m_run == nullptr || m_run->GetBOM().GetView() == nullptr) return false;
  CBOMGrid& grid = m_run->GetBOM();
  const CElementSelection& selection = CElementSelection::Of(*this);
  const int face = selection.Face();
  int line = -1;
  if (select) {
    const CBox* shown = GetBox(face >= 0 && face < kFaceCount ? face : kBodySlot);
    const bool unset = shown != nullptr && shown->GetColor() == ColorOfIndex(kIndexUnset);
    const bool faceWithoutParts = face >= 0 && face < kFaceCount && m_run->GetPartsState() == 0;
    const bool wholeJoint = m_kind == kJoint && face >= kBodySlot;
    if (!unset && !faceWithoutParts && !wholeJoint) {
      const CDev* referenced = FindReferencedElement();
      line = grid.FindLine((referenced != nullptr ? referenced : this)->m_reference);
    }
  }
  if (line >= 0) grid.SetSelection(CCellRange{line, 0, line, grid.GetColumnCount() - 1}, true);
  else grid.ClearSelection();
  return line >= 0;
}

int MarkCurrentSelection(CRunDocument* document, int value) {
  if (document == nullptr) return 0;
  CElementSelection& selection = document->GetSelection();
  CDev* current = selection.Element();
  if (current == nullptr) return 0;
  const int result = current->MarkSelected(selection.Face(), value);
  // Clearing the wider marks leaves the selection itself shown.
  if (value == 0) MarkSelection(*current, selection.Face(), 1);
  return result;
}

void DropSelection(CElementSelection& selection) {
  if (CDev* current = selection.Element()) MarkSelection(*current, selection.Face(), 0);
  selection.Clear();
}

void PutSelection(CDev& element, int face) {
  CElementSelection& selection = CElementSelection::Of(element);
  DropSelection(selection);
  MarkSelection(element, face, 1);
  selection.Select(&element, face);
}
