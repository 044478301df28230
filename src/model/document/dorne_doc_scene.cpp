#include "model/document/dorne_doc.h"

#include "geometry/box.h"
#include "geometry/parallel_chunks.h"
#include "model/element/dev.h"
#include "model/document/doc_observer.h"
#include "model/run/run.h"
#include "model/run/run_held_boxes.h"
#include "model/run/run_read_sink.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

// Fewer runs than this a thread are projected on one: the threads would not pay.
constexpr std::size_t kMinRunsPerThread = 8;
// Counting a run's boxes costs less than projecting them.
constexpr std::size_t kMinRunsCountedPerThread = 32;

// Which world axis a direction runs along (0 x, 1 y, 2 z) and whether it points toward
// the negative side.
int AxisOfDirection(int direction) {
  if (direction == 0 || direction == 4) return 0;
  if (direction == 2 || direction == 3) return 1;
  return 2;
}

bool TowardNegative(int direction) { return direction == 0 || direction == 1 || direction == 3; }

// Whether a rebuild would make start marker boxes the run lacks.
bool RunLacksMarkerBoxes(const CRun& run) {
  const CDev* marker = run.GetStartMarker();
  return marker != nullptr && run.GetFlagsWord() == 0 &&
         (marker->GetBox(CDev::kBodySlot) == nullptr ||
          marker->GetBox(CDev::kBodySlot + 1) == nullptr);
}

// An element's box outside its slots is shown with the element's run (only: the one run
// shown, null when every run is).
bool ExtraBoxShown(const CDev* element, const CRun* only) {
  return only == nullptr || element == nullptr || element->GetRun() == only;
}

// Box extents (along z, x, y as CBox keeps them) for sizes along x, y and z.
std::array<std::int32_t, 3> BoxExtents(const std::array<std::int32_t, 3>& sizes) {
  return {sizes[2], sizes[0], sizes[1]};
}

// Sizes along x, y, z of a box that is `along` long in the direction and carries the
// section across it, turned by the rotation.
std::array<std::int32_t, 3> SectionSizes(int direction, int rotation, std::int32_t along,
                                         std::int32_t width, std::int32_t height) {
  const int axis = AxisOfDirection(direction);
  if (rotation == 32 || rotation == 128) std::swap(width, height);
  std::array<std::int32_t, 3> sizes{};
  sizes[static_cast<std::size_t>(axis)] = along;
  bool first = true;
  for (std::size_t other = 0; other < 3; ++other) {
    if (static_cast<int>(other) == axis) continue;
    sizes[other] = first ? width : height;
    first = false;
  }
  return sizes;
}

}  // namespace

void CDorneDoc::SetViewAngles(int a0, int a1, int a2) {
  m_projection.SetViewAngles(a0, a1, a2, false, false);
  // The listed boxes are projected by the resort, which reuses the list's nodes.
  ProjectAllBoxes(true);
  m_projection.ResortDisplayList();
  Notify(EDocNotice::kSceneRebuilt);
}

void CDorneDoc::TurnView(int a0, int a1, int a2) {
  // A whole scene only turned keeps the boxes a rebuild would list: it can be given a
  // rebuild's order without being built anew.
  const bool turnedPart = m_turnedPart && *m_turnedPart == SceneKey();
  const bool settledWhole =
      m_sceneHolds == 0 && m_heldRun == nullptr && m_settledWhole && *m_settledWhole == SceneKey();
  const bool whole = TurnedWholeScene() || settledWhole || (!turnedPart && HasWholeScene());
  m_projection.SetViewAngles(a0, a1, a2, false, false);
  // The boxes out of the scene are projected when it settles.
  m_projection.ProjectDisplayListUnordered();
  m_turnedWhole = whole ? std::optional<CSceneKey>(SceneKey()) : std::nullopt;
  m_turnedPart = whole ? std::nullopt : std::optional<CSceneKey>(SceneKey());
  Notify(EDocNotice::kSceneRebuilt);
}

bool CDorneDoc::TurnedWholeScene() const {
  return m_sceneHolds == 0 && m_heldRun == nullptr && m_turnedWhole && *m_turnedWhole == SceneKey();
}

