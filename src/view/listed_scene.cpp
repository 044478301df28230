#include "view/listed_scene.h"

#include <algorithm>
#include <array>
#include <thread>

#include "geometry/box.h"
#include "geometry/depth_order_rules.h"
#include "geometry/display_list.h"
#include "geometry/parallel_chunks.h"
#include "geometry/stable_key_sort.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "view/draw_context.h"
#include "view/element_drawing.h"
#include "view/scene_drawing.h"

namespace {

// Fewer listed boxes than this are walked and looked over on one thread.
constexpr std::size_t kMinNodesPerLook = 8000;
// How many places of a stretch are looked over, then drawn, at a time: few enough for
// their boxes to be at hand still when drawn.
constexpr std::size_t kPlacesAtATime = 128;

// How many places a walk goes between telling how far it has come.
constexpr std::size_t kPlacesBetweenTellings = 64;

// Where the walk from the head stops and the one from the tail begins: a short list is
// walked from its head alone.
std::size_t MiddleOf(std::size_t count) { return count < kMinNodesPerLook ? count : count / 2; }

}  // namespace

void PrefetchBox(const CBox& box) {
  const char* bytes = reinterpret_cast<const char*>(&box);
  for (std::size_t line = 0; line < sizeof(CBox); line += 64) __builtin_prefetch(bytes + line);
  __builtin_prefetch(bytes + sizeof(CBox) - 1);
}

void PrefetchOwner(const CBox& box) {
  const char* bytes = reinterpret_cast<const char*>(box.GetOwner());
  if (bytes == nullptr) return;
  for (std::size_t line = 0; line < sizeof(CDev); line += 64) __builtin_prefetch(bytes + line);
  __builtin_prefetch(bytes + sizeof(CDev) - 1);
}

CListedScene::CListedScene(const CDrawContext& dc, const CDorneDoc& document, bool marksBeside)
    : CListedScene(dc, document, marksBeside, CWalkLater{}) {
  Walk();
}

CListedScene::CListedScene(const CDrawContext& dc, const CDorneDoc& document, bool marksBeside,
                           CWalkLater)
    : m_document(document) {
  const CSize size = dc.DeviceSize();
  // The target widened by its own size on every side, since an element draws its labels
  // and symbols beside its boxes. A box drawn without marks beside it keeps within its
  // projected corners, each rounded to a logical unit; a pixel or so more on every side
  // covers the rounding to the device.
  const CSize margin = marksBeside ? size : CSize{2, 2};
  const CPoint a = dc.ToLogical({-margin.cx, -margin.cy});
  const CPoint b = dc.ToLogical({size.cx + margin.cx, size.cy + margin.cy});
  const double unit = marksBeside ? 0.0 : 1.0;
  m_bounds = {double(std::min(a.x, b.x)) - unit, double(std::min(a.y, b.y)) - unit,
              double(std::max(a.x, b.x)) + unit, double(std::max(a.y, b.y)) + unit};
  const CDisplayList& list = document.Projection().GetDisplayList();
  const std::size_t count = list.Size();
  m_kept = list.KeptWalk();
  if (m_kept != nullptr) {
    // The order holds as it was walked, each box with one node: nothing to walk.
    m_nodes = *m_kept;
    m_headWalked.store(count, std::memory_order_relaxed);
  } else {
    m_walk = std::make_shared<std::vector<const CDisplayNode*>>(count, nullptr);
    m_nodes = *m_walk;
  }
  m_tailWalked.store(count, std::memory_order_relaxed);
}

void CListedScene::KeepWalk() const {
  // A list left unordered by a turn keeps its nodes' order, which its walk gives as well.
  if (m_walk == nullptr || !m_listedTwice.empty()) return;
  const CDisplayList& list = m_document.Projection().GetDisplayList();
  if (list.BoxCount() != m_nodes.size()) return;
  // A walk cut short by a list shorter than told would leave places empty.
  if (!m_nodes.empty() && (m_nodes.front() == nullptr || m_nodes.back() == nullptr)) return;
  list.KeepWalk(m_walk);
}

