// Replacing one group of boxes (a run's) in a list filled in a known order, whatever the
// group meets on screen.
//
// Boxes that never meet on screen are never compared, and an insertion moves only the new
// box and boxes it meets, directly or along edges. So the list restricted to a set of
// boxes closed under meeting (with the boxes of each one's owner, whose faces its
// insertion closes) is the list those boxes alone make, inserted in their order; and such
// a set goes in again, meeting nothing else, as it went in the first time.
//
// What is left is where each of its nodes stands among the others. An insertion appends
// the new node, then may move it, with the nodes it lies in front of, just before a node
// it lies behind: among the nodes of other sets, a node so moved takes that node's place.
// Give each node a stamp: its key when appended, the stamp of the node it went before when
// moved (a rider takes its head's). Nodes of different sets then stand in the order of
// their stamps, and along the list the stamps never decrease. So the set's nodes, made
// again, go just before the first other node of a higher stamp, and the lowest such stamp
// is the key of the first box after theirs, in the order, whose node stands where it was
// appended (its stamp is its key).
//
// A box inserted or removed one by one since (an element's edit) moved, or let stand
// otherwise, only boxes it meets and their sets: it is noted, or the boxes it met are, and
// those go with the next group replaced.

#include "geometry/box.h"
#include "geometry/box_owner.h"
#include "geometry/display_list.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

// Beyond this many boxes noted (and an eighth of the list), the list forgets its keys
// rather than keep noting every box removed: a design freed, or made anew one box at a
// time.
constexpr std::size_t kMostNoted = 4096;

}  // namespace

void CDisplayList::NoteInserted(CBox& box) {
  if (!m_keyed) return;
  m_dirty.insert(&box);
  if (m_dirty.size() > std::max(kMostNoted, m_size / 8)) {
    m_keyed = false;
    m_dirty.clear();
  }
}

template <class Add>
bool CDisplayList::VisitMeeting(CBox& box, Add&& add) const {
  // Its owner's boxes, whose faces its insertion closes.
  if (const CBoxOwner* owner = box.GetOwner()) {
    for (int slot = 0; slot <= CBoxOwner::kBodySlot; ++slot) {
      CBox* kin = owner->GetBox(slot);
      if (kin != nullptr && kin != &box && kin->InListBit()) add(kin);
    }
  }
  // A rider meets what its head meets, and riders are not in the screen cells.
  auto addGroup = [&](CDisplayNode* node) {
    if (node->head == nullptr && node->riders == 0) return;
    CDisplayNode* const last = GroupLast(node);
    for (CDisplayNode* x = GroupFirst(node);; x = x->next) {
      if (x->box != &box) add(x->box);
      if (x == last) break;
    }
  };
  if (const BoxNodes* entry = m_boxes.Find(&box)) {
    for (int n = 0; n < entry->count; ++n) addGroup(entry->nodes[static_cast<std::size_t>(n)]);
  }
  if (!box.HasFiniteProjection()) return true;
  return m_grid.Query(box, [&](CDisplayNode* other) {
    if (other->box == &box || !StrictlyOverlap(box, *other->box)) return;
    add(other->box);
    addGroup(other);
  });
}

void CDisplayList::NoteRemoved(CBox& box) {
  if (!m_keyed) return;
  m_dirty.erase(&box);
  if (m_boxes.Find(&box) == nullptr) return;
  // The boxes met directly are enough: the others are met again from them.
  const bool told = VisitMeeting(box, [this](CBox* other) { m_dirty.insert(other); });
  if (!told || m_dirty.size() > std::max(kMostNoted, m_size / 8)) {
    m_keyed = false;
    m_dirty.clear();
  }
}

bool CDisplayList::ListedBoxesMeeting(std::span<CBox* const> boxes, std::vector<CBox*>& met,
                                      std::size_t most) {
  Settle();
  return GatherMeeting(boxes, met, most);
}

bool CDisplayList::GatherMeeting(std::span<CBox* const> boxes, std::vector<CBox*>& met,
                                 std::size_t most) {
  met.clear();
  if (m_unordered) return false;
  std::unordered_set<const CBox*> seen(boxes.begin(), boxes.end());
  std::vector<CBox*> queue(boxes.begin(), boxes.end());
  auto add = [&](CBox* box) {
    if (!seen.insert(box).second) return;
    queue.push_back(box);
    met.push_back(box);
  };
  for (std::size_t i = 0; i < queue.size(); ++i) {
    if (!VisitMeeting(*queue[i], add) || met.size() > most) {
      met.clear();
      return false;
    }
  }
  return true;
}

