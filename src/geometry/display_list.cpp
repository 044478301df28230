#include "geometry/display_list.h"

#include "geometry/box.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr std::int64_t kSpacing = std::int64_t{1} << 32;
constexpr std::int64_t kLabelLimit = std::int64_t{1} << 62;
// The least spacing of keys after a renumbering.
constexpr std::int64_t kMinStep = std::int64_t{1} << 20;

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
  // A node freed by Clear was left as it was: it is reset when taken again, while the
  // insertion has it in the cache anyway.
  const bool reused = !m_free.empty();
  CDisplayNode* node = TakeNode();
  if (reused) ResetNode(*node);
  node->box = &box;
  node->flags = flags;
  return node;
}

CDisplayNode* CDisplayList::TakeNode() {
  ForgetLastOrder();
  if (!m_free.empty()) {
    CDisplayNode* node = m_free.back();
    m_free.pop_back();
    return node;
  }
  if (m_pool.empty() || m_poolUsed == BlockSize(m_pool.size() - 1)) {
    m_pool.push_back(std::make_unique<CDisplayNode[]>(BlockSize(m_pool.size())));
    m_poolUsed = 0;
  }
  return &m_pool.back()[m_poolUsed++];
}

std::size_t CDisplayList::BlockSize(std::size_t block) const {
  // Blocks that double up to a limit: a small list keeps little, a large one few blocks.
  constexpr std::size_t kFirstBlock = 64;
  constexpr std::size_t kLargestBlock = 8192;
  return std::min(kFirstBlock << std::min<std::size_t>(block, 16), kLargestBlock);
}

void CDisplayList::ResetNode(CDisplayNode& node) {
  // Keep the vectors' storage for the next insertion; reset everything else.
  node.edges.clear();
  node.inEdges.clear();
  node.box = nullptr;
  node.flags = 0;
  node.prev = node.next = nullptr;
  node.queryMark = node.frontMark = node.reachMark = node.placeMark = 0;
  node.filing = CScreenGrid::Filing();
  node.head = node.groupFirst = node.groupLast = nullptr;
  node.riders = 0;
  node.key = node.stamp = 0;
}

void CDisplayList::FreeNode(CDisplayNode* node) {
  ForgetLastOrder();
  ResetNode(*node);
  m_free.push_back(node);
}

void CDisplayList::InsertUnlisted(std::span<CBox* const> boxes) {
  Settle();
  InsertUnlisted(boxes, {});
}

void CDisplayList::InsertUnlisted(std::span<CBox* const> boxes,
                                  std::span<const std::uint64_t> keys) {
  Settle();
  if (FillByPlan(boxes, keys)) return;
  // Laid out for all of them at once, rather than again and again as they go in.
  if (m_head == nullptr) FileAll(boxes);
  // Far enough ahead for the memory to arrive, near enough for it to stay.
  constexpr std::size_t kAhead = 32;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (i + kAhead < boxes.size()) {
      const CBox* ahead = boxes[i + kAhead];
      ahead->Prefetch();
    }
    if (boxes[i]->InListBit()) continue;
    if (keys.size() != boxes.size()) Insert(*boxes[i]);
    else InsertWithKey(*boxes[i], keys[i]);
  }
}

void CDisplayList::Insert(CBox& box) {
  Settle();
  InsertWithKey(box, kNoKey);
  NoteInserted(box);
}

