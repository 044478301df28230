// Taking out and putting back a group of boxes that meets no other listed box.
//
// Such a group's boxes find candidates only among themselves, so that as they go in one
// after the other they stay together at the tail in the order they would have alone, and
// later insertions, which never reach them along an edge, never move them or come between
// them. Where the others put the group does not depend on what the group holds; so a new
// group that meets nothing either, put in the old one's place, gives the list that
// inserting every box anew would give.

#include "geometry/box.h"
#include "geometry/display_list.h"

#include <unordered_set>

template <class Own>
bool CDisplayList::MeetsOthers(const CBox& box, const Own& own) const {
  if (!box.HasFiniteProjection()) return false;
  bool meets = false;
  auto visit = [&](const CDisplayNode* other) {
    if (!meets && !own(other->box) && StrictlyOverlap(box, *other->box)) meets = true;
  };
  // A box too large for a query meets too much to be sure of cheaply.
  return !m_grid.Query(box, visit) || meets;
}

bool CDisplayList::TakeOutIsolated(std::span<CBox* const> boxes, CPlace& place) {
  Settle();
  if (m_unordered || boxes.empty()) return false;
  const std::unordered_set<const CBox*> own(boxes.begin(), boxes.end());
  auto isOwn = [&own](const CBox* box) { return own.contains(box); };
  std::unordered_set<const CDisplayNode*> nodes;
  for (const CBox* box : boxes) {
    const BoxNodes* entry = m_boxes.Find(box);
    if (entry == nullptr) return false;
    for (int i = 0; i < entry->count; ++i) nodes.insert(entry->nodes[static_cast<std::size_t>(i)]);
    if (MeetsOthers(*box, isOwn)) return false;
  }
  // Together: the stretch around any one of them holds all of them.
  const CDisplayNode* first = *nodes.begin();
  while (first->prev != nullptr && nodes.contains(first->prev)) first = first->prev;
  std::size_t stretch = 0;
  const CDisplayNode* last = first;
  for (const CDisplayNode* x = first; x != nullptr && nodes.contains(x); x = x->next, ++stretch)
    last = x;
  if (stretch != nodes.size()) return false;
  place = CPlace();
  if (const CDisplayNode* next = last->next) {
    place.after = next->box;
    place.second = (next->flags & CDepthOrderRules::kSecondNode) != 0;
  }
  for (CBox* box : boxes) Remove(*box);
  return true;
}

bool CDisplayList::InsertIsolated(std::span<CBox* const> boxes, const CPlace& place) {
  Settle();
  if (m_unordered) return false;
  CDisplayNode* anchor = nullptr;
  if (place.after != nullptr) {
    const BoxNodes* entry = m_boxes.Find(place.after);
    const int index = place.second ? 1 : 0;
    if (entry == nullptr || entry->count <= index) return false;
    anchor = entry->nodes[static_cast<std::size_t>(index)];
  }
  auto none = [](const CBox*) { return false; };
  for (const CBox* box : boxes) {
    if (!box->InListBit() && MeetsOthers(*box, none)) return false;
  }
  CDisplayNode* const oldTail = m_tail;
  for (CBox* box : boxes) {
    if (!box->InListBit()) Insert(*box);
  }
  CDisplayNode* const first = oldTail != nullptr ? oldTail->next : m_head;
  // Placed by the place taken, not by the keys.
  m_keyed = false;
  m_dirty.clear();
  if (anchor == nullptr || first == nullptr) return true;
  std::vector<CDisplayNode*> moved;
  for (CDisplayNode* x = first; x != nullptr; x = x->next) moved.push_back(x);
  for (CDisplayNode* x : moved) {
    Unlink(x);
    LinkBefore(x, anchor);
  }
  LabelRun(moved);
  return true;
}
