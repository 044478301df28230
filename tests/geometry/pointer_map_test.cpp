#include "geometry/pointer_map.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace {

// Random inserts, look-ups and erasures against the standard map: the erasure moves
// later entries of a probe run back, which must never lose one.
TEST(CPointerMapTest, BehavesLikeAMap) {
  std::vector<int> objects(3000);
  std::mt19937 random(3);
  std::uniform_int_distribution<std::size_t> pick(0, objects.size() - 1);
  std::uniform_int_distribution<int> action(0, 9);
  CPointerMap<int, int> map;
  std::unordered_map<const int*, int> expected;
  for (int step = 0; step < 200000; ++step) {
    const int* key = &objects[pick(random)];
    const int a = action(random);
    if (a < 5) {
      map[key] = step;
      expected[key] = step;
    } else if (a < 8) {
      map.Erase(key);
      expected.erase(key);
    } else {
      const int* found = map.Find(key);
      const auto it = expected.find(key);
      ASSERT_EQ(found != nullptr, it != expected.end()) << step;
      if (found != nullptr) {
        ASSERT_EQ(*found, it->second) << step;
      }
    }
    ASSERT_EQ(map.Size(), expected.size());
  }
  for (const auto& [key, value] : expected) ASSERT_EQ(*map.Find(key), value);
  map.Clear();
  EXPECT_EQ(map.Size(), 0u);
  EXPECT_EQ(map.Find(&objects[0]), nullptr);
  map.Erase(&objects[0]);  // erasing what is not there changes nothing
  EXPECT_EQ(map[&objects[1]], 0) << "a new key starts with a default value";
}

// Room reserved before the keys come or among them (the table then grows with members in
// it): every member keeps its value, and filing more never loses one.
TEST(CPointerMapTest, ReservingRoomKeepsEveryMember) {
  std::vector<int> objects(5000);
  const struct {
    const char* name;
    std::size_t reserveAfter;  // keys filed before the reserve
    std::size_t room;
  } cases[] = {
      {"room for all before any key", 0, 5000},
      {"room for all once some are filed", 1000, 5000},
      {"less room than the members already filed", 3000, 100},
      {"room for more than will come", 10, 100000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CPointerMap<int, int> map;
    EXPECT_EQ(map.HomeSlot(&objects[0]), nullptr) << "an empty map has no slot";
    for (std::size_t i = 0; i < objects.size(); ++i) {
      if (i == c.reserveAfter) map.Reserve(c.room);
      map[&objects[i]] = static_cast<int>(i);
    }
    ASSERT_EQ(map.Size(), objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
      const int* found = map.Find(&objects[i]);
      ASSERT_NE(found, nullptr) << i;
      ASSERT_EQ(*found, static_cast<int>(i)) << i;
    }
  }
}

// A null key would land on an empty slot: finding it must not give that slot's value,
// erasing it must not shift the entries around an empty slot, and asking for its value must
// not count it as a member.
TEST(CPointerMapTest, ANullKeyIsNeverAMember) {
  std::vector<int> objects(500);
  CPointerMap<int, int> map;
  for (std::size_t i = 0; i < objects.size(); ++i) map[&objects[i]] = static_cast<int>(i) + 1;
  EXPECT_EQ(map.Find(nullptr), nullptr);
  map.Erase(nullptr);
  map[nullptr] = 7;
  EXPECT_EQ(map.Find(nullptr), nullptr);
  EXPECT_EQ(map.Size(), objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const int* found = map.Find(&objects[i]);
    ASSERT_NE(found, nullptr) << i;
    EXPECT_EQ(*found, static_cast<int>(i) + 1) << i;
  }
}

}  // namespace