void CListedScene::WalkEnd(std::size_t end, std::vector<const CBox*>* seconds) {
  const CDisplayList& list = m_document.Projection().GetDisplayList();
  const std::size_t count = m_nodes.size();
  const std::size_t middle = MiddleOf(count);
  const std::span<const CDisplayNode*> nodes = *m_walk;
  if (end == 0) {
    const CDisplayNode* node = list.Head();
    std::size_t at = 0;
    for (; at < middle && node != nullptr; ++at, node = node->next) {
      nodes[at] = node;
      if (seconds != nullptr && (node->flags & CDepthOrderRules::kSecondNode) != 0)
        seconds->push_back(node->box);
      if (at % kPlacesBetweenTellings == 0) m_headWalked.store(at, std::memory_order_release);
    }
    m_headWalked.store(at, std::memory_order_release);
  } else {
    const CDisplayNode* node = list.Tail();
    std::size_t at = count;
    for (; at > middle && node != nullptr; --at, node = node->prev) {
      nodes[at - 1] = node;
      if (seconds != nullptr && (node->flags & CDepthOrderRules::kSecondNode) != 0)
        seconds->push_back(node->box);
      if (at % kPlacesBetweenTellings == 0) m_tailWalked.store(at, std::memory_order_release);
    }
    m_tailWalked.store(at, std::memory_order_release);
  }
}

void CListedScene::AwaitWalked(std::size_t from, std::size_t to) const {
  // The walks are under way on other threads whenever a stretch waits for them.
  for (;;) {
    const std::size_t head = m_headWalked.load(std::memory_order_acquire);
    const std::size_t tail = m_tailWalked.load(std::memory_order_acquire);
    if (to <= head || from >= tail || head >= tail) return;
    std::this_thread::yield();
  }
}

void CListedScene::WalkBothEnds() {
  const std::size_t count = m_nodes.size();
  std::array<std::vector<const CBox*>, 2> seconds;
  CParallelChunks::Run(
      2, MiddleOf(count) == count ? 1 : 2,
      [&](std::size_t end, std::size_t, std::size_t) { WalkEnd(end, &seconds[end]); });
  m_listedTwice = std::move(seconds[0]);
  m_listedTwice.insert(m_listedTwice.end(), seconds[1].begin(), seconds[1].end());
  std::sort(m_listedTwice.begin(), m_listedTwice.end());
  KeepWalk();
}

void CListedScene::Walk() {
  if (m_walked) return;
  m_walked = true;
  if (m_kept == nullptr) WalkBothEnds();
  // A box listed twice keeps the pass of the later of its nodes, as one walk down the list
  // leaves it: its nodes may lie in stretches drawn at once, so it is passed here.
  if (!m_listedTwice.empty()) {
    for (const CDisplayNode* node : m_nodes) {
      if (ListedTwice(node->box) && ToDraw(*node->box)) CDisplayList::PassBox(*node);
    }
  }
  if (!m_document.Projection().GetDisplayList().Unordered()) return;
  std::vector<std::pair<double, const CBox*>> byDepth;
  byDepth.reserve(m_nodes.size());
  for (const CBox* box : Boxes())
    byDepth.emplace_back(box->GetProjectedMin().z + box->GetProjectedMax().z, box);
  SortStablyByKey(byDepth);
  m_byDepth.reserve(byDepth.size());
  for (const auto& [depth, box] : byDepth) m_byDepth.push_back(box);
  m_unordered = true;
}

void CListedScene::PrepareStretches() {
  if (m_walked) return;
  const CDisplayList& list = m_document.Projection().GetDisplayList();
  m_walkMeanwhile = !list.Unordered() && list.BoxCount() == m_nodes.size();
  m_fromBothEnds = m_walkMeanwhile && MiddleOf(m_nodes.size()) < m_nodes.size();
  // A kept walk stands for the walks that would be made meanwhile.
  if (m_kept != nullptr) m_walkMeanwhile = false;
  if (!m_walkMeanwhile) Walk();
}

std::vector<CSceneStretch> PlanStretches(std::size_t places, std::size_t threads,
                                         std::size_t fewest, bool fromBothEnds) {
  threads = std::max<std::size_t>(threads, 1);
  fewest = std::max<std::size_t>(fewest, 1);
  // Each stretch takes its share of what no thread has taken yet, never fewer places than
  // `fewest`: the last ones are short, and a thread that ends late ends soon after the
  // others.
  std::vector<std::size_t> sizes;
  for (std::size_t left = places; left > 0;) {
    const std::size_t size = std::min(left, std::max((left + threads - 1) / threads, fewest));
    sizes.push_back(size);
    left -= size;
  }
  // Taken from the head, or from both ends in turn toward the middle.
  std::vector<std::size_t> headward, tailward;
  for (std::size_t turn = 0; turn < sizes.size(); ++turn)
    (fromBothEnds && turn % 2 == 1 ? tailward : headward).push_back(turn);
  std::vector<CSceneStretch> stretches(sizes.size());
  std::size_t index = 0, at = 0;
  for (const std::size_t turn : headward) {
    stretches[turn] = {index++, at, at + sizes[turn]};
    at += sizes[turn];
  }
  for (auto turn = tailward.rbegin(); turn != tailward.rend(); ++turn) {
    stretches[*turn] = {index++, at, at + sizes[*turn]};
    at += sizes[*turn];
  }
  return stretches;
}

