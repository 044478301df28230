#pragma once

#include <deque>
#include <unordered_set>

class CDev;

// A walk over the chain of a run from its start element. Each Next gives the element at
// the cursor and moves the cursor to that element's first neighbour (with own direction
// first: the neighbour at its direction face first; then faces 0 to 5, back face left
// out), keeping every further neighbour in a list of branches. At a dead end the first
// kept branch becomes pending: the next call gives the branch node (the pending
// element's back neighbour) once more, then the walk goes on along that branch. Null at
// the end. An element met a second time (links that run in a circle in a damaged
// document) ends its path instead of being walked again.
class CElementIterator {
 public:
  CElementIterator(CDev* start, bool ownDirectionFirst);

  CDev* Next();

 private:
  void Advance(CDev* element);

  CDev* m_cursor = nullptr;
  CDev* m_pending = nullptr;
  std::deque<CDev*> m_branches;
  std::unordered_set<const CDev*> m_walked;
  bool m_ownDirectionFirst = false;
};
