#pragma once

#include <array>
#include <cstdint>
#include <vector>

class CBoxOwner;

// CBoxOwner::MeetsToward asked of many elements for one target, as the comparisons of one
// inserted box ask it: a walk that ended at the end of its chain without meeting any
// element twice is remembered for every element it passed, and a later walk that reaches
// one of those goes no further, since it would go on exactly as that one did. Answers are
// those of MeetsToward as long as no link changes; a new target forgets the walks.
class CWalksToTarget {
 public:
  // Forgets every walk, as links may have changed.
  void Forget() { ++m_round; }
  bool Meets(const CBoxOwner& from, int direction, const CBoxOwner* target);

 private:
  struct Known {
    const CBoxOwner* element = nullptr;
    std::uint64_t round = 0;
    int direction = -1;
    bool meets = false;
    bool whole = false;  // the walk ended at the end of its chain, meeting no element twice
  };
  // Walks remembered in a table indexed by the element's address: a clash only costs a
  // walk.
  static constexpr std::size_t kTableSize = 4096;
  // The elements after the start of a whole walk that are remembered with it: enough for
  // the neighbours of a box's element, which its comparisons meet too.
  static constexpr std::size_t kPassedKept = 4;

  const Known* Find(const CBoxOwner* element, int direction) const;
  bool Keep(const CBoxOwner* element, int direction, bool meets, bool whole);

  std::vector<Known> m_table;
  std::uint64_t m_round = 1;
  const CBoxOwner* m_target = nullptr;
  std::vector<const CBoxOwner*> m_passed;
};

// CBoxOwner::MeetsToward asked of one element in one direction for many targets, as the
// comparisons of one inserted box ask it: the walk goes only as far as the questions need
// (mostly a neighbour or two), and once it has ended its elements are sorted for lookups.
class CWalkFrom {
 public:
  void Start(const CBoxOwner* from, int direction);
  bool Started(const CBoxOwner* from, int direction) const {
    return m_from == from && m_direction == direction;
  }
  bool Meets(const CBoxOwner* target);

 private:
  // Goes one element further, as CBoxOwner's walk does; false once the walk has ended.
  bool Step();

  const CBoxOwner* m_from = nullptr;
  int m_direction = -1;
  const CBoxOwner* m_tortoise = nullptr;
  bool m_moveTortoise = false;
  bool m_ended = true;
  std::vector<const CBoxOwner*> m_met;     // in the order met
  std::vector<const CBoxOwner*> m_sorted;  // the same, sorted, once the walk has ended
};