bool CDorneDoc::ProjectRestAndResortAsRebuilt(const std::atomic<bool>* stop) {
  // Projecting the boxes out of the scene changes nothing listed, so the scene is the one
  // turned whole or not before as after; when it is, its boxes are gathered in the same
  // walk over the runs' elements.
  if (!TurnedWholeScene()) {
    ProjectAllBoxes(true, stop);
    return false;
  }
  std::vector<std::vector<CBox*>> ofRun(m_runList.size());
  ProjectUnlistedBoxes(stop, &ofRun);
  if (stop != nullptr && stop->load()) return false;
  const std::vector<CBox*> boxes = SceneBoxesOfRuns(ofRun, SceneKey().onlyRun, nullptr);
  if (!m_projection.ResortDisplayListInOrder(boxes, stop)) return false;
  m_turnedWhole.reset();
  MarkSceneWhole();
  m_settledWhole = SceneKey();
  return true;
}

void CDorneDoc::SettleView() {
  if (m_projection.GetDisplayList().Unordered()) {
    if (!ProjectRestAndResortAsRebuilt(nullptr)) m_projection.ResortDisplayList();
  } else if (!m_settledAside) {
    return;
  }
  m_settledAside = false;
  Notify(EDocNotice::kSceneRebuilt);
}

bool CDorneDoc::SettleViewAside(const std::atomic<bool>& stop) {
  if (!m_projection.GetDisplayList().Unordered() || m_sceneHolds != 0) return false;
  // The boxes out of the scene first, as SettleView has them: whether the sort is made
  // or stopped, projecting them again gives the same.
  if (!ProjectRestAndResortAsRebuilt(&stop) &&
      (stop.load() || !m_projection.ResortDisplayListUnlessStopped(stop)))
    return false;
  m_settledAside = true;
  return true;
}

void CDorneDoc::AddToScene(CBox& box) {
  if (m_sceneHolds != 0 || box.IsListed()) return;
  // The list places a new box among the others by their order: it must have one.
  if (m_projection.GetDisplayList().Unordered()) m_projection.ResortDisplayList();
  m_projection.InsertInDisplayList(box);
}

void CDorneDoc::RemoveFromScene(CBox& box) {
  if (box.IsListed()) m_projection.RemoveFromDisplayList(box);
}

void CDorneDoc::PlaceRunMarker(CRun& run) {
  const auto [section, pointer] = PositionRunMarker(run);
  if (section == nullptr) return;
  AddToScene(*section);
  AddToScene(*pointer);
}

std::pair<CBox*, CBox*> CDorneDoc::PositionRunMarker(CRun& run) {
  CDev* marker = run.GetStartMarker();
  if (marker == nullptr) return {nullptr, nullptr};
  CBox* section = marker->MakeBox(CDev::kBodySlot);
  CBox* pointer = marker->MakeBox(CDev::kBodySlot + 1);
  RemoveFromScene(*section);
  RemoveFromScene(*pointer);
  const int direction = marker->GetDirection();
  const std::int32_t width = marker->GetBackOffsets()[0];
  const std::int32_t height = marker->GetBackOffsets()[1];
  const auto sectionSizes =
      BoxExtents(SectionSizes(direction, marker->GetRotation(), 0, width, height));
  section->SetPlacement(marker->GetPosition(), sectionSizes[0], sectionSizes[1], sectionSizes[2]);
  constexpr std::int32_t kPointerLength = 950;
  constexpr double kPointerCentre = 525.0;
  C3DPoint centre = marker->GetPosition();
  const double shift = TowardNegative(direction) ? -kPointerCentre : kPointerCentre;
  switch (AxisOfDirection(direction)) {
    case 0: centre.x += shift; break;
    case 1: centre.y += shift; break;
    default: centre.z += shift; break;
  }
  const auto pointerSizes =
      BoxExtents(SectionSizes(direction, marker->GetRotation(), kPointerLength, width, height));
  pointer->SetPlacement(centre, pointerSizes[0], pointerSizes[1], pointerSizes[2]);
  return {section, pointer};
}

void CDorneDoc::HoldScene(bool hold) { HoldSceneFor(nullptr, hold); }

void CDorneDoc::HoldRunScene(CRun& run, bool hold) { HoldSceneFor(&run, hold); }

