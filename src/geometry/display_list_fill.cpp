// Filling an empty display list with many boxes at once (a scene made anew).
//
// Inserting boxes one by one into an empty list is what a re-sort in a given order is
// defined as (display_list_resort.cpp), so the same plan makes it on several threads: each
// box gets a new node, with its key and a stamp as InsertWithKey gives them, and the plan
// makes the order, the edges, the riders and the screen cells from there. A box given twice
// would go in once, at its first place, which the plan does not follow: such a list, like a
// list not empty, is filled one box at a time.

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/display_list_resort_plan.h"

#include <utility>
#include <vector>

namespace {

// Fewer boxes than this go in one by one. Fewer than a re-sort needs: a fill makes every
// edge and screen cell anew, where a re-sort keeps its nodes' storage, and the scene of a
// layout opened at start-up is waited for.
constexpr std::size_t kMinConcurrentFill = 1024;

}  // namespace

bool CDisplayList::FillByPlan(std::span<CBox* const> boxes, std::span<const std::uint64_t> keys) {
  if (m_head != nullptr || m_unordered || m_boxes.Size() != 0 ||
      boxes.size() < kMinConcurrentFill || m_rules.MakeConcurrentComparer() == nullptr)
    return false;
  if (!EnterBoxesOnce(boxes)) return false;
  // A change for every box, as the insertions one by one count them.
  m_changes += boxes.size();
  std::vector<CDisplayNode*> nodes(boxes.size());
  for (CDisplayNode*& node : nodes) node = TakeNode();
  const bool keyed = keys.size() == boxes.size();
  CResortPlan plan(*this, nullptr);
  plan.TakeNewNodes(boxes, keyed ? keys : std::span<const std::uint64_t>(), std::move(nodes));
  plan.Run([](CBox&) {});
  // Boxes inserted without keys are noted as Insert notes them.
  if (!keyed) {
    for (CBox* box : boxes) NoteInserted(*box);
  }
  return true;
}

bool CDisplayList::EnterBoxesOnce(std::span<CBox* const> boxes) {
  // Far enough ahead for the memory to arrive, near enough for it to stay.
  constexpr std::size_t kAhead = 32;
  for (std::size_t k = 0; k < boxes.size(); ++k) {
    if (k + kAhead < boxes.size() && boxes[k + kAhead] != nullptr) boxes[k + kAhead]->Prefetch();
    CBox* const box = boxes[k];
    // A box listed elsewhere must not be taken from that list's table.
    if (box == nullptr || box->InListBit()) {
      m_boxes.Clear();
      return false;
    }
    BoxNodes& entry = m_boxes[box];
    if (entry.count != 0) {
      m_boxes.Clear();
      return false;
    }
    entry.count = 1;
    entry.index = static_cast<std::uint32_t>(k);
  }
  return true;
}
