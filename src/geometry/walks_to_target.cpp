#include "geometry/walks_to_target.h"

#include "geometry/box_owner.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace {

std::size_t SlotOf(const CBoxOwner* element, std::size_t size) {
  return (reinterpret_cast<std::uintptr_t>(element) / alignof(CBoxOwner)) % size;
}

}  // namespace

const CWalksToTarget::Known* CWalksToTarget::Find(const CBoxOwner* element, int direction) const {
  if (m_table.empty()) return nullptr;
  const Known& known = m_table[SlotOf(element, m_table.size())];
  if (known.element != element || known.direction != direction || known.round != m_round)
    return nullptr;
  return &known;
}

bool CWalksToTarget::Keep(const CBoxOwner* element, int direction, bool meets, bool whole) {
  if (m_table.empty()) m_table.resize(kTableSize);
  m_table[SlotOf(element, m_table.size())] = {element, m_round, direction, meets, whole};
  return meets;
}

bool CWalksToTarget::Meets(const CBoxOwner& from, int direction, const CBoxOwner* target) {
  if (direction < 0 || direction > 5 || target == nullptr) return false;
  if (target != m_target) {
    Forget();
    m_target = target;
  }
  if (const Known* known = Find(&from, direction)) return known->meets;
  // CBoxOwner's walk, step for step: its tortoise ends a walk whose links run in a circle.
  // A whole walk from the next element, once reached, is what this walk does from there
  // on: it can meet neither this walk's start nor its tortoise, or that walk would not
  // have been whole.
  m_passed.clear();
  const CBoxOwner* tortoise = &from;
  bool moveTortoise = false;
  bool meets = false;
  for (const CBoxOwner* next = from.GetNeighbour(direction); next != nullptr;
       next = next->GetNeighbour(direction)) {
    if (next == target) return Keep(&from, direction, true, false);
    // Walks join near their starts (the neighbours' walks), if at all.
    const Known* known = m_passed.size() <= kPassedKept ? Find(next, direction) : nullptr;
    if (known != nullptr && known->whole) {
      meets = known->meets;
      break;
    }
    m_passed.push_back(next);
    if (moveTortoise) tortoise = tortoise->GetNeighbour(direction);
    moveTortoise = !moveTortoise;
    if (next == tortoise || next == &from) return Keep(&from, direction, false, false);
  }
  // Whole: every element passed goes on as this walk did, past no target.
  for (std::size_t i = 0; i < m_passed.size() && i < kPassedKept; ++i)
    Keep(m_passed[i], direction, meets, true);
  return Keep(&from, direction, meets, true);
}

void CWalkFrom::Start(const CBoxOwner* from, int direction) {
  m_from = m_tortoise = from;
  m_direction = direction;
  m_moveTortoise = false;
  m_ended = from == nullptr || direction < 0 || direction > 5;
  m_met.clear();
  m_sorted.clear();
}

bool CWalkFrom::Step() {
  if (m_ended) return false;
  const CBoxOwner* next = (m_met.empty() ? m_from : m_met.back())->GetNeighbour(m_direction);
  if (next == nullptr) {
    m_ended = true;
    m_sorted = m_met;
    std::sort(m_sorted.begin(), m_sorted.end(), std::less<>());
    return false;
  }
  m_met.push_back(next);
  if (m_moveTortoise) m_tortoise = m_tortoise->GetNeighbour(m_direction);
  m_moveTortoise = !m_moveTortoise;
  if (next == m_tortoise || next == m_from) {
    m_ended = true;
    m_sorted = m_met;
    std::sort(m_sorted.begin(), m_sorted.end(), std::less<>());
  }
  return true;
}

bool CWalkFrom::Meets(const CBoxOwner* target) {
  if (target == nullptr) return false;
  if (m_ended) return std::binary_search(m_sorted.begin(), m_sorted.end(), target, std::less<>());
  if (std::find(m_met.begin(), m_met.end(), target) != m_met.end()) return true;
  while (Step()) {
    if (m_met.back() == target) return true;
  }
  return false;
}
