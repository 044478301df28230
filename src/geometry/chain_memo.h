#pragma once

#include "geometry/neighbour_walk.h"
#include "geometry/pointer_map.h"

#include <cstdint>
#include <vector>

class CBoxOwner;

// CBoxOwner::MeetsToward for the questions one comparison after another asks about the
// same element, its subject: which elements the subject's own walk meets, and whether the
// walks of other elements meet the subject. Each is answered from walks made once: what
// one element can reach is that element's next neighbour and what that neighbour can
// reach, so a walk may stop at an element whose answer is known. The first few questions
// about a subject, and questions about neither, walk as MeetsToward does: most subjects
// are asked a few questions only, which remembering would make dearer.
//
// The answers hold while no element's links change: Reset() before any may have.
class CChainMemo {
 public:
  // Forgets every answer; the next subject starts afresh.
  void Reset();
  // Keeps the answers when the subject stays the same, else forgets them.
  void SetSubject(const CBoxOwner* subject);
  // start.MeetsToward(direction, target).
  bool Meets(const CBoxOwner& start, int direction, const CBoxOwner* target);
  // a.MeetsToward(directionA, &b) || b.MeetsToward(directionB, &a): whether either lies
  // behind the other along its own walk.
  bool MeetsEither(const CBoxOwner& a, int directionA, const CBoxOwner& b, int directionB);

 private:
  bool OwnWalkMeets(int direction, const CBoxOwner* target);
  bool WalkMeetsSubject(const CBoxOwner& start, int direction);
  // The answer known for an element's walk in a direction: 0 none, 1 misses, 2 meets.
  std::uint32_t Known(const CBoxOwner* element, int direction) const;
  void Store(const CBoxOwner* element, int direction, bool meets);

  const CBoxOwner* m_subject = nullptr;
  int m_questions = 0;  // about the subject so far
  // The subject's own walk so far, and the elements it met.
  CNeighbourWalk m_ownWalk;
  int m_ownDirection = -1;
  CPointerMap<CBoxOwner, bool> m_ownMet;
  // Per element, two bits per direction: whether its walk meets the subject.
  CPointerMap<CBoxOwner, std::uint32_t> m_meetsSubject;
  std::vector<const CBoxOwner*> m_path;
};
