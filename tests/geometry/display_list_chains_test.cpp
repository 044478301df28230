// Runs laid on one another, with whole or damaged links and boxes made or read back: the
// list keeps exactly the order of the pairwise reference whose every comparison is made
// afresh, remembering nothing between comparisons, as built and after a turn of the view.

#include "chain_scene.h"
#include "reference_display_list.h"
#include "geometry/depth_comparer.h"
#include "geometry/depth_order_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

namespace {

class CFreshRules : public CDepthOrderRules {
 public:
  explicit CFreshRules(C3DProjection& projection) : m_projection(projection) {}
  void PrepareInsert(CBox& box) override { m_projection.UpdateFaceVisibility(box); }
  int CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA,
                   std::uint32_t flagsB) override {
    return ::CompareDepth(m_projection, a, b, flagsA, flagsB);
  }

 private:
  C3DProjection& m_projection;
};

std::vector<std::size_t> Order(const std::vector<CBox*>& list, const CChainScene& scene) {
  std::map<const CBox*, std::size_t> index;
  for (std::size_t i = 0; i < scene.boxes.size(); ++i) index[scene.boxes[i].get()] = i;
  std::vector<std::size_t> order;
  for (const CBox* box : list) order.push_back(index.at(box));
  return order;
}

std::vector<CBox*> InsertionOrder(const CChainScene& scene, unsigned seed) {
  std::vector<CBox*> boxes;
  for (const auto& box : scene.boxes) boxes.push_back(box.get());
  // Odd seeds insert in a random order, even ones run by run as a rebuild does.
  if (seed % 2 == 1) {
    std::mt19937 random(seed);
    std::shuffle(boxes.begin(), boxes.end(), random);
  }
  return boxes;
}

class DisplayListChainsTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(DisplayListChainsTest, OrderEqualsThePairwiseReferenceComparingAfresh) {
  const ChainCase c = GetParam();
  C3DProjection projection, referenceProjection;
  projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  referenceProjection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  CChainScene scene(projection, c), copy(referenceProjection, c);
  const std::vector<CBox*> boxes = InsertionOrder(scene, c.seed);
  projection.PrepareDisplayList(boxes);
  for (CBox* box : boxes) projection.InsertInDisplayList(*box);
  CFreshRules rules(referenceProjection);
  CReferenceDisplayList reference(rules);
  for (CBox* box : InsertionOrder(copy, c.seed)) reference.Insert(*box);
  ASSERT_EQ(projection.GetDisplayList().Size(), boxes.size());
  EXPECT_EQ(Order(projection.GetDisplayList().CollectBoxes(), scene),
            Order(reference.CollectBoxes(), copy));

  // A turn re-sorts: the same as inserting the boxes again from the tail.
  projection.SetViewAngles(7, -11, 0, true, false);
  referenceProjection.SetViewAngles(7, -11, 0, false, false);
  reference.ReinsertFromTail([&](CBox& box) { referenceProjection.ProjectBox(box); });
  EXPECT_EQ(Order(projection.GetDisplayList().CollectBoxes(), scene),
            Order(reference.CollectBoxes(), copy));
}

INSTANTIATE_TEST_SUITE_P(Chains, DisplayListChainsTest,
                         ::testing::Values(ChainCase{330, 315, 5, 6, 0.0, 0, false, 2},
                                           ChainCase{330, 315, 5, 6, 0.0, 0, false, 1},
                                           ChainCase{30, 45, 4, 6, 10.0, 0, false, 3},
                                           ChainCase{330, 315, 4, 7, 0.0, 1, false, 4},
                                           ChainCase{300, 200, 4, 6, 10.0, 2, false, 5},
                                           ChainCase{330, 315, 5, 5, 0.0, 3, false, 6},
                                           ChainCase{330, 315, 4, 6, 0.0, 0, true, 8},
                                           ChainCase{0, 90, 4, 6, 10.0, 1, true, 9},
                                           ChainCase{0, 0, 1, 1, 0.0, 0, false, 10}));

}  // namespace
