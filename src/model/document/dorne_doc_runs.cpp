#include "model/document/dorne_doc.h"

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/doc_observer.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "model/undo/undo_actions.h"
#include "model/undo/undo_manager.h"

#include <algorithm>

namespace {

constexpr int kMsgDeleteElement = 31464;

int FreeFaceMaskOf(const CDev& element) {
  int mask = 0;
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (element.GetFreeFace(face) != 0) mask |= FaceIndexToBit(face);
  }
  return mask;
}

}  // namespace

int CDorneDoc::AddRun(std::unique_ptr<CRun> run) {
  const int index = FindRunIndex(run.get());
  if (index >= 0) {
    (void)run.release();  // already ours
    return index;
  }
  run->SetDocument(this);
  m_runList.push_back(run.get());
  m_runs.push_back(std::move(run));
  return GetRunCount() - 1;
}

int CDorneDoc::FindRunIndex(const CRun* run) const {
  for (std::size_t i = m_runList.size(); i-- > 0;) {
    if (m_runList[i] == run) return static_cast<int>(i);
  }
  return -1;
}

bool CDorneDoc::MoveRun(int from, int to) {
  const int count = GetRunCount();
  if (from < 0 || from >= count || to < 0 || to >= count) return false;
  if (from == to) return true;
  GetUndo().SaveUndoState(undo_actions::kMoveRun);
  const auto rotate = [from, to](auto& items) {
    const auto first = items.begin();
    if (from < to) {
      std::rotate(first + from, first + from + 1, first + to + 1);
    } else {
      std::rotate(first + to, first + from, first + from + 1);
    }
  };
  rotate(m_runs);
  rotate(m_runList);
  // The new order is part of the design: without the flag it would be lost on closing.
  SetModifiedFlag(true);
  return true;
}

std::unique_ptr<CRun> CDorneDoc::RemoveRun(CRun* run) {
  const int index = FindRunIndex(run);
  if (index < 0) return nullptr;
  m_selection.Clear();
  const auto position = static_cast<std::ptrdiff_t>(index);
  std::unique_ptr<CRun> taken = std::move(m_runs[static_cast<std::size_t>(index)]);
  m_runs.erase(m_runs.begin() + position);
  m_runList.erase(m_runList.begin() + position);
  if (m_currentRun == run) m_currentRun = nullptr;
  return taken;
}

void CDorneDoc::AddNewRun() { AddNewRun(std::make_unique<CRun>(this)); }

void CDorneDoc::CreateRunForRange() {
  const CRun* current = m_currentRun;
  const std::string catalog = current != nullptr ? current->GetPropText("Catalog") : std::string();
  if (catalog.empty()) {
    AddNewRun();
  } else {
    std::unique_ptr<CRun> made = CRunFactory::Instance().CreateForCatalog(catalog, this);
    // The rating is the rating and its neutral, without which the catalogue is not known.
    for (const char* name : {"Calibre", "Neutral"}) made->SetProp(name, current->GetPropText(name));
    made->SetCatalogueKnown(made->IsCatalogueKnown());
    AddNewRun(std::move(made));
  }
  SetModifiedFlag(true);
}

void CDorneDoc::AddNewRun(std::unique_ptr<CRun> made) {
  CRun* previous = m_currentRun;
  CRun& run = *made;
  AddRun(std::move(made));
  m_currentRun = &run;
  run.SetFlagsWord(0);
  run.SetChangedFlag(1);
  run.SetRotationFlag(16);
  Notify(EDocNotice::kRunAdded, &run);
  if (GetRunCount() > 1) {
    run.GetBOM().CopyLayoutFrom(m_runList.front()->GetBOM());
    run.GetBOM().NumberLines(1);
    if (previous != nullptr) RememberLeftView(*previous);
  }
  CreateStartMarker(run);
  PlaceRunMarker(run);
  m_currentRun = nullptr;
  SetCurrentRun(&run);
}

void CDorneDoc::RememberLeftView(CRun& run) { SaveViewTo(run.GetBOM()); }

void CDorneDoc::SaveViewTo(CBOMGrid& grid) const {
  const std::int32_t halfWidth = m_viewSize[0] / 2;
  const std::int32_t halfHeight = m_viewSize[1] / 2;
  grid.SetRectangle({m_viewCentre[0] - halfWidth, m_viewCentre[1] - halfHeight,
                     m_viewCentre[0] + halfWidth, m_viewCentre[1] + halfHeight});
  grid.SetViewAngles(
      {m_projection.GetViewAngle(0), m_projection.GetViewAngle(1), m_projection.GetViewAngle(2)});
}

