// Boxes of elements crowding one screen cell: runs laid on one another (or each a little
// above the last), and small parts packed into one cell of a grid laid out for far larger
// boxes. The list keeps exactly the order of the ordering rule applied pairwise, as built
// by a rebuild (the grid laid out for all the boxes first) and after turns of the view.

#include "fake_element.h"
#include "reference_display_list.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/projection_depth_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <vector>

namespace {

struct StackCase {
  int angle0;
  int angle1;
  int runs;
  int elements;
  double rise;  // of each run over the last
  int parts;    // small parts packed in one spot
};

// Printed field by field: the padding between them holds no value to print.
void PrintTo(const StackCase& c, std::ostream* os) {
  *os << "angles " << c.angle0 << "/" << c.angle1 << ", " << c.runs << " runs of " << c.elements
      << ", rise " << c.rise << ", " << c.parts << " parts";
}

class CStackedScene {
 public:
  CStackedScene(C3DProjection& projection, const StackCase& c) : m_projection(projection) {
    for (int r = 0; r < c.runs; ++r) AddRun(C3DPoint(0, 0, r * c.rise), c.elements);
    for (int i = 0; i < c.parts; ++i) {
      const C3DPoint at(-2000.0 + (i % 10) * 9.0, -2000.0 + (i / 10) * 9.0, (i % 3) * 2.0);
      CFakeElement& part = AddElement(14, 5, at);
      AddBox(part, CBoxOwner::kBodySlot, at, 4, 5, 4);
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) m_index[boxes[i].get()] = i;
  }

  // The boxes leave the projection's list before they go, whichever is destroyed first.
  ~CStackedScene() { m_projection.ClearDisplayList(); }
  CStackedScene(const CStackedScene&) = delete;
  CStackedScene& operator=(const CStackedScene&) = delete;

  std::vector<CBox*> Boxes() const {
    std::vector<CBox*> all;
    for (const auto& box : boxes) all.push_back(box.get());
    return all;
  }
  void ProjectAll() {
    for (const auto& box : boxes) m_projection.ProjectBox(*box);
  }
  std::vector<std::size_t> Order(const std::vector<CBox*>& list) const {
    std::vector<std::size_t> order;
    for (const CBox* box : list) order.push_back(m_index.at(box));
    return order;
  }

  std::vector<std::unique_ptr<CBox>> boxes;

 private:
  CFakeElement& AddElement(int kind, int direction, const C3DPoint& at) {
    auto element = std::make_unique<CFakeElement>();
    element->projection = &m_projection;
    element->kind = kind;
    element->direction = direction;
    element->position = at;
    m_elements.push_back(std::move(element));
    return *m_elements.back();
  }
  void AddBox(CFakeElement& owner, int slot, const C3DPoint& origin, int e0, int e1, int e2) {
    auto box = std::make_unique<CBox>();
    owner.Adopt(slot, *box);
    box->SetPlacement(origin, e0, e1, e2);
    boxes.push_back(std::move(box));
  }
  // A straight run along +x: each element a body and a length toward the next one.
  void AddRun(const C3DPoint& start, int count) {
    CFakeElement* previous = nullptr;
    for (int k = 0; k < count; ++k) {
      const C3DPoint at = start + C3DPoint(1000.0 * k, 0, 0);
      CFakeElement& element = AddElement(k == 0 ? 0 : 9, 4, at);
      if (previous != nullptr) CFakeElement::Link(*previous, 4, element);
      AddBox(element, CBoxOwner::kBodySlot, at, 220, 220, 220);
      AddBox(element, 4, at + C3DPoint(500, 0, 0), 130, 1000, 130);
      previous = &element;
    }
  }

  C3DProjection& m_projection;
  std::vector<std::unique_ptr<CFakeElement>> m_elements;
  std::map<const CBox*, std::size_t> m_index;
};

class DisplayListStacksTest : public ::testing::TestWithParam<StackCase> {};

TEST_P(DisplayListStacksTest, OrderEqualsThePairwiseReference) {
  const StackCase c = GetParam();
  C3DProjection projection, referenceProjection;
  projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  referenceProjection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  CStackedScene scene(projection, c), copy(referenceProjection, c);
  scene.ProjectAll();
  copy.ProjectAll();
  const std::vector<CBox*> boxes = scene.Boxes();
  projection.PrepareDisplayList(boxes);
  for (CBox* box : boxes) projection.InsertInDisplayList(*box);
  CProjectionDepthRules rules(referenceProjection);
  CReferenceDisplayList reference(rules);
  for (CBox* box : copy.Boxes()) reference.Insert(*box);
  ASSERT_EQ(projection.GetDisplayList().Size(), boxes.size());
  EXPECT_EQ(scene.Order(projection.GetDisplayList().CollectBoxes()),
            copy.Order(reference.CollectBoxes()));

  // A turn re-sorts: the same as inserting the boxes again from the tail.
  projection.SetViewAngles(7, -11, 0, true, false);
  referenceProjection.SetViewAngles(7, -11, 0, false, false);
  reference.ReinsertFromTail([&](CBox& box) { referenceProjection.ProjectBox(box); });
  EXPECT_EQ(scene.Order(projection.GetDisplayList().CollectBoxes()),
            copy.Order(reference.CollectBoxes()));
}

INSTANTIATE_TEST_SUITE_P(
    Stacks, DisplayListStacksTest,
    ::testing::Values(StackCase{330, 315, 5, 6, 0.0, 0}, StackCase{30, 45, 5, 6, 0.0, 0},
                      StackCase{330, 315, 5, 6, 10.0, 0}, StackCase{0, 0, 4, 5, 10.0, 0},
                      StackCase{300, 200, 6, 4, 10.0, 0}, StackCase{330, 315, 2, 40, 0.0, 120},
                      StackCase{30, 45, 3, 30, 10.0, 150}, StackCase{0, 90, 2, 40, 0.0, 100}));

}  // namespace
