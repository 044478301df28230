#include "geometry/chain_memo.h"

#include "geometry/box_owner.h"

namespace {

bool IsWalkDirection(int direction) { return direction >= 0 && direction <= 5; }

// Questions about one subject answered by plain walks before the memory takes over.
constexpr int kPlainQuestions = 16;
// Entries of the memory taken out one by one when it forgets; more empty the maps whole.
constexpr std::size_t kErasedOneByOne = 256;

}  // namespace

// m_path holds every element either map has an entry for (some more than once), so that
// forgetting a few costs what was remembered rather than the maps' size: the comparer
// forgets on every insertion. Past some hundreds, emptying the maps whole is cheaper.
void CChainMemo::Reset() {
  m_subject = nullptr;
  m_questions = 0;
  m_ownWalk = CNeighbourWalk();
  m_ownDirection = -1;
  if (m_path.size() > kErasedOneByOne) {
    m_ownMet.Clear();
    m_meetsSubject.Clear();
  } else {
    for (const CBoxOwner* element : m_path) {
      m_ownMet.Erase(element);
      m_meetsSubject.Erase(element);
    }
  }
  m_path.clear();
}

void CChainMemo::SetSubject(const CBoxOwner* subject) {
  if (subject == m_subject) return;
  Reset();
  m_subject = subject;
}

bool CChainMemo::Meets(const CBoxOwner& start, int direction, const CBoxOwner* target) {
  if (!IsWalkDirection(direction) || target == nullptr) return false;
  if (m_subject == nullptr || ++m_questions <= kPlainQuestions)
    return start.MeetsToward(direction, target);
  if (&start == m_subject) return OwnWalkMeets(direction, target);
  if (target == m_subject) return WalkMeetsSubject(start, direction);
  return start.MeetsToward(direction, target);
}

bool CChainMemo::MeetsEither(const CBoxOwner& a, int directionA, const CBoxOwner& b,
                             int directionB) {
  if (m_subject != nullptr && (m_questions += 2) > kPlainQuestions)
    return Meets(a, directionA, &b) || Meets(b, directionB, &a);
  // Plain walks, taken in step: of two elements on one chain, the walk from the one in
  // front meets the other after as many steps as lie between them, and the other walk,
  // which would have run on to the chain's end, goes no further than that either. A design
  // read from a file lists each run's elements from the chain's far end, so that its scene
  // would take the long walk first for nearly every pair.
  CNeighbourWalk walkA(&a, IsWalkDirection(directionA) ? directionA : -1);
  CNeighbourWalk walkB(&b, IsWalkDirection(directionB) ? directionB : -1);
  while (!walkA.Ended() || !walkB.Ended()) {
    if (walkA.Next() == &b || walkB.Next() == &a) return true;
  }
  return false;
}

bool CChainMemo::OwnWalkMeets(int direction, const CBoxOwner* target) {
  if (direction != m_ownDirection) {
    m_ownWalk = CNeighbourWalk(m_subject, direction);
    m_ownDirection = direction;
    for (const CBoxOwner* element : m_path) m_ownMet.Erase(element);
  }
  if (m_ownMet.Find(target) != nullptr) return true;
  // Walk on only as far as this question needs.
  while (const CBoxOwner* next = m_ownWalk.Next()) {
    m_ownMet[next] = true;
    m_path.push_back(next);
    if (next == target) return true;
  }
  return false;
}

bool CChainMemo::WalkMeetsSubject(const CBoxOwner& start, int direction) {
  if (const std::uint32_t known = Known(&start, direction)) return known == 2;
  // The walk has met every element that start can reach once it ends; stopping at an
  // element with a known answer adds what that element can reach.
  const std::size_t first = m_path.size();
  m_path.push_back(&start);
  bool meets = false;
  CNeighbourWalk walk(&start, direction);
  while (const CBoxOwner* next = walk.Next()) {
    if (next == m_subject) {
      meets = true;
      break;
    }
    if (const std::uint32_t known = Known(next, direction)) {
      meets = known == 2;
      break;
    }
    m_path.push_back(next);
  }
  // Every element on the path reaches what the rest of the walk met.
  for (std::size_t i = first; i < m_path.size(); ++i) Store(m_path[i], direction, meets);
  return meets;
}

std::uint32_t CChainMemo::Known(const CBoxOwner* element, int direction) const {
  const std::uint32_t* bits = m_meetsSubject.Find(element);
  return bits == nullptr ? 0 : (*bits >> (2 * direction)) & 3u;
}

void CChainMemo::Store(const CBoxOwner* element, int direction, bool meets) {
  std::uint32_t& bits = m_meetsSubject[element];
  bits = (bits & ~(3u << (2 * direction))) | ((meets ? 2u : 1u) << (2 * direction));
}
