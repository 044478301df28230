#include "view/display_list.h"

#include "view/box.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kSpacing = std::int64_t{1} << 32;
constexpr std::int64_t kLabelLimit = std::int64_t{1} << 62;

bool StrictlyOverlap(const CBox& a, const CBox& b) {
  const C3DPoint& aMin = a.GetProjectedMin();
  const C3DPoint& aMax = a.GetProjectedMax();
  const C3DPoint& bMin = b.GetProjectedMin();
  const C3DPoint& bMax = b.GetProjectedMax();
  return aMin.x < bMax.x && bMin.x < aMax.x && aMin.y < bMax.y && bMin.y < aMax.y;
}

void EraseStable(std::vector<CDisplayNode*>& list, const CDisplayNode* node) {
  const auto it = std::find(list.begin(), list.end(), node);
  if (it != list.end()) list.erase(it);
}

void EraseUnordered(std::vector<CDisplayNode*>& list, const CDisplayNode* node) {
  const auto it = std::find(list.begin(), list.end(), node);
  if (it == list.end()) return;
  *it = list.back();
  list.pop_back();
}

}  // namespace

CDisplayList::CDisplayList(CDepthOrderRules& rules) : m_rules(rules) {}

CDisplayList::~CDisplayList() { Clear(); }

CDisplayNode* CDisplayList::NewNode(CBox& box, std::uint32_t flags) {
  CDisplayNode* node;
  if (m_free.empty()) {
    m_pool.push_back(std::make_unique<CDisplayNode>());
    node = m_pool.back().get();
  } else {
    node = m_free.back();
    m_free.pop_back();
  }
  node->box = &box;
  node->flags = flags;
  return node;
}

void CDisplayList::FreeNode(CDisplayNode* node) {
  // Keep the vectors' storage for the next insertion; reset everything else.
  node->edges.clear();
  node->inEdges.clear();
  node->box = nullptr;
  node->flags = 0;
  node->prev = node->next = nullptr;
  node->queryMark = node->frontMark = node->reachMark = node->placeMark = 0;
  node->filing = CScreenGrid::Filing();
  m_free.push_back(node);
}

void CDisplayList::Insert(CBox& box) {
  box.SetListed(true);
  BoxNodes& entry = m_boxes[&box];
  if (entry.count >= 2) return;
  m_rules.PrepareInsert(box);
  CDisplayNode* node = NewNode(box, entry.count == 0 ? 0 : CDepthOrderRules::kSecondNode);
  if (m_head == nullptr) {
    entry.nodes[entry.count++] = node;
    Append(node);
    m_grid.Add(node);
    return;
  }
  const std::vector<CDisplayNode*> candidates = FindCandidates(*node, entry);
  entry.nodes[entry.count++] = node;
  CompareWithCandidates(node, candidates);
  Append(node);
  m_grid.Add(node);
  if (m_firstFront != nullptr) PlaceBefore(node, m_firstFront);
  CheckGrid();
}

std::vector<CDisplayNode*> CDisplayList::FindCandidates(const CDisplayNode& node, const BoxNodes& entry) {
  ++m_generation;
  std::vector<CDisplayNode*> candidates;
  const CBox& box = *node.box;
  auto consider = [&](CDisplayNode* other) {
    if (other->queryMark == m_generation) return;
    other->queryMark = m_generation;
    if (other->box == &box || StrictlyOverlap(box, *other->box)) candidates.push_back(other);
  };
  // The box's own first node always answers (it lies behind its second node).
  if (entry.count == 1) consider(entry.nodes[0]);
  if (box.HasFiniteProjection()) {
    const bool queried = m_grid.Query(box, consider);
    if (!queried) {
      for (CDisplayNode* other = m_head; other != nullptr; other = other->next) {
        if (other->box->HasFiniteProjection()) consider(other);
      }
    }
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const CDisplayNode* a, const CDisplayNode* b) { return a->label < b->label; });
  return candidates;
}

void CDisplayList::CompareWithCandidates(CDisplayNode* node, const std::vector<CDisplayNode*>& candidates) {
  // Every edge of the list runs from a later node to an earlier one, and the candidates
  // come in list order. So an edge from a listed node to the new one never closes a
  // cycle, and one from the new node to E does exactly when E reaches, along old
  // edges, a node found in front of the new one before E.
  m_firstFront = nullptr;
  for (CDisplayNode* other : candidates) {
    const int r = m_rules.CompareDepth(*node->box, *other->box, node->flags, other->flags);
    if (r > 0) {
      if (!ReachesFront(other, node)) AddEdge(node, other);
    } else if (r < 0) {
      AddEdge(other, node);
      other->frontMark = m_generation;
      if (m_firstFront == nullptr) m_firstFront = other;
    }
  }
}