void CDorneDoc::CreateStartMarker(CRun& run) {
  CDev* marker = run.NewElement();
  marker->SetKind(CDev::kEnd);
  marker->SetEdited();
  marker->SetActive(1);
  marker->SetRotation(run.GetRotation());
  marker->SetReference(run.GetKindText(CDev::kEnd, 0));
  marker->SetPosition(m_cursor);
  marker->SetDirection(5);
  marker->SetBookedLength(0);
  marker->SetDrawnLength(0);
  for (int face = 0; face < 5; ++face) marker->SetFreeFace(face, 0);
  const CReferenceRow row = run.FindReference();
  marker->SetBackOffsets({row.Width(), row.Height(), 0});
  marker->MakeBox(CDev::kBodySlot);
  marker->MakeBox(CDev::kBodySlot + 1);
  run.SetStartMarker(marker);
  run.SetCurrentElement(marker);
}

int CDorneDoc::SetCurrentRun(CRun* run) {
  const int index = FindRunIndex(run);
  if (index < 0 || run == m_currentRun) return -1;
  m_currentRun = run;
  if (run->GetFlagsWord() != 0) {
    if (m_toolMode == kToolPlaceStart || m_toolMode == kToolAllRuns) m_toolMode = kToolSelect;
    if (const CDev* current = run->GetCurrentElement()) {
      m_freeFaceMask = FreeFaceMaskOf(*current);
      m_cursor = current->GetPosition();
    }
  } else {
    m_freeFaceMask = 63;
    m_toolMode = kToolPlaceStart;
    if (const CDev* marker = run->GetStartMarker()) m_cursor = marker->GetPosition();
  }
  Notify(EDocNotice::kCurrentRunChanged, run);
  run->NotifyPropDialog(run->GetFlagsWord() != 0 ? kPropMsgShowObject : kPropMsgClear);
  UpdateAllViews();
  return index;
}

void CDorneDoc::ReplaceRun(CRun& oldRun, CRun& newRun) {
  const int index = FindRunIndex(&oldRun);
  const int newIndex = FindRunIndex(&newRun);
  if (index < 0) return;
  std::unique_ptr<CRun> owned;
  if (newIndex >= 0) {
    owned = RemoveRun(&newRun);
  } else {
    owned.reset(&newRun);  // the caller hands the new run over
  }
  const int at = FindRunIndex(&oldRun);
  const auto slot = static_cast<std::size_t>(at);
  // The old run stays alive for the caller, which destroys it afterwards.
  (void)m_runs[slot].release();
  m_runs[slot] = std::move(owned);
  m_runList[slot] = &newRun;
  newRun.SetDocument(this);
  m_currentRun = &newRun;
}

int CDorneDoc::IsCurrentRunEditable() const {
  return m_currentRun != nullptr ? static_cast<int>(m_currentRun->GetFlagsWord()) : 0;
}

void CDorneDoc::RefreshAllRuns() {
  for (auto it = m_runList.rbegin(); it != m_runList.rend(); ++it) (*it)->UpdateElementColors(1);
  SetModifiedFlag(true);
  UpdateAllViews();
}

void CDorneDoc::RefreshRunGrids() {
  for (CRun* run : m_runList) {
    run->GetBOM().UpdateWeightColumn();
    run->GetBOM().NumberLines(0);
  }
  UpdateAllViews();
}

