#pragma once

#include "geometry/box_owner.h"

// A walk along the neighbours of an element in one direction, one element at a time, that
// may be left and taken up again. It ends where the chain ends or once the links turn out
// to run in a circle (a damaged file): the hare moves each step, the tortoise every second
// one, and a return to the start ends it too. Before it ends it has met every element that
// can be reached from the start in one step or more, each at least once.
class CNeighbourWalk {
 public:
  CNeighbourWalk() = default;
  // A walk that ends at once unless direction is 0..5.
  CNeighbourWalk(const CBoxOwner* start, int direction)
      : m_start(start),
        m_tortoise(start),
        m_last(start),
        m_direction(direction),
        m_ended(start == nullptr || direction < 0 || direction > 5) {}

  // The next element, or null once the walk has ended.
  const CBoxOwner* Next() {
    if (m_ended) return nullptr;
    const CBoxOwner* next = m_last->GetNeighbour(m_direction);
    if (next == nullptr) {
      m_ended = true;
      return nullptr;
    }
    m_last = next;
    if (m_moveTortoise) m_tortoise = m_tortoise->GetNeighbour(m_direction);
    m_moveTortoise = !m_moveTortoise;
    if (next == m_tortoise || next == m_start) m_ended = true;
    return next;
  }
  bool Ended() const { return m_ended; }
  // The last element met (the start before the first step).
  const CBoxOwner* Last() const { return m_last; }

 private:
  const CBoxOwner* m_start = nullptr;
  const CBoxOwner* m_tortoise = nullptr;
  const CBoxOwner* m_last = nullptr;
  int m_direction = 0;
  bool m_moveTortoise = false;
  bool m_ended = true;
};
