// The scene of one run's rebuild: only the run's boxes leave the display list, and they
// come back with the boxes whose places hang on theirs, as a whole rebuild would insert
// them (CDisplayList::ReplaceKeyedGroup), or, in a list not filled by keys, alone when they
// meet no other box on screen, before and after (CDisplayList::TakeOutIsolated). Either
// gives the list a whole rebuild would. The scene after an edit of one run's elements is
// made the first way too.

#include "model/document/dorne_doc.h"

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_held_boxes.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

// Beyond this many boxes met for each of the run's own (and a few), the run is no longer
// what the rebuild costs: the whole scene is made instead, once for runs rebuilt in turn.
constexpr std::size_t kMetPerOwnBox = 2;
constexpr std::size_t kMetAnyway = 64;

std::size_t MostMet(std::size_t own) { return kMetPerOwnBox * own + kMetAnyway; }

}  // namespace

std::uint64_t CDorneDoc::SceneOrderKey(std::size_t group, std::size_t index) {
  return (static_cast<std::uint64_t>(group) << 32) | static_cast<std::uint32_t>(index);
}

void CDorneDoc::NoteSceneKeys() {
  m_sceneKeyed = SceneKey().onlyRun == nullptr;
  m_keyedRuns = m_runList;
  m_keyedExtras.clear();
  for (const CExtraBox& extra : m_extraBoxes) m_keyedExtras.push_back(extra.box.get());
}

bool CDorneDoc::SceneKeysHold() const {
  if (!m_sceneKeyed || m_runList != m_keyedRuns || m_extraBoxes.size() != m_keyedExtras.size())
    return false;
  for (std::size_t k = 0; k < m_extraBoxes.size(); ++k) {
    if (m_extraBoxes[k].box.get() != m_keyedExtras[k]) return false;
  }
  return m_projection.GetDisplayList().Keyed();
}

CDisplayList::CKeyedWalk CDorneDoc::SceneOrderWalk() {
  // The groups met are kept for the walks of one put-back.
  auto groups = std::make_shared<std::unordered_map<std::size_t, std::vector<CBox*>>>();
  return [this, groups](std::uint64_t after, const std::function<bool(CBox*)>& visit) {
    const std::size_t runs = m_runList.size();
    std::size_t from = static_cast<std::size_t>(after & 0xFFFFFFFFu) + 1;
    for (std::size_t group = static_cast<std::size_t>(after >> 32); group <= runs; ++group) {
      auto [at, made] = groups->try_emplace(group);
      if (made && group < runs) at->second = RunSceneBoxes(*m_runList[runs - 1 - group], false);
      if (made && group == runs) {
        for (const CExtraBox& extra : m_extraBoxes) at->second.push_back(extra.box.get());
      }
      for (std::size_t k = from; k < at->second.size(); ++k) {
        if (!visit(at->second[k])) return;
      }
      from = 0;
    }
  };
}

std::vector<CBox*> CDorneDoc::RunSceneBoxes(CRun& run, bool placeMarker) {
  std::vector<CBox*> boxes;
  auto add = [&boxes](CBox* box) { boxes.push_back(box); };
  if (!placeMarker) {
    VisitRunSceneBoxes(run, add);
    return boxes;
  }
  VisitRunElementBoxes(run, add);
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
  m_heldMet.clear();
  // A scene filled by keys, and changed since only by boxes inserted or removed one by one
  // (noted by the list), is a whole scene but around those boxes.
  m_heldKeyed = SceneKeysHold() && SceneKey().onlyRun == nullptr &&
                m_projection.ListedBoxesMeeting(listed, m_heldMet, MostMet(listed.size()));
  if (m_heldKeyed) {
    for (CBox* box : listed) m_projection.RemoveFromDisplayList(*box);
  } else if (!m_projection.TakeOutIsolated(listed, m_heldPlace)) {
    return false;
  }
  m_heldWhole = whole || m_heldKeyed;
  m_heldRun = &run;
  m_heldChanges = m_projection.GetDisplayList().Changes();
  return true;
}

bool CDorneDoc::PutBackRunScene() {
  CRun* run = std::exchange(m_heldRun, nullptr);
  if (run == nullptr) return false;
  if (m_projection.GetDisplayList().Changes() != m_heldChanges) return false;
  if (std::find(m_runList.begin(), m_runList.end(), run) == m_runList.end()) return false;
  if (m_heldKeyed && !SceneKeysHold()) return false;
  VisitBoxesHeldByRun(*run, [this](CBox& box) { m_projection.ProjectBox(box); });
  const std::vector<CBox*> boxes = RunSceneBoxes(*run, true);
  if (m_heldKeyed) {
    if (!PutBackKeyedRunScene(*run, boxes)) return false;
  } else if (!m_projection.InsertIsolated(boxes, m_heldPlace)) {
    return false;
  }
  if (m_heldWhole) MarkSceneWhole();
  Notify(EDocNotice::kSceneRebuilt);
  return true;
}

bool CDorneDoc::PutBackKeyedRunScene(CRun& run, const std::vector<CBox*>& boxes) {
  const std::vector<CBox*> met = std::exchange(m_heldMet, {});
  const auto at = std::find(m_runList.begin(), m_runList.end(), &run);
  const auto group = static_cast<std::size_t>(m_runList.end() - at) - 1;
  std::vector<std::uint64_t> keys;
  keys.reserve(boxes.size());
  for (std::size_t k = 0; k < boxes.size(); ++k) keys.push_back(SceneOrderKey(group, k));
  // Few met before and after, or the whole scene is made instead.
  return m_projection.ReplaceKeyedGroup(boxes, keys, met, MostMet(boxes.size()) + met.size(),
                                        SceneOrderWalk());
}

void CDorneDoc::RebuildSceneAfterEditOf(CRun* run) {
  if (m_sceneHolds > 0) return;
  // A scene left whole (the run's own rebuild put it back) has nothing to make again; a
  // rebuild put off is made by the look.
  if (HasWholeScene()) {
    Notify(EDocNotice::kSceneRebuilt);
    return;
  }
  if (run == nullptr || !PutBackEditedRunScene(*run)) RebuildScene();
}

bool CDorneDoc::PutBackEditedRunScene(CRun& run) {
  // Only a scene filled by keys takes the run back as the whole rebuild would insert it,
  // with the boxes the edit inserted or removed one by one and what they met.
  if (!SceneKeysHold() || !TakeOutRunScene(run)) return false;
  const bool putBack = m_heldKeyed && PutBackRunScene();
  m_heldRun = nullptr;
  m_heldMet.clear();
  // A box of another run made since and never listed would be in the rebuilt scene.
  return putBack && HasWholeScene();
}
