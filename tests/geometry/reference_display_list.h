#pragma once

#include "geometry/depth_order_rules.h"

#include <cstdint>
#include <functional>
#include <vector>

class CBox;

// The display list exactly as the ordering rule states it, without any shortcut: every
// insertion compares the new box with every listed node, every edge first clears the
// search marks of all nodes and searches the whole graph for a path back, and every
// insertion ends with a placement pass over the whole list. The tests hold the fast
// list to this one.
class CReferenceDisplayList {
 public:
  struct Node {
    CBox* box = nullptr;
    std::uint32_t flags = 0;   // 1 placed, 2 second node, 4 visited by the path search
    std::vector<Node*> edges;  // in edge-list order: the newest first
    Node* prev = nullptr;
    Node* next = nullptr;
  };

  explicit CReferenceDisplayList(CDepthOrderRules& rules) : m_rules(rules) {}
  ~CReferenceDisplayList() { Clear(); }
  CReferenceDisplayList(const CReferenceDisplayList&) = delete;
  CReferenceDisplayList& operator=(const CReferenceDisplayList&) = delete;

  void Insert(CBox& box);
  void Remove(CBox& box);
  void Clear();
  std::vector<CBox*> CollectBoxes() const;
  // What a re-sort after a turn is defined as: the boxes inserted again from the tail,
  // each projected anew by project first.
  void ReinsertFromTail(const std::function<void(CBox&)>& project);
  const Node* Head() const { return m_head; }

 private:
  void AddDepthEdge(Node* from, Node* to);
  bool PathExists(Node* from, Node* to);
  void PlaceBefore(Node* node, Node* anchor);
  void Unlink(Node* node);

  CDepthOrderRules& m_rules;
  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  Node* m_pending = nullptr;  // the node being inserted, not yet linked
};