void CDorneDoc::PlaceRunStart(CRun& run) {
  CDev* marker = run.GetStartMarker();
  if (run.GetFlagsWord() != 0 || marker == nullptr) return;
  CDev* start = run.NewElement();
  run.SetCurrentElement(start);
  run.SetChangedFlag(1);
  run.SetFlagsWord(1);
  start->SetEdited();
  start->SetKind(CDev::kEnd);
  start->SetRotation(run.GetRotation());
  const int variant = run.GetDefaultEndVariant();
  start->SetReference(run.GetKindText(CDev::kEnd, variant));
  start->SetActive(1);
  start->SetPosition(marker->GetPosition());
  start->SetDirection(marker->GetDirection());
  for (int face = 0; face < CDev::kFaceCount; ++face) start->SetFreeFace(face, 0);
  start->SetFreeFace(start->GetDirection(), 1);
  start->SetBackOffsets(marker->GetBackOffsets());
  start->SetFrontOffsets(marker->GetBackOffsets());
  start->SetVariantBoth(variant);
  run.AddDevice(start);
  if (const CBox* section = marker->GetBox(CDev::kBodySlot)) {
    CBox* body = start->MakeBox(CDev::kBodySlot);
    body->SetPlacement(start->GetPosition(), section->GetExtent(0), section->GetExtent(1),
                       section->GetExtent(2));
    AddToScene(*body);
  }
  run.SetStartMarker(nullptr);  // its boxes leave the scene as it dies
  SetModifiedFlag(true);
  m_toolMode = kToolAddStraight;
  // The run now placed is shown alone while its own bill-of-materials page is shown.
  m_currentRunOnly = m_bomPage > 0;
  m_freeFaceMask = FreeFaceMaskOf(*start);
  m_cursor = start->GetPosition();
  RebuildScene();
  RecomputeTotals(1, 0);
  UpdateAllViews();
}

int CDorneDoc::DeleteCurrentElement(bool* removed) {
  if (removed != nullptr) *removed = false;
  CDev* selected = m_selection.Element();
  if (selected == nullptr || m_currentRun == nullptr || selected->GetRun() != m_currentRun)
    return 0;
  return DeleteSelectedElement(*selected, removed);
}

int CDorneDoc::DeleteSelectedElement(CDev& selected, bool* removed) {
  if (IsCurrentRunEditable() == 0) return 0;
  CRun& run = *m_currentRun;
  ClosePropDialog();
  // While the question is open, what the delete would take is shown in the lighter colour.
  MarkCurrentSelection(this, 2);
  UpdateAllViews();
  const bool confirmed = m_prompter == nullptr || m_prompter->AskOkCancel(kMsgDeleteElement, {});
  MarkCurrentSelection(this, 0);
  if (!confirmed) {
    UpdateAllViews();
    return 1;
  }
  const CDev* placing = run.GetCurrentElement();
  // A tap-off unit leaves the chain and its parts as they are: its own lines go with it.
  const bool built = run.GetPartsState() != 0 && selected.GetKind() != CDev::kTapOff;
  // The element may be gone after this: only the run is looked at again.
  if (selected.DeleteCurrentSelection() == 0) {
    if (m_prompter != nullptr) m_prompter->Beep();
    return 0;
  }
  if (removed != nullptr) *removed = true;
  // Tap-off units counted through a removed joint lose their place.
  run.AdaptDeviceReferences();
  if (built) UnbuildAfterRemoval(run);
  // Placing went back to the element behind: a provisional element being placed went,
  // and what is current now is no provisional one (a save would drop it otherwise).
  if (run.GetCurrentElement() != placing) m_pending = false;
  FollowCurrentElement();
  SetModifiedFlag(true);
  RebuildSceneAfterEditOf(&run);
  RecomputeTotals(1, 1);
  UpdateAllViews();
  return 1;
}

void CDorneDoc::UnbuildAfterRemoval(CRun& run) {
  // The built parts were cut for the chain as it was: the pieces, fixings and supports
  // of what went, and the lengths it took from pieces it shared, are no longer in the
  // chain. The bill goes back to the run's own elements and lengths, as before a build,
  // so that the next build or price update makes the parts again.
  run.RebuildBOM(false);
}

bool CDorneDoc::RemoveCurrentBranchEnd() {
  CDev* element = m_currentRun != nullptr ? m_currentRun->GetCurrentElement() : nullptr;
  if (element == nullptr || !RemoveBranchEnd(*m_currentRun, *element)) return false;
  // Tap-off units counted through the element lose their joint.
  m_currentRun->AdaptDeviceReferences();
  // Placing goes on from the element behind, at its free faces.
  const CDev* back = m_currentRun->GetCurrentElement();
  m_freeFaceMask = FreeFaceMaskOf(*back);
  m_cursor = back->GetPosition();
  return true;
}

bool CDorneDoc::RemoveBranchEnd(CRun& run, CDev& element) {
  CDev* back = element.GetBackNeighbour();
  if (back == nullptr || !element.ForwardFaces().empty() || element.GetAttached() != nullptr)
    return false;
  run.RemoveDevice(&element);
  const int face = element.GetDirection();
  back->SetNeighbour(face, nullptr);
  back->SetFreeFace(face, 1);
  if (run.GetCurrentElement() == &element) run.SetCurrentElement(back);
  run.DeleteElement(&element);
  return true;
}
