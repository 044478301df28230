#pragma once

// Straight runs of elements stacked at one place, exactly on one another or each a little
// above the last, for the depth-order tests of crowded stacks: each element a body and a
// length toward the next one, as the layout makes them.

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

class CStackedRuns {
 public:
  // Runs come in levels of runsPerLevel laid exactly on one another, each level rise above
  // the last: twins within a level, none across levels.
  CStackedRuns(C3DProjection& projection, int runs, int elements, double rise, int runsPerLevel = 1)
      : m_projection(projection), m_elements(elements) {
    for (int r = 0; r < runs; ++r) AddRun(C3DPoint(0, 0, (r / runsPerLevel) * rise));
    for (std::size_t i = 0; i < m_boxes.size(); ++i) m_index[m_boxes[i].get()] = i;
    for (const auto& box : m_boxes) m_projection.ProjectBox(*box);
  }
  // The boxes leave the projection's list before they go, whichever is destroyed first.
  ~CStackedRuns() { m_projection.ClearDisplayList(); }
  CStackedRuns(const CStackedRuns&) = delete;
  CStackedRuns& operator=(const CStackedRuns&) = delete;

  // Slot 0 the body, 1 the length.
  CBox* Box(int run, int element, int slot) const {
    const std::size_t i = (static_cast<std::size_t>(run) * m_elements + element) * 2 + slot;
    return m_boxes[i].get();
  }
  CBox* Numbered(std::size_t number) const { return m_boxes[number].get(); }
  int Runs() const { return static_cast<int>(m_boxes.size()) / (2 * m_elements); }
  int Elements() const { return m_elements; }
  std::size_t Size() const { return m_boxes.size(); }
  // The boxes' numbers (run by run, element by element, body first) in the list's order.
  std::vector<std::size_t> Numbers(const std::vector<CBox*>& list) const {
    std::vector<std::size_t> numbers;
    for (const CBox* box : list) numbers.push_back(m_index.at(box));
    return numbers;
  }

 private:
  void AddRun(const C3DPoint& start) {
    CFakeElement* previous = nullptr;
    for (int k = 0; k < m_elements; ++k) {
      const C3DPoint at = start + C3DPoint(1000.0 * k, 0, 0);
      auto element = std::make_unique<CFakeElement>();
      element->projection = &m_projection;
      element->kind = k == 0 ? 0 : 9;
      element->direction = 4;
      element->position = at;
      if (previous != nullptr) CFakeElement::Link(*previous, 4, *element);
      AddBox(*element, CBoxOwner::kBodySlot, at, 220, 220, 220);
      AddBox(*element, 4, at + C3DPoint(500, 0, 0), 130, 1000, 130);
      previous = element.get();
      m_owners.push_back(std::move(element));
    }
  }
  void AddBox(CFakeElement& owner, int slot, const C3DPoint& origin, int e0, int e1, int e2) {
    auto box = std::make_unique<CBox>();
    owner.Adopt(slot, *box);
    box->SetPlacement(origin, e0, e1, e2);
    m_boxes.push_back(std::move(box));
  }

  C3DProjection& m_projection;
  int m_elements;
  std::vector<std::unique_ptr<CFakeElement>> m_owners;
  std::vector<std::unique_ptr<CBox>> m_boxes;
  std::map<const CBox*, std::size_t> m_index;
};