void CDisplayList::InsertWithKey(CBox& box, std::uint64_t key) {
  ++m_changes;
  // A box going in a second time must be in the depth order itself.
  if (const BoxNodes* listed = m_boxes.Find(&box); listed != nullptr && listed->count == 1) {
    CDisplayNode* first = listed->nodes[0];
    if (first->head != nullptr || first->riders != 0)
      LetRidersGo(first->head != nullptr ? first->head : first);
  }
  box.SetListed(true);
  BoxNodes& entry = m_boxes[&box];
  if (entry.count >= 2) return;
  m_rules.PrepareInsert(box);
  CDisplayNode* node = NewNode(box, entry.count == 0 ? 0 : CDepthOrderRules::kSecondNode);
  node->key = node->stamp = key;
  if (m_head == nullptr) {
    entry.nodes[entry.count++] = node;
    Append(node);
    m_grid.Add(node);
    return;
  }
  FindCandidates(*node, entry);
  entry.nodes[entry.count++] = node;
  if (CDisplayNode* head = FindCoincidingHead(*node)) return AddRider(node, head);
  m_answers.clear();
  for (CDisplayNode* other : m_candidates) {
    const int r = m_rules.CompareDepth(*node->box, *other->box, node->flags, other->flags);
    if (r != 0) m_answers.push_back({other, r});
  }
  LinkAnswers(node, m_answers);
  Append(node);
  m_grid.Add(node);
  if (m_firstFront != nullptr) PlaceBefore(node, m_firstFront);
  CheckGrid();
}

void CDisplayList::FindCandidates(const CDisplayNode& node, const BoxNodes& entry) {
  ++m_generation;
  std::vector<CDisplayNode*>& candidates = m_candidates;
  candidates.clear();
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
}

