// A comparer kept over many comparisons, which remembers the walks along the chains of its
// first box's element, answers as a comparison made afresh: for sound straight runs laid
// on one another and for elements in every direction linked into rings, onto themselves,
// one way only or into another element's chain, with boxes in the slots the chain rule
// looks at.

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

struct ChainsCase {
  int angle0;
  int angle1;
  unsigned seed;
  int elements;
  int linkPercent;  // of the faces that carry a link
};

class CCrowdedChains {
 public:
  CCrowdedChains(C3DProjection& projection, const ChainsCase& c) : m_projection(projection) {
    std::mt19937 random(c.seed);
    for (int i = 0; i < c.elements; ++i) {
      auto element = std::make_unique<CFakeElement>();
      element->projection = &projection;
      element->kind = i % 7 == 0 ? 0 : 9;
      element->direction = random() % 9 == 0 ? 7 : static_cast<int>(random() % 6);
      m_elements.push_back(std::move(element));
    }
    // The first half: sound straight runs of five along +x, two runs on one another.
    const std::size_t half = m_elements.size() / 2;
    for (std::size_t i = 0; i < half; ++i) {
      m_elements[i]->direction = 4;
      m_elements[i]->position = C3DPoint((i % 5) * 500.0, 0, (i / 10) * 300.0);
      if (i % 5 != 0) CFakeElement::Link(*m_elements[i - 1], 4, *m_elements[i]);
    }
    // The rest, and a few faces of the runs' elements: links anywhere, one way.
    for (std::size_t i = 0; i < m_elements.size(); ++i) {
      for (int face = 0; face < 6; ++face) {
        const bool runFace = i < half && (face == 0 || face == 4 || random() % 4 != 0);
        if (!runFace && static_cast<int>(random() % 100) < c.linkPercent)
          m_elements[i]->neighbours[face] = m_elements[random() % m_elements.size()].get();
      }
      if (i >= half) {
        m_elements[i]->position = C3DPoint((i % 4) * 300.0, (i % 3) * 200.0, random() % 50 * 1.0);
      }
    }
    for (auto& element : m_elements) {
      const int direction = element->direction % 6;
      for (const int slot :
           {CBoxOwner::kBodySlot, direction, CBoxOwner::OppositeDirection(direction)})
        AddBox(*element, slot, element->position + C3DPoint(slot * 40.0, 0, 0));
    }
    for (auto& box : boxes) {
      projection.ProjectBox(*box);
      projection.UpdateFaceVisibility(*box);
    }
  }

  std::vector<std::unique_ptr<CBox>> boxes;

 private:
  void AddBox(CFakeElement& owner, int slot, const C3DPoint& at) {
    if (owner.boxes[static_cast<std::size_t>(slot)] != nullptr) return;
    auto box = std::make_unique<CBox>();
    owner.Adopt(slot, *box);
    box->SetPlacement(at, 220, 700, 220);
    boxes.push_back(std::move(box));
  }

  C3DProjection& m_projection;
  std::vector<std::unique_ptr<CFakeElement>> m_elements;
};

// Whether either box's element meets the other's walking back along its own direction.
bool OnOneChain(const CBox& a, const CBox& b) {
  const CBoxOwner* ea = a.GetOwner();
  const CBoxOwner* eb = b.GetOwner();
  if (ea == eb) return false;
  return ea->MeetsToward(CBoxOwner::OppositeDirection(ea->GetDirection()), eb) ||
         eb->MeetsToward(CBoxOwner::OppositeDirection(eb->GetDirection()), ea);
}

class DepthComparerChainsTest : public ::testing::TestWithParam<ChainsCase> {};

TEST_P(DepthComparerChainsTest, AKeptComparerAnswersAsAFreshOne) {
  const ChainsCase c = GetParam();
  C3DProjection projection;
  projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  CCrowdedChains scene(projection, c);
  std::mt19937 random(c.seed + 100);
  CDepthComparer comparer(projection);
  std::vector<std::size_t> order(scene.boxes.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  int chained = 0;
  // Each box as the first of every comparison, twice over, so that the second round
  // finds the walks of the first remembered.
  for (const auto& a : scene.boxes) {
    for (int round = 0; round < 2; ++round) {
      std::shuffle(order.begin(), order.end(), random);
      for (const std::size_t j : order) {
        const CBox& b = *scene.boxes[j];
        const std::uint32_t flags = random() % 5 == 0 ? CDepthOrderRules::kSecondNode : 0;
        ASSERT_EQ(comparer.Compare(*a, b, flags, 0), CompareDepth(projection, *a, b, flags, 0))
            << "box " << j << " round " << round;
        chained += round == 0 && OnOneChain(*a, b) ? 1 : 0;
      }
    }
  }
  // The first box changing on every comparison.
  for (const auto& a : scene.boxes) {
    for (const std::size_t j : order) {
      const CBox& b = *scene.boxes[j];
      ASSERT_EQ(comparer.Compare(b, *a, 0, 0), CompareDepth(projection, b, *a, 0, 0));
      ASSERT_EQ(comparer.Compare(*a, b, 0, 0), CompareDepth(projection, *a, b, 0, 0));
    }
  }
  EXPECT_GT(chained, 20) << "walks along the chains meet the other box's element";
}

INSTANTIATE_TEST_SUITE_P(Links, DepthComparerChainsTest,
                         ::testing::Values(ChainsCase{330, 315, 1, 12, 60},
                                           ChainsCase{30, 45, 2, 30, 90},
                                           ChainsCase{0, 0, 3, 20, 100},
                                           ChainsCase{300, 200, 4, 40, 40},
                                           ChainsCase{90, 10, 5, 25, 75}));

}  // namespace
