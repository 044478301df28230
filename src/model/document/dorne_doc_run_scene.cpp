// The scene of one run's rebuild: when the run's boxes meet no other box on screen, before
// and after, only they leave the display list and come back (see
// CDisplayList::TakeOutIsolated), which gives the list a whole rebuild would.

#include "model/document/dorne_doc.h"

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_held_boxes.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

template <class Visit>
void VisitElementBoxes(const CRun& run, Visit&& visit) {
  for (const CDev* element : run.GetDevices()) {
    for (const std::unique_ptr<CBox>& box : element->GetBoxSlots()) {
      if (box) visit(box.get());
    }
  }
}

}  // namespace

void CDorneDoc::VisitRunSceneBoxes(const CRun& run, const std::function<void(CBox*)>& visit) {
  VisitElementBoxes(run, visit);
  if (run.GetFlagsWord() != 0) return;
  if (const CDev* marker = run.GetStartMarker()) {
    for (int slot : {CDev::kBodySlot, CDev::kBodySlot + 1}) {
      if (CBox* box = marker->GetBox(slot)) visit(box);
    }
  }
}

std::vector<CBox*> CDorneDoc::RunSceneBoxes(CRun& run, bool placeMarker) {
  std::vector<CBox*> boxes;
  auto add = [&boxes](CBox* box) { boxes.push_back(box); };
  if (!placeMarker) {
    VisitRunSceneBoxes(run, add);
    return boxes;
  }
  VisitElementBoxes(run, add);
  if (run.GetFlagsWord() != 0) return boxes;
  if (const auto [section, pointer] = PositionRunMarker(run); section != nullptr) {
    boxes.push_back(section);
    boxes.push_back(pointer);
  }
  return boxes;
}

bool CDorneDoc::TakeOutRunScene(CRun& run) {
  if (m_currentRunOnly && m_toolMode != kToolAllRuns) return false;
  // The extra boxes go in after every run: the run's own would move with it.
  const std::vector<CDev*>& devices = run.GetDevices();
  const std::unordered_set<const CDev*> elements(devices.begin(), devices.end());
  for (const CExtraBox& extra : m_extraBoxes) {
    if (elements.contains(extra.element)) return false;
  }
  std::vector<CBox*> listed = RunSceneBoxes(run, false);
  std::erase_if(listed, [](const CBox* box) { return !box->IsListed(); });
  const bool whole = SceneKey() == m_wholeScene && !m_projection.GetDisplayList().Unordered();
  if (!m_projection.TakeOutIsolated(listed, m_heldPlace)) return false;
  m_heldWhole = whole;
  m_heldRun = &run;
  m_heldChanges = m_projection.GetDisplayList().Changes();
  return true;
}

bool CDorneDoc::PutBackRunScene() {
  CRun* run = std::exchange(m_heldRun, nullptr);
  if (run == nullptr) return false;
  if (m_projection.GetDisplayList().Changes() != m_heldChanges) return false;
  if (std::find(m_runList.begin(), m_runList.end(), run) == m_runList.end()) return false;
  VisitBoxesHeldByRun(*run, [this](CBox& box) { m_projection.ProjectBox(box); });
  const std::vector<CBox*> boxes = RunSceneBoxes(*run, true);
  if (!m_projection.InsertIsolated(boxes, m_heldPlace)) return false;
  if (m_heldWhole) MarkSceneWhole();
  Notify(EDocNotice::kSceneRebuilt);
  return true;
}