bool CDisplayList::ReachesFront(CDisplayNode* start, const CDisplayNode* newNode) {
  if (m_firstFront == nullptr) return false;
  const std::int64_t floor = m_firstFront->label;
  // Known answers: a node in front of the new one (or the new node itself) reaches it;
  // a node before the first such node cannot; a node seen in this insertion keeps its
  // answer, since nodes found in front later stand after it in the list.
  auto known = [&](const CDisplayNode* x, bool& answer) {
    if (x == newNode || x->frontMark == m_generation) {
      answer = true;
    } else if (x->label < floor) {
      answer = false;
    } else if (x->reachMark == m_generation) {
      answer = x->reaches;
    } else {
      return false;
    }
    return true;
  };
  bool answer = false;
  if (known(start, answer)) return answer;
  std::vector<std::pair<CDisplayNode*, std::size_t>> stack{{start, 0}};
  start->reachMark = m_generation;
  start->reaches = false;
  while (!stack.empty()) {
    auto& [x, index] = stack.back();
    if (index == x->edges.size()) {
      stack.pop_back();
      continue;
    }
    CDisplayNode* target = x->edges[index++];
    if (known(target, answer)) {
      if (!answer) continue;
      for (auto& entry : stack) entry.first->reaches = true;
      return true;
    }
    target->reachMark = m_generation;
    target->reaches = false;
    stack.emplace_back(target, 0);
  }
  return false;
}

void CDisplayList::AddEdge(CDisplayNode* from, CDisplayNode* to) {
  from->edges.push_back(to);
  to->inEdges.push_back(from);
}

void CDisplayList::PlaceBefore(CDisplayNode* node, CDisplayNode* anchor) {
  // Everything up to the anchor is in place. The new node and what it lies in front of
  // beyond the anchor move, depth first and newest edge first, just before the anchor.
  const std::int64_t floor = anchor->label;
  std::vector<CDisplayNode*> order;
  std::vector<std::pair<CDisplayNode*, std::size_t>> stack{{node, node->edges.size()}};
  node->placeMark = m_generation;
  while (!stack.empty()) {
    auto& [x, remaining] = stack.back();
    if (remaining == 0) {
      order.push_back(x);
      stack.pop_back();
      continue;
    }
    CDisplayNode* target = x->edges[--remaining];
    if (target->label <= floor || target->placeMark == m_generation) continue;
    target->placeMark = m_generation;
    stack.emplace_back(target, target->edges.size());
  }
  for (CDisplayNode* moved : order) {
    Unlink(moved);
    LinkBefore(moved, anchor);
  }
  LabelRun(order, anchor);
}

void CDisplayList::Unlink(CDisplayNode* node) {
  if (node->prev != nullptr) node->prev->next = node->next; else m_head = node->next;
  if (node->next != nullptr) node->next->prev = node->prev; else m_tail = node->prev;
  node->prev = node->next = nullptr;
  --m_size;
}

void CDisplayList::LinkBefore(CDisplayNode* node, CDisplayNode* anchor) {
  node->next = anchor;
  node->prev = anchor->prev;
  if (anchor->prev != nullptr) anchor->prev->next = node; else m_head = node;
  anchor->prev = node;
  ++m_size;
}

void CDisplayList::Append(CDisplayNode* node) {
  if (m_tail != nullptr && m_tail->label > kLabelLimit) RelabelAll();
  node->label = m_tail == nullptr ? 0 : m_tail->label + kSpacing;
  node->prev = m_tail;
  node->next = nullptr;
  if (m_tail != nullptr) m_tail->next = node; else m_head = node;
  m_tail = node;
  ++m_size;
}

void CDisplayList::LabelRun(std::span<CDisplayNode* const> run, CDisplayNode* anchor) {
  // The run stands just before the anchor: give it keys between its neighbours.
  const std::int64_t count = static_cast<std::int64_t>(run.size());
  const CDisplayNode* before = run.front()->prev;
  const std::int64_t high = anchor->label;
  const std::int64_t low = before != nullptr ? before->label : high - kSpacing * (count + 1);
  if (low < -kLabelLimit || high - low <= count) {
    RelabelAll();
    return;
  }
  const std::int64_t step = (high - low) / (count + 1);
  for (std::int64_t i = 0; i < count; ++i) run[i]->label = low + step * (i + 1);
}