bool CDisplayList::ReplaceKeyedGroup(std::span<CBox* const> boxes,
                                     std::span<const std::uint64_t> keys,
                                     std::span<CBox* const> metBefore, std::size_t most,
                                     const CKeyedWalk& walk) {
  Settle();
  if (!m_keyed || m_unordered || keys.size() != boxes.size()) return false;
  std::vector<std::pair<std::uint64_t, CBox*>> group;
  group.reserve(boxes.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i]->InListBit()) return false;
    group.emplace_back(keys[i], boxes[i]);
  }
  std::vector<CBox*> from(boxes.begin(), boxes.end());
  std::unordered_set<const CBox*> listedFrom;
  for (CBox* box : metBefore) {
    if (!box->InListBit()) return false;
    if (listedFrom.insert(box).second) from.push_back(box);
  }
  for (CBox* box : m_dirty) {
    if (listedFrom.insert(box).second) from.push_back(box);
  }
  std::vector<CBox*> met;
  if (!GatherMeeting(from, met, most)) return false;
  met.insert(met.end(), from.begin() + static_cast<std::ptrdiff_t>(boxes.size()), from.end());
  for (CBox* box : met) {
    const BoxNodes* entry = m_boxes.Find(box);
    if (entry == nullptr || entry->count != 1 || entry->nodes[0]->key == kNoKey) return false;
    group.emplace_back(entry->nodes[0]->key, box);
  }
  std::sort(group.begin(), group.end());
  const auto same = [](const auto& a, const auto& b) { return a.first == b.first; };
  if (std::adjacent_find(group.begin(), group.end(), same) != group.end()) return false;

  // Every box noted goes in again: none is noted any longer.
  m_keyed = false;
  for (CBox* box : met) Remove(*box);
  m_keyed = true;
  std::vector<CDisplayNode*> nodes;
  nodes.reserve(group.size());
  for (const auto& [key, box] : group) {
    InsertWithKey(*box, key);
    nodes.push_back(m_boxes.Find(box)->nodes[0]);
  }
  PlaceKeyedGroup(nodes, walk);
  m_dirty.clear();
  return true;
}

CDisplayNode* CDisplayList::FirstOfStamp(CDisplayNode* node) const {
  while (node->prev != nullptr && node->prev->stamp == node->stamp) node = node->prev;
  return node;
}

void CDisplayList::PlaceKeyedGroup(std::vector<CDisplayNode*>& nodes, const CKeyedWalk& walk) {
  // The group stands in its own order wherever the others put it: take it out whole.
  std::sort(nodes.begin(), nodes.end(),
            [](const CDisplayNode* a, const CDisplayNode* b) { return a->label < b->label; });
  std::unordered_set<const CBox*> own;
  for (CDisplayNode* node : nodes) {
    own.insert(node->box);
    Unlink(node);
  }
  // Stretches of one stamp, each with the node of another set it goes before (none: the
  // tail), found from the last one back: a walk that meets the next stretch's own box
  // finds that stretch's.
  struct CStretch {
    std::size_t from = 0;
    std::size_t to = 0;
    CDisplayNode* before = nullptr;
  };
  std::vector<CStretch> stretches;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (i == 0 || nodes[i]->stamp != nodes[i - 1]->stamp) stretches.push_back({i, i, nullptr});
    stretches.back().to = i + 1;
  }
  for (std::size_t s = stretches.size(); s-- > 0;) {
    CStretch& stretch = stretches[s];
    const CBox* nextOwn = nullptr;
    if (s + 1 < stretches.size()) {
      for (std::size_t i = stretches[s + 1].from; i < stretches[s + 1].to; ++i) {
        if (nodes[i]->key == nodes[i]->stamp) nextOwn = nodes[i]->box;
      }
    }
    walk(nodes[stretch.from]->stamp, [&](CBox* box) {
      if (own.contains(box)) {
        if (box != nextOwn) return true;
        stretch.before = stretches[s + 1].before;
        return false;
      }
      const BoxNodes* entry = box->InListBit() ? m_boxes.Find(box) : nullptr;
      if (entry == nullptr || entry->count == 0) return true;
      CDisplayNode* node = entry->nodes[0];
      if (node->key != node->stamp) return true;
      stretch.before = FirstOfStamp(node);
      return false;
    });
  }
  // In order: stretches that go before one node stand in their order there.
  std::size_t segmentStart = 0;
  for (std::size_t s = 0; s < stretches.size(); ++s) {
    CDisplayNode* const before = stretches[s].before;
    for (std::size_t i = stretches[s].from; i < stretches[s].to; ++i) {
      if (before != nullptr) LinkBefore(nodes[i], before);
      else Append(nodes[i]);
    }
    const bool segmentEnds = s + 1 == stretches.size() || stretches[s + 1].before != before;
    if (!segmentEnds) continue;
    if (before != nullptr) {
      LabelRun(std::span<CDisplayNode* const>(nodes).subspan(segmentStart,
                                                             stretches[s].to - segmentStart));
    }
    segmentStart = stretches[s].to;
  }
}