std::vector<CSceneStretch> CListedScene::Stretches(std::size_t threads, std::size_t fewest) const {
  const std::size_t places = Size();
  return PlanStretches(places, threads, fewest, m_fromBothEnds);
}

void CListedScene::DrawInStretches(std::span<const CSceneStretch> stretches,
                                   const std::function<void(const CSceneStretch&)>& draw) {
  std::size_t walks = 0;
  if (m_walkMeanwhile) {
    walks = MiddleOf(m_nodes.size()) < m_nodes.size() ? 2 : 1;
  } else {
    Walk();
  }
  m_walked = true;
  m_walkMeanwhile = false;
  // The walks first, each on a thread of its own since nothing waits for them.
  CParallelChunks::Run(stretches.size() + walks, stretches.size() + walks,
                       [&](std::size_t piece, std::size_t, std::size_t) {
                         if (piece < walks) return WalkEnd(piece, nullptr);
                         draw(stretches[piece - walks]);
                       });
  if (walks > 0) KeepWalk();
}

bool CListedScene::ToDraw(const CBox& box) const {
  if (!box.HasFiniteProjection()) return false;
  const C3DPoint& low = box.GetProjectedMin();
  const C3DPoint& high = box.GetProjectedMax();
  return high.x >= m_bounds.left && low.x <= m_bounds.right && high.y >= m_bounds.top &&
         low.y <= m_bounds.bottom;
}

bool CListedScene::ListedTwice(const CBox* box) const {
  return !m_listedTwice.empty() &&
         std::binary_search(m_listedTwice.begin(), m_listedTwice.end(), box);
}

void CListedScene::Collect(std::size_t from, std::size_t to,
                           std::vector<const CBox*>& boxes) const {
  for (std::size_t at = from; at < to; ++at) {
    // A node is asked for before its box, which is read from the node: each stands far
    // from the other in memory.
    if (at + 2 * kBoxesFetchedAhead < to) __builtin_prefetch(m_nodes[at + 2 * kBoxesFetchedAhead]);
    if (at + kBoxesFetchedAhead < to) PrefetchBox(*m_nodes[at + kBoxesFetchedAhead]->box);
    const CDisplayNode& node = *m_nodes[at];
    if (!ToDraw(*node.box)) continue;
    boxes.push_back(ListedTwice(node.box) ? node.box : CDisplayList::PassBox(node));
  }
}

std::vector<const CBox*> CListedScene::Boxes() const {
  if (m_unordered) return m_byDepth;
  const std::size_t chunks = CParallelChunks::ChunkCount(m_nodes.size(), kMinNodesPerLook);
  std::vector<std::vector<const CBox*>> found(chunks);
  CParallelChunks::Run(m_nodes.size(), chunks,
                       [&](std::size_t chunk, std::size_t from, std::size_t to) {
                         found[chunk].reserve(to - from);
                         Collect(from, to, found[chunk]);
                       });
  std::vector<const CBox*> boxes;
  boxes.reserve(m_nodes.size());
  for (const std::vector<const CBox*>& stretch : found)
    boxes.insert(boxes.end(), stretch.begin(), stretch.end());
  return boxes;
}

void CListedScene::DrawStretch(CDrawContext& dc, std::size_t from, std::size_t to,
                               const CSceneDrawOptions& options, CElementDrawCache& cache,
                               std::vector<CDev*>& marks) const {
  const int toolMode = m_document.GetToolMode();
  if (m_unordered) {
    const std::span<const CBox* const> boxes = std::span(m_byDepth).subspan(from, to - from);
    GatherStaleTapOffMarks(boxes, toolMode, marks);
    return DrawSceneBoxes(dc, m_document, boxes, options, cache, true);
  }
  std::vector<const CBox*> boxes;
  boxes.reserve(std::min(kPlacesAtATime, to - from));
  for (std::size_t at = from; at < to; at += kPlacesAtATime) {
    AwaitWalked(at, std::min(at + kPlacesAtATime, to));
    boxes.clear();
    Collect(at, std::min(at + kPlacesAtATime, to), boxes);
    GatherStaleTapOffMarks(boxes, toolMode, marks);
    DrawSceneBoxes(dc, m_document, boxes, options, cache, true);
  }
}
