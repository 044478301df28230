#include "model/element/pointer_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_set>
#include <vector>

namespace {

struct SetCase {
  const char* name;
  unsigned seed;
  int objects;  // addresses drawn from a block of that many
  int steps;
  int clearEvery;  // 0: never
};

// Membership as a hashed set of the standard library keeps it, through inserts of new
// and repeated addresses, growth and clearing.
TEST(PointerSet, MembershipIsThatOfAStandardSet) {
  const SetCase cases[] = {
      {"few objects, many repeats", 1, 20, 2000, 0},
      {"grows through many sizes", 2, 50000, 60000, 0},
      {"cleared now and then", 3, 3000, 20000, 2500},
      {"cleared after every insert", 4, 100, 500, 1},
  };
  for (const SetCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 random(c.seed);
    // Neighbouring, aligned addresses, as the elements of one run are.
    std::vector<std::uint64_t> block(static_cast<std::size_t>(c.objects));
    CPointerSet set;
    std::unordered_set<const void*> reference;
    for (int step = 1; step <= c.steps; ++step) {
      const void* member = &block[random() % block.size()];
      ASSERT_EQ(set.Contains(member), reference.count(member) == 1);
      ASSERT_EQ(set.Insert(member), reference.insert(member).second);
      ASSERT_TRUE(set.Contains(member));
      ASSERT_EQ(set.Size(), reference.size());
      if (c.clearEvery != 0 && step % c.clearEvery == 0) {
        set.Clear();
        reference.clear();
        ASSERT_FALSE(set.Contains(member));
      }
    }
    for (const std::uint64_t& object : block)
      ASSERT_EQ(set.Contains(&object), reference.count(&object) == 1);
  }
}

TEST(PointerSet, NullIsNeverAMember) {
  CPointerSet set;
  EXPECT_FALSE(set.Insert(nullptr));
  EXPECT_FALSE(set.Contains(nullptr));
  int object = 0;
  EXPECT_TRUE(set.Insert(&object));
  EXPECT_FALSE(set.Insert(nullptr));
  EXPECT_EQ(set.Size(), 1u);
}

}  // namespace
