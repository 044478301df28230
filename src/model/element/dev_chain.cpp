#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <algorithm>

namespace {

// Walks along links never take more steps than the run has elements: a longer walk
// can only be links that run in a circle.
std::size_t StepLimit(const CRun* run) {
  return run != nullptr ? run->GetDevices().size() + run->GetLengthRecords().size() + 2 : 64;
}

CDev* FirstForward(const CDev* element) {
  const std::vector<int> faces = element->ForwardFaces();
  return faces.empty() ? nullptr : element->GetNeighbour(faces.front());
}

bool IsElbowOrUnit(const CDev* element) {
  return element->GetKind() == CDev::kElbow || element->GetKind() == CDev::kInLine;
}

CDev* ForwardCandidate(CDev* element, std::size_t limit) {
  for (std::size_t steps = 0; element != nullptr && steps < limit; ++steps) {
    if (element->CarriesReference()) return element;
    if (!IsElbowOrUnit(element)) return nullptr;
    element = FirstForward(element);
  }
  return nullptr;
}

CDev* BackwardCandidate(CDev* element, std::size_t limit) {
  for (std::size_t steps = 0; element != nullptr && steps < limit; ++steps) {
    if (element->CarriesReference()) return element->GetKind() == CDev::kJoint ? nullptr : element;
    if (!IsElbowOrUnit(element)) return nullptr;
    element = element->GetBackNeighbour();
  }
  return nullptr;
}

}  // namespace

bool CDev::CarriesReference() const {
  if (m_run == nullptr) return true;
  return m_reference != m_run->GetKindText(m_kind, GetVariant());
}

int CDev::GetChainIndex(const CDev* start) const {
  if (m_run == nullptr) return -1;
  const std::vector<CDev*> order = m_run->GetChainOrder(start);
  const auto it = std::find(order.begin(), order.end(), this);
  return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

CDev* CDev::FindReferencedElement() const {
  if (m_run == nullptr || m_run->GetPartsState() == 0) return nullptr;
  const std::size_t limit = StepLimit(m_run);
  CDev* candidate = ForwardCandidate(const_cast<CDev*>(this), limit);
  if (candidate == nullptr) candidate = BackwardCandidate(GetBackNeighbour(), limit);
  if (candidate == nullptr || candidate->GetKind() != kInLine) return candidate;
  const CElementSelection& selection = CElementSelection::Of(*this);
  if (selection.Face() == CElementSelection::kWholeElement && candidate->GetActive() < 2)
    return candidate;
  CDev* front = candidate->GetNeighbour(candidate->GetDirection());
  if (front != nullptr && front->CarriesReference()) return front;
  if (front == nullptr || front->GetKind() != kJoint) return candidate;
  CDev* back = candidate->GetBackNeighbour();
  if (back != nullptr && back->CarriesReference() && back->GetKind() != kJoint) return back;
  return candidate;
}

CObjWithProp* CDev::GetNextObject() const {
  if (CElementSelection::Of(*this).Face() == GetBackFace()) {
    return HasMainBox() ? const_cast<CDev*>(this) : nullptr;
  }
  for (int face : ForwardFaces()) {
    CDev* neighbour = GetNeighbour(face);
    if (neighbour->HasMainBox()) return neighbour;
  }
  return nullptr;
}

CObjWithProp* CDev::GetPrevObject() const {
  CDev* back = GetBackNeighbour();
  if (back == nullptr || !back->HasMainBox()) return nullptr;
  if (CElementSelection::Of(*this).Face() == CElementSelection::kWholeElement) {
    return const_cast<CDev*>(this);
  }
  return back;
}

CObjWithProp* CDev::GetNextSameName() const {
  if (m_run == nullptr || m_run->GetPartsState() == 0) return nullptr;
  const std::size_t limit = StepLimit(m_run);
  CDev* element = FirstForward(this);
  for (std::size_t steps = 0; element != nullptr && steps < limit; ++steps) {
    if (element->m_reference == m_reference && element->HasMainBox()) return element;
    element = FirstForward(element);
  }
  return nullptr;
}

CObjWithProp* CDev::GetPrevSameName() const {
  if (m_run == nullptr || m_run->GetPartsState() == 0) return nullptr;
  const std::size_t limit = StepLimit(m_run);
  CDev* element = GetBackNeighbour();
  for (std::size_t steps = 0; element != nullptr && steps < limit; ++steps) {
    if (element->m_reference == m_reference && element->HasMainBox()) {
      const bool whole = CElementSelection::Of(*this).Face() == CElementSelection::kWholeElement;
      return whole || element->GetBackNeighbour() != nullptr ? element : nullptr;
    }
    element = element->GetBackNeighbour();
  }
  return nullptr;
}

namespace {

void SelectBox(CDev* element, int slot) {
  if (element != nullptr && element->GetBox(slot) != nullptr) PutSelection(*element, slot);
}

}  // namespace

void CDev::GoToObject(CObjWithProp* targetObject, int how) {
  CElementSelection& selection = CElementSelection::Of(*this);
  const bool whole = selection.Face() == CElementSelection::kWholeElement;
  DropSelection(selection);
  CDev* target = dynamic_cast<CDev*>(targetObject);
  if (how == kGoPrevious) {
    if (whole) SelectBox(this, GetBackFace());
    else SelectBox(target, kBodySlot);
  } else if (how == kGoNext) {
    if (!whole) {
      SelectBox(this, kBodySlot);
    } else {
      for (int face = 0; face < kFaceCount; ++face) {
        if (target != nullptr && GetNeighbour(face) == target)
          SelectBox(target, OppositeDirection(face));
      }
    }
  } else if ((how == kGoPreviousSameName || how == kGoNextSameName) && target != nullptr) {
    SelectBox(target, whole ? kBodySlot : target->GetBackFace());
  }
  if (target != nullptr) target->NotifyPropDialog(kPropMsgShowObject);
  else if (targetObject != nullptr) targetObject->NotifyPropDialog(kPropMsgShowObject);
  if (CRunDocument* document = GetDocument()) document->UpdateAllViews();
}

int CDev::GetPageWord(int page) const {
  return m_run != nullptr ? m_run->GetPageWord(*this, page) : 0;
}

bool CDev::ReachesPropWindow() const { return m_run == nullptr || m_run->ReachesPropWindow(); }

int CDev::NotifyPropDialog(int message) {
  if (message == kPropMsgShowObject || message == kPropMsgRefresh) {
    // A refresh is asked for by the pages themselves: clearing the window now would take
    // away the page that is still running; the queued showing replaces them instead.
    if (message == kPropMsgShowObject) NotifyPropDialog(kPropMsgClear);
    m_pages = std::make_unique<std::vector<int>>(m_run != nullptr ? m_run->GetSubObjects(*this)
                                                                  : std::vector<int>());
    return CObjWithProp::NotifyPropDialog(message);
  }
  m_pages.reset();
  return CObjWithProp::NotifyPropDialog(message);
}
