#pragma once

// The display list's re-sort worked out on several threads (display_list_resort.cpp), and a
// list filled from empty the same way (display_list_fill.cpp). Private to the list.

#include "geometry/display_list.h"
#include "geometry/uninitialized_allocator.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

// A re-sort under way: the insertion order, the words every box goes through, and the
// answers of the comparisons made ahead.
class CDisplayList::CResortPlan {
 public:
  CResortPlan(CDisplayList& list, const std::atomic<bool>* stop) : m_list(list), m_stop(stop) {}

  // Runs the steps below in turn; false as soon as the stop flag is seen set, the list
  // then half made.
  bool Run(const std::function<void(CBox&)>& project);
  // After a stop: the list as it stood before, unordered.
  void Restore();

  // Takes the list's nodes in the order their boxes go in again (from the tail); Link
  // empties the list.
  void TakeNodes();
  // The same in the order given: the one node of every box of the list, each once, with
  // its box numbered by its place there (FirstNodesInOrder).
  void TakeNodesInOrder(std::vector<CDisplayNode*> nodes);
  // Of an empty list: the boxes given go in, each once in that order, with the key of the
  // same place (none when keys is empty), each to the node of the same place, not reset
  // yet. Each box is in the list's table already, numbered by its place, with one node.
  void TakeNewNodes(std::span<CBox* const> boxes, std::span<const std::uint64_t> keys,
                    std::vector<CDisplayNode*> nodes);
  // Projects every box anew (on several threads), the grid emptied meanwhile.
  void Project(const std::function<void(CBox&)>& project);
  // Prepares every box as Insert would, in insertion order among the boxes of its owner
  // (owners on several threads), noting each word it takes; files the nodes in the grid.
  void PrepareBoxes();
  // Makes every comparison of every insertion, on several threads.
  void CompareAhead();
  // Makes the edges and the order from the answers, one insertion after the other.
  void Link();
  // Both at once, for a re-sort that cannot be called off: the links of the steps already
  // compared are made while the later ones are compared.
  void CompareAndLink();
  // Hands the list's nodes from head to tail to its readers (KeepWalk), when each box has
  // one node: their order keys sorted on several threads, rather than the picture waiting
  // for a walk along the list, node after scattered node.
  void KeepWalk();

 private:
  struct Note {
    std::uint32_t box;
    std::uint32_t step;  // i + 1: from the preparation of step i on
    std::uint32_t word;
  };
  struct StepAnswers {
    std::uint32_t chunk = 0;
    std::uint32_t from = 0;
    std::uint32_t to = 0;
    std::uint32_t alikeFrom = 0;  // in m_alike, the earlier boxes met answering alike
    std::uint32_t alikeTo = 0;
  };

  void TakeSteps();
  // How many bands the grid is filed in, on as many threads.
  std::size_t BandCount() const;
  // Of Project: boxes from to to projected, the spread of their bounds gathered.
  void ProjectPiece(std::size_t from, std::size_t to, const std::function<void(CBox&)>& project,
                    CScreenGrid::Spread& spread);
  // Of Project: asks for the memory of the node and box a few steps after k, below to.
  void FetchAhead(std::size_t k, std::size_t to) const;
  // Of Project, when step k is box k: its node made ready for the step.
  void TakeStepOfBox(std::size_t k);
  // Of Project: box k projected anew, its bounds, first word and group taken.
  void ProjectBox(std::size_t k, const std::function<void(CBox&)>& project);
  static void ClearForStep(CDisplayNode& node, std::size_t step);
  void PrepareOwners(std::size_t group, std::vector<Note>& notes);
  void FileWords(const std::vector<std::vector<Note>>& notes);
  std::uint32_t WordAt(std::uint32_t box, std::size_t step) const;
  void FindEarlierMet(std::size_t step, std::vector<std::uint32_t>& met) const;
  // Of CompareAhead: the answer lists made ready for that many chunks of steps.
  std::size_t PrepareAnswers();
  // The fewest steps whose comparisons are worth a thread of their own.
  std::size_t MinComparedStepsPerThread() const;
  // Of CompareAhead: the comparisons of steps from to to, as the chunk's.
  void CompareSteps(std::size_t chunk, std::size_t from, std::size_t to);
  // Of Link: the list emptied for the links.
  void BeginLink();
  // Of Link: the links of step i; a rider's node leaves the grid at once, or is added to
  // riders for the caller to take out later.
  void LinkStep(std::size_t i, std::vector<CDisplayNode*>* riders);
  // Of Link: the head that step's node rides with, as Insert would find it, with the
  // depth answer of the two; null when it rides with none.
  const Answer* CoincidingHead(std::size_t step) const;
  static void ClearGroup(CDisplayNode& node);
  // Whether the stop flag is set, looked at every so many items of a loop.
  bool StoppedAt(std::size_t item) const;
  bool Stopped() const { return m_stop != nullptr && m_stop->load(std::memory_order_relaxed); }

  // Large arrays filled item by item, most of them on several threads, before anything
  // reads them: not zeroed first on this one.
  template <class T>
  using Filled = std::vector<T, CUninitializedAllocator<T>>;

  CDisplayList& m_list;
  const std::atomic<bool>* m_stop;
  std::vector<CDisplayNode*> m_steps;       // from the former tail
  std::vector<std::uint32_t> m_stepFlags;   // each step's node's flags in the new list
  Filled<CBox*> m_boxes;                    // each box once, in the order of its first step
  std::vector<CDisplayNode*> m_firstNodes;  // by box: its node of the earlier step
  Filled<std::uint32_t> m_boxOfStep;
  bool m_stepsAreBoxes = false;           // step k is box k, its node cleared by Project
  bool m_newNodes = false;                // and the node is new to the box (TakeNewNodes)
  std::span<const std::uint64_t> m_keys;  // of the new nodes' boxes
  bool m_mayRide = true;                  // no box without an owner goes in twice
  std::size_t m_groups = 1;               // of owners, prepared on several threads
  Filled<std::uint32_t> m_groupOfBox;     // by the stretch of memory of the box's owner (or box)
  Filled<std::uint32_t> m_initialWord;
  Filled<CScreenGrid::Bounds> m_bounds;        // each box's on screen, as projected anew
  std::vector<CScreenGrid::Spread> m_spreads;  // of the bounds, by piece of the projection
  std::vector<std::uint32_t> m_firstWord;      // each box's words in m_words, by step
  std::vector<std::pair<std::uint32_t, std::uint32_t>> m_words;
  std::vector<std::vector<Answer>> m_answers;  // by chunk of steps
  std::vector<std::vector<Answer>> m_alike;    // by chunk of steps
  Filled<StepAnswers> m_stepAnswers;           // filled step by step as the comparisons are made
};
