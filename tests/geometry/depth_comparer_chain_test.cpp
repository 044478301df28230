// A comparer that works out the first box's place and walks along element links once for
// all the boxes it meets gives the answers of comparisons made afresh: straight runs laid
// on one another and beside one another, links damaged into rings, onto the element
// itself or into another run, and boxes whose corners were read as stored.

#include "chain_scene.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/depth_comparer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

class DepthComparerChainTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(DepthComparerChainTest, AnswersEqualThoseMadeAfresh) {
  const ChainCase c = GetParam();
  C3DProjection projection;
  projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  CChainScene scene(projection, c);
  std::mt19937 random(c.seed);
  CDepthComparer comparer(projection);
  std::vector<std::size_t> order(scene.boxes.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  int answered = 0;
  int joined = 0;  // pairs of one straight run, which the walks answer
  for (const auto& a : scene.boxes) {
    std::shuffle(order.begin(), order.end(), random);
    for (const std::size_t j : order) {
      const CBox& b = *scene.boxes[j];
      for (const std::uint32_t flags : {0u, 2u}) {
        const int fresh = CompareDepth(projection, *a, b, flags, 0);
        ASSERT_EQ(comparer.Compare(*a, b, flags, 0), fresh) << "box " << j;
        answered += fresh != 0 ? 1 : 0;
        joined += fresh == 0 && a->GetOwner() != b.GetOwner() && StrictlyOverlap(*a, b) ? 1 : 0;
      }
    }
  }
  EXPECT_GT(answered, 50) << "boxes of different runs lie in front of one another";
  EXPECT_GT(joined, 10) << "boxes of one run are told apart by their links";
}

INSTANTIATE_TEST_SUITE_P(Chains, DepthComparerChainTest,
                         ::testing::Values(ChainCase{330, 315, 4, 6, 0.0, 0, false, 1},
                                           ChainCase{30, 45, 4, 6, 10.0, 0, false, 2},
                                           ChainCase{330, 315, 3, 8, 0.0, 1, false, 3},
                                           ChainCase{300, 200, 3, 6, 10.0, 2, false, 4},
                                           ChainCase{330, 315, 4, 5, 0.0, 3, false, 5},
                                           ChainCase{330, 315, 4, 6, 0.0, 0, true, 6},
                                           ChainCase{0, 90, 3, 6, 10.0, 1, true, 7}));

// The comparer forgets its walks when told: links changed between two insertions of one
// box give the answers of the new links.
TEST(DepthComparerChainForgetTest, ForgottenWalksFollowChangedLinks) {
  C3DProjection projection;
  projection.SetViewAngles(330, 315, 0, false, false);
  CChainScene scene(projection, ChainCase{330, 315, 2, 4, 0.0, 0, false, 8});
  CDepthComparer comparer(projection);
  int changed = 0;
  for (const auto& a : scene.boxes) {
    for (const auto& b : scene.boxes) comparer.Compare(*a, *b, 0, 0);
    // Cut each run after its second element, then link it back.
    for (int step = 0; step < 2; ++step) {
      for (auto& run : scene.runs) run[1]->neighbours[4] = step == 0 ? nullptr : run[2];
      for (auto& run : scene.runs) run[2]->neighbours[0] = step == 0 ? nullptr : run[1];
      comparer.Forget();
      for (const auto& b : scene.boxes) {
        const int fresh = CompareDepth(projection, *a, *b, 0, 0);
        ASSERT_EQ(comparer.Compare(*a, *b, 0, 0), fresh);
      }
    }
    for (const auto& b : scene.boxes) {
      scene.runs[0][1]->neighbours[4] = scene.runs[0][2]->neighbours[0] = nullptr;
      const int cut = CompareDepth(projection, *a, *b, 0, 0);
      scene.runs[0][1]->neighbours[4] = scene.runs[0][2];
      scene.runs[0][2]->neighbours[0] = scene.runs[0][1];
      changed += cut != CompareDepth(projection, *a, *b, 0, 0) ? 1 : 0;
    }
  }
  EXPECT_GT(changed, 0) << "cutting a run changes some answers";
}

}  // namespace
