// Walks along element links: the elements listed toward a direction are exactly those
// MeetsToward meets, in the order met, on straight chains and on damaged links (rings,
// lassos, links to oneself, links that do not answer back).

#include "fake_element.h"
#include "geometry/box_owner.h"

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

std::vector<int> Indices(const std::vector<const CBoxOwner*>& met,
                         const std::vector<std::unique_ptr<CFakeElement>>& elements) {
  std::vector<int> indices;
  for (const CBoxOwner* element : met) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
      if (elements[i].get() == element) indices.push_back(static_cast<int>(i));
    }
  }
  return indices;
}

class BoxOwnerWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(BoxOwnerWalkTest, ListsTheElementsMetInOrder) {
  const WalkCase& c = GetParam();
  auto elements = MakeElements(c.elements);
  for (const Links& link : c.links)
    elements[link.from]->neighbours[link.face] = elements[link.to].get();
  std::vector<const CBoxOwner*> met{elements[0].get()};  // stale contents are replaced
  elements[c.start]->ListToward(c.direction, met);
  EXPECT_EQ(Indices(met, elements), c.listed) << c.name;
  for (int t = 0; t < c.elements; ++t) {
    const bool listed = std::find(c.listed.begin(), c.listed.end(), t) != c.listed.end();
    EXPECT_EQ(elements[c.start]->MeetsToward(c.direction, elements[t].get()), listed)
        << c.name << ", target " << t;
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

// Random link graphs, many of them damaged: for every start, direction and target, being
// listed is meeting.
TEST(BoxOwnerWalkRandomTest, ListedElementsAreThoseMet) {
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
    std::vector<const CBoxOwner*> met;
    for (const auto& start : elements) {
      for (int direction = -1; direction <= 6; ++direction) {
        start->ListToward(direction, met);
        for (const auto& target : elements) {
          const bool listed = std::find(met.begin(), met.end(), target.get()) != met.end();
          ASSERT_EQ(start->MeetsToward(direction, target.get()), listed)
              << "graph " << graph << ", direction " << direction;
        }
        ASSERT_FALSE(start->MeetsToward(direction, nullptr));
        if (!met.empty()) {
          ASSERT_EQ(met.back(), start->LastToward(direction));
        }
      }
    }
  }
}

}  // namespace
