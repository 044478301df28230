// Walks along element links: MeetsToward meets exactly the elements listed, and a walk
// that goes only as far as each question needs answers alike, whatever the order of the
// questions, on straight chains and on damaged links (rings, lassos, links to oneself,
// links that do not answer back).

#include "fake_element.h"
#include "geometry/box_owner.h"
#include "geometry/walks_to_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

struct Links {
  int from;
  int face;
  int to;
};

struct WalkCase {
  const char* name;
  int elements;
  std::vector<Links> links;
  int direction;
  int start;
  std::vector<int> listed;  // in the order met
};

std::vector<std::unique_ptr<CFakeElement>> MakeElements(int count) {
  std::vector<std::unique_ptr<CFakeElement>> elements;
  for (int i = 0; i < count; ++i) elements.push_back(std::make_unique<CFakeElement>());
  return elements;
}

class BoxOwnerWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(BoxOwnerWalkTest, MeetsTheElementsListed) {
  const WalkCase& c = GetParam();
  auto elements = MakeElements(c.elements);
  for (const Links& link : c.links)
    elements[link.from]->neighbours[link.face] = elements[link.to].get();
  // The questions from the last element to the first, and the other way round.
  for (int order = 0; order < 2; ++order) {
    CWalkFrom walk;
    walk.Start(elements[c.start].get(), c.direction);
    for (int k = 0; k < c.elements; ++k) {
      const int t = order == 0 ? c.elements - 1 - k : k;
      const bool listed = std::find(c.listed.begin(), c.listed.end(), t) != c.listed.end();
      EXPECT_EQ(elements[c.start]->MeetsToward(c.direction, elements[t].get()), listed)
          << c.name << ", target " << t;
      EXPECT_EQ(walk.Meets(elements[t].get()), listed) << c.name << ", target " << t;
    }
    EXPECT_FALSE(walk.Meets(nullptr));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Walks, BoxOwnerWalkTest,
    ::testing::Values(
        WalkCase{"chain", 4, {{0, 4, 1}, {1, 4, 2}, {2, 4, 3}}, 4, 0, {1, 2, 3}},
        WalkCase{"chain from its middle", 4, {{0, 4, 1}, {1, 4, 2}, {2, 4, 3}}, 4, 1, {2, 3}},
        WalkCase{"other direction", 3, {{0, 4, 1}, {1, 4, 2}}, 0, 0, {}},
        WalkCase{"direction out of range", 3, {{0, 4, 1}}, 6, 0, {}},
        WalkCase{"negative direction", 3, {{0, 4, 1}}, -1, 0, {}},
        WalkCase{"ring back to the start", 3, {{0, 1, 1}, {1, 1, 2}, {2, 1, 0}}, 1, 0, {1, 2, 0}},
        WalkCase{"lasso",
                 5,
                 {{0, 2, 1}, {1, 2, 2}, {2, 2, 3}, {3, 2, 4}, {4, 2, 2}},
                 2,
                 0,
                 {1, 2, 3, 4, 2}},
        WalkCase{"link to itself", 2, {{0, 5, 0}}, 5, 0, {0}},
        WalkCase{"link to itself further on", 3, {{0, 3, 1}, {1, 3, 1}}, 3, 0, {1, 1}},
        WalkCase{
            "links that do not answer back", 3, {{0, 4, 1}, {1, 0, 2}, {1, 4, 2}}, 4, 0, {1, 2}}));

// Random link graphs, many of them damaged: for every start and direction, the targets
// asked in a random order.
TEST(BoxOwnerWalkRandomTest, AWalkAsFarAsNeededMeetsWhatAWholeWalkMeets) {
  std::mt19937 random(11);
  for (int graph = 0; graph < 200; ++graph) {
    const int count = 1 + graph % 12;
    auto elements = MakeElements(count);
    std::uniform_int_distribution<int> pick(-count / 2, count - 1);  // below 0: no link
    for (auto& element : elements) {
      for (auto& neighbour : element->neighbours) {
        const int to = pick(random);
        neighbour = to >= 0 ? elements[static_cast<std::size_t>(to)].get() : nullptr;
      }
    }
    std::vector<const CFakeElement*> targets;
    for (const auto& element : elements) targets.push_back(element.get());
    for (const auto& start : elements) {
      for (int direction = -1; direction <= 6; ++direction) {
        CWalkFrom walk;
        walk.Start(start.get(), direction);
        std::shuffle(targets.begin(), targets.end(), random);
        for (const CFakeElement* target : targets) {
          ASSERT_EQ(walk.Meets(target), start->MeetsToward(direction, target))
              << "graph " << graph << ", direction " << direction;
        }
        ASSERT_FALSE(walk.Meets(nullptr));
      }
    }
  }
}

}  // namespace
