// The display list's table of its boxes against a plain hash map keyed by address: random
// insertions, erasures and clearings of real boxes, copies of listed boxes and boxes
// assigned to while listed.

#include "geometry/listed_box_map.h"

#include "geometry/box.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <unordered_map>
#include <vector>

namespace {

using CMap = CListedBoxMap<CBox, int>;

// Empty when the table holds exactly the reference's boxes with their values.
std::string Difference(const CMap& map, const std::unordered_map<const CBox*, int>& reference,
                       const std::vector<std::unique_ptr<CBox>>& boxes) {
  if (map.Size() != reference.size()) return "size";
  for (const auto& box : boxes) {
    const int* found = map.Find(box.get());
    const auto expected = reference.find(box.get());
    if ((found == nullptr) != (expected == reference.end())) return "membership";
    if (found != nullptr && *found != expected->second) return "value";
  }
  return {};
}

struct ChurnCase {
  const char* name;
  unsigned seed;
  std::size_t boxes;
  int clearEvery;  // 0: never
};

const ChurnCase kChurns[] = {
    {"few boxes", 1, 8, 0},
    {"many boxes", 2, 3000, 0},
    {"cleared now and then", 3, 500, 997},
    {"cleared often", 4, 64, 50},
};

TEST(ListedBoxMapTest, RandomChurnAnswersAsAMapByAddress) {
  for (const ChurnCase& c : kChurns) {
    SCOPED_TRACE(c.name);
    std::vector<std::unique_ptr<CBox>> boxes;
    for (std::size_t i = 0; i < c.boxes; ++i) boxes.push_back(std::make_unique<CBox>());
    CMap map;
    std::unordered_map<const CBox*, int> reference;
    std::mt19937 random(c.seed);
    for (int step = 1; step <= 20000; ++step) {
      CBox* box = boxes[random() % boxes.size()].get();
      const int what = static_cast<int>(random() % 3);
      if (what == 0) {
        map[box] = step;
        reference[box] = step;
      } else if (what == 1) {
        map.Erase(box);
        reference.erase(box);
      } else {
        ++map[box];
        ++reference[box];
      }
      if (c.clearEvery != 0 && step % c.clearEvery == 0) {
        map.Clear();
        reference.clear();
      }
      if (step % 97 == 0) {
        ASSERT_EQ(Difference(map, reference, boxes), "") << "step " << step;
      }
    }
    EXPECT_EQ(Difference(map, reference, boxes), "");
  }
}

TEST(ListedBoxMapTest, ACopyOfAMemberIsNone) {
  CMap map;
  CBox box;
  map[&box] = 5;
  const CBox copy = box;
  EXPECT_EQ(map.Find(&copy), nullptr);
  EXPECT_NE(map.Find(&box), nullptr);
  CBox moved = std::move(box);
  EXPECT_EQ(map.Find(&moved), nullptr);
}

TEST(ListedBoxMapTest, AMemberAssignedToStaysItselfAndTheSourceStaysOut) {
  CMap map;
  CBox first, second, outsider;
  map[&first] = 1;
  map[&second] = 2;
  first = second;
  first = outsider;
  ASSERT_NE(map.Find(&first), nullptr);
  EXPECT_EQ(*map.Find(&first), 1);
  EXPECT_EQ(*map.Find(&second), 2);
  EXPECT_EQ(map.Find(&outsider), nullptr);
  map.Erase(&first);
  EXPECT_EQ(map.Find(&first), nullptr);
  EXPECT_EQ(*map.Find(&second), 2);
}

TEST(ListedBoxMapTest, ANullBoxIsNeverAMember) {
  CMap map;
  CBox box;
  map[&box] = 3;
  map[nullptr] = 7;
  EXPECT_EQ(map.Size(), 1u);
  EXPECT_EQ(map.Find(nullptr), nullptr);
  map.Erase(nullptr);
  EXPECT_EQ(map.Size(), 1u);
  EXPECT_EQ(*map.Find(&box), 3);
}

TEST(ListedBoxMapTest, PlacesFreedAreGivenOutAgainWithoutMixingBoxes) {
  CMap map;
  std::vector<std::unique_ptr<CBox>> boxes;
  for (int i = 0; i < 10; ++i) {
    boxes.push_back(std::make_unique<CBox>());
    map[boxes.back().get()] = i;
  }
  for (int i = 0; i < 10; i += 2) map.Erase(boxes[static_cast<std::size_t>(i)].get());
  CBox late;
  map[&late] = 99;
  for (int i = 0; i < 10; ++i) {
    const int* found = map.Find(boxes[static_cast<std::size_t>(i)].get());
    if (i % 2 == 0) {
      EXPECT_EQ(found, nullptr) << i;
    } else {
      ASSERT_NE(found, nullptr) << i;
      EXPECT_EQ(*found, i);
    }
  }
  EXPECT_EQ(*map.Find(&late), 99);
  EXPECT_EQ(map.Size(), 6u);
}

}  // namespace
