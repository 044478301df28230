#pragma once

// Straight runs of elements for the depth-order tests: laid on one another or each a
// little above the last, their links whole or damaged, their boxes made or read back from
// their stored records.

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "support/archive_bytes.h"

#include <memory>
#include <ostream>
#include <vector>

struct ChainCase {
  int angle0;
  int angle1;
  int runs;
  int elements;
  double rise;    // of each run over the last
  int damage;     // 0 none, 1 rings, 2 links onto the element itself, 3 links into another run
  bool readBack;  // boxes read from their stored records (corners as stored)
  unsigned seed;
};

// Printed field by field: the padding between them holds no value to print.
inline void PrintTo(const ChainCase& c, std::ostream* os) {
  *os << "angles " << c.angle0 << "/" << c.angle1 << ", " << c.runs << " runs of " << c.elements
      << ", rise " << c.rise << ", damage " << c.damage << (c.readBack ? ", read back" : "")
      << ", seed " << c.seed;
}

class CChainScene {
 public:
  CChainScene(C3DProjection& projection, const ChainCase& c) : m_projection(projection) {
    for (int r = 0; r < c.runs; ++r) {
      const C3DPoint start(r % 2 == 0 ? 0.0 : 0.5, 0, r * c.rise);
      runs.push_back(AddRun(start, c.elements, c.readBack && r % 2 == 1));
    }
    Damage(c.damage);
    for (auto& box : boxes) {
      m_projection.ProjectBox(*box);
      m_projection.UpdateFaceVisibility(*box);
    }
  }

  // The boxes leave the projection's list before they go, whichever is destroyed first.
  ~CChainScene() { m_projection.ClearDisplayList(); }
  CChainScene(const CChainScene&) = delete;
  CChainScene& operator=(const CChainScene&) = delete;

  std::vector<std::unique_ptr<CBox>> boxes;
  std::vector<std::vector<CFakeElement*>> runs;

 private:
  std::vector<CFakeElement*> AddRun(const C3DPoint& start, int count, bool readBack) {
    std::vector<CFakeElement*> run;
    for (int k = 0; k < count; ++k) {
      const C3DPoint at = start + C3DPoint(1000.0 * k, 0, 0);
      auto element = std::make_unique<CFakeElement>();
      element->projection = &m_projection;
      element->kind = k == 0 ? 0 : 9;
      element->direction = 4;
      if (!run.empty()) CFakeElement::Link(*run.back(), 4, *element);
      AddBox(*element, CBoxOwner::kBodySlot, at, 220, 220, 220, readBack);
      AddBox(*element, 4, at + C3DPoint(500, 0, 0), 130, 1000, 130, readBack);
      run.push_back(element.get());
      m_elements.push_back(std::move(element));
    }
    return run;
  }
  void AddBox(CFakeElement& owner, int slot, const C3DPoint& origin, int e0, int e1, int e2,
              bool readBack) {
    auto box = std::make_unique<CBox>();
    box->SetPlacement(origin, e0, e1, e2);
    if (readBack) {
      // Half units: the stored corners are truncated, or follow no rule once the origin
      // moves by half a unit.
      auto loaded = std::make_unique<CBox>();
      ReadBytes(*loaded, WrittenBytes(*box));
      box = std::move(loaded);
    }
    owner.Adopt(slot, *box);
    boxes.push_back(std::move(box));
  }
  void Damage(int damage) {
    for (std::size_t r = 0; r < runs.size(); ++r) {
      std::vector<CFakeElement*>& run = runs[r];
      if (damage == 1) run.back()->neighbours[4] = run.front();
      if (damage == 1) run.front()->neighbours[0] = run.back();
      if (damage == 2) run[run.size() / 2]->neighbours[0] = run[run.size() / 2];
      if (damage == 3 && r + 1 < runs.size()) run[1]->neighbours[0] = runs[r + 1][2];
    }
  }

  C3DProjection& m_projection;
  std::vector<std::unique_ptr<CFakeElement>> m_elements;
};
