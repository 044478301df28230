// Remembered walks answer as MeetsToward walking afresh, in whatever order the elements
// are asked about: straight chains, chains that merge, rings, lassos and links onto the
// element itself, the target changing between questions, and links changed once the walks
// are forgotten.

#include "fake_element.h"
#include "geometry/walks_to_target.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

struct GraphCase {
  const char* name;
  int elements;
  int chains;        // straight chains toward direction 0, laid over the elements
  int damagedLinks;  // links toward direction 0 pointed anywhere
  int asked;         // questions per target
  unsigned seed;
};

class CGraph {
 public:
  CGraph(const GraphCase& c, std::mt19937& random) : m_random(random) {
    for (int i = 0; i < c.elements; ++i) elements.push_back(std::make_unique<CFakeElement>());
    // Chains of consecutive elements: element i links back to i - 1 within its chain.
    const int length = std::max(1, c.elements / std::max(1, c.chains));
    for (int i = 0; i < c.elements; ++i) {
      if (i % length != 0) elements[i]->neighbours[0] = elements[i - 1].get();
      elements[i]->neighbours[2] = Any();  // another direction, links anywhere
    }
    for (int k = 0; k < c.damagedLinks; ++k) Pick()->neighbours[0] = Any();
  }
  CFakeElement* Pick() {
    return elements[std::uniform_int_distribution<std::size_t>(0, elements.size() - 1)(m_random)]
        .get();
  }
  CFakeElement* Any() { return m_random() % 4 == 0 ? nullptr : Pick(); }

  std::vector<std::unique_ptr<CFakeElement>> elements;

 private:
  std::mt19937& m_random;
};

class WalksToTargetTest : public ::testing::TestWithParam<GraphCase> {};

TEST_P(WalksToTargetTest, AnswersAsWalkingAfresh) {
  const GraphCase c = GetParam();
  std::mt19937 random(c.seed);
  CGraph graph(c, random);
  CWalksToTarget walks;
  int met = 0;
  for (int round = 0; round < 6; ++round) {
    // Mostly one target, as one insertion asks, now and then another one.
    const CBoxOwner* targets[] = {graph.Pick(), graph.Pick()};
    for (int q = 0; q < c.asked; ++q) {
      const CBoxOwner* target = targets[q % 10 == 9 ? 1 : 0];
      const CFakeElement* from = graph.Pick();
      const int direction = q % 7 == 0 ? static_cast<int>(random() % 8) - 1 : 0;
      const bool fresh = from->MeetsToward(direction, target);
      ASSERT_EQ(walks.Meets(*from, direction, target), fresh)
          << c.name << ", round " << round << ", question " << q;
      met += fresh ? 1 : 0;
    }
    // Links change between insertions: the walks are forgotten first.
    for (int k = 0; k < 3; ++k) graph.Pick()->neighbours[0] = graph.Any();
    walks.Forget();
  }
  EXPECT_GT(met, 0) << c.name << ": some walks meet their target";
}

INSTANTIATE_TEST_SUITE_P(Graphs, WalksToTargetTest,
                         ::testing::Values(GraphCase{"straight chains", 200, 5, 0, 400, 1},
                                           GraphCase{"one long chain", 300, 1, 0, 400, 2},
                                           GraphCase{"merging chains", 200, 8, 20, 400, 3},
                                           GraphCase{"rings and lassos", 60, 3, 30, 300, 4},
                                           GraphCase{"anything", 40, 2, 40, 300, 5},
                                           GraphCase{"few elements", 3, 1, 2, 50, 6},
                                           GraphCase{"more than the table", 9000, 30, 100, 20000,
                                                     7}));

// Elements met twice end a walk; the targets behind them are never met, and a walk that
// reaches such a ring later is not taken for one that ended.
TEST(WalksToTargetRingTest, RingsAreNotTakenForWholeWalks) {
  std::vector<std::unique_ptr<CFakeElement>> e;
  for (int i = 0; i < 6; ++i) e.push_back(std::make_unique<CFakeElement>());
  // 0 -> 1 -> 2 -> 3 -> 1 (a lasso), 4 -> 2, 5 -> 4.
  e[0]->neighbours[0] = e[1].get();
  e[1]->neighbours[0] = e[2].get();
  e[2]->neighbours[0] = e[3].get();
  e[3]->neighbours[0] = e[1].get();
  e[4]->neighbours[0] = e[2].get();
  e[5]->neighbours[0] = e[4].get();
  for (int target = 0; target < 6; ++target) {
    for (int order = 0; order < 2; ++order) {
      CWalksToTarget walks;
      for (int k = 0; k < 6; ++k) {
        const int from = order == 0 ? k : 5 - k;
        EXPECT_EQ(walks.Meets(*e[from], 0, e[target].get()),
                  e[from]->MeetsToward(0, e[target].get()))
            << "from " << from << " to " << target << ", order " << order;
      }
    }
  }
}

}  // namespace
