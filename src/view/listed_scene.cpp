#include "view/listed_scene.h"

#include <algorithm>
#include <array>

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

// The nodes of the list in its order into `nodes`, and the boxes of nodes that are their
// boxes' second ones into `second`. Each step waits for the next node to come from memory:
// a long list is walked from both ends at once, to the middle.
void WalkList(const CDisplayList& list, std::vector<const CDisplayNode*>& nodes,
              std::vector<const CBox*>& second) {
  const std::size_t count = list.Size();
  nodes.assign(count, nullptr);
  const std::size_t half = count < kMinNodesPerLook ? count : count / 2;
  std::array<std::vector<const CBox*>, 2> seconds;
  const auto note = [&](const CDisplayNode* node, std::size_t end) {
    if ((node->flags & CDepthOrderRules::kSecondNode) != 0) seconds[end].push_back(node->box);
  };
  CParallelChunks::Run(2, half == count ? 1 : 2, [&](std::size_t end, std::size_t, std::size_t) {
    if (end == 0) {
      const CDisplayNode* node = list.Head();
      for (std::size_t at = 0; at < half && node != nullptr; ++at, node = node->next) {
        nodes[at] = node;
        note(node, end);
      }
    } else {
      const CDisplayNode* node = list.Tail();
      for (std::size_t at = count; at > half && node != nullptr; --at, node = node->prev) {
        nodes[at - 1] = node;
        note(node, end);
      }
    }
  });
  second = std::move(seconds[0]);
  second.insert(second.end(), seconds[1].begin(), seconds[1].end());
}

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
  WalkList(list, m_nodes, m_listedTwice);
  std::sort(m_listedTwice.begin(), m_listedTwice.end());
  // A box listed twice keeps the pass of the later of its nodes, as one walk down the list
  // leaves it: its nodes may lie in stretches drawn at once, so it is passed here.
  if (!m_listedTwice.empty()) {
    for (const CDisplayNode* node : m_nodes) {
      if (ListedTwice(node->box) && ToDraw(*node->box)) CDisplayList::PassBox(*node);
    }
  }
  if (!list.Unordered()) return;
  std::vector<std::pair<double, const CBox*>> byDepth;
  byDepth.reserve(m_nodes.size());
  for (const CBox* box : Boxes())
    byDepth.emplace_back(box->GetProjectedMin().z + box->GetProjectedMax().z, box);
  SortStablyByKey(byDepth);
  m_byDepth.reserve(byDepth.size());
  for (const auto& [depth, box] : byDepth) m_byDepth.push_back(box);
  m_unordered = true;
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
    boxes.clear();
    Collect(at, std::min(at + kPlacesAtATime, to), boxes);
    GatherStaleTapOffMarks(boxes, toolMode, marks);
    DrawSceneBoxes(dc, m_document, boxes, options, cache, true);
  }
}