void CDorneDoc::HoldSceneFor(CRun* run, bool hold) {
  if (hold) {
    // Boxes made or deleted while the scene is held never meet the display list: all of
    // them are taken out, or the run's alone when it can go back on its own.
    if (m_sceneHolds++ == 0) {
      // A scene put off (empty meanwhile) is made at the release instead: nobody saw it.
      const bool putOff = m_projection.CancelDeferredDisplayList();
      if (!putOff && (run == nullptr || !TakeOutRunScene(*run))) m_projection.ClearDisplayList();
    } else if (m_heldRun != nullptr && run != m_heldRun) {
      m_heldRun = nullptr;
      m_projection.ClearDisplayList();
    }
    return;
  }
  if (m_sceneHolds == 0 || --m_sceneHolds > 0) return;
  if (!PutBackRunScene()) RebuildSceneWhenSeen();
  RecomputePendingTotals();
}

void CDorneDoc::RebuildSceneWhenSeen() {
  // Runs rebuilt one after the other, with nobody looking in between, make the scene once.
  m_projection.DeferDisplayList([this] {
    ReprojectAllBoxes();
    MakeScene();
  });
  Notify(EDocNotice::kSceneRebuilt);
}

void CDorneDoc::RebuildScene() {
  if (m_sceneHolds > 0) return;
  // This rebuild is the one put off, with the boxes that one would have projected.
  if (m_projection.CancelDeferredDisplayList()) ReprojectAllBoxes();
  MakeScene();
  Notify(EDocNotice::kSceneRebuilt);
}

void CDorneDoc::MakeScene() {
  m_projection.ClearDisplayList();
  std::vector<std::uint64_t> keys;
  const std::vector<CBox*> boxes = SceneBoxesInRebuildOrder(true, &keys);
  // As AddToScene one by one: the list was cleared, so it is ordered, and it lays its
  // screen cells out once for all of them. The keys let a run's rebuild put its boxes back
  // as this order would (PutBackRunScene).
  m_projection.InsertUnlistedInDisplayList(boxes, keys);
  NoteSceneKeys();
  MarkSceneWhole();
}

std::vector<CBox*> CDorneDoc::SceneBoxesInRebuildOrder(bool placeMarkers,
                                                       std::vector<std::uint64_t>* keys) {
  const CRun* only = SceneKey().onlyRun;
  std::vector<std::vector<CBox*>> ofRun(m_runList.size());
  if (placeMarkers || only != nullptr) {
    for (std::size_t i = m_runList.size(); i-- > 0;) {
      CRun& run = *m_runList[i];
      if (only == nullptr || &run == only) ofRun[i] = RunSceneBoxes(run, placeMarkers);
    }
  } else {
    // Without placing markers, gathering a run's boxes only reads the run: the runs go on
    // several threads, each into its own list.
    const std::size_t chunks = CParallelChunks::ChunkCount(m_runList.size(), kMinRunsPerThread);
    CParallelChunks::Run(m_runList.size(), chunks,
                         [&](std::size_t, std::size_t from, std::size_t to) {
                           for (std::size_t k = from; k < to; ++k)
                             ofRun[k] = RunSceneBoxes(*m_runList[k], false);
                         });
  }
  return SceneBoxesOfRuns(ofRun, only, keys);
}

std::vector<CBox*> CDorneDoc::SceneBoxesOfRuns(const std::vector<std::vector<CBox*>>& ofRun,
                                               const CRun* only,
                                               std::vector<std::uint64_t>* keys) const {
  // Laid end to end, last run first, as the rebuild inserts them.
  std::vector<CBox*> boxes;
  auto add = [&boxes, keys](CBox* box, std::size_t group, std::size_t index) {
    boxes.push_back(box);
    if (keys != nullptr) keys->push_back(SceneOrderKey(group, index));
  };
  std::size_t count = 0;
  for (const auto& own : ofRun) count += own.size();
  boxes.reserve(count + m_extraBoxes.size());
  if (keys != nullptr) keys->reserve(count + m_extraBoxes.size());
  for (std::size_t i = ofRun.size(); i-- > 0;) {
    // Without keys a run's boxes are copied whole: a large scene's order is made at every
    // settle of a turn.
    if (keys == nullptr) {
      boxes.insert(boxes.end(), ofRun[i].begin(), ofRun[i].end());
      continue;
    }
    for (std::size_t k = 0; k < ofRun[i].size(); ++k) add(ofRun[i][k], ofRun.size() - 1 - i, k);
  }
  for (std::size_t k = 0; k < m_extraBoxes.size(); ++k) {
    if (ExtraBoxShown(m_extraBoxes[k].element, only))
      add(m_extraBoxes[k].box.get(), m_runList.size(), k);
  }
  return boxes;
}

