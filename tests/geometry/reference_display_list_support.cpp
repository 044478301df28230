#include "reference_display_list.h"

#include "geometry/box.h"

#include <algorithm>

void CReferenceDisplayList::Insert(CBox& box) {
  box.SetListed(true);
  int count = 0;
  for (Node* n = m_head; n != nullptr; n = n->next) count += n->box == &box ? 1 : 0;
  if (count >= 2) return;
  m_rules.PrepareInsert(box);
  Node* node = new Node{&box, static_cast<std::uint32_t>(2 * count), {}, nullptr, nullptr};
  if (m_head == nullptr) {
    m_head = m_tail = node;
    return;
  }
  m_pending = node;
  for (Node* e = m_head; e != nullptr; e = e->next) {
    const int r = m_rules.CompareDepth(box, *e->box, node->flags, e->flags);
    if (r > 0) AddDepthEdge(node, e);
    if (r < 0) AddDepthEdge(e, node);
    e->flags &= ~1u;
  }
  m_pending = nullptr;
  node->prev = m_tail;
  m_tail->next = node;
  m_tail = node;
  for (Node* n = m_head; n != nullptr; n = n->next) PlaceBefore(n, n);
}

void CReferenceDisplayList::AddDepthEdge(Node* from, Node* to) {
  for (Node* n = m_head; n != nullptr; n = n->next) n->flags &= ~4u;
  if (m_pending != nullptr) m_pending->flags &= ~4u;
  if (PathExists(to, from)) return;
  from->edges.insert(from->edges.begin(), to);
}

bool CReferenceDisplayList::PathExists(Node* from, Node* to) {
  if (from == to) return true;
  if (from->flags & 4u) return false;
  from->flags |= 4u;
  for (Node* t : from->edges) {
    if (PathExists(t, to)) return true;
  }
  return false;
}

void CReferenceDisplayList::PlaceBefore(Node* node, Node* anchor) {
  if (node->flags & 1u) return;
  node->flags |= 1u;
  for (Node* t : node->edges) PlaceBefore(t, anchor);
  if (node == anchor) return;
  Unlink(node);
  node->next = anchor;
  node->prev = anchor->prev;
  if (anchor->prev != nullptr) anchor->prev->next = node;
  else m_head = node;
  anchor->prev = node;
}

void CReferenceDisplayList::Unlink(Node* node) {
  if (node->prev != nullptr) node->prev->next = node->next;
  else m_head = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
  else m_tail = node->prev;
  node->prev = node->next = nullptr;
}

void CReferenceDisplayList::Remove(CBox& box) {
  box.SetListed(false);
  for (Node* victim = m_head; victim != nullptr;) {
    Node* next = victim->next;
    if (victim->box == &box) {
      for (Node* n = m_head; n != nullptr; n = n->next) std::erase(n->edges, victim);
      Unlink(victim);
      delete victim;
    }
    victim = next;
  }
}

void CReferenceDisplayList::Clear() {
  while (m_head != nullptr) {
    Node* next = m_head->next;
    m_head->box->SetListed(false);
    delete m_head;
    m_head = next;
  }
  m_tail = nullptr;
}

std::vector<CBox*> CReferenceDisplayList::CollectBoxes() const {
  std::vector<CBox*> boxes;
  for (const Node* n = m_head; n != nullptr; n = n->next) boxes.push_back(n->box);
  return boxes;
}

void CReferenceDisplayList::ReinsertFromTail(const std::function<void(CBox&)>& project) {
  const std::vector<CBox*> listed = CollectBoxes();
  Clear();
  for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
    project(**it);
    Insert(**it);
  }
}