void CDisplayList::RelabelAll() {
  std::int64_t label = 0;
  for (CDisplayNode* node = m_head; node != nullptr; node = node->next, label += kSpacing) {
    node->label = label;
  }
}

void CDisplayList::CheckGrid() {
  // Boxes much larger than the cells cost every query; choose the cells anew when they
  // have become common.
  // The count must also have doubled since the last choice, so that a scene whose large
  // boxes stay large does not pay a rebuild on every insertion.
  const std::size_t oversize = m_grid.OversizeCount();
  if (oversize <= 64 || oversize * 4 <= m_size || oversize < 2 * m_oversizeAfterRebuild) return;
  std::vector<CBox*> boxes;
  for (CDisplayNode* node = m_head; node != nullptr; node = node->next) boxes.push_back(node->box);
  PrepareFor(boxes);
  for (CDisplayNode* node = m_head; node != nullptr; node = node->next) m_grid.Add(node);
  m_oversizeAfterRebuild = m_grid.OversizeCount();
}

void CDisplayList::Remove(CBox& box) {
  box.SetListed(false);
  const auto it = m_boxes.find(&box);
  if (it == m_boxes.end()) return;
  const BoxNodes entry = it->second;
  m_boxes.erase(it);
  for (int i = 0; i < entry.count; ++i) RemoveNode(entry.nodes[i]);
}

void CDisplayList::RemoveNode(CDisplayNode* node) {
  for (CDisplayNode* source : node->inEdges) EraseStable(source->edges, node);
  for (CDisplayNode* target : node->edges) EraseUnordered(target->inEdges, node);
  m_grid.Remove(node);
  if (m_cursor == node) m_cursor = nullptr;
  Unlink(node);
  FreeNode(node);
}

void CDisplayList::Clear() {
  for (CDisplayNode* node = m_head; node != nullptr;) {
    CDisplayNode* next = node->next;
    node->box->SetListed(false);
    FreeNode(node);
    node = next;
  }
  m_head = m_tail = m_cursor = nullptr;
  m_size = 0;
  m_boxes.clear();
  m_grid.Reset(0.0);
  m_oversizeAfterRebuild = 0;
}

std::vector<CBox*> CDisplayList::CollectBoxes() const {
  std::vector<CBox*> boxes;
  boxes.reserve(m_size);
  for (const CDisplayNode* node = m_head; node != nullptr; node = node->next) boxes.push_back(node->box);
  return boxes;
}

void CDisplayList::PrepareFor(std::span<CBox* const> boxes) {
  std::vector<double> extents;
  extents.reserve(boxes.size());
  for (const CBox* box : boxes) {
    const C3DPoint size = box->GetProjectedMax() - box->GetProjectedMin();
    extents.push_back(std::max(size.x, size.y));
  }
  m_grid.Reset(CScreenGrid::SuggestCellSize(std::move(extents)));
}

void CDisplayList::Refile(const CBox& box) {
  const auto it = m_boxes.find(&box);
  if (it == m_boxes.end()) return;
  for (int i = 0; i < it->second.count; ++i) {
    m_grid.Remove(it->second.nodes[i]);
    m_grid.Add(it->second.nodes[i]);
  }
}

CBox* CDisplayList::Iterate(int mode) {
  switch (mode) {
    case 10: m_cursor = m_head; break;
    case -1: m_cursor = m_cursor != nullptr ? m_cursor->next : nullptr; break;
    case 0: m_cursor = m_tail; break;
    case 1: m_cursor = m_cursor != nullptr ? m_cursor->prev : nullptr; break;
    default: m_cursor = nullptr; break;
  }
  return m_cursor == nullptr ? nullptr : PassBox(*m_cursor);
}

CBox* CDisplayList::PassBox(const CDisplayNode& node) {
  CBox* box = node.box;
  std::uint32_t pass = box->GetPassWord() & ~CBox::kSecondPassBit;
  if (node.flags & CDepthOrderRules::kSecondNode) pass |= CBox::kSecondPassBit;
  box->SetPassWord(pass);
  return box;
}

int CDisplayList::NodeCount(const CBox& box) const {
  const auto it = m_boxes.find(&box);
  return it == m_boxes.end() ? 0 : it->second.count;
}

std::vector<const CDisplayNode*> CDisplayList::EdgeTargets(const CDisplayNode& node) {
  return {node.edges.rbegin(), node.edges.rend()};
}