CDorneDoc::CSceneKey CDorneDoc::SceneKey() const {
  CSceneKey key;
  key.changes = m_projection.GetDisplayList().Changes();
  for (int i = 0; i < 3; ++i)
    key.angles[static_cast<std::size_t>(i)] = m_projection.GetViewAngle(i);
  const bool onlyCurrent = m_currentRunOnly && m_toolMode != kToolAllRuns;
  key.onlyRun = onlyCurrent ? m_currentRun : nullptr;
  if (onlyCurrent && m_currentRun == nullptr) key.changes = ~std::uint64_t{0};
  return key;
}

bool CDorneDoc::SceneKeyWhole() const {
  if (m_sceneHolds > 0 || m_heldRun != nullptr) return false;
  return !m_projection.GetDisplayList().Unordered() && SceneKey() == m_wholeScene;
}

bool CDorneDoc::HasWholeScene() {
  if (!SceneKeyWhole()) return false;
  // A box made since and never listed would be in a rebuilt scene. The list is made by now
  // (SceneKeyWhole ran a rebuild put off): the in-list bits are read as they stand, the
  // runs on several threads, each counting its boxes.
  struct Tally {
    std::size_t boxes = 0;
    bool allListed = true;
    void Count(const CBox* box) {
      ++boxes;
      allListed = allListed && (box->GetAttributes() & CBox::kInListBit) != 0;
    }
  };
  const std::size_t chunks =
      CParallelChunks::ChunkCount(m_runList.size(), kMinRunsCountedPerThread);
  std::vector<Tally> tallies(chunks);
  std::atomic<bool> markerLacking = false;
  CParallelChunks::Run(m_runList.size(), chunks,
                       [&](std::size_t chunk, std::size_t from, std::size_t to) {
                         Tally& tally = tallies[chunk];
                         auto count = [&tally](const CBox* box) { tally.Count(box); };
                         for (std::size_t k = from; k < to; ++k) {
                           const CRun& run = *m_runList[k];
                           if (m_wholeScene.onlyRun != nullptr && &run != m_wholeScene.onlyRun)
                             continue;
                           if (RunLacksMarkerBoxes(run)) markerLacking = true;
                           VisitRunSceneBoxes(run, count);
                         }
                       });
  if (markerLacking.load()) return false;
  Tally all;
  for (const CExtraBox& extra : m_extraBoxes) {
    if (ExtraBoxShown(extra.element, m_wholeScene.onlyRun)) all.Count(extra.box.get());
  }
  for (const Tally& tally : tallies) {
    all.boxes += tally.boxes;
    all.allListed = all.allListed && tally.allListed;
  }
  return all.allListed && all.boxes == m_projection.GetDisplayList().BoxCount();
}

void CDorneDoc::RebuildSceneUnlessKept() {
  if (!std::exchange(m_keptSceneArrived, false) || !SceneKeyWhole()) {
    RebuildScene();
    return;
  }
  Notify(EDocNotice::kSceneRebuilt);
}

std::vector<const CBox*> CDorneDoc::GetExtraBoxes() const {
  std::vector<const CBox*> boxes;
  boxes.reserve(m_extraBoxes.size());
  for (const CExtraBox& extra : m_extraBoxes) boxes.push_back(extra.box.get());
  return boxes;
}

std::optional<std::array<std::int32_t, 6>> CDorneDoc::GetEquipmentValues(
    const CDev& element) const {
  for (std::size_t i = m_extraBoxes.size(); i-- > 0;) {
    if (m_extraBoxes[i].element == &element) return m_extraBoxes[i].values;
  }
  return std::nullopt;
}

void CDorneDoc::AddEquipmentBox(CDev& element, const std::array<std::int32_t, 6>& values) {
  if (CRunReadSink* aside = CRunReadSink::Current()) {
    aside->AddEquipment(element, values);
    return;
  }
  auto box = std::make_unique<CBox>(&element);
  const C3DPoint origin = element.GetPosition() + C3DPoint(values[3], values[4], values[5]);
  box->SetPlacement(origin, values[0], values[1], values[2]);
  m_extraBoxes.push_back({&element, values, std::move(box)});
}

