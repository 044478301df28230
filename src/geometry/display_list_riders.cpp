// Boxes that coincide with a listed box ride with its node (see CDisplayList). A group is
// its head and the head's riders, always next to one another in the list.

#include "geometry/box.h"
#include "geometry/display_list.h"

#include <utility>
#include <vector>

CDisplayNode* CDisplayList::FindCoincidingHead(const CDisplayNode& node) const {
  if (m_noRiders || node.flags != 0) return nullptr;
  for (CDisplayNode* other : m_candidates) {
    if (other->head == nullptr && other->flags == 0 && m_rules.AnswerAlike(*node.box, *other->box))
      return other;
  }
  return nullptr;
}

CDisplayNode* CDisplayList::GroupFirst(CDisplayNode* node) {
  CDisplayNode* head = node->head != nullptr ? node->head : node;
  return head->riders != 0 ? head->groupFirst : head;
}

CDisplayNode* CDisplayList::GroupLast(CDisplayNode* node) {
  CDisplayNode* head = node->head != nullptr ? node->head : node;
  return head->riders != 0 ? head->groupLast : head;
}

void CDisplayList::AddRider(CDisplayNode* node, CDisplayNode* head) {
  AddRider(node, head, m_rules.CompareDepth(*node->box, *head->box, 0, 0) < 0);
}

void CDisplayList::AddRider(CDisplayNode* node, CDisplayNode* head, bool behind) {
  // Where the insertion would put it among its twins: before them when they lie in front.
  CDisplayNode* const first = GroupFirst(head);
  CDisplayNode* const last = GroupLast(head);
  node->head = head;
  node->stamp = head->stamp;
  ++head->riders;
  ++m_riders;
  head->groupFirst = behind ? node : first;
  head->groupLast = behind ? last : node;
  CDisplayNode* next = behind ? first : last->next;
  if (next == nullptr) return Append(node);
  LinkBefore(node, next);
  CDisplayNode* const run[] = {node};
  LabelRun(run);
}

void CDisplayList::RemoveRider(CDisplayNode* node) {
  CDisplayNode* head = node->head;
  if (head->groupFirst == node) head->groupFirst = node->next;
  if (head->groupLast == node) head->groupLast = node->prev;
  --head->riders;
  --m_riders;
  node->head = nullptr;
}

CDisplayNode* CDisplayList::HandOverToRider(CDisplayNode* head) {
  // The rider next to the leaving head takes its box's place in the node, which keeps its
  // edges and screen cells; the rider's own node goes instead. The boxes left keep their
  // order.
  CDisplayNode* rider = head->prev != nullptr && head->prev->head == head ? head->prev : head->next;
  CBox* const riderBox = rider->box;
  BoxNodes* entry = m_boxes.Find(riderBox);
  for (int i = 0; i < entry->count; ++i) {
    if (entry->nodes[static_cast<std::size_t>(i)] == rider)
      entry->nodes[static_cast<std::size_t>(i)] = head;
  }
  if (m_cursor == head) m_cursor = nullptr;
  else if (m_cursor == rider) m_cursor = head;
  rider->box = head->box;
  head->box = riderBox;
  head->key = rider->key;
  if (head->groupFirst == rider) head->groupFirst = head;
  if (head->groupLast == rider) head->groupLast = head;
  --head->riders;
  --m_riders;
  rider->head = nullptr;
  return rider;
}

void CDisplayList::LetRidersGo(CDisplayNode* head) {
  // Each rider goes in again on its own, compared with every box it meets.
  std::vector<CBox*> riders;
  CDisplayNode* const last = GroupLast(head);
  for (CDisplayNode* x = GroupFirst(head);; x = x->next) {
    if (x != head) riders.push_back(x->box);
    if (x == last) break;
  }
  for (CBox* box : riders) Remove(*box);
  m_noRiders = true;
  for (CBox* box : riders) Insert(*box);
  m_noRiders = false;
}

void CDisplayList::ExpandGroups(std::vector<CDisplayNode*>& order) const {
  if (m_riders == 0) return;
  std::vector<CDisplayNode*> expanded;
  expanded.reserve(order.size());
  for (CDisplayNode* node : order) {
    if (node->riders == 0) {
      expanded.push_back(node);
      continue;
    }
    CDisplayNode* const last = GroupLast(node);
    for (CDisplayNode* x = GroupFirst(node);; x = x->next) {
      expanded.push_back(x);
      if (x == last) break;
    }
  }
  order = std::move(expanded);
}
