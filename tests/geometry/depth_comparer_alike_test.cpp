// A comparer that answers for a box alike in every respect to one it has just compared
// gives the answer of a comparison made afresh, however the boxes of a stack differ in
// their words, their pass bits, their owners or by a unit of their place.

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/depth_comparer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

struct AlikeCase {
  int angle0;
  int angle1;
  unsigned seed;
};

class DepthComparerAlikeTest : public ::testing::TestWithParam<AlikeCase> {};

TEST_P(DepthComparerAlikeTest, RememberedAnswersEqualFreshOnes) {
  const AlikeCase c = GetParam();
  C3DProjection projection;
  projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  std::mt19937 random(c.seed);
  std::vector<std::unique_ptr<CFakeElement>> elements;
  std::vector<std::unique_ptr<CBox>> boxes;
  // Three places along x, where the boxes of neighbouring places overlap; at each a stack
  // of boxes that differ from one another in one respect at most.
  for (int i = 0; i < 60; ++i) {
    const int place = i % 3;
    auto box = std::make_unique<CBox>();
    const double nudge = random() % 6 == 0 ? 1.0 : 0.0;
    box->SetPlacement(C3DPoint(place * 600.0 + nudge, place * 90.0, (place % 2) * 40.0), 220, 900,
                      220);
    if (random() % 3 == 0) {
      elements.push_back(std::make_unique<CFakeElement>());
      elements.back()->projection = &projection;
      elements.back()->Adopt(random() % 2 ? CBoxOwner::kBodySlot : 4, *box);
    }
    if (random() % 4 == 0) box->SetPassWord(0x20000000);
    projection.ProjectBox(*box);
    projection.UpdateFaceVisibility(*box);
    if (random() % 5 == 0) box->SetAttributes(box->GetAttributes() & ~0xFu);  // a face shut
    boxes.push_back(std::move(box));
  }
  CDepthComparer comparer(projection);
  std::vector<std::size_t> order(boxes.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  int answered = 0;
  for (const auto& a : boxes) {
    std::shuffle(order.begin(), order.end(), random);
    for (const std::size_t j : order) {
      const CBox& b = *boxes[j];
      const int fresh = CompareDepth(projection, *a, b, 0, 0);
      ASSERT_EQ(comparer.Compare(*a, b, 0, 0), fresh);
      answered += fresh != 0 ? 1 : 0;
      // With words given, as a re-sort compares: another word for b is another box.
      const std::uint32_t word = b.GetAttributes() ^ (random() % 2 ? 0x10u : 0u);
      ASSERT_EQ(comparer.Compare(*a, a->GetAttributes(), b, word, 0, 0),
                CDepthComparer(projection).Compare(*a, a->GetAttributes(), b, word, 0, 0));
    }
  }
  EXPECT_GT(answered, 100) << "the scene's boxes overlap and lie in front of one another";
}

INSTANTIATE_TEST_SUITE_P(Views, DepthComparerAlikeTest,
                         ::testing::Values(AlikeCase{330, 315, 1}, AlikeCase{30, 45, 2},
                                           AlikeCase{0, 0, 3}, AlikeCase{300, 200, 4},
                                           AlikeCase{90, 10, 5}));

}  // namespace