CBox* CDorneDoc::FindEquipmentBox(const CDev& element, int& index) {
  CRunReadSink::RefuseAside();
  for (std::size_t i = m_extraBoxes.size(); i-- > 0;) {
    if (m_extraBoxes[i].element != &element) continue;
    index = static_cast<int>(i);
    return m_extraBoxes[i].box.get();
  }
  return nullptr;
}

void CDorneDoc::SetEquipmentValues(const CDev& element, const std::array<std::int32_t, 6>& values) {
  CRunReadSink::RefuseAside();
  for (std::size_t i = m_extraBoxes.size(); i-- > 0;) {
    if (m_extraBoxes[i].element != &element) continue;
    m_extraBoxes[i].values = values;
    return;
  }
}

void CDorneDoc::RemoveExtraBoxes(const CDev& element, bool keepLast) {
  CRunReadSink::RefuseAside();
  bool lastSeen = !keepLast;
  for (std::size_t i = m_extraBoxes.size(); i-- > 0;) {
    if (m_extraBoxes[i].element != &element) continue;
    if (!lastSeen) {
      lastSeen = true;
      continue;
    }
    if (m_extraBoxes[i].box->IsListed()) m_projection.RemoveFromDisplayList(*m_extraBoxes[i].box);
    m_extraBoxes.erase(m_extraBoxes.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

CBox& CDorneDoc::InsertExtraBox(CDev& element, int index) {
  CRunReadSink::RefuseAside();
  const auto at =
      static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(m_extraBoxes.size())));
  auto box = std::make_unique<CBox>(&element);
  CBox& inserted = *box;
  m_extraBoxes.insert(m_extraBoxes.begin() + static_cast<std::ptrdiff_t>(at),
                      {&element, std::array<std::int32_t, 6>{}, std::move(box)});
  return inserted;
}

template <class Visit>
void CDorneDoc::VisitAllBoxes(Visit&& visit, const std::atomic<bool>* stop) {
  for (const CRun* run : m_runList) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) return;
    VisitBoxesHeldByRun(*run, visit);
  }
  for (CExtraBox& extra : m_extraBoxes) visit(*extra.box);
}

void CDorneDoc::ProjectAllBoxes(bool unlistedOnly, const std::atomic<bool>* stop) {
  if (!unlistedOnly) {
    VisitAllBoxes([this](CBox& box) { m_projection.ProjectBox(box); }, stop);
    return;
  }
  ProjectUnlistedBoxes(stop, nullptr);
}

void CDorneDoc::ProjectUnlistedBoxes(const std::atomic<bool>* stop,
                                     std::vector<std::vector<CBox*>>* ofRun) {
  // A box out of the scene is projected without touching the list, so the runs go on
  // several threads, once the list is made: its in-list bits are then read as they stand,
  // without the box asking its owner for the list.
  m_projection.GetDisplayList().Settle();
  auto projectUnlisted = [this](CBox& box) {
    if ((box.GetAttributes() & CBox::kInListBit) == 0) m_projection.ProjectBox(box);
  };
  const CRun* only = SceneKey().onlyRun;
  const std::size_t chunks = CParallelChunks::ChunkCount(m_runList.size(), kMinRunsPerThread);
  CParallelChunks::Run(m_runList.size(), chunks,
                       [&](std::size_t, std::size_t from, std::size_t to) {
                         for (std::size_t k = from; k < to; ++k) {
                           if (stop != nullptr && stop->load(std::memory_order_relaxed)) return;
                           CRun& run = *m_runList[k];
                           VisitBoxesHeldByRun(run, projectUnlisted);
                           // The run's elements were just read.
                           if (ofRun != nullptr && (only == nullptr || &run == only))
                             (*ofRun)[k] = RunSceneBoxes(run, false);
                         }
                       });
  if (stop != nullptr && stop->load(std::memory_order_relaxed)) return;
  for (CExtraBox& extra : m_extraBoxes) projectUnlisted(*extra.box);
}

void CDorneDoc::ReprojectAllBoxes() {
  VisitAllBoxes([this](CBox& box) { m_projection.ReprojectBox(box); });
}