void CDisplayList::LinkAnswers(CDisplayNode* node, std::span<const Answer> answers) {
  // Every edge of the list runs from a later node to an earlier one, and the answers
  // come in list order. So an edge from a listed node to the new one never closes a
  // cycle, and one from the new node to E does exactly when E reaches, along old
  // edges, a node found in front of the new one before E.
  m_firstFront = nullptr;
  for (const auto& [other, r] : answers) {
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
  std::vector<std::pair<CDisplayNode*, std::size_t>>& stack = m_stack;
  stack.assign(1, {start, 0});
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
  std::vector<CDisplayNode*>& order = m_order;
  order.clear();
  std::vector<std::pair<CDisplayNode*, std::size_t>>& stack = m_stack;
  stack.assign(1, {node, node->edges.size()});
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
  ExpandGroups(order);
  CDisplayNode* const before = GroupFirst(anchor);
  for (CDisplayNode* moved : order) {
    Unlink(moved);
    LinkBefore(moved, before);
    moved->stamp = anchor->stamp;
  }
  LabelRun(order);
}

void CDisplayList::Unlink(CDisplayNode* node) {
  if (node->prev != nullptr) node->prev->next = node->next;
  else m_head = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
  else m_tail = node->prev;
  node->prev = node->next = nullptr;
  --m_size;
}

void CDisplayList::LinkBefore(CDisplayNode* node, CDisplayNode* anchor) {
  node->next = anchor;
  node->prev = anchor->prev;
  if (anchor->prev != nullptr) anchor->prev->next = node;
  else m_head = node;
  anchor->prev = node;
  ++m_size;
}

void CDisplayList::Append(CDisplayNode* node) {
  if (m_tail != nullptr && m_tail->label > kLabelLimit) RelabelAll();
  node->label = m_tail == nullptr ? 0 : m_tail->label + kSpacing;
  node->prev = m_tail;
  node->next = nullptr;
  if (m_tail != nullptr) m_tail->next = node;
  else m_head = node;
  m_tail = node;
  ++m_size;
}

void CDisplayList::LabelRun(std::span<CDisplayNode* const> run) {
  // The run stands just before the anchor: give it keys between its neighbours, and when
  // they stand too close, renumber a stretch around it that doubles until the keys there
  // can be spread out again. At either end of the list the keys may grow freely.
  CDisplayNode* first = run.front();
  CDisplayNode* last = run.back();
  std::int64_t count = static_cast<std::int64_t>(run.size());
  for (;;) {
    const CDisplayNode* before = first->prev;
    const CDisplayNode* after = last->next;
    if (before == nullptr && after == nullptr) return RelabelAll();
    const std::int64_t low =
        before != nullptr ? before->label : after->label - kSpacing * (count + 1);
    const std::int64_t high =
        after != nullptr ? after->label : before->label + kSpacing * (count + 1);
    if (low < -kLabelLimit || high > kLabelLimit) return RelabelAll();
    const std::int64_t step = (high - low) / (count + 1);
    if (step >= kMinStep || before == nullptr || after == nullptr) {
      std::int64_t label = low;
      for (CDisplayNode* node = first;; node = node->next) {
        node->label = label += step;
        if (node == last) return;
      }
    }
    for (std::int64_t i = 0, grow = count; i < grow && first->prev != nullptr; ++i, ++count)
      first = first->prev;
    for (std::int64_t i = 0, grow = count; i < grow && last->next != nullptr; ++i, ++count)
      last = last->next;
  }
}

void CDisplayList::RelabelAll() {
  std::int64_t label = 0;
  for (CDisplayNode* node = m_head; node != nullptr; node = node->next, label += kSpacing) {
    node->label = label;
  }
}

void CDisplayList::CheckGrid() {
  // Boxes much larger than the cells, or outside the grid, cost every query: lay the
  // cells out anew once one box in 32 is such a misfit (a run growing out of the first
  // layout makes every new box one). Their count must also have doubled
  // since the last layout, so that a scene that stays awkward does not pay a new layout
  // on every insertion.
  const std::size_t misfits = m_grid.MisfitCount();
  if (misfits <= 64 || misfits * 32 <= m_size || misfits < 2 * m_misfitsAfterLayout) return;
  std::vector<CBox*> boxes;
  for (CDisplayNode* node = m_head; node != nullptr; node = node->next) boxes.push_back(node->box);
  FileAll(boxes);
}

void CDisplayList::FileAll(std::span<CBox* const> boxes) {
  m_grid.Layout(boxes);
  for (CDisplayNode* node = m_head; node != nullptr; node = node->next) {
    if (node->head == nullptr) m_grid.Add(node);
  }
  m_misfitsAfterLayout = m_grid.MisfitCount();
}

void CDisplayList::Remove(CBox& box) {
  Settle();
  NoteRemoved(box);
  ++m_changes;
  box.SetListed(false);
  const BoxNodes* found = m_boxes.Find(&box);
  if (found == nullptr) return;
  const BoxNodes entry = *found;
  m_boxes.Erase(&box);
  for (int i = 0; i < entry.count; ++i) {
    CDisplayNode* node = entry.nodes[i];
    if (node->head != nullptr) RemoveRider(node);
    else if (node->riders != 0) node = HandOverToRider(node);
    RemoveNode(node);
  }
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
  Settle();
  ++m_changes;
  m_unordered = false;
  // Block by block rather than along the list: the nodes come in memory order, and the
  // free ones go back so that the next insertions take them in that order too.
  constexpr std::size_t kAhead = 8;
  m_free.clear();
  for (std::size_t block = m_pool.size(); block-- > 0;) {
    const std::size_t used = block + 1 == m_pool.size() ? m_poolUsed : BlockSize(block);
    CDisplayNode* const nodes = m_pool[block].get();
    for (std::size_t k = used; k-- > 0;) {
      if (k >= kAhead && nodes[k - kAhead].box != nullptr) nodes[k - kAhead].box->Prefetch();
      CDisplayNode& node = nodes[k];
      if (node.box != nullptr) {
        node.box->SetListed(false);
        node.box = nullptr;  // the rest when the node is taken again
      }
      m_free.push_back(&node);
    }
  }
  m_head = m_tail = m_cursor = nullptr;
  m_size = 0;
  m_boxes.Clear();
  ForgetLastOrder();
  m_grid.Reset();
  m_misfitsAfterLayout = 0;
  m_riders = 0;
  m_keyed = true;
  m_dirty.clear();
}

void CDisplayList::SwapContents(CDisplayList& other) {
  Settle();
  other.Settle();
  using std::swap;
  swap(m_head, other.m_head);
  swap(m_tail, other.m_tail);
  swap(m_size, other.m_size);
  swap(m_boxes, other.m_boxes);
  swap(m_pool, other.m_pool);
  swap(m_poolUsed, other.m_poolUsed);
  swap(m_free, other.m_free);
  swap(m_grid, other.m_grid);
  swap(m_misfitsAfterLayout, other.m_misfitsAfterLayout);
  swap(m_generation, other.m_generation);
  swap(m_unordered, other.m_unordered);
  swap(m_keyed, other.m_keyed);
  swap(m_dirty, other.m_dirty);
  swap(m_riders, other.m_riders);
  ForgetLastOrder();
  other.ForgetLastOrder();
  m_cursor = other.m_cursor = nullptr;
  m_changes = other.m_changes = std::max(m_changes, other.m_changes) + 1;
}

void CDisplayList::ResortOneByOne(const std::function<void(CBox&)>& project) {
  std::vector<CBox*> boxes = CollectBoxes();
  Clear();
  m_keyed = false;  // the list's order, not the keys'
  // No box is listed while the first ones go in again; a box projected before its turn
  // is not looked at until then.
  for (CBox* box : boxes) project(*box);
  PrepareFor(boxes);
  for (auto it = boxes.rbegin(); it != boxes.rend(); ++it) Insert(**it);
}

std::vector<CBox*> CDisplayList::CollectBoxes() const {
  Settle();
  std::vector<CBox*> boxes;
  boxes.reserve(m_size);
  for (const CDisplayNode* node = m_head; node != nullptr; node = node->next)
    boxes.push_back(node->box);
  return boxes;
}

void CDisplayList::PrepareFor(std::span<CBox* const> boxes) {
  Settle();
  FileAll(boxes);
}

void CDisplayList::Defer(std::function<void()> make) {
  m_deferred = nullptr;
  Clear();
  m_deferred = std::move(make);
}

bool CDisplayList::CancelDeferred() {
  return static_cast<bool>(std::exchange(m_deferred, nullptr));
}

void CDisplayList::RunDeferred() const {
  // Taken first: the rebuild uses the list.
  const std::function<void()> make = std::exchange(m_deferred, nullptr);
  make();
}

void CDisplayList::Forget(CBox& box) {
  if (!m_deferred && box.InListBit()) Remove(box);
}

void CDisplayList::Refile(const CBox& box) {
  Settle();
  ++m_changes;
  // Where the box stood before is no longer known.
  m_keyed = false;
  m_dirty.clear();
  const BoxNodes* entry = m_boxes.Find(&box);
  if (entry == nullptr) return;
  // A box that moved no longer coincides with its group.
  for (int i = 0; i < entry->count; ++i) {
    CDisplayNode* node = entry->nodes[i];
    if (node->head == nullptr && node->riders == 0) continue;
    LetRidersGo(node->head != nullptr ? node->head : node);
    entry = m_boxes.Find(&box);
    if (entry == nullptr) return;
  }
  for (int i = 0; i < entry->count; ++i) {
    m_grid.Remove(entry->nodes[i]);
    m_grid.Add(entry->nodes[i]);
  }
}

std::shared_ptr<const CDisplayList::CWalk> CDisplayList::KeptWalk() const {
  Settle();
  const std::lock_guard lock(m_walkMutex);
  if (m_keptWalk == nullptr || m_walkKeptAt != m_changes || m_keptWalk->size() != m_size)
    return nullptr;
  return m_keptWalk;
}

void CDisplayList::KeepWalk(std::shared_ptr<const CWalk> nodes) const {
  Settle();
  const std::lock_guard lock(m_walkMutex);
  m_keptWalk = std::move(nodes);
  m_walkKeptAt = m_changes;
}

CBox* CDisplayList::Iterate(int mode) {
  Settle();
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
  Settle();
  const BoxNodes* entry = m_boxes.Find(&box);
  return entry == nullptr ? 0 : entry->count;
}

std::vector<const CDisplayNode*> CDisplayList::EdgeTargets(const CDisplayNode& node) {
  return {node.edges.rbegin(), node.edges.rend()};
}
